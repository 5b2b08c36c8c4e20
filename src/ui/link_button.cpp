#include "ui/link_button.h"

CLinkButton::CLinkButton(HWND owner, UINT id, Rect rect, std::u16string caption, unsigned align, bool visible,
                         bool available, bool disabled)
    : CSkinButton(owner, id, rect, std::move(caption), visible, available, disabled, true)
{
    align_ = align;
}

void CLinkButton::Draw(platform::ICanvas& dc, const Rect&)
{
    if (strip_) {
        strip_->DrawFrame(dc, rect_, state_, stripFrames_);
        return;
    }
    COLORREF c = state_ == kStatePressed ? kCaptionPressed : (state_ == kStateHover ? kCaptionHover : kCaptionNormal);
    DrawCaption(dc, caption_, rect_, align_, c, leftMargin_, rightMargin_);
}

int CLinkButton::OnMouseMove(WPARAM flags, int x, int y)
{
    int changed = CSkinButton::OnMouseMove(flags, x, y);
    if (disabled_) return changed;
    bool inside = Contains(x, y);
    if (inside && !hoverNotified_) {
        hoverNotified_ = true;
        Notify(CE_ENTER);
    } else if (!inside && hoverNotified_) {
        hoverNotified_ = false;
        Notify(CE_LEAVE);
    }
    return changed;
}
