#include "settings/ui/color_palette_dlg.h"

#include <string>

#include "base/text_codec.h"
#include "base/ui_text.h"
#include "settings/palette_cursor.h"
#include "settings/ui/palette_area_control.h"
#include "ui/ui_scale.h"

namespace {

constexpr FramedDlgLook kLook{kPalettePictureWidth,
                              kPalettePictureHeight,
                              u"skins/res/287.png",
                              u"colour-palette",
                              CColorPaletteDlg::kConfirm,
                              0,
                              DialogKey::PassOn,
                              DialogKey::PassOn,
                              0,
                              521};

constexpr int kChannelTops[3] = {212, 235, 258};
constexpr int kTextField = 531, kTextReady = 532, kTextRed = 533;

}  // namespace

CColorPaletteDlg::CColorPaletteDlg(ProfileRecord& profile, PaletteTarget target, HWND parent)
    : CFramedDlg(kLook, parent), profile_(profile), target_(target),
      selected_(PaletteTargetColour(profile, target))
{
    for (UINT id : {kField, kReady})
        MapMessage(id, [this, id](WPARAM, LPARAM l) -> LRESULT {
            if (l == CE_VALUE && areas_[id - kField]) PickAtCursor(*areas_[id - kField]);
            return 0;
        });
}

bool CColorPaletteDlg::OnInitDialog()
{
    CFramedDlg::OnInitDialog();
    picture_ = CSkinImage::FromFile(SkinPath(kLook.frame));
    platform::EditParams p;
    p.font = {u"Tahoma", ScaleUnits(11)};
    p.align = DT_CENTER;
    p.textColour = RGB(180, 180, 180);
    p.backColour = RGB(0x26, 0x26, 0x26);
    p.maxLength = 3;
    for (int i = 0; i < 3; ++i) {
        p.accessibleName = UiText(kTextRed + i);
        edits_[i] = CreateEditBox(int(kRed + UINT(i)), ScaleRect(320, kChannelTops[i], 373, kChannelTops[i] + 18), p);
    }
    // A ready colour the dialog starts with has the cursor on it.
    for (int r = 0; r < kPaletteGrids[1].rows && picture_ && areas_[1]; ++r)
        for (int c = 0; c < kPaletteGrids[1].columns; ++c) {
            int x = 0, y = 0;
            PaletteCellCentre(kPaletteGrids[1], {c, r}, &x, &y);
            if ((picture_->Raw().Pixel(x * picture_->Density(), y * picture_->Density()) & 0xFFFFFF) == selected_)
                areas_[1]->SetCell({c, r});
        }
    ShowComponents();
    // The arrow keys work from the start: the keyboard begins on the field.
    if (areas_[0]) SetFocusedControl(areas_[0]);
    return true;
}

void CColorPaletteDlg::AddControls()
{
    const int names[2] = {kTextField, kTextReady};
    for (int i = 0; i < 2; ++i)
        areas_[i] = AddControl(0, std::make_unique<CPaletteAreaControl>(hwnd_, kField + UINT(i), kPaletteGrids[i],
                                                                       UiText(names[i])));
    AddPushButton(kConfirm, 391, 234, 460, 254, UiText(4));
    AddCloseButton(480);
}

void CColorPaletteDlg::ShowComponents()
{
    for (CPaletteAreaControl* a : areas_)
        if (a) a->SetChosenColour(selected_);
    const int values[3] = {RedOf(selected_), GreenOf(selected_), BlueOf(selected_)};
    writingEdits_ = true;
    for (int i = 0; i < 3; ++i)
        if (edits_[i]) {
            const std::u16string text = Ascii(std::to_string(values[i]));
            if (Host().GetWindowText(edits_[i]) != text) Host().SetWindowText(edits_[i], text);
        }
    writingEdits_ = false;
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

void CColorPaletteDlg::PickAtCursor(const CPaletteAreaControl& area)
{
    int x = 0, y = 0;
    PaletteCellCentre(area.Grid(), area.Cell(), &x, &y);
    // The other area's cursor no longer shows the chosen colour.
    for (CPaletteAreaControl* a : areas_)
        if (a && a != &area) a->SetCell({});
    PickAt(int((x + 0.5) * g_uiScale), int((y + 0.5) * g_uiScale));
}

void CColorPaletteDlg::FollowPick(int baseX, int baseY)
{
    for (CPaletteAreaControl* a : areas_)
        if (a) a->SetCell(PaletteCellAt(a->Grid(), baseX, baseY));
}

void CColorPaletteDlg::OnChannelTyped()
{
    if (writingEdits_) return;
    int v[3];
    for (int i = 0; i < 3; ++i) {
        const std::optional<int> c = edits_[i] ? ParseColourChannel(Host().GetWindowText(edits_[i])) : std::nullopt;
        // Something that is not a number changes nothing until it is one.
        if (!c) return;
        v[i] = *c;
    }
    const COLORREF typed = Rgb(uint8_t(v[0]), uint8_t(v[1]), uint8_t(v[2]));
    if (typed == selected_) return;
    selected_ = typed;
    for (CPaletteAreaControl* a : areas_)
        if (a) {
            a->SetCell({});
            a->SetChosenColour(selected_);
        }
    if (hwnd_) {
        Host().Invalidate(hwnd_);
        Host().AccessibleStateChanged(hwnd_, int(kField));
    }
}

LRESULT CColorPaletteDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE && int(LOWORD(wParam)) >= int(kRed) && int(LOWORD(wParam)) <= int(kBlue)) {
        OnChannelTyped();
        return 0;
    }
    // A press on the palette picks instead of dragging the window, which is
    // what a press on a dialog's background does otherwise.
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    if (message == WM_LBUTTONDOWN && PickAt(x, y)) {
        FollowPick(int(x / g_uiScale), int(y / g_uiScale));
        return 0;
    }
    if (message == WM_LBUTTONDOWN && InPaletteArea(int(x / g_uiScale), int(y / g_uiScale)))
        return 0;  // the background between colours: nothing, not a window drag either
    return CFramedDlg::WindowProc(message, wParam, lParam);
}

void CColorPaletteDlg::OnOK()
{
    change_ = EditPaletteTargetColour(profile_, target_, selected_);
    CFramedDlg::OnOK();
}
