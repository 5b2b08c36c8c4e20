// The main window's sections through a fake host: a plain dialog laid out
// by CMainLayout holds the controls the sections made, the host records what
// the sections ask of the window.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main_layout.h"
#include "section_test_support.h"
#include "buttons/ui/button_list_section.h"
#include "persist/settings_file.h"
#include "persist/ui/profile_tabs.h"
#include "base/ui_text.h"
#include "platform/headless/headless_host.h"
#include "profile/profile_record.h"
#include "settings/dpi_step_table.h"
#include "settings/ui/dpi_section.h"
#include "settings/lighting_settings.h"
#include "settings/ui/lighting_section.h"
#include "settings/ui/sensor_section.h"
#include "ui/combo_button.h"
#include "ui/dlg_base.h"
#include "ui/radio_state.h"
#include "ui/skin_image.h"
#include "ui/tab_control.h"
#include "ui/ui_scale.h"

namespace {

class SectionsTest : public ::testing::Test {
protected:
    platform::HeadlessHost host{Rect{0, 0, 2600, 1600}, Rect{0, 0, 2600, 1560}};
    int ordinal = 0;
    SectionsDlg dlg{&ordinal, [] { return true; }};
    FakeSectionHost& fake = dlg.fake;
    std::vector<std::unique_ptr<CWindowSection>>& sections = dlg.sections;

    void SetUp() override
    {
        platform::g_windowHost = &host;
        g_uiScale = 1.0f;
        SetSkinProgramFolder(TEVLAN_BINARY_DIR);
        g_radioStateWord = 0;
        ClearUiTexts();
        SetSettingsDefaults("/nonexistent/");
        g_sensorId = 0x3389;
        ASSERT_TRUE(BuildDpiStepTable(g_sensorId));
        for (int p = 0; p < kProfileCount; ++p) ResetProfileToDefaults(g_profiles[size_t(p)], p);
        g_workingProfile = 0;
        ASSERT_TRUE(dlg.Create(0));
        host.ProcessPending();
        for (auto& s : sections) s->OnControlsCreated();
    }
    void TearDown() override
    {
        if (dlg.GetSafeHwnd()) dlg.DestroyWindow();
        platform::g_windowHost = nullptr;
    }
    void RefreshAll(const ProfileRecord* p)
    {
        for (auto& s : sections) s->Refresh(p);
    }
    void StoreAll(ProfileRecord& p)
    {
        for (auto& s : sections) s->Store(p);
    }
};

// Every setting a section's controls hold: shown from one profile and read
// back into another that differed in it, the two must end equal.
TEST_F(SectionsTest, RefreshThenStoreCarriesEverySettingTheControlsHold)
{
    struct Case {
        const char* name;
        std::function<void(ProfileRecord&)> change;
    };
    const Case cases[] = {
        {"DPI levels enabled", [](ProfileRecord& p) { p.DPIOffOnFlagValue = 0x15; }},
        {"current DPI level", [](ProfileRecord& p) { p.CurrentDPILevelValue = 3; }},
        {"lighting speed", [](ProfileRecord& p) { p.lighting.Lighting1Speed[size_t(CurrentLightingMode(p))] = 0; }},
        {"lighting direction", [](ProfileRecord& p) { p.lighting.Lighting1Direction[size_t(CurrentLightingMode(p))] ^= 1; }},
        {"pointer speed", [](ProfileRecord& p) { SetPointerSpeed(p, 2); }},
        {"double-click speed", [](ProfileRecord& p) { SetDoubleClickSpeed(p, 9); }},
        {"scroll speed",
         [](ProfileRecord& p) {
             SetScrollWheelSpeed(p, 7);
             SetTiltSpeed(p, 7);
         }},
        {"scroll by page", [](ProfileRecord& p) { SetScrollWheelPageEnable(p, 1); }},
        {"acceleration", [](ProfileRecord& p) { SetAccelerationEnable(p, 0); }},
        {"lift-off", [](ProfileRecord& p) { SetLiftDetectionHeight(p, 1); }},
        {"debounce", [](ProfileRecord& p) { SetKeyDebounce(p, 20); }},
        {"sleep after", [](ProfileRecord& p) { SetPowerDownTime(p, 9); }},
        {"wake on movement", [](ProfileRecord& p) { SetMotionWakeup(p, 0); }},
        {"light on movement", [](ProfileRecord& p) { SetMoveLightingOnOffMode(p, 1); }},
    };
    for (const Case& c : cases) {
        ResetProfileToDefaults(g_profiles[0], 0);
        ProfileRecord shown = g_profiles[0];
        c.change(shown);
        ASSERT_NE(shown, g_profiles[0]) << c.name << ": the change changes nothing";
        RefreshAll(&shown);
        ProfileRecord read = g_profiles[0];
        StoreAll(read);
        EXPECT_EQ(read, shown) << c.name;
    }
}

TEST_F(SectionsTest, ClicksReachTheHostAsTheirApplyGroup)
{
    struct Case {
        UINT id;
        std::vector<PendingGroup> groups;
        int stores;
    };
    const Case cases[] = {
        {settings_ids::kAcceleration, {PendingGroup::Windows}, 0},  // stored by the edit itself
        {settings_ids::kDesktopMouseSettings, {}, 0},  // the desktop's settings, not the mouse's
    };
    for (const Case& c : cases) {
        fake.scheduled.clear();
        fake.stores = 0;
        host.SendMessage(dlg.GetSafeHwnd(), c.id, c.id, CE_CLICK);
        EXPECT_EQ(fake.scheduled, c.groups) << c.id;
        EXPECT_EQ(fake.stores, c.stores) << c.id;
        host.SendMessage(dlg.GetSafeHwnd(), c.id, c.id, CE_LEAVE);
        EXPECT_EQ(fake.scheduled, c.groups) << c.id << ": only a click applies";
    }
}

TEST_F(SectionsTest, ButtonListShowsTheProfileLabelsAndTabsShareTheWindowSelection)
{
    g_profiles[0].buttons[7].label = u"Forward";
    RefreshAll(&g_profiles[0]);
    EXPECT_EQ(dlg.Find<CComboButton>(CButtonListSection::kFirstCombo + 7)->Label(), u"Forward");
    RefreshAll(nullptr);  // no profile chosen: the labels stay
    EXPECT_EQ(dlg.Find<CComboButton>(CButtonListSection::kFirstCombo + 7)->Label(), u"Forward");

    g_workingProfile = 2;
    EXPECT_EQ(dlg.Find<CTabControl>(CProfileTabsSection::kFirstTab + 2)->LookIndex(), 2);
    EXPECT_EQ(dlg.Find<CTabControl>(CProfileTabsSection::kFirstTab)->LookIndex(), 0);
}

}  // namespace
