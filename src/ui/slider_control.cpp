#include "ui/slider_control.h"

#include <algorithm>

#include "ui/ui_scale.h"

CSliderControl::CSliderControl(HWND owner, UINT id, Rect rect, int count, int leftMargin, int rightMargin,
                               std::u16string caption, bool visible, bool available, bool disabled)
    : CSkinButton(owner, id, rect, std::move(caption), visible, available, disabled, true),
      leftMargin_(leftMargin), rightMargin_(rightMargin), usableWidth_(rect.Width() - leftMargin - rightMargin),
      count_(count < 1 ? 1 : count)
{
    table_.resize(static_cast<size_t>(count_));
    table_[0] = rect.left + leftMargin_;
    if (count_ > 1) {
        table_[count_ - 1] = rect.right - rightMargin_;
        for (int i = 1; i < count_ - 1; ++i) table_[i] = i * usableWidth_ / (count_ - 1) + rect.left + leftMargin_;
    }
    PlaceThumb();
}

int CSliderControl::NearestPosition(int x) const
{
    int i = 0;
    while (i + 1 < count_ && x >= (table_[i] + table_[i + 1]) / 2) ++i;
    return i;
}

void CSliderControl::PlaceThumb()
{
    int c = table_[std::clamp(position_, 0, count_ - 1)];
    thumbRect_ = {c - leftMargin_, rect_.top, c + rightMargin_, rect_.bottom};
}

void CSliderControl::SetPosition(int i)
{
    position_ = std::clamp(i, 0, count_ - 1);
    PlaceThumb();
}

void CSliderControl::DragMove(int x)
{
    x = std::clamp(x, rect_.left, rect_.right);
    dragX_ = x - leftMargin_;
    position_ = NearestPosition(x);
    Invalidate();
    Notify(CE_VALUE, static_cast<WPARAM>(position_));
}

int CSliderControl::OnMouseMove(WPARAM, int x, int y)
{
    int before = state_;
    state_ = StateAfterMove(disabled_, state_, Contains(x, y));
    if (state_ == kStateNormal) dragging_ = false;
    if (dragging_ && (state_ == kStateHover || state_ == kStatePressed)) DragMove(x);
    return state_ != before;
}

int CSliderControl::OnLButtonDown(WPARAM, int x, int y)
{
    if (disabled_ || !Contains(x, y)) return 0;
    int before = state_;
    state_ = kStatePressed;
    if (thumbRect_.Contains(x, y)) dragging_ = true;
    dragX_ = x - leftMargin_;
    Notify(CE_DOWN);
    return state_ != before;
}

int CSliderControl::OnLButtonUp(WPARAM, int x, int y)
{
    if (disabled_) return 0;
    int before = state_;
    dragging_ = false;
    if (Contains(x, y)) {
        state_ = kStateHover;
        dragX_ = x - leftMargin_;
        position_ = NearestPosition(x);
        PlaceThumb();
        Notify(CE_CLICK);
    } else {
        state_ = kStateNormal;
    }
    return state_ != before;
}

bool CSliderControl::DragTo(int x)
{
    if (!dragging_) return false;
    if (state_ != kStateHover && state_ != kStatePressed) return true;
    DragMove(x);
    PlaceThumb();
    return true;
}

int CSliderControl::ThumbDrawX() const
{
    if (dragging_) {
        // The thumb stays inside the slider however far the pointer goes.
        int limit = static_cast<int>(rect_.right - (thumb_ ? thumb_->Width() * g_uiScale : 0.0f));
        return std::clamp(dragX_, rect_.left, std::max(rect_.left, limit));
    }
    return table_[std::clamp(position_, 0, count_ - 1)] - leftMargin_;
}

void CSliderControl::Draw(platform::ICanvas& dc, const Rect&)
{
    if (!thumb_) return;
    int x = ThumbDrawX();
    dc.DrawImage(thumb_->Raw(), Rect::FromSize(x, rect_.top, static_cast<int>(thumb_->Width() * g_uiScale),
                                               static_cast<int>(thumb_->Height() * g_uiScale)));
}

void CSliderControl::ReleaseImages()
{
    CSkinButton::ReleaseImages();
    thumb_.reset();
}

bool CSliderControl::LoadThumb(const std::u16string& path)
{
    thumb_ = CSkinImage::FromFile(path);
    return thumb_ != nullptr;
}

bool CSliderControl::KeyClickPoint(KeyAction action, Point* at)
{
    int next = SteppedIndex(action, position_, count_);
    if (next == position_ || !at) return false;
    *at = {table_[static_cast<size_t>(next)], (rect_.top + rect_.bottom) / 2};
    return true;
}

void CSliderControl::Describe(platform::AccessibleNode& node) const
{
    DescribeAsSteps(node, position_, count_);
}
