#include "settings/ui/color_palette_dlg.h"

#include <string>

#include "persist/text_codec.h"
#include "persist/ui_text.h"
#include "ui/passive_controls.h"
#include "ui/ui_scale.h"

namespace {

constexpr FramedDlgLook kLook{kPalettePictureWidth,
                              kPalettePictureHeight,
                              u"skins/res/287.png",
                              u"colour-palette",
                              CColorPaletteDlg::kConfirm,
                              0,
                              DialogKey::Ok,
                              DialogKey::Ignore};

}  // namespace

CColorPaletteDlg::CColorPaletteDlg(ProfileRecord& profile, PaletteTarget target, HWND parent)
    : CFramedDlg(kLook, parent), profile_(profile), target_(target),
      selected_(PaletteTargetColour(profile, target))
{
}

bool CColorPaletteDlg::OnInitDialog()
{
    CFramedDlg::OnInitDialog();
    picture_ = CSkinImage::FromFile(SkinPath(kLook.frame));
    return true;
}

void CColorPaletteDlg::AddControls()
{
    AddCloseButton(480);
    AddPushButton(kConfirm, 391, 234, 460, 254, UiText(4));
    const int tops[3] = {212, 235, 258};
    for (int i = 0; i < 3; ++i) {
        auto c = std::make_unique<CStaticText>(hwnd_, UINT(kRed + i), ScaleRect(320, tops[i], 373, tops[i] + 18),
                                               RGB(180, 180, 180), DT_CENTER | DT_SINGLELINE | DT_VCENTER);
        c->SetFont(ScaleUnits(11), u"Tahoma");
        AddControl(0, std::move(c));
    }
    ShowComponents();
}

void CColorPaletteDlg::ShowComponents()
{
    const int values[3] = {RedOf(selected_), GreenOf(selected_), BlueOf(selected_)};
    for (int i = 0; i < 3; ++i)
        if (auto* c = Find<CStaticText>(UINT(kRed + i))) c->SetLabelText(Ascii(std::to_string(values[i])));
}

void CColorPaletteDlg::DrawOverFrame(platform::ICanvas& dc) { dc.FillRect(ScaleRect(245, 212, 303, 270), selected_); }

bool CColorPaletteDlg::PickAt(int x, int y)
{
    if (!picture_ || g_uiScale <= 0) return false;
    // Client pixels -> base units of the picture -> pixels of the file that
    // was loaded (the 2x file holds two pixels a unit).
    const int bx = int(x / g_uiScale), by = int(y / g_uiScale);
    const int density = picture_->Density();
    const COLORREF pixel = picture_->Raw().Pixel(int(x * density / g_uiScale), int(y * density / g_uiScale));
    const std::optional<COLORREF> picked = PickedPaletteColour(bx, by, pixel);
    if (!picked) return false;
    selected_ = *picked;
    ShowComponents();
    if (hwnd_) Host().Invalidate(hwnd_);
    return true;
}

LRESULT CColorPaletteDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // A press on the palette picks instead of dragging the window, which is
    // what a press on a dialog's background does otherwise.
    if (message == WM_LBUTTONDOWN && PickAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))) return 0;
    if (message == WM_LBUTTONDOWN && InPaletteArea(int(GET_X_LPARAM(lParam) / g_uiScale),
                                                   int(GET_Y_LPARAM(lParam) / g_uiScale)))
        return 0;  // the background between colours: nothing, not a window drag either
    return CFramedDlg::WindowProc(message, wParam, lParam);
}

void CColorPaletteDlg::OnOK()
{
    change_ = EditPaletteTargetColour(profile_, target_, selected_);
    CFramedDlg::OnOK();
}
