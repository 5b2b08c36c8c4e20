// The movable panels of the right-hand column below DPI: lighting, polling
// rate, lift-off, key debounce and the pointer preferences. Each is created
// once where it sits at start-up; PlaceMovableControls moves it later.
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

namespace {

std::unique_ptr<CSliderControl> MakeSlider(HWND w, UINT id, Rect r, int count)
{
    auto s = std::make_unique<CSliderControl>(w, id, r, count, ScaleUnits(6), ScaleUnits(7));
    s->LoadThumb(SkinPath(u"skins/Slider_Circle.png"));
    return s;
}

}  // namespace

void CMainLayout::CreateLightingSection(int p)
{
    const HWND w = dlg_.GetSafeHwnd();
    const int g = SectionInfo(S::Lighting).group;
    auto at = [&](int l, int t, int r, int b) { return ScaleRect(kColumnX + l, p + t, kColumnX + r, p + b); };
    auto place = [&](CControlBase* c, int l, int t, int r, int b) { AddMovable(c, S::Lighting, l, t, r, b); };
    auto text = [&](UINT id, int l, int t, int r, int b, const std::u16string& s) {
        auto c = std::make_unique<CStaticText>(w, id, at(l, t, r, b), kText, DT_LEFT | DT_SINGLELINE);
        c->SetLabelText(s);
        CStaticText* raw = Add(g, std::move(c));
        place(raw, l, t, r, b);
        return raw;
    };

    auto combo = std::make_unique<CComboButton>(w, 1144, 3120, at(40, 11, 229, 36), u"");
    combo->LoadNormalAndHover(Skin(u"combo3_nr.png"), Skin(u"combo3_ov.png"));
    combo->SetMargins(ScaleUnits(10), ScaleUnits(24));
    combo->SetAccessibleName(UiText(406));
    place(Add(g, std::move(combo)), 40, 11, 229, 36);

    text(3162, 42, 42, 132, 60, UiText(120));
    text(3163, 42, 42, 132, 60, UiText(121));
    for (UINT id : {3191u, 3190u}) {
        auto bar = std::make_unique<CStaticImage>(w, id, at(42, 72, 187, 75));
        bar->LoadImage(Skin(u"Slider_bar.png"));
        place(Add(g, std::move(bar)), 42, 72, 187, 75);
    }
    place(Add(g, MakeSlider(w, 3220, at(42, 67, 187, 80), 4)), 42, 67, 187, 80);
    place(Add(g, MakeSlider(w, 3200, at(42, 67, 187, 80), 3)), 42, 67, 187, 80);
    // The value captions reach to the panel's edge: "100%" in the numeric
    // face is wider than the 31 to 40 units the captions were given.
    text(3230, 195, 64, 256, 82, u"")->SetFont(ScaleUnits(16), kNumericFace);
    text(3210, 195, 64, 256, 82, u"")->SetFont(ScaleUnits(16), kNumericFace);
    text(3161, 42, 107, 252, 125, UiText(122));
    text(3164, 42, 107, 132, 125, UiText(123));
    for (int j = 0; j < 8; ++j) {
        auto c =
            std::make_unique<CColorSelectCheckButton>(w, UINT(3180 + j), at(42 + 26 * j, 134, 63 + 26 * j, 154), u"");
        c->LoadImage1(Skin(u"color_select_nr.png"));
        c->LoadImage2(Skin(u"color_select_check.png"));
        c->SetAccessibleName(NumberedName(405, j + 1));
        place(Add(g, std::move(c)), 42 + 26 * j, 134, 63 + 26 * j, 154);
    }
    struct Dir {
        UINT id;
        int l, r;
        const char16_t *nr, *ov, *check;
        int name;  // the arrows' words for a screen reader
    };
    for (Dir d : {Dir{3240, 42, 71, u"up_nr.png", u"up_ov.png", u"up_check.png", 409},
                  Dir{3250, 81, 110, u"down_nr.png", u"down_ov.png", u"down_check.png", 410}}) {
        auto radio = std::make_unique<CRadioButton>(w, d.id, at(d.l, 134, d.r, 152));
        radio->SetAccessibleName(UiText(d.name));
        radio->LoadImage1(Skin(d.nr));
        radio->LoadImage2(Skin(d.ov));
        radio->LoadImage3(Skin(d.check));
        place(Add(g, std::move(radio)), d.l, 134, d.r, 152);
    }
}

void CMainLayout::CreatePollingSection(int p)
{
    const HWND w = dlg_.GetSafeHwnd();
    const int g = SectionInfo(S::Polling).group;
    struct Rate {
        UINT id;
        int l, t, r, b;
        const char16_t *nr, *dn;
    };
    for (Rate q : {Rate{3030, 59, 20, 131, 91, u"125hz_nr.png", u"125hz_dn.png"},
                   Rate{3031, 59, 91, 130, 163, u"250hz_nr.png", u"250hz_dn.png"},
                   Rate{3032, 130, 91, 202, 163, u"500hz_nr.png", u"500hz_dn.png"},
                   Rate{3033, 131, 20, 202, 91, u"1000hz_nr.png", u"1000hz_dn.png"}}) {
        auto radio =
            std::make_unique<CRadioButton>(w, q.id, ScaleRect(kColumnX + q.l, p + q.t, kColumnX + q.r, p + q.b));
        // The rate is drawn in the picture; the screen reader needs it in words.
        radio->SetAccessibleName(UiText(261 + int(q.id - 3030)));
        radio->LoadImage1(Skin(q.nr));
        radio->LoadImage2(Skin(q.dn));
        radio->LoadImage3(Skin(q.dn));
        AddMovable(Add(g, std::move(radio)), S::Polling, q.l, q.t, q.r, q.b);
    }
    for (int i = 0; i < 4; ++i) {
        auto c =
            std::make_unique<CStaticText>(w, UINT(3142 + i), ScaleRect(kColumnX + 88, p + 83, kColumnX + 173, p + 101),
                                          kText, DT_CENTER | DT_SINGLELINE);
        c->SetLabelText(UiText(261 + i));
        AddMovable(Add(g, std::move(c)), S::Polling, 88, 83, 173, 101);
    }
}

void CMainLayout::CreateLiftOffSection(int p)
{
    const HWND w = dlg_.GetSafeHwnd();
    const int g = SectionInfo(S::LiftOff).group;
    for (auto [id, l] : {std::pair{3510u, 80}, std::pair{3511u, 160}}) {
        auto radio = std::make_unique<CRadioButton>(w, id, ScaleRect(kColumnX + l, p + 27, kColumnX + l + 15, p + 42));
        radio->LoadImage1(Skin(u"radio_nr.png"));
        radio->LoadImage2(Skin(u"radio_ov.png"));
        radio->LoadImage3(Skin(u"radio_dn.png"));
        AddMovable(Add(g, std::move(radio)), S::LiftOff, l, 27, l + 15, 42);
    }
    for (auto [id, l, t] : {std::tuple{3520u, 64, 270}, std::tuple{3521u, 144, 271}}) {
        auto c = std::make_unique<CStaticText>(w, id, ScaleRect(kColumnX + l, p + 47, kColumnX + l + 47, p + 65), kText,
                                               DT_CENTER | DT_SINGLELINE);
        c->SetLabelText(UiText(t));
        AddMovable(Add(g, std::move(c)), S::LiftOff, l, 47, l + 47, 65);
    }
}

void CMainLayout::CreateDebounceSection(int p)
{
    const HWND w = dlg_.GetSafeHwnd();
    const int g = SectionInfo(S::Debounce).group;
    auto bar = std::make_unique<CStaticImage>(w, 3531, ScaleRect(kColumnX + 42, p + 42, kColumnX + 187, p + 45));
    bar->LoadImage(Skin(u"Slider_bar.png"));
    AddMovable(Add(g, std::move(bar)), S::Debounce, 42, 42, 187, 45);
    AddMovable(Add(g, MakeSlider(w, 3530, ScaleRect(kColumnX + 42, p + 37, kColumnX + 187, p + 50), 16)), S::Debounce,
               42, 37, 187, 50);
    // Wide enough for "30ms" in the numeric face (the panel ends at 262).
    auto value = std::make_unique<CStaticText>(w, 3532, ScaleRect(kColumnX + 195, p + 34, kColumnX + 256, p + 52),
                                               kText, DT_LEFT | DT_SINGLELINE);
    value->SetLabelText(u"12ms");
    value->SetFont(ScaleUnits(16), kNumericFace);
    AddMovable(Add(g, std::move(value)), S::Debounce, 195, 34, 256, 52);
}

void CMainLayout::CreateWindowsSection(int p)
{
    const HWND w = dlg_.GetSafeHwnd();
    const int g = SectionInfo(S::Windows).group;
    auto at = [&](int l, int t, int r, int b) { return ScaleRect(kColumnX + l, p + t, kColumnX + r, p + b); };
    auto place = [&](CControlBase* c, int l, int t, int r, int b) { AddMovable(c, S::Windows, l, t, r, b); };
    auto text = [&](UINT id, int l, int t, int r, int b, const std::u16string& s, bool numeric = false) {
        auto c = std::make_unique<CStaticText>(w, id, at(l, t, r, b), kText, DT_LEFT | DT_SINGLELINE);
        c->SetLabelText(s);
        if (numeric) c->SetFont(ScaleUnits(16), kNumericFace);
        place(Add(g, std::move(c)), l, t, r, b);
    };
    auto bar = [&](UINT id, int t) {
        auto c = std::make_unique<CStaticImage>(w, id, at(20, t, 205, t + 3));
        c->LoadImage(Skin(u"Slider_bar2.png"));
        place(Add(g, std::move(c)), 20, t, 205, t + 3);
    };
    auto radio = [&](UINT id, int t) {
        auto c = std::make_unique<CRadioButton>(w, id, at(18, t, 33, t + 15));
        c->LoadImage1(Skin(u"radio_nr.png"));
        c->LoadImage2(Skin(u"radio_ov.png"));
        c->LoadImage3(Skin(u"radio_dn.png"));
        place(Add(g, std::move(c)), 18, t, 33, t + 15);
    };

    text(3133, 20, 7, 220, 25, UiText(130));
    {
        // Below the double-click speed, where its caption does not run into
        // the pointer speed slider and the precision check.
        auto b = std::make_unique<CImageButton>(w, 3330, at(20, kDesktopSettingsTop, 235, kDesktopSettingsTop + 25),
                                                UiText(260));
        b->LoadNormalAndHover(Skin(u"button4_nr.png"), Skin(u"button4_nr.png"));
        place(Add(g, std::move(b)), 20, kDesktopSettingsTop, 235, kDesktopSettingsTop + 25);
    }
    bar(3139, 36);
    place(Add(g, MakeSlider(w, 2043, at(20, 31, 205, 44), 11)), 20, 31, 205, 44);
    text(3130, 215, 29, 246, 46, u"", true);
    text(3134, 36, 54, 236, 72, UiText(131));
    {
        // At the 15-unit size of the other check boxes: squeezed to 11 its
        // unchecked picture lost its outline and could not be seen.
        auto c = std::make_unique<CCheckButton>(w, 2030, at(18, 56, 33, 71), u"");
        c->LoadImage1(Skin(u"check_nr.png"));
        c->LoadImage2(Skin(u"check_ov.png"));
        c->LoadImage3(Skin(u"check_dn.png"));
        place(Add(g, std::move(c)), 18, 56, 33, 71);
    }
    text(3135, 20, 90, 220, 108, UiText(132));
    text(3137, 40, 119, 240, 137, UiText(133));
    radio(2009, 121);
    text(3136, 40, 166, 240, 184, UiText(134));
    radio(2010, 168);
    text(3131, 215, 143, 246, 160, u"", true);
    bar(3140, 150);
    place(Add(g, MakeSlider(w, 2041, at(20, 145, 205, 158), 10)), 20, 145, 205, 158);
    text(3138, 20, 200, 220, 218, UiText(135));
    bar(3141, 234);
    place(Add(g, MakeSlider(w, 2044, at(20, 229, 205, 242), 11)), 20, 229, 205, 242);
    text(3132, 215, 225, 246, 242, u"", true);
}
