#pragma once
// A two-state button. Its look follows both the mouse and the checked flag;
// a click inside toggles the flag before CE_CLICK, so the handler sees the
// new value.
#include "ui/skin_button.h"

class CCheckButton : public CSkinButton {
public:
    ControlKind Kind() const override { return ControlKind::CheckBox; }
    void Describe(platform::AccessibleNode& node) const override;
    CCheckButton(HWND owner, UINT id, Rect rect, std::u16string caption, unsigned align = DT_LEFT,
                 bool visible = true, bool available = true, bool disabled = false);
    void Draw(platform::ICanvas& dc, const Rect& area) override;

    bool IsChecked() const { return checked_; }
    void SetChecked(bool c) { checked_ = c; }
    // Replace the caption in the unchecked (normal, hover) or checked look.
    void SetUncheckedCaption(const std::u16string& s) { uncheckedCaption_ = s; }
    void SetCheckedCaption(const std::u16string& s) { checkedCaption_ = s; }
    // Caption colours of looks 0 (normal), 1 (hover), 2 (pressed or checked).
    void SetCaptionColour(int look, COLORREF c)
    {
        if (look >= 0 && look < 3) colours_[look] = c;
    }
    // 0 normal, 1 hover, 2 pressed or checked.
    int LookIndex() const;

protected:
    void OnClick() override { checked_ = !checked_; }

private:
    bool checked_ = false;
    std::u16string uncheckedCaption_;
    std::u16string checkedCaption_;
    COLORREF colours_[3] = {kCaptionNormal, kCaptionHover, kCaptionPressed};
};
