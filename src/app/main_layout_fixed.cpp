// The main window's controls that never move: the button list, the battery
// and power blocks, the profile tabs and buttons, the mouse picture, the
// bottom row; and the DPI section's eight level columns.
#include "app/main_layout.h"
#include "app/main_layout_parts.h"

#include <algorithm>
#include <string>

#include "app/connection_display.h"
#include "app/main_ids.h"
#include "persist/settings_file.h"
#include "base/text_codec.h"
#include "base/ui_text.h"
#include "profile/profile_record.h"
#include "settings/dpi_step_table.h"
#include "settings/lighting_settings.h"
#include "settings/sensor_settings.h"
#include "settings/ui/dpi_section_layout.h"
#include "settings/ui/lighting_section.h"
#include "ui/check_button.h"
#include "ui/color_select_button.h"
#include "ui/color_select_check_button.h"
#include "ui/combo_button.h"
#include "ui/dlg_base.h"
#include "ui/dpi_radio_button.h"
#include "ui/dpi_value_show_control.h"
#include "ui/image_button.h"
#include "ui/link_button.h"
#include "ui/passive_controls.h"
#include "ui/power_manage_button.h"
#include "ui/radio_button.h"
#include "ui/radio_state.h"
#include "ui/skin_image.h"
#include "ui/slider_control.h"
#include "ui/tab_control.h"
#include "ui/ui_scale.h"
#include "tevlan_version.h"

using namespace main_layout_parts;

void CMainLayout::CreateFixedControls()
{
    const HWND w = dlg_.GetSafeHwnd();
    auto caption = [&](UINT id, int l, int t, int r, int b, int text) {
        auto c = std::make_unique<CCheckButton>(w, id, ScaleRect(l, t, r, b), UiText(text), DT_LEFT, true, true, true);
        c->LoadNormalAndHover(Skin(u"header2_nr.png"), Skin(u"header2_ov.png"));
        c->SetMargins(ScaleUnits(10), ScaleUnits(6));
        Add(0, std::move(c));
    };
    auto text = [&](UINT id, int l, int t, int r, int b, const std::u16string& s, unsigned align = DT_LEFT) {
        auto c = std::make_unique<CStaticText>(w, id, ScaleRect(l, t, r, b), kText, align | DT_SINGLELINE);
        c->SetLabelText(s);
        return Add(0, std::move(c));
    };
    auto image = [&](UINT id, int l, int t, int r, int b, const std::u16string& path) {
        auto c = std::make_unique<CStaticImage>(w, id, ScaleRect(l, t, r, b));
        c->LoadImage(path);
        return Add(0, std::move(c));
    };
    auto button = [&](UINT id, int l, int t, int r, int b, const char16_t* nr, const char16_t* ov,
                      const std::u16string& s) {
        auto c = std::make_unique<CImageButton>(w, id, ScaleRect(l, t, r, b), s);
        c->LoadNormalAndHover(Skin(nr), Skin(ov));
        return Add(0, std::move(c));
    };

    // Button list: caption, then a number badge and a combo for each of the
    // mouse's eight buttons.
    caption(3008, 36, 37, 266, 62, 9);
    static constexpr int kBadgeTops[main_ids::kButtonComboCount] = {82, 112, 141, 170, 199, 228, 257, 286};
    static constexpr int kComboTops[main_ids::kButtonComboCount] = {81, 111, 140, 169, 198, 227, 256, 285};
    for (int i = 0; i < main_ids::kButtonComboCount; ++i) {
        std::u16string name = u"mouse/serial_number" + Decimal(i + 1) + u".png";
        image(3400, 52, kBadgeTops[i], 73, kBadgeTops[i] + 19, Skin(name.c_str()));
    }
    for (int i = 0; i < main_ids::kButtonComboCount; ++i) {
        auto combo = std::make_unique<CComboButton>(w, 1028, UINT(2013 + i),
                                                    ScaleRect(82, kComboTops[i], 244, kComboTops[i] + 21), u"");
        combo->SetAccessibleName(NumberedName(400, i + 1));
        combo->LoadNormalAndHover(Skin(u"combo2_nr.png"), Skin(u"combo2_ov.png"));
        combo->SetMargins(ScaleUnits(8), ScaleUnits(22));
        Add(0, std::move(combo));
    }
    button(2062, 36, 350, 266, 375, u"button1_nr.png", u"button1_ov.png", UiText(8));

    // Battery block.
    caption(3007, 36, 398, 266, 423, 15);
    // The "Profiles" caption shares the battery caption's place and would
    // title the battery block wrongly; it is kept for whoever shows it but
    // not drawn.
    caption(3009, 36, 398, 266, 423, 10);
    if (CControlBase* c = dlg_.FindControl(3009)) c->SetAvailable(false);
    {
        auto battery = std::make_unique<CBattery>(w, ScaleRect(80, 433, 110, 494));
        battery->LoadImages(Skin(u"battery_full.png"), Skin(u"battery_empty.png"), Skin(u"battery_charging.png"),
                            Skin(u"battery_lighting.png"));
        // Nothing is known of the battery until a mouse has answered.
        battery->displayState = CBattery::kNotConnected;
        battery->absentText = UiText(kTextNotConnected);
        Add(0, std::move(battery));
    }
    text(3405, 115, 480, 155, 498, u"")->SetFont(ScaleUnits(16), kNumericFace);
    // Cable, receiver or both, in the battery caption's free right-hand part.
    text(kConnectionIndicatorId, 110, 400, 258, 421, UiText(kTextNotConnected), DT_RIGHT)
        ->SetFont(std::min(ScaleUnits(13), g_uiFont.height), g_uiFont.face);
    image(3401, 165, 441, 173, 449, Skin(u"battery_green.png"));
    image(3401, 165, 462, 173, 470, Skin(u"battery_orange.png"));
    image(3401, 165, 484, 173, 492, Skin(u"battery_red.png"));
    text(3402, 180, 439, 320, 457, UiText(16));
    text(3402, 180, 460, 320, 478, UiText(17));
    text(3402, 180, 482, 320, 500, UiText(18));

    // Power block.
    caption(3010, 36, 525, 266, 550, 265);
    {
        auto dial = std::make_unique<CPowerManageButton>(w, ScaleRect(81, 550, 221, 634));
        dial->LoadValueImages(SkinPath(u"skins/"));
        dial->SetValueUnit(UiText(267));
        Add(0, std::move(dial));
    }
    // The caption and both switches sit a few units higher than they were,
    // so the second switch clears the frame's bottom edge (696).
    text(3407, 36, 635, 266, 653, u"", DT_CENTER);
    for (auto [id, top] : {std::pair{3501u, 655}, std::pair{3504u, 674}}) {
        auto check = std::make_unique<CCheckButton>(w, id, ScaleRect(50, top, 65, top + 15), u"");
        check->LoadImage1(Skin(u"check_nr.png"));
        check->LoadImage2(Skin(u"check_ov.png"));
        check->LoadImage3(Skin(u"check_dn.png"));
        check->SetChecked(true);
        Add(0, std::move(check));
    }
    text(3402, 70, 654, 270, 672, UiText(268));
    text(3402, 70, 673, 270, 691, UiText(274));

    // Profile tabs and buttons; step 2 of the background places the tabs and
    // the add button.
    for (int p = 0; p < 5; ++p) {
        Rect r = ProfileTabPlace(p);
        auto tab = std::make_unique<CTabControl>(w, main_ids::kFirstProfileTab + UINT(p),
                                                 ScaleRect(r.left, r.top, r.right, r.bottom), u"");
        tab->LoadTabImages(Skin(u"profile_slot_nr.png"), Skin(u"profile_slot_ov.png"), Skin(u"profile_slot_nr2.png"),
                           Skin(u"profile_slot_ov2.png"));
        tab->SetMargins(6, 0);
        Add(0, std::move(tab));
    }
    {
        Rect r = AddProfileButtonPlace(3);
        button(2071, r.left, r.top, r.right, r.bottom, u"add_nr.png", u"add_ov.png", u"+");
    }
    // Import, export and rename of the current profile, in a row under the
    // add button (step 2 moves them with it); the same actions for any
    // profile are on its tab's right-click menu and in the profile list.
    for (int i = 0; i < 3; ++i) {
        Rect r = ProfileActionButtonPlace(3, i);
        button(UINT(2070 - i), r.left, r.top, r.right, r.bottom, u"button2_nr.png", u"button2_ov.png", UiText(90 + i));
    }

    // Centre: the mouse picture and the maker's link.
    image(3400, 457, 171, 672, 569, Skin(u"mouse/mouse_nr.png"));
    {
        std::u16string address = u"www.tevlan.example";
        auto link = std::make_unique<CLinkButton>(w, main_ids::kMakerLink, ScaleRect(463, 660, 663, 678), address);
        link->SetFont(ScaleUnits(18), kNumericFace);
        Add(0, std::move(link));
    }

    // Bottom row and the window buttons.
    button(main_ids::kProfileList, 36, 700, 105, 720, u"button2_nr.png", u"button2_ov.png", UiText(1))
        ->SetReportsHover(true);
    text(3021, 150, 702, 360, 720, UiText(3) + u":" + Ascii(kTevlanVersion));
    // Apply sits in the bottom row beside Reset: higher up in the column it
    // would lie under the pointer preferences whenever DPI is open too.
    button(2047, 963, 700, 1032, 720, u"button2_nr.png", u"button2_ov.png", UiText(6));
    button(2045, 1040, 700, 1109, 720, u"button2_nr.png", u"button2_ov.png", UiText(7));
    button(2002, 1072, 12, 1087, 27, u"min_nr.png", u"min_ov.png", u"")->SetAccessibleName(UiText(407));
    button(2001, 1092, 12, 1107, 27, u"exit_nr.png", u"exit_ov.png", u"")->SetAccessibleName(UiText(408));
}
void CMainLayout::CreateDpiSection()
{
    const HWND w = dlg_.GetSafeHwnd();
    const int count = std::max(1, DpiStepCount());
    auto scaled = [](const Rect& r) { return ScaleRect(r.left, r.top, r.right, r.bottom); };
    for (int k = 0; k < kDpiLevelCount; ++k) {
        const DpiColumnPlaces at = DpiColumnPlace(k);
        auto bar = std::make_unique<CDPIValueShowControl>(w, UINT(3300 + k), scaled(at.bar), count, ScaleUnits(12),
                                                          ScaleUnits(12));
        bar->LoadTrack(Skin(u"mouse/dpi_bar_1.png"));
        bar->LoadFill(Skin(u"mouse/dpi_bar_2.png"));
        bar->SetAccessibleName(NumberedName(402, k + 1));
        Add(1, std::move(bar));

        auto label = std::make_unique<CDPIRadioButton>(w, UINT(3290 + k), scaled(at.value));
        label->LoadImage1(Skin(u"dpi_value.png"));
        label->SetFont(ScaleUnits(11), kNumericFace);
        label->SetAccessibleName(NumberedName(401, k + 1));
        Add(1, std::move(label));

        auto check = std::make_unique<CCheckButton>(w, UINT(3260 + k), scaled(at.check), u"");
        check->LoadImage1(Skin(u"check_button_dpi_nr.png"));
        check->LoadImage2(Skin(u"check_button_dpi_ov.png"));
        check->LoadImage3(Skin(u"check_button_dpi_dn.png"));
        check->SetAccessibleName(NumberedName(403, k + 1));
        Add(1, std::move(check));

        const Rect swatch = scaled(at.swatch);
        Add(1, std::make_unique<CColorSelectButton>(w, UINT(3270 + k), swatch, u"", swatch))
            ->SetAccessibleName(NumberedName(404, k + 1));
    }
}
