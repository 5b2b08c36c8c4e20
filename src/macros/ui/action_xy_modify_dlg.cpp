#include "macros/ui/action_xy_modify_dlg.h"

#include "macros/macro_edit_values.h"

CActionXYModifyDlg::CActionXYModifyDlg(MacroAction& action, int choice, HWND parent)
    : CMacroValueDlg(u"macro move", MoveTitleText(choice), true, parent), action_(action), choice_(choice)
{
}

std::u16string CActionXYModifyDlg::InitialValue() const { return MoveText(action_, choice_); }

MacroRefusal CActionXYModifyDlg::Confirm()
{
    action_ = MoveFromText(action_, choice_, EditText());
    return MacroRefusal::Accepted();
}
