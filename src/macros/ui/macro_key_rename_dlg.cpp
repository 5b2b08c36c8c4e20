#include "macros/ui/macro_key_rename_dlg.h"

CMacroKeyRenameDlg::CMacroKeyRenameDlg(MacroManagerState& state, HWND parent)
    : CMacroValueDlg(u"macro rename", 238, true, parent), state_(state)
{
}

std::u16string CMacroKeyRenameDlg::InitialValue() const
{
    const MacroKey* m = state_.CurrentMacro();
    return m ? m->name : std::u16string();
}

MacroRefusal CMacroKeyRenameDlg::Confirm() { return state_.RenameSelectedMacro(EditText()); }
