#include "macros/ui/action_time_modify_dlg.h"

#include "macros/macro_edit_values.h"

CActionTimeModifyDlg::CActionTimeModifyDlg(MacroAction& action, HWND parent)
    : CMacroValueDlg(u"macro pause", 220, true, parent), action_(action)
{
}

std::u16string CActionTimeModifyDlg::InitialValue() const { return PauseText(action_); }

MacroRefusal CActionTimeModifyDlg::Confirm()
{
    action_ = PauseFromText(EditText());
    return MacroRefusal::Accepted();
}
