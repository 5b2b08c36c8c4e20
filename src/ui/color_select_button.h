#pragma once
// A colour swatch that can be clicked: only its swatch rectangle is painted,
// in its colour; no image, no caption, no hover look.
#include "ui/skin_button.h"

class CColorSelectButton : public CSkinButton {
public:
    CColorSelectButton(HWND owner, UINT id, Rect rect, std::u16string caption, Rect swatch, bool visible = true,
                       bool available = true, bool disabled = false);
    void Draw(platform::ICanvas& dc, const Rect& area) override;

    COLORREF Colour() const { return colour_; }
    void SetColour(COLORREF c) { colour_ = c; }
    const Rect& Swatch() const { return swatch_; }
    void SetSwatch(const Rect& r) { swatch_ = r; }

private:
    Rect swatch_;
    COLORREF colour_ = RGB(0, 255, 0);
};
