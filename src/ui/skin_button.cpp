#include "ui/skin_button.h"

#include <algorithm>

#include <string>

#include "base/text_codec.h"

int CSkinButton::OnMouseMove(WPARAM, int x, int y)
{
    int before = state_;
    state_ = StateAfterMove(disabled_, state_, Contains(x, y));
    return state_ != before;
}

int CSkinButton::OnLButtonDown(WPARAM, int x, int y)
{
    int before = state_;
    DownStep step = StateAfterDown(disabled_, state_, Contains(x, y));
    state_ = step.state;
    if (step.sendDown) Notify(CE_DOWN);
    return state_ != before;
}

int CSkinButton::OnLButtonUp(WPARAM, int x, int y)
{
    int before = state_;
    UpStep step = StateAfterUp(disabled_, state_, Contains(x, y));
    state_ = step.state;
    if (step.click) {
        OnClick();
        Notify(CE_CLICK, ClickWParam());
    }
    return state_ != before;
}

int CSkinButton::DoubleClickAt(int x, int y)
{
    int before = state_;
    UpStep step = StateAfterUp(disabled_, state_, Contains(x, y));
    state_ = step.state;
    if (step.click) Notify(CE_DBLCLK);
    return state_ != before;
}

void CSkinButton::ReleaseImages()
{
    for (auto& i : images_) i.reset();
    strip_.reset();
}

bool CSkinButton::LoadImage(int n, const std::u16string& path)
{
    if (n < 1 || n > 3) return false;
    images_[n - 1] = CSkinImage::FromFile(path);
    return images_[n - 1] != nullptr;
}

bool CSkinButton::LoadNormalAndHover(const std::u16string& normal, const std::u16string& hover)
{
    bool a = LoadImage(1, normal);
    bool b = LoadImage(2, hover);
    return a && b;
}

bool CSkinButton::LoadStrip(int resourceId, int frames)
{
    strip_ = CSkinImage::FromResource(resourceId);
    stripFrames_ = frames < 1 ? 1 : frames;
    return strip_ != nullptr;
}

void CSkinButton::DrawLook(platform::ICanvas& dc, int frame, int image) const
{
    if (strip_) {
        strip_->DrawFrame(dc, rect_, frame, stripFrames_);
        return;
    }
    if (const CSkinImage* img = Image(image)) img->Draw(dc, rect_);
}

void CSkinButton::SetValueScale(std::vector<int> values, std::vector<std::u16string> texts)
{
    scaleValues_ = std::move(values);
    scaleTexts_ = std::move(texts);
}

void CSkinButton::DescribeAsSteps(platform::AccessibleNode& node, int position, int count) const
{
    CSkinButton::Describe(node);
    node.role = platform::AccessibleRole::Slider;
    node.actions = {u"increase", u"decrease"};
    const size_t n = static_cast<size_t>(count > 0 ? count : 0);
    if (n == 0 || scaleValues_.size() != n || position < 0 || static_cast<size_t>(position) >= n) {
        node.numericValue = position + 1;
        node.minimum = 1;
        node.maximum = count;
        node.step = 1;
        node.value = Ascii(std::to_string(position + 1) + " / " + std::to_string(count));
        return;
    }
    node.numericValue = scaleValues_[size_t(position)];
    node.minimum = *std::min_element(scaleValues_.begin(), scaleValues_.end());
    node.maximum = *std::max_element(scaleValues_.begin(), scaleValues_.end());
    // One key press moves one position: an even scale says by how much.
    node.step = n > 1 ? scaleValues_[1] - scaleValues_[0] : 0;
    for (size_t i = 1; i < n && node.step; ++i)
        if (scaleValues_[i] - scaleValues_[i - 1] != node.step) node.step = 0;
    node.step = node.step < 0 ? -node.step : node.step;
    const std::u16string& text = scaleTexts_.size() == n ? scaleTexts_[size_t(position)] : std::u16string{};
    node.value = text.empty() ? Ascii(std::to_string(node.numericValue)) + valueUnit_ : text;
}
