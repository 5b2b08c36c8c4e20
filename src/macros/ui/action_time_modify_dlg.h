#pragma once
// The length of a pause in milliseconds, up to 15,300,000.
#include "macros/macro_model.h"
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
