#include "ui/dpi_value_show_control.h"

#include <algorithm>

#include "ui/ui_scale.h"

CDPIValueShowControl::CDPIValueShowControl(HWND owner, UINT id, Rect rect, int count, int topMargin,
                                           int bottomMargin, std::u16string caption, bool visible, bool available,
                                           bool disabled)
    : CSkinButton(owner, id, rect, std::move(caption), visible, available, disabled, true), topMargin_(topMargin),
      bottomMargin_(bottomMargin), count_(count), usableHeight_(rect.Height() - topMargin - bottomMargin)
{
    BuildTable();
}

void CDPIValueShowControl::BuildTable()
{
    table_.assign(static_cast<size_t>(std::max(count_, 0)), 0);
    if (count_ < 1) return;
    table_[0] = rect_.top + topMargin_;
    if (count_ < 2) return;
    table_[count_ - 1] = rect_.bottom - bottomMargin_;
    for (int i = 1; i < count_ - 1; ++i) table_[i] = i * usableHeight_ / (count_ - 1) + rect_.top + topMargin_;
}

void CDPIValueShowControl::SetCount(int n)
{
    count_ = n;
    BuildTable();
}

int CDPIValueShowControl::FillTop() const
{
    // A sensor whose step count is not known yet (0) shows an empty bar
    // instead of dividing by zero; a position beyond the count fills it.
    if (count_ < 1) return rect_.bottom;
    int h = rect_.Height();
    int d = h * (std::clamp(position_, 0, count_ - 1) + 1) / count_;
    int y = rect_.bottom - d;
    if (g_uiScale > 1.0f && d % 2 != 0) --y;
    return y;
}

void CDPIValueShowControl::Draw(platform::ICanvas& dc, const Rect&)
{
    const float s = g_uiScale;
    if (track_)
        track_->Draw(dc, Rect::FromSize(rect_.left, rect_.top, static_cast<int>(track_->Width() * s),
                                        static_cast<int>(track_->Height() * s)));
    if (!fill_ || count_ < 1) return;
    int y = FillTop();
    int ih = fill_->Height();
    int m = std::max(0, static_cast<int>(ih - (rect_.bottom - y) / s));
    if (m >= ih) return;
    fill_->Draw(dc,
                Rect::FromSize(rect_.left, y, static_cast<int>(fill_->Width() * s), static_cast<int>((ih - m) * s)),
                Rect{0, m, fill_->Width(), ih});
}

void CDPIValueShowControl::ReleaseImages()
{
    CSkinButton::ReleaseImages();
    fill_.reset();
    track_.reset();
}

bool CDPIValueShowControl::LoadTrack(const std::u16string& path)
{
    track_ = CSkinImage::FromFile(path);
    return track_ != nullptr;
}

bool CDPIValueShowControl::LoadFill(const std::u16string& path)
{
    fill_ = CSkinImage::FromFile(path);
    return fill_ != nullptr;
}

void CDPIValueShowControl::Describe(platform::AccessibleNode& node) const
{
    DescribeAsSteps(node, position_, count_);
    // A click opens the level's value dialog.
    node.actions.insert(node.actions.begin(), u"click");
}

bool CDPIValueShowControl::KeyStep(KeyAction action)
{
    if (action != KeyAction::StepBack && action != KeyAction::StepForward) return false;
    // The owner decides and redraws; a step past either end changes nothing.
    Notify(CE_STEP, action == KeyAction::StepForward ? 1 : 0);
    return true;
}
