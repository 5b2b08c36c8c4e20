#include "macros/ui/action_key_modify_dlg.h"

#include "macros/ui/macro_manager_ids.h"
#include "ui/key_capture_box.h"

#include "buttons/key_names.h"
#include "macros/macro_edit_values.h"

CActionKeyModifyDlg::CActionKeyModifyDlg(MacroAction& action, HWND parent)
    : CMacroValueDlg(u"macro key", 221, false, parent), action_(action), key_(action.b0)
{
    // Every key event counts, press or release: the last one is the choice.
    MapMessage(platform::kKeyHookMessage, [this](WPARAM wParam, LPARAM) {
        // Only while the key box has the focus: Tab out of it and Escape
        // are the dialog's.
        const CControlBase* box = FindControl(macro_ids::kDlgKeyValue);
        if (!KeyCaptureTakes(box && box == FocusedControl(), UINT(wParam & 0xFF))) return LRESULT(0);
        key_ = uint8_t(wParam & 0xFF);
        ShowValue(GetKeyName(key_));
        return LRESULT(0);
    });
}

CActionKeyModifyDlg::~CActionKeyModifyDlg() { hook_.StopHook(); }

bool CActionKeyModifyDlg::OnInitDialog()
{
    CMacroValueDlg::OnInitDialog();
    hook_.StartHook(hwnd_);
    return true;
}

std::u16string CActionKeyModifyDlg::InitialValue() const { return GetKeyName(action_.b0); }

MacroRefusal CActionKeyModifyDlg::Confirm()
{
    hook_.StopHook();
    action_ = PickedKeyAction(action_, key_);
    return MacroRefusal::Accepted();
}

void CActionKeyModifyDlg::OnCancel()
{
    hook_.StopHook();
    CMacroValueDlg::OnCancel();
}
