#pragma once
// Picks the key of a key action by pressing it, anywhere on the desktop.
// OK changes the action's key only: a press stays a press, a release a
// release.
#include "profile/macro_model.h"
#include "macros/ui/macro_value_dlg.h"
#include "platform/keyboard/keyboard_hook.h"

class CActionKeyModifyDlg : public CMacroValueDlg {
public:
    CActionKeyModifyDlg(MacroAction& action, HWND parent);
    ~CActionKeyModifyDlg() override;
    bool OnInitDialog() override;
    void OnCancel() override;

protected:
    std::u16string InitialValue() const override;
    MacroRefusal Confirm() override;

private:
    MacroAction& action_;
    uint8_t key_;
    CKeyboardHook hook_;
};
