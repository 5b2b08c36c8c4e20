#pragma once
// Controls that only show something: they are always disabled and take no
// part in hover tracking, so they never change their look or send messages.
#include <array>
#include <memory>

#include "ui/control_base.h"
#include "ui/skin_image.h"

// The battery gauge: empty shell with a fill from the
// bottom for the level, an animated charging fill, or full when charged.
class CBattery : public CControlBase {
public:
    void Describe(platform::AccessibleNode& node) const override;
    // kNotConnected: no mouse, so no reading: the empty gauge, read out as
    // absentText.
    enum Display { kLevel = 0, kCharging = 1, kCharged = 2, kNotConnected = 3 };

    CBattery(HWND owner, UINT id, Rect rect, std::u16string caption = {}, bool visible = true, bool available = true,
             bool disabled = true);
    void Draw(platform::ICanvas& dc, const Rect& area) override;
    void ReleaseImages() override;
    bool LoadImages(const std::u16string& full, const std::u16string& empty, const std::u16string& charging,
                    const std::u16string& lightning);

    int displayState = kLevel;
    int level = 100;         // percent 0 .. 100
    int chargingLevel = 25;  // the owner's animation: 25, 50, 75, 100, 25, ...
    std::u16string absentText;  // what a screen reader hears without a mouse

    // Top of the fill for a level, in pixels (the gauge's fill area is 50
    // units high, 7 units below the top of the picture).
    int FillTop(int percent) const;

private:
    void DrawFill(platform::ICanvas& dc, const CSkinImage& source, int percent) const;
    std::unique_ptr<CSkinImage> full_, empty_, charging_, lightning_;
};

// A picture stretched over the control.
class CStaticImage : public CControlBase {
public:
    CStaticImage(HWND owner, UINT id, Rect rect, std::u16string caption = {}, bool visible = true,
                 bool available = true, bool disabled = true);
    void Draw(platform::ICanvas& dc, const Rect& area) override;
    void ReleaseImages() override { image_.reset(); }
    bool LoadImage(const std::u16string& path);
    const CSkinImage* Image() const { return image_.get(); }

private:
    std::unique_ptr<CSkinImage> image_;
};

// A text in a colour. Note: the text is its own string, set with
// SetLabelText; the caption given at construction is not drawn.
class CStaticText : public CControlBase {
public:
    CStaticText(HWND owner, UINT id, Rect rect, COLORREF colour, unsigned format, std::u16string caption = {},
                bool visible = true, bool available = true, bool disabled = true);
    void Draw(platform::ICanvas& dc, const Rect& area) override;
    // No repaint: the owner invalidates.
    void SetLabelText(const std::u16string& text) { text_ = text; }
    const std::u16string& LabelText() const { return text_; }
    // Read out as what it shows: the label text.
    void Describe(platform::AccessibleNode& node) const override;
    COLORREF Colour() const { return colour_; }
    void SetColour(COLORREF c) { colour_ = c; }
    unsigned Format() const { return format_; }

private:
    std::u16string text_;
    unsigned format_;
    COLORREF colour_;
};
