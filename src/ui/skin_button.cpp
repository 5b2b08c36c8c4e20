#include "ui/skin_button.h"

#include <string>

#include "persist/text_codec.h"

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

void CSkinButton::DescribeAsSteps(platform::AccessibleNode& node, int position, int count) const
{
    CSkinButton::Describe(node);
    node.role = platform::AccessibleRole::Slider;
    node.numericValue = position + 1;
    node.minimum = 1;
    node.maximum = count;
    node.value = Ascii(std::to_string(position + 1) + " / " + std::to_string(count));
}
