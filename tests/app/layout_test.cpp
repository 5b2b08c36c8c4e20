// The main window's layout and the sections' display, on the headless host
// with the generated skin: a plain dialog that owns a CMainLayout and the
// sections the way the main window does, so the layout is tested without a
// mouse.
#include <gtest/gtest.h>

#include <string>

#include "app/main_layout.h"
#include "section_test_support.h"
#include "persist/settings_file.h"
#include "persist/ui/profile_tabs.h"
#include "base/ui_text.h"
#include "platform/headless/headless_host.h"
#include "profile/profile_record.h"
#include "settings/dpi_step_table.h"
#include "settings/ui/dpi_section.h"
#include "settings/ui/dpi_section_layout.h"
#include "buttons/ui/button_list_section.h"
#include "settings/ui/lighting_section.h"
#include "settings/ui/sensor_section.h"
#include "ui/check_button.h"
#include "ui/color_select_button.h"
#include "ui/color_select_check_button.h"
#include "ui/combo_button.h"
#include "ui/dlg_base.h"
#include "ui/dpi_radio_button.h"
#include "ui/dpi_value_show_control.h"
#include "ui/passive_controls.h"
#include "ui/radio_state.h"
#include "ui/skin_image.h"
#include "ui/slider_control.h"
#include "ui/tab_control.h"
#include "ui/ui_scale.h"

namespace {

using S = MainSection;

class LayoutDlg : public SectionsDlg {
public:
    LayoutDlg()
    {
        for (int i = 0; i < kMainSectionCount; ++i) {
            UINT id = SectionInfo(static_cast<MainSection>(i)).headerId;
            MapMessage(id, [this, id](WPARAM, LPARAM l) -> LRESULT {
                if (l == CE_CLICK) layout.OnHeaderClicked(id);
                return 0;
            });
        }
    }
    CSliderDrag drag;
    bool pending = false;  // stands for a scheduled DpiAndMore or Windows apply
    int applyStarts = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        LRESULT r = CDlgBase::WindowProc(message, wParam, lParam);
        if (message == WM_MOUSEMOVE && drag.OnMouseMove(sections, wParam, GET_X_LPARAM(lParam), pending)) ++applyStarts;
        return r;
    }
};

class LayoutTest : public ::testing::Test {
protected:
    platform::HeadlessHost host{Rect{0, 0, 2600, 1600}, Rect{0, 0, 2600, 1560}};
    LayoutDlg dlg;

    void SetUp() override
    {
        platform::g_windowHost = &host;
        g_uiScale = 1.0f;
        SetSkinProgramFolder(TEVLAN_BINARY_DIR);
        g_radioStateWord = 0;
        ClearUiTexts();
        g_uiFont.face = u"DejaVu Sans";
        g_uiFont.height = 14;
        SetSettingsDefaults("/nonexistent/");
        UseSensor(0x3389);  // has the lift-off choice
        for (int p = 0; p < kProfileCount; ++p) ResetProfileToDefaults(g_profiles[size_t(p)], p);
        g_workingProfile = 0;
    }
    void TearDown() override
    {
        if (dlg.GetSafeHwnd()) dlg.DestroyWindow();
        g_uiScale = 1.0f;
        platform::g_windowHost = nullptr;
    }
    void UseSensor(uint16_t id)
    {
        g_sensorId = id;
        ASSERT_TRUE(BuildDpiStepTable(id));
    }
    HWND Open()
    {
        EXPECT_TRUE(dlg.Create(0));
        host.ProcessPending();
        return dlg.GetSafeHwnd();
    }
    // Clicks the middle of a control as it is placed now.
    void ClickControl(UINT id)
    {
        CControlBase* c = dlg.FindControl(id);
        ASSERT_NE(c, nullptr);
        const Rect& r = c->GetRect();
        // The pointer comes from elsewhere, as a hand's would: the dialog
        // picks the control under it on the move.
        host.MoveMouseTo(dlg.GetSafeHwnd(), {1, 1});
        host.Click(dlg.GetSafeHwnd(), {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        host.ProcessPending();
    }
    Rect RectOf(UINT id) { return dlg.FindControl(id)->GetRect(); }
    bool Open(S s) { return dlg.layout.IsSectionOpen(s); }
    template <class T>
    T* Get(UINT id)
    {
        T* c = dlg.Find<T>(id);
        EXPECT_NE(c, nullptr) << id;
        return c;
    }
    std::u16string Text(UINT id) { return Get<CStaticText>(id)->LabelText(); }
};

// ---- sections -----------------------------------------------------------------------

TEST_F(LayoutTest, StartsWithDpiAndLightingOpenAndOnlyTheirGroupsVisible)
{
    Open();
    EXPECT_TRUE(Open(S::Dpi));
    EXPECT_TRUE(Open(S::Lighting));
    for (S s : {S::Polling, S::LiftOff, S::Debounce, S::Windows}) EXPECT_FALSE(Open(s));
    EXPECT_TRUE(dlg.FindControl(3300)->IsVisible());
    EXPECT_TRUE(dlg.FindControl(3120)->IsVisible());
    EXPECT_FALSE(dlg.FindControl(3030)->IsVisible());
    EXPECT_FALSE(dlg.FindControl(3530)->IsVisible());
    EXPECT_FALSE(dlg.FindControl(2043)->IsVisible());
}

TEST_F(LayoutTest, OpeningPollingClosesLightingAndReopeningLightingClosesPolling)
{
    Open();
    // With DPI and lighting open the polling header sits below both panels.
    EXPECT_EQ(RectOf(3004), (Rect{846, 473, 1108, 498}));
    ClickControl(3004);
    EXPECT_TRUE(Open(S::Dpi));
    EXPECT_TRUE(Open(S::Polling));
    EXPECT_FALSE(Open(S::Lighting));
    EXPECT_FALSE(dlg.FindControl(3120)->IsVisible());
    EXPECT_TRUE(dlg.FindControl(3030)->IsVisible());
    // Lighting closed: the polling header moves up and its panel follows.
    EXPECT_EQ(RectOf(3004).top, 97 + 196);
    EXPECT_EQ(RectOf(3030), (Rect{846 + 59, 97 + 196 + 25 + 20, 846 + 131, 97 + 196 + 25 + 91}));

    ClickControl(3002);
    EXPECT_TRUE(Open(S::Lighting));
    EXPECT_FALSE(Open(S::Polling));
    EXPECT_TRUE(Open(S::Dpi));
}

TEST_F(LayoutTest, SectionsTheRuleDoesNotLookAtNeverCauseClosing)
{
    Open();
    dlg.layout.SetSectionOpen(S::Dpi, false);
    dlg.layout.SetSectionOpen(S::Lighting, false);
    dlg.layout.SetSectionOpen(S::Windows, true);
    dlg.layout.ApplySectionVisibility();
    dlg.layout.PlaceMovableControls();
    ClickControl(3012);
    EXPECT_TRUE(Open(S::Debounce));
    EXPECT_TRUE(Open(S::Windows));

    // Opening DPI looks at lighting, polling and lift-off only.
    ClickControl(3001);
    EXPECT_TRUE(Open(S::Dpi));
    EXPECT_TRUE(Open(S::Debounce));
    EXPECT_TRUE(Open(S::Windows));

    // Closing a section closes nothing else.
    ClickControl(3012);
    EXPECT_FALSE(Open(S::Debounce));
    EXPECT_TRUE(Open(S::Dpi));
    EXPECT_TRUE(Open(S::Windows));
}

TEST_F(LayoutTest, ClosingTableFirstOpenSectionDecides)
{
    std::array<bool, kMainSectionCount> open{};
    open[size_t(S::Lighting)] = true;
    open[size_t(S::Polling)] = true;
    open[size_t(S::Windows)] = true;
    // Opening lift-off: DPI is closed, lighting is open, so polling and
    // Windows close (debounce would too) and lighting stays.
    auto close = SectionsToClose(S::LiftOff, open);
    EXPECT_FALSE(close[size_t(S::Lighting)]);
    EXPECT_TRUE(close[size_t(S::Polling)]);
    EXPECT_TRUE(close[size_t(S::Debounce)]);
    EXPECT_TRUE(close[size_t(S::Windows)]);
    EXPECT_FALSE(close[size_t(S::Dpi)]);
    // Opening debounce or Windows while only lift-off is open closes nothing.
    std::array<bool, kMainSectionCount> onlyLiftOff{};
    onlyLiftOff[size_t(S::LiftOff)] = true;
    for (S opened : {S::Debounce, S::Windows})
        for (bool c : SectionsToClose(opened, onlyLiftOff)) EXPECT_FALSE(c);
}

TEST_F(LayoutTest, HeaderTopsWithAndWithoutTheLiftOffSection)
{
    std::array<bool, kMainSectionCount> closed{};
    EXPECT_EQ(SectionHeaderTop(S::LiftOff, closed, true), 127);
    EXPECT_EQ(SectionHeaderTop(S::Debounce, closed, true), 157);
    EXPECT_EQ(SectionHeaderTop(S::Windows, closed, true), 187);
    EXPECT_EQ(SectionHeaderTop(S::Debounce, closed, false), 127);
    EXPECT_EQ(SectionHeaderTop(S::Windows, closed, false), 157);
    std::array<bool, kMainSectionCount> open{};
    open[size_t(S::Dpi)] = open[size_t(S::Polling)] = open[size_t(S::LiftOff)] = true;
    // An open lift-off panel that is absent adds nothing.
    EXPECT_EQ(SectionHeaderTop(S::Windows, open, false), 157 + 196 + 180);
    EXPECT_EQ(SectionHeaderTop(S::Windows, open, true), 187 + 196 + 180 + 85);
}

TEST_F(LayoutTest, SensorWithoutLiftOffHidesTheSectionAndLiftsTheOnesBelow)
{
    Open();
    ClickControl(3011);  // lift-off open; with DPI open that closes lighting
    ASSERT_TRUE(Open(S::LiftOff));
    EXPECT_FALSE(Open(S::Lighting));
    EXPECT_TRUE(dlg.FindControl(3510)->IsVisible());
    EXPECT_EQ(RectOf(3012).top, 157 + 196 + 85);

    UseSensor(0x3325);  // no lift-off choice
    dlg.layout.PlaceMovableControls();
    EXPECT_FALSE(dlg.FindControl(3011)->IsAvailable());
    EXPECT_FALSE(Open(S::LiftOff));
    EXPECT_FALSE(dlg.FindControl(3510)->IsVisible());
    EXPECT_EQ(RectOf(3012).top, 127 + 196);
    EXPECT_EQ(RectOf(3003).top, 157 + 196);
    // Where the lift-off header was, the debounce header now answers.
    ClickControl(3012);
    EXPECT_TRUE(Open(S::Debounce));
    EXPECT_FALSE(Open(S::LiftOff));
}

TEST_F(LayoutTest, LayoutScalesEveryCoordinateAtTwice)
{
    g_uiScale = 2.0f;
    LayoutDlg big;
    ASSERT_TRUE(big.Create(0));
    host.ProcessPending();
    EXPECT_EQ(host.GetClientRect(big.GetSafeHwnd()), (Rect{0, 0, 2254, 1480}));
    EXPECT_EQ(big.FindControl(3004)->GetRect(), (Rect{1692, 946, 2216, 996}));
    EXPECT_EQ(big.FindControl(2045)->GetRect(), (Rect{2080, 1400, 2218, 1440}));
    big.DestroyWindow();
}

TEST_F(LayoutTest, TheEighthDpiLevelLiesInsideTheFrameAndTheWindowAtEveryScale)
{
    for (float scale : {1.0f, 2.0f}) {
        g_uiScale = scale;
        LayoutDlg d;
        ASSERT_TRUE(d.Create(0));
        host.ProcessPending();
        const Rect client = host.GetClientRect(d.GetSafeHwnd());
        const Rect frame = ScaleRect(kDpiSectionLeft, kDpiSectionTop, kDpiSectionLeft + kDpiSectionWidth,
                                     kDpiSectionTop + kDpiSectionHeight);
        auto inside = [](const Rect& outer, const Rect& r) {
            return r.left > outer.left && r.right < outer.right && r.top > outer.top && r.bottom < outer.bottom;
        };
        for (int k = 0; k < 8; ++k)
            for (UINT first : {3300u, 3290u, 3260u, 3270u}) {
                CControlBase* c = d.FindControl(first + UINT(k));
                ASSERT_NE(c, nullptr) << first + k;
                const Rect r = c->GetRect();
                EXPECT_TRUE(c->IsAvailable() && c->IsVisible()) << first + k << " at " << scale;
                EXPECT_TRUE(inside(frame, r)) << first + k << " at " << scale;
                EXPECT_TRUE(inside(client, r)) << first + k << " at " << scale;
                // Columns side by side, never overlapping their neighbours.
                if (k > 0) {
                    EXPECT_LE(d.FindControl(first + UINT(k - 1))->GetRect().right, r.left) << first + k;
                }
            }
        d.DestroyWindow();
    }
}

TEST_F(LayoutTest, TheButtonListHasARowForEachOfTheEightButtonsAndNoNinth)
{
    Open();
    int combos = 0;
    for (int g = 0; g < CDlgBase::kGroupCount; ++g)
        for (const auto& c : dlg.Group(g)) {
            if (!c) continue;
            if (dynamic_cast<CComboButton*>(c.get()) && c->GetRect().right <= 266) ++combos;
            // Nothing at all where a ninth row (combo, number or highlight) would sit.
            const Rect r = c->GetRect();
            const bool inNinthRow = r.left >= 36 && r.right <= 266 && r.top >= 310 && r.bottom <= 338;
            EXPECT_FALSE(inNinthRow) << c->Id();
        }
    EXPECT_EQ(combos, 8);
    EXPECT_EQ(dlg.FindControl(CButtonListSection::kFirstCombo + 8), nullptr);
    EXPECT_FALSE(MouseHighlightOrigin(9, nullptr));
    EXPECT_TRUE(MouseHighlightOrigin(8, nullptr));
}

// ---- profile tabs -------------------------------------------------------------------

TEST_F(LayoutTest, ProfileTabsFollowTheShownListAndTheAddButtonNeverRisesAboveThree)
{
    Open();
    SetProfileShowList(0, 3);
    SetProfileShowList(1, 0);
    SetProfileShowList(2, 4);
    SetProfileShowList(3, 1);
    SetProfileShowList(4, 2);
    for (int count : {1, 3, 5}) {
        SetProfileShowCount(count);
        RefreshProfileTabs(dlg);
        dlg.layout.PlaceMovableControls();
        for (int k = 0; k < count; ++k) {
            int p = GetProfileShowList(k);
            EXPECT_EQ(RectOf(UINT(2049 + p)), (Rect{300, 430 + 25 * k, 462, 451 + 25 * k})) << count << " " << k;
            EXPECT_TRUE(dlg.FindControl(UINT(2049 + p))->IsVisible());
        }
        for (int k = count; k < 5; ++k) EXPECT_FALSE(dlg.FindControl(UINT(2049 + GetProfileShowList(k)))->IsVisible());
        const int addTop = count == 5 ? 558 : 508;
        EXPECT_EQ(RectOf(2071), (Rect{300, addTop, 346, addTop + 20})) << count;
    }
}

TEST_F(LayoutTest, TabCaptionsAreTheProfileNames)
{
    Open();
    g_profiles[2].settings[kSetProfileName].value = u"Shooter = fast";
    RefreshProfileTabs(dlg);
    EXPECT_EQ(Get<CTabControl>(2051)->label, u"Shooter = fast");
}

// ---- sections' display --------------------------------------------------------------

TEST_F(LayoutTest, DpiLevelsShowTheSensorsStepValues)
{
    Open();
    ProfileRecord& p = g_profiles[0];
    p.DPIOffOnFlagValue = 0x0B;  // levels 0, 1 and 3
    p.XYSettingValue = {0, 3, 7, 31, 2000, 1, 1, 1};
    p.CurrentDPILevelValue = 2;  // third enabled level: level 3
    p.DPILevelIndication[1] = RGB(1, 2, 3);
    int ordinal = -1;
    RefreshDpiSection(dlg, p, &ordinal);
    EXPECT_EQ(ordinal, 2);
    // 0x3389 steps are 100 DPI apart from 100; the label draws value x 50.
    EXPECT_EQ(Get<CDPIRadioButton>(3290)->Value() * 50, 100);
    EXPECT_EQ(Get<CDPIRadioButton>(3291)->Value() * 50, 400);
    EXPECT_EQ(Get<CDPIRadioButton>(3293)->Value() * 50, 3200);
    // A step past the table shows as the last step, on the label and the bar.
    EXPECT_EQ(Get<CDPIRadioButton>(3294)->Value() * 50, 16000);
    EXPECT_EQ(Get<CDPIValueShowControl>(3304)->Position(), DpiStepCount() - 1);
    EXPECT_EQ(Get<CDPIValueShowControl>(3301)->Count(), DpiStepCount());
    EXPECT_FALSE(Get<CDPIRadioButton>(3290)->IsDisabled());
    EXPECT_TRUE(Get<CDPIRadioButton>(3292)->IsDisabled());
    EXPECT_TRUE(Get<CCheckButton>(3263)->IsChecked());
    EXPECT_FALSE(Get<CCheckButton>(3262)->IsChecked());
    EXPECT_EQ(Get<CColorSelectButton>(3271)->Colour(), RGB(1, 2, 3));

    // The current level's label is red in the window.
    const platform::IImage* shot = host.Snapshot(dlg.GetSafeHwnd());
    ASSERT_NE(shot, nullptr);
    auto redPixels = [&](UINT id) {
        Rect r = RectOf(id);
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                COLORREF c = shot->Pixel(x, y);
                if (GetRValue(c) > 150 && GetGValue(c) < 60 && GetBValue(c) < 60) ++n;
            }
        return n;
    };
    EXPECT_GT(redPixels(3293), 0);
    EXPECT_EQ(redPixels(3290), 0);

    // Another sensor: the same steps read from its own table.
    UseSensor(0x3325);
    RefreshDpiSection(dlg, p, nullptr);
    EXPECT_EQ(Get<CDPIRadioButton>(3291)->Value() * 50, 500);
    EXPECT_EQ(Get<CDPIValueShowControl>(3301)->Count(), DpiStepCount());
}

TEST_F(LayoutTest, DpiStoreReadsTheChecksAndKeepsOneLevel)
{
    Open();
    ProfileRecord& p = g_profiles[0];
    p.DPIOffOnFlagValue = 0x7F;
    RefreshDpiSection(dlg, p, nullptr);
    Get<CCheckButton>(3260)->SetChecked(false);
    Get<CCheckButton>(3267)->SetChecked(true);
    StoreDpiSection(dlg, p, 3);
    EXPECT_EQ(p.DPIOffOnFlagValue, 0xFE);
    EXPECT_EQ(p.CurrentDPILevelValue, 3);

    for (int k = 0; k < 8; ++k) Get<CCheckButton>(UINT(3260 + k))->SetChecked(false);
    p.DPIOffOnFlagValue = 0x05;
    StoreDpiSection(dlg, p, 4);
    EXPECT_EQ(p.DPIOffOnFlagValue, 0x05);  // never no level at all
    EXPECT_EQ(p.CurrentDPILevelValue, 1);  // and the ordinal stays among the enabled ones
}

TEST_F(LayoutTest, PollingRateSelectsItsRadioAndOnlyItsCaption)
{
    Open();
    ProfileRecord& p = g_profiles[0];
    for (auto [code, radio] : {std::pair{0, 3030u}, std::pair{2, 3032u}, std::pair{3, 3033u}, std::pair{9, 3033u}}) {
        p.PollingRateValue = {uint8_t(code), 0, 0};
        RefreshPollingRate(dlg, p);
        for (UINT id = 3030; id <= 3033; ++id) EXPECT_EQ(IsRadioSelected(id), id == radio) << code;
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(dlg.FindControl(UINT(3142 + i))->IsAvailable(), UINT(3030 + i) == radio) << code;
    }
}

TEST_F(LayoutTest, SensorSettingsRoundTrip)
{
    Open();
    ProfileRecord& p = g_profiles[0];
    SetKeyDebounce(p, 13);
    SetLiftDetectionHeight(p, 1);
    SetPowerDownTime(p, 8);
    SetScrollWheelPageEnable(p, 1);
    SetScrollWheelSpeed(p, 4);
    SetPointerSpeed(p, 10);
    SetDoubleClickSpeed(p, 0);
    SetAccelerationEnable(p, 0);
    SetMoveLightingOnOffMode(p, 1);
    SetMotionWakeup(p, 0);
    RefreshSensorSettings(dlg, p);
    EXPECT_EQ(Get<CSliderControl>(3530)->Position(), 6);
    EXPECT_EQ(Text(3532), u"12ms");
    EXPECT_TRUE(IsRadioSelected(3510));
    EXPECT_TRUE(IsRadioSelected(2010));
    EXPECT_TRUE(Get<CSliderControl>(2041)->IsDisabled());  // page mode
    EXPECT_EQ(Text(3131), u"5");
    EXPECT_EQ(Text(3130), u"11");
    EXPECT_EQ(Text(3132), u"1");
    EXPECT_FALSE(Get<CCheckButton>(2030)->IsChecked());
    EXPECT_TRUE(Get<CCheckButton>(3501)->IsChecked());
    EXPECT_FALSE(Get<CCheckButton>(3504)->IsChecked());

    Get<CSliderControl>(3530)->SetPosition(15);
    ProfileRecord stored = p;
    StoreSensorSettings(dlg, stored);
    EXPECT_EQ(ProfileSettingInt(stored, kSetKeyDebounce), 30);
    EXPECT_EQ(ProfileSettingInt(stored, kSetLiftDetectionHeight), 1);
    EXPECT_EQ(ProfileSettingInt(stored, kSetPowerDownTime), 8);
    EXPECT_EQ(ProfileSettingInt(stored, kSetScrollWheelPageEnable), 1);
    EXPECT_EQ(ProfileSettingInt(stored, kSetScrollWheelSpeed), 4);  // kept in page mode
    EXPECT_EQ(ProfileSettingInt(stored, kSetTiltSpeed), 4);
    EXPECT_EQ(ProfileSettingInt(stored, kSetPointerSpeed), 10);
    EXPECT_EQ(ProfileSettingInt(stored, kSetMotionWakeup), 0);

    // A stored value past the slider's range shows the caption of where the
    // thumb really is.
    SetKeyDebounce(p, 40);
    RefreshSensorSettings(dlg, p);
    EXPECT_EQ(Text(3532), u"30ms");
}

TEST_F(LayoutTest, LightingShowsTheModesOwnValuesAndControls)
{
    Open();
    ProfileRecord& p = g_profiles[0];
    LightingSettings& l = p.lighting;
    l.Lighting1Name = u"Steady";
    l.Lighting1ModeValue = {3, 0, 0};
    l.Lighting1Brightness[3] = 2;
    l.Lighting1FixedColor[3][0] = RGB(10, 20, 30);
    l.Lighting1ColorSelected[3][0] = 1;
    RefreshLighting(dlg, p, true);
    EXPECT_EQ(Get<CComboButton>(3120)->Label(), u"Steady");
    EXPECT_EQ(Text(3230), u"75%");
    EXPECT_TRUE(dlg.FindControl(3220)->IsVisible());
    EXPECT_FALSE(dlg.FindControl(3200)->IsVisible());
    EXPECT_TRUE(dlg.FindControl(3180)->IsVisible());
    EXPECT_FALSE(dlg.FindControl(3181)->IsVisible());
    EXPECT_EQ(Get<CColorSelectCheckButton>(3180)->Colour(), RGB(10, 20, 30));
    EXPECT_TRUE(Get<CColorSelectCheckButton>(3180)->IsChecked());

    // Mode 6: its own eight colours; mode 1: speed and direction.
    l.Lighting1ModeValue = {6, 0, 0};
    l.Lighting1ColorSelected[6][0] = 0;
    l.Lighting1FixedColor[6][7] = RGB(7, 7, 7);
    RefreshLighting(dlg, p, true);
    EXPECT_TRUE(dlg.FindControl(3187)->IsVisible());
    EXPECT_FALSE(Get<CColorSelectCheckButton>(3180)->IsChecked());
    EXPECT_EQ(Get<CColorSelectCheckButton>(3187)->Colour(), RGB(7, 7, 7));
    const uint8_t speed6 = l.Lighting1Speed[6];
    l.Lighting1ModeValue = {1, 0, 0};
    l.Lighting1Speed[1] = 1;
    l.Lighting1Direction[1] = 0;
    RefreshLighting(dlg, p, true);
    EXPECT_EQ(Text(3210), u"2");
    EXPECT_TRUE(IsRadioSelected(3250));
    EXPECT_TRUE(dlg.FindControl(3240)->IsVisible());
    EXPECT_FALSE(dlg.FindControl(3180)->IsVisible());

    // Store: speed, brightness and direction of the shown mode only.
    Get<CSliderControl>(3200)->SetPosition(2);
    SelectRadio(3240);
    StoreLighting(dlg, p);
    EXPECT_EQ(l.Lighting1Speed[1], 2);
    EXPECT_EQ(l.Lighting1Direction[1], 1);
    EXPECT_EQ(l.Lighting1Speed[6], speed6);

    // Mode 0 shows no parameter at all.
    l.Lighting1ModeValue = {0, 0, 0};
    RefreshLighting(dlg, p, true);
    for (UINT id : {3161u, 3180u, 3200u, 3220u, 3240u, 3164u, 3163u, 3162u})
        EXPECT_FALSE(dlg.FindControl(id)->IsVisible());
}

TEST_F(LayoutTest, LightingClosedKeepsItsControlsHiddenAndADamagedModeIsHarmless)
{
    Open();
    ClickControl(3002);  // close lighting
    ASSERT_FALSE(Open(S::Lighting));
    ProfileRecord& p = g_profiles[0];
    p.lighting.Lighting1ModeValue = {6, 0, 0};
    RefreshLighting(dlg, p, false);
    EXPECT_FALSE(dlg.FindControl(3120)->IsVisible());
    EXPECT_FALSE(dlg.FindControl(3187)->IsVisible());

    p.lighting.Lighting1ModeValue = {200, 0, 0};
    ProfileRecord before = p;
    RefreshLighting(dlg, p, true);
    StoreLighting(dlg, p);
    EXPECT_EQ(p, before);
}

// ---- slider routing and the highlight -----------------------------------------------

TEST_F(LayoutTest, DraggingTheDebounceThumbPastTheSliderKeepsTheCaptionLive)
{
    HWND w = Open();
    ClickControl(3012);  // debounce open (DPI and lighting stay)
    ASSERT_TRUE(Open(S::Debounce));
    host.ProcessPending();
    auto* slider = Get<CSliderControl>(3530);
    slider->SetPosition(0);
    const Rect thumb = slider->ThumbRect();
    const int y = (thumb.top + thumb.bottom) / 2;
    host.MoveMouseTo(w, {(thumb.left + thumb.right) / 2, y});
    host.PressButton();
    host.MoveMouseTo(w, {slider->GetRect().left + 60, y});
    // Far right of the slider, outside it: the layout keeps the drag going.
    host.MoveMouseTo(w, {slider->GetRect().right + 40, y - 30});
    EXPECT_EQ(slider->Position(), 15);
    EXPECT_EQ(Text(3532), u"30ms");
    EXPECT_TRUE(dlg.drag.Dragged());
    host.ReleaseButton();

    // Nothing pending: a plain move starts nothing and the flag stays.
    host.MoveMouseTo(w, {10, 10});
    EXPECT_EQ(dlg.applyStarts, 0);
    dlg.pending = true;
    host.MoveMouseTo(w, {12, 10});
    EXPECT_EQ(dlg.applyStarts, 1);
    host.MoveMouseTo(w, {14, 10});
    EXPECT_EQ(dlg.applyStarts, 1);
}

TEST_F(LayoutTest, MouseHighlightDrawsTheButtonsNumberOnThePicture)
{
    HWND w = Open();
    auto pixel = [&](int x, int y) { return host.Snapshot(w)->Pixel(x, y); };
    Point at;
    ASSERT_TRUE(MouseHighlightOrigin(4, &at));
    EXPECT_EQ(at, (Point{467, 311}));
    auto highlight = CSkinImage::FromFile(SkinPath(u"skins/mouse/number4.png"));
    ASSERT_NE(highlight, nullptr);
    const int cx = at.x + highlight->Width() / 2, cy = at.y + highlight->Height() / 2;
    const COLORREF plain = pixel(cx, cy);
    dlg.layout.SetHighlightedButton(4);
    EXPECT_NE(pixel(cx, cy), plain);
    dlg.layout.SetHighlightedButton(12);  // no picture for 10 .. 14
    EXPECT_EQ(pixel(cx, cy), plain);
}

}  // namespace
