#pragma once
// A colour slot of the lighting section: a frame that shows whether the slot
// is selected (the owner sets that, clicks do not) around a swatch of its
// colour. A double click inside reports CE_DBLCLK (the owner opens the
// palette).
#include "ui/skin_button.h"

class CColorSelectCheckButton : public CSkinButton {
public:
    ControlKind Kind() const override { return ControlKind::CheckBox; }
    void Describe(platform::AccessibleNode& node) const override;
    CColorSelectCheckButton(HWND owner, UINT id, Rect rect, std::u16string caption, Rect swatch = {},
                            bool visible = true, bool available = true, bool disabled = false);
    void Draw(platform::ICanvas& dc, const Rect& area) override;
    int OnLButtonDblClk(WPARAM flags, int x, int y) override;

    COLORREF Colour() const { return colour_; }
    void SetColour(COLORREF c) { colour_ = c; }
    bool IsChecked() const { return checked_; }
    void SetChecked(bool c) { checked_ = c; }
    // The swatch as last drawn: the control inset by int(3 * scale).
    const Rect& Swatch() const { return swatch_; }

private:
    Rect swatch_;
    COLORREF colour_ = RGB(0, 255, 0);
    bool checked_ = false;
};
