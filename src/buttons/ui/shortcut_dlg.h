#pragma once
// CShortcutDlg: sets a key combination on a button. The key comes from the
// keyboard hook (so that keys the desktop would take, like Alt+F4, can be
// captured too) while the key box has the focus, the modifiers from four
// check boxes (a modifier held with the key checks its box). OK ends it with
// IDOK; the owner then reads the combination from Chosen(), which is empty
// when neither key nor modifier was given.
#include <optional>

#include "buttons/key_capture.h"
#include "platform/keyboard/keyboard_hook.h"
#include "ui/framed_dlg.h"

class CShortcutDlg final : public CFramedDlg {
public:
    static constexpr int kBaseWidth = 429;
    static constexpr int kBaseHeight = 140;
    static constexpr UINT kKeyNameId = 2012;
    static constexpr UINT kCtrlId = 2006, kAltId = 2007, kShiftId = 2008, kWinId = 2009;

    explicit CShortcutDlg(HWND owner);
    ~CShortcutDlg() override;

    bool OnInitDialog() override;
    bool PreTranslateMessage(HWND self, const platform::Msg& msg) override;
    const std::optional<KeyCombination>& Chosen() const { return result_; }

protected:
    void AddControls() override;
    std::u16string Description() const override;
    void DrawOverFrame(platform::ICanvas& dc) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnOk();
    void OnKeyEvent(WPARAM wParam, LPARAM lParam);
    uint8_t CheckedModifiers() const;
    static uint8_t ModifierBitOfKey(int vk);
    void CheckModifiers(uint8_t bits);
    bool BoxFocused() const;

    CKeyboardHook hook_;
    std::optional<CapturedKey> key_;
    uint8_t heldModifiers_ = 0;  // the modifiers down now, from the hook
    std::optional<KeyCombination> result_;
};
