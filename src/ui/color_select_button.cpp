#include "ui/color_select_button.h"

CColorSelectButton::CColorSelectButton(HWND owner, UINT id, Rect rect, std::u16string caption, Rect swatch,
                                       bool visible, bool available, bool disabled)
    : CSkinButton(owner, id, rect, std::move(caption), visible, available, disabled, true), swatch_(swatch)
{
}

void CColorSelectButton::Draw(platform::ICanvas& dc, const Rect&) { dc.FillRect(swatch_, colour_); }
