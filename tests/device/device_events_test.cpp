#include "device/device_link.h"

#include <algorithm>
#include <filesystem>

#include "device_test_support.h"
#include "persist/data_folders.h"
#include "persist/settings_file.h"

namespace {

using platform::SimProduct;

// --- listeners -----------------------------------------------------------------

struct Listening : LinkTest {
    void SetUp() override
    {
        host.currentProfile = 2;
        Active().DPIOffOnFlagValue = 0x2D;  // levels 0, 2, 3, 5
        StartUp();
        ASSERT_TRUE(sim.WaitForReaders(SimProduct::A));
    }
};

TEST_F(Listening, ChangeReportReachesTheProfileOnlyThroughTheWindowThread)
{
    const ProfileRecord before = Active();
    ASSERT_TRUE(sim.ReportDeviceChange(SimProduct::A, 4, 3));
    ASSERT_TRUE(host.WaitForPosted());
    EXPECT_EQ(Active(), before);  // the listener only posted
    const int refreshes = host.refreshes;
    host.Pump();
    EXPECT_EQ(Active().PollingRateValue, (std::array<uint8_t, 3>{1, 0, 0}));
    EXPECT_EQ(Active().PollingRateName, u"250Hz");
    EXPECT_EQ(Active().CurrentDPILevelValue, 2);
    EXPECT_EQ(link->currentDpiOrdinal, 2);
    EXPECT_GT(host.refreshes, refreshes);
    // The third enabled level is level 3, step 30 of the 0x3325 scale.
    ASSERT_EQ(host.osd.size(), 1u);
    EXPECT_EQ(host.osd[0], (std::array<std::u16string, 3>{u"DPI-4", u"3200", u"250Hz"}));
    // What the mouse reported counts as sent: nothing goes back.
    ApplyAll();
    EXPECT_TRUE(Writes().empty());
}

// A change of the user's that has not gone out yet when the mouse reports
// must still go out: only what the mouse itself changed counts as sent.
TEST_F(Listening, ChangeReportKeepsTheUsersUnsentChanges)
{
    Active().buttons[1].code = {0x10, 0x04, 0};
    Active().DPILevelIndication[0] = Rgb(1, 2, 3);
    Active().XYSettingValue[0] = 9;
    link->OnDeviceChangeReport(4, 3);
    EXPECT_TRUE(host.timers.count(kTimerSave)) << "the mouse's own change is saved like any other";
    ApplyAll();
    std::vector<uint8_t> commands;
    for (const auto& w : Writes())
        commands.push_back(w[2]);
    EXPECT_EQ(commands, (std::vector<uint8_t>{kCmdKeyAssignment, kCmdDpiLevels, kCmdDpiColours}));
    EXPECT_EQ(sim.State().pollingIntervalMs, std::nullopt) << "the rate the mouse reported is not sent back";
}

TEST_F(Listening, OtherReportsAreIgnoredAndOddIntervalsMeanTheFastestRate)
{
    std::vector<uint8_t> other(33, 0);
    other[0] = 5;
    other[1] = 7;
    other[3] = 4;
    other[4] = 1;
    ASSERT_TRUE(sim.SendInputReport(SimProduct::A, platform::SimInterface::Input, other));
    ASSERT_TRUE(sim.ReportDeviceChange(SimProduct::A, 16, 1));
    while (host.osd.empty() && host.WaitForPosted())
        host.Pump();
    ASSERT_EQ(host.osd.size(), 1u);
    EXPECT_EQ(Active().PollingRateValue[0], 3);
    EXPECT_EQ(Active().PollingRateName, u"1000Hz");
    EXPECT_EQ(host.osd[0][0], u"DPI-1");
    // A level ordinal of 0 names no level: only the rate is taken.
    link->OnDeviceChangeReport(2, 0);
    EXPECT_EQ(Active().CurrentDPILevelValue, 0);
    EXPECT_EQ(Active().PollingRateValue[0], 2);
}

TEST_F(Listening, ReadFailureEndsTheListenerAndForgetsItsPath)
{
    sim.SetChangeCallback({});  // only the listener learns of it
    sim.Unplug(SimProduct::A);
    ASSERT_TRUE(host.WaitForPosted());
    host.Pump();
    EXPECT_FALSE(link->Product(kProductA).listenerBusy);
    EXPECT_TRUE(link->Product(kProductA).inputPath.empty());
    EXPECT_TRUE(link->presentA());  // no scan has run yet
}

// --- status --------------------------------------------------------------------

struct Status : LinkTest {
    void SetUp() override { StartUp(); }
    void Query(platform::SimStatus s)
    {
        sim.SetStatus(s);
        link->QueryDeviceStatus();
        Settle();
    }
};

TEST_F(Status, SameSensorRewritesNothing)
{
    Query({0x25, 80, 0});
    EXPECT_EQ(link->batteryLevel, 80);
    EXPECT_EQ(link->sensorCode, 0x25);
    EXPECT_TRUE(host.sensorSettings.empty());
    EXPECT_EQ(host.settingsSaves + host.allProfileSaves, 0);
}

TEST_F(Status, NewSensorReDefaultsAllProfilesOnce)
{
    for (ProfileRecord& p : g_profiles)
        p.XYSettingValue[0] = 44;
    Query({0x60, 50, 1});
    EXPECT_EQ(g_sensorId, 0x3360);
    for (const ProfileRecord& p : g_profiles)
        EXPECT_EQ(p.XYSettingValue, (std::array<uint16_t, 8>{3, 7, 15, 31, 49, 59, 59, 59}));
    EXPECT_EQ(DpiStepCount(), 121);
    // First the change is recorded as not done (PreST still for 0x3325), then done.
    EXPECT_EQ(host.sensorSettings, (std::vector<std::pair<uint16_t, uint16_t>>{{0x3360, 0xCCDA}, {0x3360, 0xCC9F}}));
    EXPECT_EQ(host.settingsSaves, 2);
    EXPECT_EQ(host.allProfileSaves, 1);
    EXPECT_EQ(host.tableChanges, 1);
    EXPECT_EQ(link->chargeState, 1);
    // The mouse gets the new levels by a quiet apply.
    EXPECT_TRUE(link->IsScheduled(PendingGroup::DpiAndMore) && link->suppressProgress);
    EXPECT_EQ(host.timers.count(kTimerApply), 1u);
    link->ApplyToDevice();
    Settle();
    EXPECT_EQ(sim.State().dpi->codes[0], 3);  // step 3 of the 0x3360 scale
    Query({0x60, 50, 1});
    EXPECT_EQ(host.allProfileSaves, 1);
}

TEST_F(Status, UnknownSensorCodeNeverResetsProfiles)
{
    Query({0x55, 70, 0});
    Query({0x55, 70, 0});
    EXPECT_EQ(g_sensorId, 0x3325);
    EXPECT_EQ(link->sensorCode, 0x55);
    EXPECT_EQ(host.settingsSaves + host.allProfileSaves + host.tableChanges, 0);
}

TEST_F(Status, BatteryLevelAndChargeState)
{
    Query({0x25, 40, 2});
    EXPECT_EQ(link->batteryLevel, 100);
    EXPECT_EQ(link->chargeState, 2);
    Query({0x25, 150, 3});
    EXPECT_EQ(link->chargeState, 0);
    // The display shows 0 % for it; the status itself is asked for on every 21st tick.
    const int requests = sim.State().statusRequests;
    for (int i = 0; i < 20; ++i)
        link->OnStatusTick();
    EXPECT_EQ(host.battery, (std::pair<int, int>{0, 0}));
    Settle();
    EXPECT_EQ(sim.State().statusRequests, requests);
    link->OnStatusTick();
    Settle();
    EXPECT_EQ(sim.State().statusRequests, requests + 1);
}

TEST_F(Status, EmptyAnswersTwiceChangeNothingOnceIsRetried)
{
    sim.AnswerEmptyStatus(2);
    Query({0x60, 10, 1});
    EXPECT_EQ(g_sensorId, 0x3325);
    EXPECT_EQ(link->batteryLevel, 100);
    std::vector<uint8_t> seqs;
    for (const auto& e : sim.Trace())
        if (e.kind == platform::SimTraceEntry::Kind::FeatureWrite && e.bytes[2] == kCmdStatus)
            seqs.push_back(e.bytes[4]);
    ASSERT_EQ(seqs.size(), 2u);
    EXPECT_EQ(uint8_t(seqs[0] + 1), seqs[1]);
    sim.AnswerEmptyStatus(1);
    Query({0x25, 10, 1});
    EXPECT_EQ(link->batteryLevel, 10);
    // An answer to another command is no status.
    std::vector<uint8_t> wrong(33, 0);
    wrong[0] = 0x0C;
    wrong[2] = 0x21;
    wrong[6] = 1;
    wrong[18] = 33;
    sim.SetRawStatusAnswer(wrong);
    Query({});
    EXPECT_EQ(link->batteryLevel, 10);
}

struct NoMouseYet : LinkTest {
    NoMouseYet() : LinkTest(false, false) {}
};

TEST_F(NoMouseYet, FirstArrivalQueriesTheStatusOnce)
{
    StartUp();
    sim.Plug(SimProduct::A);
    host.Pump();
    Settle();
    EXPECT_EQ(sim.State().statusRequests, 1);
    EXPECT_FALSE(link->needStatusQuery);
    EXPECT_EQ(link->statusTickCount, 19);
    sim.Plug(SimProduct::B);
    host.Pump();
    Settle();
    EXPECT_EQ(sim.State().statusRequests, 1);
    EXPECT_TRUE(link->presentB());
}

// --- factory reset -------------------------------------------------------------

TEST_F(Status, FactoryResetRestoresOnlyTheActiveProfile)
{
    host.currentProfile = 1;
    Active().settings[kSetProfileName].value = u"Mine";
    Active().buttons[6].code = {0x70, 0, 5};
    Active().settings[kSetKeyDebounce].value = u"30";
    g_profiles[3].settings[kSetKeyDebounce].value = u"31";
    ProfileRecord expected;
    ResetProfileToDefaults(expected, 1);
    expected.settings[kSetProfileName].value = u"Mine";
    link->FactoryResetConfirmed();
    Settle();
    EXPECT_EQ(sim.State().factoryResets, 1);
    EXPECT_EQ(Active(), expected);
    EXPECT_EQ(g_profiles[3].settings[kSetKeyDebounce].value, u"31");
    EXPECT_EQ(host.slotWrites, std::vector<int>{1});
    EXPECT_EQ(host.allProfileSaves, 0);
    EXPECT_TRUE(host.progress.empty()) << "one report is over before a progress display could be read";
    sim.ClearTrace();
    ApplyAll();
    EXPECT_TRUE(Writes().empty());  // the defaults count as what the mouse now holds
}

}  // namespace

// --- the files behind the store calls ---------------------------------------------

namespace files {

namespace fs = std::filesystem;

struct OnDisk : Status {
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("tevlan-device-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                           "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir / "config");
        const std::string folder = dir.string() + "/";
        SetDataFolders(folder, folder);
        SetSettingsDefaults(folder);
        host.realFiles = true;
        Status::SetUp();
    }
    void TearDown() override { fs::remove_all(dir); }
    std::vector<std::string> Files() const
    {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir / "config"))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    fs::path dir;
};

TEST_F(OnDisk, SensorChangeWritesSettingsAndAllProfilesOnce)
{
    Query({0x25, 90, 0});
    EXPECT_TRUE(Files().empty());
    Query({0x60, 90, 0});
    EXPECT_EQ(Files(), (std::vector<std::string>{"config.ini", "default0.psf", "default1.psf", "default2.psf",
                                                 "default3.psf", "default4.psf"}));
    fs::remove_all(dir / "config");
    fs::create_directories(dir / "config");
    Query({0x60, 90, 0});
    EXPECT_TRUE(Files().empty());
    EXPECT_EQ(GetSensorSetting(), 0x3360);
    EXPECT_EQ(GetPreviousSensorSetting(), 0xCC9F);
}

TEST_F(OnDisk, FactoryResetWritesOnlyTheActiveSlotFile)
{
    SetCurrentProfile(3);
    link->FactoryResetConfirmed();
    EXPECT_EQ(Files(), std::vector<std::string>{"default3.psf"});
}

}  // namespace files
