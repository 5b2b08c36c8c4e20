#pragma once
// What the nine button classes share: the three-state mouse behaviour, the
// looks (separate images or one strip of frames) and the caption colours.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "ui/button_behaviour.h"
#include "ui/control_base.h"
#include "ui/skin_image.h"

constexpr COLORREF kCaptionNormal = RGB(180, 180, 180);
constexpr COLORREF kCaptionHover = RGB(255, 255, 255);
constexpr COLORREF kCaptionPressed = RGB(255, 255, 0);

class CSkinButton : public CControlBase {
public:
    using CControlBase::CControlBase;

    int OnMouseMove(WPARAM flags, int x, int y) override;
    int OnLButtonDown(WPARAM flags, int x, int y) override;
    int OnLButtonUp(WPARAM flags, int x, int y) override;
    void ReleaseImages() override;

    // Image n (1 normal, 2 hover, 3 pressed or checked) from a file; false
    // when it cannot be loaded (that look then draws nothing).
    bool LoadImage(int n, const std::u16string& path);
    bool LoadImage1(const std::u16string& path) { return LoadImage(1, path); }
    bool LoadImage2(const std::u16string& path) { return LoadImage(2, path); }
    bool LoadImage3(const std::u16string& path) { return LoadImage(3, path); }
    bool LoadNormalAndHover(const std::u16string& normal, const std::u16string& hover);
    // A strip of `frames` looks side by side from image resource id; when it
    // is loaded the separate images are ignored.
    bool LoadStrip(int resourceId, int frames);

    // What a screen reader hears for each position of a stepped control:
    // the value in the units the user sees (800 for 800 DPI, 4 for 4 ms)
    // and the text the window shows for it ("800 DPI", "4ms"). Without a
    // scale, or one of another length, positions read as levels 1 .. count.
    void SetValueScale(std::vector<int> values, std::vector<std::u16string> texts);
    // The unit a plain value is read with (the dial's minutes).
    void SetValueUnit(std::u16string unit) { valueUnit_ = std::move(unit); }

    int State() const { return state_; }
    void SetState(int s) { state_ = s; }
    void SetMargins(int left, int right) { leftMargin_ = left; rightMargin_ = right; }
    bool HasStrip() const { return strip_ != nullptr; }
    const CSkinImage* Image(int n) const { return n >= 1 && n <= 3 ? images_[n - 1].get() : nullptr; }

protected:
    // Runs on a button-up inside, before CE_CLICK is sent.
    virtual void OnClick() {}
    virtual WPARAM ClickWParam() const { return 0; }
    // A double click at (x, y): the look a button-up leaves, with CE_DBLCLK
    // instead of the click when it is inside. Whether the look changed.
    int DoubleClickAt(int x, int y);
    // Frame `frame` of the strip when there is one, else separate image
    // `image` (1..3); nothing when that picture is missing.
    void DrawLook(platform::ICanvas& dc, int frame, int image) const;
    // Describes a control of `count` steps at `position` (0-based) as a
    // slider: its value scale when it has one, else value "k / count",
    // range 1..count. Either way it offers increase and decrease.
    void DescribeAsSteps(platform::AccessibleNode& node, int position, int count) const;

    int state_ = kStateNormal;
    std::array<std::unique_ptr<CSkinImage>, 3> images_;
    std::unique_ptr<CSkinImage> strip_;
    int stripFrames_ = 1;
    unsigned align_ = DT_CENTER;
    int leftMargin_ = 0;
    int rightMargin_ = 0;
    std::vector<int> scaleValues_;
    std::vector<std::u16string> scaleTexts_;
    std::u16string valueUnit_;
};
