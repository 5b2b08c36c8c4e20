#include "macros/ui/macro_manager_names.h"

#include "macros/ui/macro_manager_ids.h"
#include "base/ui_text.h"
#include "ui/dlg_base.h"

void NameMacroManagerControls(CDlgBase& dlg)
{
    namespace ids = macro_ids;
    const struct {
        UINT id;
        int text;
    } names[] = {
        {ids::kClose, 408},        {ids::kSetCombo, 528},     {ids::kMacroScroll, 529},
        {ids::kActionScroll, 530}, {ids::kDeleteMacro, 526}, {ids::kDeleteAction, 527},
    };
    for (const auto& n : names)
        if (CControlBase* c = dlg.FindControl(n.id)) c->SetAccessibleName(UiText(n.text));
}
