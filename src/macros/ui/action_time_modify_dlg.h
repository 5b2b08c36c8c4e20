#pragma once
// The length of a pause in milliseconds, up to the 4,095 one step on the
// mouse can hold; a longer one is held to that, and the dialog says so.
#include "profile/macro_model.h"
#include "macros/ui/macro_value_dlg.h"

class CActionTimeModifyDlg : public CMacroValueDlg {
public:
    CActionTimeModifyDlg(MacroAction& action, HWND parent);

protected:
    std::u16string InitialValue() const override;
    MacroRefusal Confirm() override;
    bool WantsDigits() const override { return true; }

private:
    MacroAction& action_;
};
