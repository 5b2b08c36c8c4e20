#pragma once
// CColorPaletteDlg: picks a colour for a DPI level or a lighting colour slot
// from the palette picture. A click in one of the picture's two colour areas
// takes the colour of the picture at that point (never the screen's), shows
// its red, green and blue values and the swatch; the dark background picks
// nothing. OK or Enter stores the chosen colour into the target; the close
// button changes nothing; Escape is swallowed.
//
// Window thread only; run modally.
#include <memory>

#include "settings/colour_palette.h"
#include "ui/framed_dlg.h"

class CColorPaletteDlg final : public CFramedDlg {
public:
    static constexpr UINT kConfirm = 2010;
    static constexpr UINT kRed = 2011;
    static constexpr UINT kGreen = 2012;
    static constexpr UINT kBlue = 2013;

    // Starts with the target's colour. The profile must outlive the dialog.
    CColorPaletteDlg(ProfileRecord& profile, PaletteTarget target, HWND parent);

    bool OnInitDialog() override;
    void OnOK() override;

    COLORREF Selected() const { return selected_; }
    // What OK did to the profile (unchanged until then).
    const SettingChange& Change() const { return change_; }
    // A click at a client point: true when it picked a colour.
    bool PickAt(int x, int y);

protected:
    void AddControls() override;
    void DrawOverFrame(platform::ICanvas& dc) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ShowComponents();

    ProfileRecord& profile_;
    PaletteTarget target_;
    COLORREF selected_;
    SettingChange change_;
    std::unique_ptr<CSkinImage> picture_;  // read, not drawn: the frame draws it
};
