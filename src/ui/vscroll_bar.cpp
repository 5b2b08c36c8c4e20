#include "ui/vscroll_bar.h"

#include <algorithm>

#include "ui/ui_scale.h"

namespace {
constexpr COLORREF kTrack = RGB(16, 16, 16);
constexpr COLORREF kThumbEdge = RGB(31, 31, 31);
constexpr COLORREF kThumbEdgeHot = RGB(0x35, 0xA0, 0xDE);
constexpr COLORREF kThumbBody = RGB(50, 50, 50);
}  // namespace

CVScrollBar::CVScrollBar(HWND owner, UINT id, Rect rect, std::u16string caption, bool visible, bool available,
                         bool disabled)
    : CSkinButton(owner, id, rect, std::move(caption), visible, available, disabled, true)
{
    SetArrowHeight(0);
}

void CVScrollBar::SetArrowHeight(int h)
{
    const float s = g_uiScale;
    arrowHeight_ = h;
    // The arrows' hit rectangles are arrow-height image units high, not
    // scaled: at scale 2 the lower half of the drawn up arrow is track.
    upRect_ = {rect_.left, rect_.top, rect_.right, rect_.top + h - 1};
    downRect_ = {rect_.left, rect_.bottom - h + 1, rect_.right, rect_.bottom};
    trackRect_ = {rect_.left, static_cast<int>(rect_.top + h * s), rect_.right, static_cast<int>(rect_.bottom - h * s)};
    thumbRect_ = trackRect_;
}

bool CVScrollBar::LoadArrows()
{
    upStrip_ = CSkinImage::FromResource(188);
    downStrip_ = CSkinImage::FromResource(187);
    int h = upStrip_ ? upStrip_->Height() : (downStrip_ ? downStrip_->Height() : 0);
    SetArrowHeight(h);
    return upStrip_ && downStrip_;
}

void CVScrollBar::SetScrollState(int position, int page, int range)
{
    if (range <= 0) {
        // Nothing to scroll: the thumb covers the track and the values stay.
        thumbRect_ = trackRect_;
        return;
    }
    position_ = position;
    page_ = page;
    range_ = range;
    double L = trackRect_.bottom - trackRect_.top + 1;
    int top = trackRect_.top + static_cast<int>(static_cast<double>(position) / range * L + 0.5);
    int h = static_cast<int>(static_cast<double>(page) / range * L + 0.5);
    int bottom = std::min(trackRect_.bottom, top + std::min(static_cast<int>(L), h) - 1);
    thumbRect_ = {trackRect_.left, top, trackRect_.right, bottom};
    Invalidate();
}

void CVScrollBar::DragMove(int y)
{
    int g = grabOffset_ + dragRect_.top;
    int height = dragRect_.Height();
    bool moved = false;
    if (y > g) {
        if (dragRect_.bottom < trackRect_.bottom) {
            dragRect_ = dragRect_.Offset(0, y - g);
            if (dragRect_.bottom > trackRect_.bottom)
                dragRect_ = {dragRect_.left, trackRect_.bottom - height, dragRect_.right, trackRect_.bottom};
            moved = true;
        }
    } else if (y < g) {
        if (dragRect_.top > trackRect_.top) {
            dragRect_ = dragRect_.Offset(0, y - g);
            if (dragRect_.top < trackRect_.top)
                dragRect_ = {dragRect_.left, trackRect_.top, dragRect_.right, trackRect_.top + height};
            moved = true;
        }
    }
    if (!moved) return;
    Invalidate();
    int p = static_cast<int>(static_cast<double>(dragRect_.top - trackRect_.top) * range_ /
                             (trackRect_.bottom - trackRect_.top + 1));
    if (p != position_) {
        position_ = p;
        Notify(CE_VALUE);
    }
}

int CVScrollBar::OnMouseMove(WPARAM, int x, int y)
{
    int before = state_;
    bool hu = hoverUp_, hd = hoverDown_, ht = hoverThumb_;
    if (!disabled_ && state_ != kStatePressed) {
        if (Contains(x, y)) {
            state_ = kStateHover;
            hoverUp_ = upRect_.Contains(x, y);
            hoverDown_ = downRect_.Contains(x, y);
            hoverThumb_ = thumbRect_.Contains(x, y);
        } else {
            state_ = kStateNormal;
            hoverUp_ = hoverDown_ = hoverThumb_ = false;
        }
    }
    if (state_ == kStateNormal) dragging_ = false;
    if (dragging_) DragMove(y);
    return state_ != before || hu != hoverUp_ || hd != hoverDown_ || ht != hoverThumb_;
}

int CVScrollBar::OnLButtonDown(WPARAM, int x, int y)
{
    if (disabled_ || !Contains(x, y)) return 0;
    int before = state_;
    state_ = kStatePressed;
    if (thumbRect_.Contains(x, y)) {
        dragging_ = true;
        grabOffset_ = y - thumbRect_.top;
        dragRect_ = thumbRect_;
    }
    WPARAM part = upRect_.Contains(x, y)        ? kPartUpArrow
                  : downRect_.Contains(x, y)    ? kPartDownArrow
                  : thumbRect_.Contains(x, y)   ? kPartThumb
                  : y < thumbRect_.top          ? kPartAbove
                                                : kPartBelow;
    Notify(CE_DOWN, part);
    return state_ != before;
}

int CVScrollBar::OnLButtonUp(WPARAM, int x, int y)
{
    if (disabled_) return 0;
    int before = state_;
    if (Contains(x, y)) {
        state_ = kStateHover;
    } else {
        state_ = kStateNormal;
        if (!dragging_) {
            SetScrollState(position_, page_, range_);
            return state_ != before;
        }
        hoverThumb_ = false;
    }
    dragging_ = false;
    Notify(CE_CLICK);
    // After a drag the thumb snaps to the place of the position it reached.
    SetScrollState(position_, page_, range_);
    return 1;
}

bool CVScrollBar::DragTo(int, int y)
{
    if (!dragging_) return false;
    DragMove(std::clamp(y, rect_.top, rect_.bottom));
    return true;
}

void CVScrollBar::Draw(platform::ICanvas& dc, const Rect&)
{
    const float s = g_uiScale;
    const int si = static_cast<int>(s);
    dc.FillRect(rect_, kTrack);
    if (upStrip_) {
        int fw = upStrip_->Width() / 3;
        upStrip_->DrawFrame(dc,
                            Rect::FromSize(rect_.left, rect_.top, static_cast<int>(fw * s),
                                           static_cast<int>(arrowHeight_ * s)),
                            hoverUp_ ? 1 : 0, 3);
    }
    if (downStrip_) {
        int fw = downStrip_->Width() / 3;
        downStrip_->DrawFrame(dc,
                              Rect::FromSize(rect_.left, static_cast<int>(rect_.bottom - arrowHeight_ * s + s),
                                             static_cast<int>(fw * s), static_cast<int>(arrowHeight_ * s)),
                              hoverDown_ ? 1 : 0, 3);
    }
    const Rect& t = dragging_ ? dragRect_ : thumbRect_;
    dc.FillRect(t, hoverThumb_ ? kThumbEdgeHot : kThumbEdge);
    dc.FillRect({t.left + si, t.top + si, t.right - si, t.bottom}, hoverThumb_ ? kThumbEdge : kThumbBody);
}

void CVScrollBar::ReleaseImages()
{
    CSkinButton::ReleaseImages();
    upStrip_.reset();
    downStrip_.reset();
}
