#pragma once
// Names a new macro of the shown set; on OK the macro exists (selected).
#include "macros/macro_manager_state.h"
#include "macros/ui/macro_value_dlg.h"

class CMacroKeyAddDlg : public CMacroValueDlg {
public:
    CMacroKeyAddDlg(MacroManagerState& state, HWND parent);

protected:
    std::u16string InitialValue() const override { return {}; }
    MacroRefusal Confirm() override;

private:
    MacroManagerState& state_;
};
