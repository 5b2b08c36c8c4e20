#include "ui/passive_controls.h"
#include "base/text_codec.h"

#include <algorithm>

#include "ui/ui_scale.h"

namespace {
constexpr int kFillTopOffset = 7;
constexpr int kFillHeight = 50;
}  // namespace

CBattery::CBattery(HWND owner, UINT id, Rect rect, std::u16string caption, bool visible, bool available, bool)
    : CControlBase(owner, id, rect, std::move(caption), visible, available, true, false)
{
}

int CBattery::FillTop(int percent) const
{
    const float s = g_uiScale;
    // A status answer outside 0..100 must not push the fill past the gauge.
    int f = std::max(1, std::clamp(percent, 0, 100) * kFillHeight / 100);
    int y = static_cast<int>((kFillTopOffset + kFillHeight - f) * s + rect_.top);
    if (s > 1.0f && (rect_.bottom - y) % 2 != 0) --y;
    return y;
}

void CBattery::DrawFill(platform::ICanvas& dc, const CSkinImage& source, int percent) const
{
    const float s = g_uiScale;
    int y = FillTop(percent);
    int ih = source.Height();
    int m = std::max(0, static_cast<int>(ih - (rect_.bottom - y) / s));
    if (m >= ih) return;
    source.Draw(dc, Rect::FromSize(rect_.left, y, static_cast<int>(source.Width() * s), static_cast<int>((ih - m) * s)),
                Rect{0, m, source.Width(), ih});
}

void CBattery::Draw(platform::ICanvas& dc, const Rect&)
{
    switch (displayState) {
    case kLevel:
        if (empty_) empty_->Draw(dc, rect_);
        if (full_) DrawFill(dc, *full_, level);
        break;
    case kCharging:
        if (charging_) DrawFill(dc, *charging_, chargingLevel);
        if (lightning_) lightning_->Draw(dc, rect_);
        break;
    case kCharged:
        if (full_) full_->Draw(dc, rect_);
        if (lightning_) lightning_->Draw(dc, rect_);
        break;
    case kNotConnected:
        if (empty_) empty_->Draw(dc, rect_);
        break;
    default:
        break;
    }
}

void CBattery::ReleaseImages()
{
    full_.reset();
    empty_.reset();
    charging_.reset();
    lightning_.reset();
}

bool CBattery::LoadImages(const std::u16string& full, const std::u16string& empty, const std::u16string& charging,
                          const std::u16string& lightning)
{
    full_ = CSkinImage::FromFile(full);
    empty_ = CSkinImage::FromFile(empty);
    charging_ = CSkinImage::FromFile(charging);
    lightning_ = CSkinImage::FromFile(lightning);
    return full_ && empty_ && charging_ && lightning_;
}

CStaticImage::CStaticImage(HWND owner, UINT id, Rect rect, std::u16string caption, bool visible, bool available, bool)
    : CControlBase(owner, id, rect, std::move(caption), visible, available, true, false)
{
}

void CStaticImage::Draw(platform::ICanvas& dc, const Rect&)
{
    if (image_) image_->Draw(dc, rect_);
}

bool CStaticImage::LoadImage(const std::u16string& path)
{
    image_ = CSkinImage::FromFile(path);
    return image_ != nullptr;
}

CStaticText::CStaticText(HWND owner, UINT id, Rect rect, COLORREF colour, unsigned format, std::u16string caption,
                         bool visible, bool available, bool)
    : CControlBase(owner, id, rect, std::move(caption), visible, available, true, false), format_(format),
      colour_(colour)
{
}

void CStaticText::Draw(platform::ICanvas& dc, const Rect&)
{
    if (text_.empty()) return;
    dc.DrawText(text_, rect_, format_ | DT_VCENTER | DT_WORD_ELLIPSIS, font_, colour_);
}

void CBattery::Describe(platform::AccessibleNode& node) const
{
    CControlBase::Describe(node);
    node.role = platform::AccessibleRole::ProgressBar;
    if (displayState == kNotConnected) {
        node.value = absentText;
        return;
    }
    int percent = displayState == kCharged ? 100 : level;
    node.numericValue = percent;
    node.minimum = 0;
    node.maximum = 100;
    node.value = Ascii(std::to_string(percent) + " %");
}

void CStaticText::Describe(platform::AccessibleNode& node) const
{
    if (node.name.empty()) node.name = text_;
    CControlBase::Describe(node);
    node.role = platform::AccessibleRole::StaticText;
}
