// The main window's own controls, which never move: the captions of the left
// column, the battery block, the mouse picture and the maker's link, the
// bottom row and the section headers. The sections' controls go between
// these blocks (see the window's creation steps).
#include "app/main_layout.h"
#include "app/main_layout_parts.h"

#include <algorithm>
#include <string>

#include "app/connection_display.h"
#include "app/main_ids.h"
#include "base/text_codec.h"
#include "base/ui_text.h"
#include "ui/check_button.h"
#include "ui/dlg_base.h"
#include "ui/image_button.h"
#include "ui/link_button.h"
#include "ui/passive_controls.h"
#include "ui/ui_scale.h"
#include "tevlan_version.h"

using namespace main_layout_parts;
using namespace main_ids;

namespace {

// The controls of the blocks, each at a fixed place of group 0.
class FixedControls {
public:
    explicit FixedControls(CDlgBase& dlg) : dlg_(dlg), w_(dlg.GetSafeHwnd()) {}

    // A caption of the left column (a header without the open look).
    void Caption(UINT id, int l, int t, int r, int b, int text)
    {
        auto c =
            std::make_unique<CCheckButton>(w_, id, ScaleRect(l, t, r, b), UiText(text), DT_LEFT, true, true, true);
        c->LoadNormalAndHover(Skin(u"header2_nr.png"), Skin(u"header2_ov.png"));
        c->SetMargins(ScaleUnits(10), ScaleUnits(6));
        dlg_.AddControl(0, std::move(c));
    }
    CStaticText* Text(UINT id, int l, int t, int r, int b, const std::u16string& s, unsigned align = DT_LEFT)
    {
        auto c = std::make_unique<CStaticText>(w_, id, ScaleRect(l, t, r, b), kText, align | DT_SINGLELINE);
        c->SetLabelText(s);
        return dlg_.AddControl(0, std::move(c));
    }
    CStaticImage* Image(UINT id, int l, int t, int r, int b, const char16_t* skin)
    {
        auto c = std::make_unique<CStaticImage>(w_, id, ScaleRect(l, t, r, b));
        c->LoadImage(Skin(skin));
        return dlg_.AddControl(0, std::move(c));
    }
    CImageButton* Button(UINT id, int l, int t, int r, int b, const char16_t* nr, const char16_t* ov,
                         const std::u16string& s)
    {
        auto c = std::make_unique<CImageButton>(w_, id, ScaleRect(l, t, r, b), s);
        c->LoadNormalAndHover(Skin(nr), Skin(ov));
        return dlg_.AddControl(0, std::move(c));
    }
    HWND Owner() const { return w_; }
    CDlgBase& Dialog() { return dlg_; }

private:
    CDlgBase& dlg_;
    HWND w_;
};

}  // namespace

void CMainLayout::CreateBlock(MainBlock block)
{
    switch (block) {
    case MainBlock::ButtonListCaption: CreateButtonListCaption(); return;
    case MainBlock::BatteryBlock: CreateBatteryBlock(); return;
    case MainBlock::Centre: CreateCentre(); return;
    case MainBlock::BottomRow: CreateBottomRow(); return;
    case MainBlock::Headers: CreateSectionHeaders(); return;
    }
}

void CMainLayout::CreateButtonListCaption() { FixedControls(dlg_).Caption(kButtonListCaption, 36, 37, 266, 62, 9); }

void CMainLayout::CreateBatteryBlock()
{
    FixedControls at(dlg_);
    // Below the button list, which ends with its eighth row.
    at.Button(kMacroManager, 36, 350, 266, 375, u"button1_nr.png", u"button1_ov.png", UiText(8));

    at.Caption(kBatteryCaption, 36, 398, 266, 423, 15);
    // The "Profiles" caption shares the battery caption's place and would
    // title the battery block wrongly; it is kept for whoever shows it but
    // not drawn.
    at.Caption(kProfilesCaption, 36, 398, 266, 423, 10);
    if (CControlBase* c = dlg_.FindControl(kProfilesCaption)) c->SetAvailable(false);
    auto battery = std::make_unique<CBattery>(at.Owner(), kBattery, ScaleRect(80, 433, 110, 494));
    battery->LoadImages(Skin(u"battery_full.png"), Skin(u"battery_empty.png"), Skin(u"battery_charging.png"),
                        Skin(u"battery_lighting.png"));
    // Nothing is known of the battery until a mouse has answered.
    battery->displayState = CBattery::kNotConnected;
    battery->absentText = UiText(kTextNotConnected);
    Add(0, std::move(battery));
    at.Text(kBatteryPercent, 115, 480, 155, 498, u"")->SetFont(ScaleUnits(16), kNumericFace);
    // Cable, receiver or both, in the battery caption's free right-hand part.
    at.Text(kConnectionIndicatorId, 110, 400, 258, 421, UiText(kTextNotConnected), DT_RIGHT)
        ->SetFont(std::min(ScaleUnits(13), g_uiFont.height), g_uiFont.face);
    at.Image(kBatteryLamp, 165, 441, 173, 449, u"battery_green.png");
    at.Image(kBatteryLamp, 165, 462, 173, 470, u"battery_orange.png");
    at.Image(kBatteryLamp, 165, 484, 173, 492, u"battery_red.png");
    at.Text(kLegendText, 180, 439, 320, 457, UiText(16));
    at.Text(kLegendText, 180, 460, 320, 478, UiText(17));
    at.Text(kLegendText, 180, 482, 320, 500, UiText(18));

    // The power block's caption; the power section's controls follow.
    at.Caption(kPowerBlockCaption, 36, 525, 266, 550, 265);
}

void CMainLayout::CreateCentre()
{
    FixedControls at(dlg_);
    // The mouse picture and the maker's link.
    at.Image(kPicture, 457, 171, 672, 569, u"mouse/mouse_nr.png");
    std::u16string address = u"www.tevlan.example";
    auto link = std::make_unique<CLinkButton>(at.Owner(), kMakerLink, ScaleRect(463, 660, 663, 678), address);
    link->SetFont(ScaleUnits(18), kNumericFace);
    Add(0, std::move(link));
}

void CMainLayout::CreateBottomRow()
{
    FixedControls at(dlg_);
    at.Text(kVersionText, 150, 702, 360, 720, UiText(3) + u":" + Ascii(kTevlanVersion));
    // Apply sits in the bottom row beside Reset: higher up in the column it
    // would lie under the pointer preferences whenever DPI is open too.
    at.Button(kApply, 963, 700, 1032, 720, u"button2_nr.png", u"button2_ov.png", UiText(6));
    at.Button(kReset, 1040, 700, 1109, 720, u"button2_nr.png", u"button2_ov.png", UiText(7));
    at.Button(kMinimise, 1072, 12, 1087, 27, u"min_nr.png", u"min_ov.png", u"")->SetAccessibleName(UiText(407));
    at.Button(kClose, 1092, 12, 1107, 27, u"exit_nr.png", u"exit_ov.png", u"")->SetAccessibleName(UiText(408));
}
