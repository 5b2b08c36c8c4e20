#pragma once
// CColorPaletteDlg: picks a colour for a DPI level or a lighting colour slot
// from the palette picture. A click in one of the picture's two colour areas
// takes the colour of the picture at that point (never the screen's), shows
// its red, green and blue values and the swatch; the dark background picks
// nothing. By keyboard the arrow keys move a cursor over either area (the
// colour under it is picked as a click would), and the three channels can
// be typed. OK or Enter stores the chosen colour into the target; the close
// button and Escape change nothing.
//
// Window thread only; run modally.
#include <memory>

#include "settings/colour_palette.h"
#include "ui/framed_dlg.h"

class CPaletteAreaControl;

class CColorPaletteDlg final : public CFramedDlg {
public:
    static constexpr UINT kConfirm = 2010;
    // The channel boxes, red, green, blue.
    static constexpr UINT kRed = 2011;
    static constexpr UINT kGreen = 2012;
    static constexpr UINT kBlue = 2013;
    // The hue/lightness field and the ready colours.
    static constexpr UINT kField = 2014;
    static constexpr UINT kReady = 2015;

    // Starts with the target's colour. The profile must outlive the dialog.
    CColorPaletteDlg(ProfileRecord& profile, PaletteTarget target, HWND parent);

    bool OnInitDialog() override;
    void OnOK() override;

    COLORREF Selected() const { return selected_; }
    // What OK did to the profile (unchanged until then).
    const SettingChange& Change() const { return change_; }
    // A click at a client point: true when it picked a colour.
    bool PickAt(int x, int y);
    // The channel box of channel 0 (red) .. 2 (blue); 0 before the window is made.
    HWND ChannelEdit(int channel) const { return channel >= 0 && channel < 3 ? edits_[channel] : 0; }

protected:
    void AddControls() override;
    void DrawOverFrame(platform::ICanvas& dc) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ShowComponents();
    // Picks the colour under an area's cursor.
    void PickAtCursor(const CPaletteAreaControl& area);
    // A channel box changed: the colour follows what was typed.
    void OnChannelTyped();
    // Puts the cursor of the area a picked point lies in on its cell.
    void FollowPick(int baseX, int baseY);

    ProfileRecord& profile_;
    PaletteTarget target_;
    COLORREF selected_;
    SettingChange change_;
    std::unique_ptr<CSkinImage> picture_;  // read, not drawn: the frame draws it
    HWND edits_[3] = {0, 0, 0};
    bool writingEdits_ = false;
    CPaletteAreaControl* areas_[2] = {nullptr, nullptr};
};
