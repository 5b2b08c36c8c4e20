#pragma once
// Renames the selected macro; its own name is accepted as it stands.
#include "macros/macro_manager_state.h"
#include "macros/ui/macro_value_dlg.h"

class CMacroKeyRenameDlg : public CMacroValueDlg {
public:
    CMacroKeyRenameDlg(MacroManagerState& state, HWND parent);

protected:
    std::u16string InitialValue() const override;
    MacroRefusal Confirm() override;

private:
    MacroManagerState& state_;
};
