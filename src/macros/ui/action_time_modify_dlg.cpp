#include "macros/ui/action_time_modify_dlg.h"

#include "macros/macro_edit_values.h"

CActionTimeModifyDlg::CActionTimeModifyDlg(MacroAction& action, HWND parent)
    : CMacroValueDlg(u"macro pause", 220, true, parent), action_(action)
{
}

std::u16string CActionTimeModifyDlg::InitialValue() const { return PauseText(action_); }

MacroRefusal CActionTimeModifyDlg::Confirm()
{
    if (PauseTextOverLimit(EditText())) {
        // Held to what the mouse keeps, shown in the box and said: the next
        // OK stores it.
        Host().SetWindowText(Edit(), PauseText(PauseFromText(EditText())));
        Host().SetEditSelection(Edit(), -1, -1);
        return MacroRefusal::Text(macro_text::kPauseClamped);
    }
    action_ = PauseFromText(EditText());
    return MacroRefusal::Accepted();
}
