#include "ui/image_button.h"

CImageButton::CImageButton(HWND owner, UINT id, Rect rect, std::u16string caption, unsigned align, bool visible,
                           bool available, bool disabled)
    : CSkinButton(owner, id, rect, std::move(caption), visible, available, disabled, true)
{
    align_ = align;
}

void CImageButton::Draw(platform::ICanvas& dc, const Rect&)
{
    DrawLook(dc, state_, state_ == kStateNormal ? 1 : 2);
    COLORREF c = state_ == kStatePressed ? kCaptionPressed : (state_ == kStateHover ? kCaptionHover : kCaptionNormal);
    DrawCaption(dc, caption_, rect_, align_, c, leftMargin_, rightMargin_);
}

int CImageButton::OnMouseMove(WPARAM flags, int x, int y)
{
    int changed = CSkinButton::OnMouseMove(flags, x, y);
    if (reportsHover_ && !disabled_ && state_ != kStatePressed && Contains(x, y)) Notify(CE_HOVER);
    return changed;
}
