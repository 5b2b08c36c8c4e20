#include "app/main_layout.h"

#include <algorithm>
#include <string>

#include "app/connection_display.h"
#include "app/main_ids.h"
#include "persist/settings_file.h"
#include "persist/text_codec.h"
#include "persist/ui_text.h"
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

namespace {

// A name for a control without a caption, read out by screen readers: a
// language text with %1 replaced by the control's number (from 1).
std::u16string NumberedName(int text, int n)
{
    std::u16string s = UiText(text);
    if (auto at = s.find(u"%1"); at != std::u16string::npos) s.replace(at, 2, Ascii(std::to_string(n)));
    return s;
}

}  // namespace

namespace {

constexpr int kColumnX = 846;      // left edge of the right-hand column
constexpr int kColumnWidth = 262;  // headers and panel frames
constexpr int kHeaderHeight = 25;
constexpr COLORREF kText = RGB(180, 180, 180);
constexpr const char16_t* kNumericFace = u"Tahoma";
// The pointer preferences reach below their 110-unit panel; their frame is
// drawn down to the desktop settings button so that nothing floats outside.
constexpr int kDesktopSettingsTop = 252;
constexpr int kWindowsFrameHeight = kDesktopSettingsTop + 25 + 8;
constexpr int kButtonListFrameHeight = 338 - 62;  // ends 3 units above the macro manager frame

constexpr std::array<MainSectionInfo, kMainSectionCount> kSections{{
    {3001, 11, 1, 37, 196, true},    // DPI: never moves
    {3002, 12, 2, 67, 180, true},    // lighting
    {3004, 13, 4, 97, 180, false},   // polling rate
    {3011, 19, 5, 127, 85, false},   // lift-off distance
    {3012, 272, 6, 157, 85, false},  // key debounce
    {3003, 14, 3, 187, 110, false},  // Windows pointer settings
}};

// The closing rule: for the section just opened, the sections looked at in
// order, each with what its being open closes.
struct CloseCase {
    MainSection probe;
    std::vector<MainSection> close;
};
using S = MainSection;
const std::vector<CloseCase>& CloseCases(MainSection opened)
{
    static const std::array<std::vector<CloseCase>, kMainSectionCount> table{{
        // DPI
        {{S::Lighting, {S::Polling, S::LiftOff, S::Debounce, S::Windows}},
         {S::Polling, {S::LiftOff, S::Debounce, S::Windows}},
         {S::LiftOff, {S::Debounce, S::Windows}}},
        // lighting
        {{S::Dpi, {S::Polling, S::LiftOff, S::Debounce, S::Windows}},
         {S::Polling, {S::LiftOff, S::Debounce, S::Windows}},
         {S::LiftOff, {S::Debounce, S::Windows}}},
        // polling rate
        {{S::Dpi, {S::Lighting, S::LiftOff, S::Debounce, S::Windows}},
         {S::Lighting, {S::LiftOff, S::Debounce, S::Windows}},
         {S::LiftOff, {S::Debounce, S::Windows}}},
        // lift-off
        {{S::Dpi, {S::Lighting, S::Polling, S::Debounce, S::Windows}},
         {S::Lighting, {S::Polling, S::Debounce, S::Windows}},
         {S::Polling, {S::Debounce, S::Windows}}},
        // key debounce
        {{S::Dpi, {S::Lighting, S::Polling, S::LiftOff, S::Windows}},
         {S::Lighting, {S::Polling, S::LiftOff, S::Windows}},
         {S::Polling, {S::LiftOff, S::Windows}}},
        // Windows
        {{S::Dpi, {S::Lighting, S::Polling, S::LiftOff, S::Debounce}},
         {S::Lighting, {S::Polling, S::LiftOff, S::Debounce}},
         {S::Polling, {S::LiftOff, S::Debounce}}},
    }};
    return table[static_cast<size_t>(opened)];
}

constexpr std::array<Point, main_ids::kButtonComboCount> kHighlightOrigins{
    {{525, 231}, {608, 231}, {570, 261}, {467, 311}, {471, 360}, {592, 316}, {553, 333}, {487, 254}}};

std::u16string Skin(const char16_t* name) { return SkinPath(std::u16string(u"skins/") + name); }

std::u16string Decimal(int v) { return Ascii(std::to_string(v)); }

int SectionIndex(MainSection s) { return static_cast<int>(s); }

}  // namespace

const MainSectionInfo& SectionInfo(MainSection s) { return kSections[static_cast<size_t>(s)]; }

bool SectionFromHeader(UINT id, MainSection* out)
{
    for (int i = 0; i < kMainSectionCount; ++i)
        if (kSections[size_t(i)].headerId == id) {
            if (out) *out = static_cast<MainSection>(i);
            return true;
        }
    return false;
}

std::array<bool, kMainSectionCount> SectionsToClose(MainSection opened, const std::array<bool, kMainSectionCount>& open)
{
    std::array<bool, kMainSectionCount> close{};
    for (const CloseCase& c : CloseCases(opened)) {
        if (!open[size_t(SectionIndex(c.probe))]) continue;
        for (MainSection s : c.close) close[size_t(SectionIndex(s))] = true;
        break;
    }
    return close;
}

int SectionHeaderTop(MainSection s, const std::array<bool, kMainSectionCount>& open, bool liftOffPresent)
{
    const int index = SectionIndex(s);
    int top = kSections[size_t(index)].baseTop;
    if (!liftOffPresent && index > SectionIndex(MainSection::LiftOff)) top -= 30;
    for (int above = 0; above < index; ++above) {
        if (above == SectionIndex(MainSection::LiftOff) && !liftOffPresent) continue;
        if (open[size_t(above)]) top += kSections[size_t(above)].panelHeight;
    }
    return top;
}

Rect ProfileTabPlace(int k) { return {300, 430 + 25 * k, 462, 451 + 25 * k}; }

Rect AddProfileButtonPlace(int shownCount)
{
    int m = std::max(shownCount, 3);
    return {300, 433 + 25 * m, 346, 453 + 25 * m};
}

Rect ProfileActionButtonPlace(int shownCount, int i)
{
    const Rect add = AddProfileButtonPlace(shownCount);
    const int left = 300 + 55 * i;
    return {left, add.bottom + 6, left + 52, add.bottom + 26};
}

bool MouseHighlightOrigin(int h, Point* out)
{
    if (h < 1 || h > int(kHighlightOrigins.size())) return false;
    if (out) *out = kHighlightOrigins[size_t(h - 1)];
    return true;
}

// ---- CMainLayout ------------------------------------------------------------------

CMainLayout::CMainLayout(CDlgBase& dlg) : dlg_(dlg) {}
CMainLayout::~CMainLayout() = default;

template <class T>
T* CMainLayout::Add(int group, std::unique_ptr<T> c)
{
    return dlg_.AddControl(group, std::move(c));
}

void CMainLayout::AddMovable(CControlBase* c, MainSection s, int l, int t, int r, int b)
{
    movable_.push_back({c, s, Rect{l, t, r, b}});
}

void CMainLayout::CreateControls(const Rect&)
{
    if (created_) return;
    created_ = true;
    // The radio groups of the window, with the bits the selection word has
    // always used for them.
    RegisterRadioGroup({{main_ids::kScrollLines, 0x80}, {main_ids::kScrollPage, 0x100}});
    RegisterRadioGroup({{main_ids::kDirectionUp, 0x800}, {main_ids::kDirectionDown, 0x1000}});
    RegisterRadioGroup({{main_ids::kFirstPollingRate, 0x10000},
                        {main_ids::kFirstPollingRate + 1, 0x20000},
                        {main_ids::kFirstPollingRate + 2, 0x40000},
                        {main_ids::kFirstPollingRate + 3, 0x80000}});
    RegisterRadioGroup({{main_ids::kLiftOffLow, 0x100000}, {main_ids::kLiftOffHigh, 0x200000}});
    CreateFixedControls();
    CreateSectionHeaders();
    CreateDpiSection();

    // The movable sections are created where they sit at start-up (DPI and
    // lighting open); what matters is the horizontal extent: the sliders
    // keep the position tables they compute here when the layout later
    // moves them up and down.
    std::array<bool, kMainSectionCount> open{};
    for (int i = 0; i < kMainSectionCount; ++i) open[size_t(i)] = kSections[size_t(i)].openAtStart;
    const bool liftOff = LiftOffPresent();
    auto panel = [&](MainSection s) { return SectionHeaderTop(s, open, liftOff) + kHeaderHeight; };
    CreateLightingSection(panel(MainSection::Lighting));
    CreatePollingSection(panel(MainSection::Polling));
    CreateLiftOffSection(panel(MainSection::LiftOff));
    CreateDebounceSection(panel(MainSection::Debounce));
    CreateWindowsSection(panel(MainSection::Windows));

    for (int i = 0; i < kMainSectionCount; ++i) headers_[size_t(i)]->SetChecked(kSections[size_t(i)].openAtStart);
    ApplySectionVisibility();
    PlaceMovableControls();
}

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

void CMainLayout::CreateSectionHeaders()
{
    // Headers go last in group 0, in the order of the message table
    // (3001, 3002, 3004, 3011, 3012, 3003); their places follow the paint.
    const HWND w = dlg_.GetSafeHwnd();
    for (MainSection s : {S::Dpi, S::Lighting, S::Polling, S::LiftOff, S::Debounce, S::Windows}) {
        const MainSectionInfo& info = SectionInfo(s);
        auto h = std::make_unique<CCheckButton>(
            w, info.headerId, ScaleRect(kColumnX, info.baseTop, kColumnX + kColumnWidth, info.baseTop + kHeaderHeight),
            UiText(info.captionText));
        h->LoadImage1(Skin(u"header_nr.png"));
        h->LoadImage2(Skin(u"header_ov.png"));
        // The open look; a skin without it shows the hover picture instead.
        if (!h->LoadImage3(Skin(u"header_dn.png"))) h->LoadImage3(Skin(u"header_ov.png"));
        h->SetMargins(ScaleUnits(12), ScaleUnits(28));
        h->SetCaptionColour(2, RGB(255, 255, 255));
        headers_[size_t(SectionIndex(s))] = Add(0, std::move(h));
    }
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

// ---- sections -----------------------------------------------------------------------

CCheckButton* CMainLayout::Header(MainSection s) const { return headers_[size_t(SectionIndex(s))]; }

bool CMainLayout::LiftOffPresent() const { return LiftOffChoiceAvailable(); }

bool CMainLayout::IsSectionOpen(MainSection s) const
{
    CCheckButton* h = Header(s);
    if (!h || !h->IsChecked()) return false;
    return s != MainSection::LiftOff || LiftOffPresent();
}

std::array<bool, kMainSectionCount> CMainLayout::OpenSections() const
{
    std::array<bool, kMainSectionCount> open{};
    for (int i = 0; i < kMainSectionCount; ++i) open[size_t(i)] = IsSectionOpen(static_cast<MainSection>(i));
    return open;
}

void CMainLayout::SetSectionOpen(MainSection s, bool open)
{
    if (CCheckButton* h = Header(s)) h->SetChecked(open);
}

int CMainLayout::HeaderTop(MainSection s) const { return SectionHeaderTop(s, OpenSections(), LiftOffPresent()); }

void CMainLayout::ApplySectionVisibility()
{
    for (int i = 0; i < kMainSectionCount; ++i) {
        const MainSection s = static_cast<MainSection>(i);
        const bool open = IsSectionOpen(s);
        for (const auto& c : dlg_.Group(kSections[size_t(i)].group))
            if (c) c->SetVisible(open);
    }
}

bool CMainLayout::OnHeaderClicked(UINT id)
{
    MainSection clicked;
    if (!created_ || !SectionFromHeader(id, &clicked)) return false;
    if (IsSectionOpen(clicked)) {
        std::array<bool, kMainSectionCount> open = OpenSections();
        open[size_t(SectionIndex(clicked))] = false;
        std::array<bool, kMainSectionCount> close = SectionsToClose(clicked, open);
        for (int i = 0; i < kMainSectionCount; ++i)
            if (close[size_t(i)]) SetSectionOpen(static_cast<MainSection>(i), false);
    }
    ApplySectionVisibility();
    PlaceMovableControls();
    return true;
}

bool CMainLayout::PlaceMovableControls()
{
    if (!created_) return false;
    bool moved = false;
    auto place = [&moved](CControlBase* c, const Rect& r) {
        if (c->GetRect() != r) moved = true;
        c->SetRect(r);
    };
    // Profile tabs of the shown profiles, top to bottom, then the add button.
    shownCount_ = GetProfileShowCount();
    for (int k = 0; k < 5; ++k) shownList_[size_t(k)] = GetProfileShowList(k);
    for (int k = 0; k < shownCount_; ++k)
        if (CControlBase* tab = dlg_.FindControl(main_ids::kFirstProfileTab + UINT(shownList_[size_t(k)]))) {
            Rect r = ProfileTabPlace(k);
            place(tab, ScaleRect(r.left, r.top, r.right, r.bottom));
        }
    if (CControlBase* add = dlg_.FindControl(2071)) {
        Rect r = AddProfileButtonPlace(shownCount_);
        place(add, ScaleRect(r.left, r.top, r.right, r.bottom));
    }
    for (int i = 0; i < 3; ++i)
        if (CControlBase* action = dlg_.FindControl(UINT(2070 - i))) {
            Rect r = ProfileActionButtonPlace(shownCount_, i);
            place(action, ScaleRect(r.left, r.top, r.right, r.bottom));
        }

    const bool liftOff = LiftOffPresent();
    if (CCheckButton* h = Header(MainSection::LiftOff)) {
        if (h->IsAvailable() != liftOff) moved = true;
        h->SetAvailable(liftOff);
        if (!liftOff && h->IsChecked()) {
            moved = true;
            // A sensor without the choice: the section cannot be open, so
            // its controls must not stay drawn where the next one now sits.
            h->SetChecked(false);
            for (const auto& c : dlg_.Group(SectionInfo(MainSection::LiftOff).group))
                if (c) c->SetVisible(false);
        }
    }
    const std::array<bool, kMainSectionCount> open = OpenSections();
    for (int i = 0; i < kMainSectionCount; ++i) {
        const MainSection s = static_cast<MainSection>(i);
        const int top = SectionHeaderTop(s, open, liftOff);
        panelTop_[size_t(i)] = top + kHeaderHeight;
        if (CCheckButton* h = Header(s))
            place(h, ScaleRect(kColumnX, top, kColumnX + kColumnWidth, top + kHeaderHeight));
    }
    for (const Movable& m : movable_) {
        const int p = panelTop_[size_t(SectionIndex(m.section))];
        place(m.control,
              ScaleRect(kColumnX + m.place.left, p + m.place.top, kColumnX + m.place.right, p + m.place.bottom));
        // The thumb keeps its own rectangle: put it back on the slider.
        if (auto* slider = dynamic_cast<CSliderControl*>(m.control)) slider->SetPosition(slider->Position());
    }
    return moved;
}

// ---- painting -----------------------------------------------------------------------

void CMainLayout::DrawFrame(platform::ICanvas& dc, int x, int y, int w, int h)
{
    if (frame_) frame_->Draw(dc, ScaleRect(x, y, x + w, y + h));
}

void CMainLayout::DrawBackground(platform::ICanvas& dc, const Rect& client)
{
    PlaceMovableControls();
    DrawStaticBackground(dc, client, OpenSections());
    dlg_.DrawControls(dc, client);
    DrawHighlight(dc);
}

void CMainLayout::DrawStaticBackground(platform::ICanvas& dc, const Rect& client,
                                       const std::array<bool, kMainSectionCount>& open)
{
    // The window's own copy of the background picture (resource 364, which
    // the dialog loaded at start-up) when it has one: decoding the picture a
    // second time would cost as much again, in time and memory.
    if (dlg_.HasBackgroundCache()) {
        dlg_.PaintBackgroundCache(dc, client);
    } else {
        dc.FillRect(client, dlg_.BackgroundColour());
        if (!background_) background_ = CSkinImage::FromResource(364);
        if (background_) background_->Draw(dc, ScaleRect(0, 0, 1127, 740));
    }
    if (!frame_) frame_ = CSkinImage::FromFile(SkinPath(u"skins/Frame_Lighting_Setting.bmp"));

    // The button list's frame ends where the macro manager's begins, below
    // the eighth row.
    DrawFrame(dc, 36, 62, 230, kButtonListFrameHeight);
    DrawFrame(dc, 36, 341, 230, 43);
    DrawFrame(dc, 36, 423, 230, 82);
    DrawFrame(dc, 36, 550, 230, 146);
    if (open[size_t(SectionIndex(MainSection::Dpi))])
        DrawFrame(dc, kDpiSectionLeft, kDpiSectionTop, kDpiSectionWidth, kDpiSectionHeight);
    for (MainSection s : {S::Lighting, S::Polling, S::LiftOff, S::Debounce, S::Windows}) {
        if (!open[size_t(SectionIndex(s))]) continue;
        DrawFrame(dc, kColumnX, PanelTop(s), kColumnWidth,
                  s == MainSection::Windows ? kWindowsFrameHeight : SectionInfo(s).panelHeight);
    }
}

void CMainLayout::DrawHighlight(platform::ICanvas& dc)
{
    Point at;
    if (!MouseHighlightOrigin(highlight_, &at)) return;
    auto& img = highlightImages_[size_t(highlight_)];
    if (!img) img = CSkinImage::FromFile(Skin((u"mouse/number" + Decimal(highlight_) + u".png").c_str()));
    if (!img) return;
    const int x = ScaleUnits(at.x), y = ScaleUnits(at.y);
    img->Draw(dc, Rect::FromSize(x, y, ScaleUnits(img->Width()), ScaleUnits(img->Height())));
}

Rect CMainLayout::MousePictureRect() const { return ScaleRect(457, 171, 672, 569); }

void CMainLayout::SetHighlightedButton(int h)
{
    if (h < 0 || h > 14) h = 0;
    if (h == highlight_) return;
    highlight_ = h;
    if (dlg_.GetSafeHwnd() && platform::g_windowHost)
        platform::g_windowHost->InvalidateRect(dlg_.GetSafeHwnd(), MousePictureRect());
}

const CSkinImage* CMainLayout::ApplicationIcon()
{
    if (!icon_) icon_ = CSkinImage::FromResource(128);
    return icon_.get();
}

void CMainLayout::PaintMinimised(platform::ICanvas& dc, const Rect& client)
{
    dc.FillRect(client, dlg_.BackgroundColour());
    const CSkinImage* icon = ApplicationIcon();
    if (!icon) return;
    const int size = ScaleUnits(32);
    const int x = (client.Width() - size + 1) / 2, y = (client.Height() - size + 1) / 2;
    icon->Draw(dc, Rect::FromSize(x, y, size, size));
}

// ---- slider routing -----------------------------------------------------------------

void CMainLayout::UpdateSliderCaption(UINT sliderId, int position)
{
    UINT captionId = 0;
    std::u16string text;
    switch (sliderId) {
    case 2041:
        captionId = 3131;
        text = Decimal(position + 1);
        break;
    case 2043:
        captionId = 3130;
        text = Decimal(position + 1);
        break;
    case 2044:
        captionId = 3132;
        text = Decimal(position + 1);
        break;
    case 3200:
        captionId = 3210;
        text = Decimal(position + 1);
        break;
    case 3220:
        captionId = 3230;
        text = BrightnessPercentCaption(position);
        break;
    case 3530:
        captionId = 3532;
        text = Decimal(position * 2) + u"ms";
        break;
    default: return;
    }
    auto* caption = dlg_.Find<CStaticText>(captionId);
    if (!caption) return;
    caption->SetLabelText(text);
    if (dlg_.GetSafeHwnd() && platform::g_windowHost)
        platform::g_windowHost->InvalidateRect(dlg_.GetSafeHwnd(), caption->GetRect());
}

bool CMainLayout::OnMouseMove(WPARAM flags, int x, bool pendingDpiOrWindows)
{
    if (!created_) return false;
    if (flags == MK_LBUTTON) {
        struct Route {
            MainSection section;
            UINT slider;
        };
        static constexpr Route kRoutes[] = {{S::Windows, 2041},  {S::Windows, 2043},  {S::Windows, 2044},
                                            {S::Lighting, 3200}, {S::Lighting, 3220}, {S::Debounce, 3530}};
        for (const Route& r : kRoutes) {
            if (!IsSectionOpen(r.section)) continue;
            auto* slider = dlg_.Find<CSliderControl>(r.slider);
            if (!slider) continue;
            if (slider->DragTo(x)) {
                sliderDragged_ = true;
                UpdateSliderCaption(r.slider, slider->Position());
            }
        }
        return false;
    }
    if (sliderDragged_ && pendingDpiOrWindows) {
        sliderDragged_ = false;
        return true;
    }
    return false;
}
