#pragma once
// The amount of a pointer move, 1 to 127, in the direction of the insert
// menu's choice (5 left, 6 right, 7 up, 8 down).
#include "profile/macro_model.h"
#include "macros/ui/macro_value_dlg.h"

class CActionXYModifyDlg : public CMacroValueDlg {
public:
    CActionXYModifyDlg(MacroAction& action, int choice, HWND parent);

protected:
    std::u16string InitialValue() const override;
    MacroRefusal Confirm() override;
    bool WantsDigits() const override { return true; }

private:
    MacroAction& action_;
    int choice_;
};
