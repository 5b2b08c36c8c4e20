#pragma once
// The button that opens a drop-down menu. Several combos share one combo
// message; each reports with that message and its own id as wParam:
// lParam 2 on a click, 4 while the mouse enters (at most five times per
// visit, so the owner can preview without a flood), 5 when it leaves. While
// its menu is open (the owner marks it open) no leave is reported, and a
// locked combo reports no press or click but still enter and leave.
#include "ui/skin_button.h"

class CComboButton : public CSkinButton {
public:
    ControlKind Kind() const override { return ControlKind::Combo; }
    void Describe(platform::AccessibleNode& node) const override;
    CComboButton(HWND owner, UINT comboMessage, UINT id, Rect rect, std::u16string caption,
                 unsigned align = DT_LEFT, std::u16string label = {}, bool visible = true, bool available = true,
                 bool disabled = false);
    void Draw(platform::ICanvas& dc, const Rect& area) override;
    int OnMouseMove(WPARAM flags, int x, int y) override;
    int OnLButtonDown(WPARAM flags, int x, int y) override;
    int OnLButtonUp(WPARAM flags, int x, int y) override;

    // The default strip of the skin: resource 184, five frames (normal,
    // hover or open, pressed, locked, locked and hovered).
    bool LoadComboStrip() { return LoadStrip(184, 5); }

    static constexpr LPARAM kClick = 2;
    static constexpr LPARAM kEnter = 4;
    static constexpr LPARAM kLeave = 5;

    UINT ComboMessage() const { return comboMessage_; }
    const std::u16string& Label() const { return label_; }
    void SetLabel(const std::u16string& l) { label_ = l; }
    bool IsLocked() const { return locked_; }
    void SetLocked(bool l) { locked_ = l; }
    bool ShowsDisable() const { return disableFlag_; }
    void SetShowDisable(bool d) { disableFlag_ = d; }
    bool IsOpen() const { return open_; }
    void SetOpen(bool o) { open_ = o; }
    // The frame the look uses now (0..4).
    int Frame() const;

private:
    UINT comboMessage_;
    std::u16string label_;
    bool locked_ = false;
    bool disableFlag_ = false;
    bool open_ = false;
    int enterCounter_ = 0;
    bool entered_ = false;
    bool inside_ = false;
};
