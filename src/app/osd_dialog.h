#pragma once
// COSDDialog: the small half-transparent, always-on-top window in the work
// area's bottom-right corner that shows a DPI level, its value and the
// polling rate after the user changed them on the mouse itself. It never
// takes the focus or the mouse; the main window creates it on the first
// change, updates it in place on later ones and destroys it when its
// countdown (timer 50 of the main window) runs out.
//
// Window thread only.
#include <string>

#include "platform/window/window_host.h"

// Where the three texts go and in which fonts, for a scale and a font face.
// Kept apart from the painting so the rules can be checked on their own.
struct OsdLayout {
    Rect window;            // screen rectangle (bottom-right of the work area)
    platform::FontSpec levelFont;  // the level and the rate
    platform::FontSpec valueFont;  // the DPI value, twice as large
    Point level;
    Point value;
    Point rate;
    // Without a rate the display names a profile: both lines centred, and a
    // name longer than a DPI value in the smaller font.
    bool centred = false;
};

constexpr int kOsdBaseWidth = 180;
constexpr int kOsdBaseHeight = 140;
constexpr COLORREF kOsdFill = RGB(164, 73, 164);
constexpr COLORREF kOsdText = RGB(255, 255, 255);
constexpr int kOsdOpacity = 128;

OsdLayout ComputeOsdLayout(const Rect& workArea, const std::u16string& valueText, const std::u16string& rateText,
                           const std::u16string& fontFace, float scale);

class COSDDialog final : public platform::IWindowClient {
public:
    COSDDialog() = default;
    ~COSDDialog() override;
    COSDDialog(const COSDDialog&) = delete;
    COSDDialog& operator=(const COSDDialog&) = delete;

    // Creates and shows the window in the bottom-right corner of the work
    // area; false when the window system refused it.
    bool Create();
    void Destroy();
    HWND GetSafeHwnd() const { return hwnd_; }

    // Stores the texts and repaints the whole window.
    void SetTexts(const std::u16string& levelText, const std::u16string& valueText, const std::u16string& rateText);

    const std::u16string& levelText() const { return levelText_; }
    const std::u16string& valueText() const { return valueText_; }
    const std::u16string& rateText() const { return rateText_; }

    LRESULT OnMessage(HWND self, UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint(HWND self, platform::ICanvas& canvas, const Rect& dirty) override;

private:
    HWND hwnd_ = 0;
    std::u16string levelText_;
    std::u16string valueText_;
    std::u16string rateText_;
};
