#include "macros/ui/macro_key_add_dlg.h"

CMacroKeyAddDlg::CMacroKeyAddDlg(MacroManagerState& state, HWND parent)
    : CMacroValueDlg(u"macro name", 239, true, parent), state_(state)
{
}

MacroRefusal CMacroKeyAddDlg::Confirm() { return state_.AddMacro(EditText()); }
