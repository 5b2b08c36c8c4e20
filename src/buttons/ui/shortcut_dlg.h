#pragma once
// CShortcutDlg: sets a key combination on a button. The key comes from the
// keyboard hook (so that keys the desktop would take, like Alt+F4, can be
// captured too), the modifiers from four check boxes. OK reports the
// combination to the owner (message 1036, lParam = the KeyCombination);
// with neither key nor modifier it reports nothing.
#include <memory>
#include <optional>

#include "buttons/key_capture.h"
#include "platform/keyboard/keyboard_hook.h"
#include "ui/dlg_base.h"

class CShortcutDlg final : public CDlgBase {
public:
    static constexpr int kBaseWidth = 429;
    static constexpr int kBaseHeight = 140;
    static constexpr UINT kKeyNameId = 2012;
    static constexpr UINT kCtrlId = 2006, kAltId = 2007, kShiftId = 2008, kWinId = 2009;

    explicit CShortcutDlg(HWND owner);
    ~CShortcutDlg() override;
    LRESULT DoModal() { return CDlgBase::DoModal(owner_); }

    bool OnInitDialog() override;
    void CreateControls(Rect client) override;
    void DrawBackground(platform::ICanvas& dc, const Rect& client) override;
    bool PreTranslateMessage(HWND self, const platform::Msg& msg) override;

    const std::optional<CapturedKey>& Key() const { return key_; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    LRESULT OnOkButton(WPARAM wParam, LPARAM lParam);
    void OnKeyEvent(WPARAM wParam);
    uint8_t CheckedModifiers() const;

    CKeyboardHook hook_;
    std::optional<CapturedKey> key_;
    KeyCombination result_;
    std::unique_ptr<CSkinImage> frame_;
};
