// The window, the files and the mouse in step: input during a transfer, the
// save after a change, the mouse's own changes, and the Apply button, on the
// headless host with the simulated mouse.
#include "app_test_support.h"

#include "app/progress_bar_dlg.h"
#include "device/device_test_support.h"
#include "persist/profile_file.h"
#include "persist/settings_file.h"
#include "persist/ui/profile_ids.h"

namespace {

using platform::SimProduct;

class ApplySave : public MainWindowTest {
protected:
    // The main window on the simulated mouse behind a gate that can hold
    // every feature write, so that a transfer stays under way.
    void StartGated()
    {
        sim = std::make_unique<platform::SimMouse>(deviceClock, true, false);
        sim->SetStatus({0x25, 80, 0});
        gate = std::make_unique<ScriptedBackend>(*sim);
        gate->CloseGate();  // every handle opened from now on is gated
        gate->OpenGate();
        MainWindowDevices devices{gate.get(), &deviceClock, sim.get()};
        dlg = std::make_unique<CTevlanDlg>(Startup(), devices);
        ASSERT_TRUE(dlg->Create(0));
        AddBatteryControls();
        Settle(30);
    }
    void TearDown() override
    {
        if (gate) gate->OpenGate();
        dlg.reset();
        gate.reset();
        MainWindowTest::TearDown();
    }
    // Until every batch has gone out and its end was heard.
    void SettleTransfers()
    {
        ASSERT_TRUE(WaitFor([&] {
            Settle();
            return !dlg->Link()->Writing() && !dlg->Link()->ApplyWaiting() && dlg->Link()->WritesInFlight() == 0;
        }));
    }
    void ClickTab(int profile)
    {
        const Rect r = dlg->FindControl(profile_ids::kFirstTab + UINT(profile))->GetRect();
        host.Click(Main(), {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }
    ProfileRecord SavedProfile(int index) const
    {
        ProfileRecord r;
        EXPECT_TRUE(ReadProfileRecord(r, dataDir + "config/default" + std::to_string(index) + ".psf"));
        return r;
    }

    std::unique_ptr<ScriptedBackend> gate;
};

// Tab clicks made while a long transfer goes out act at once, and the mouse
// gets the last of them in one batch when the transfer has ended.
TEST_F(ApplySave, TabClicksDuringATransferEndWithTheLastProfileEverywhere)
{
    StartGated();
    for (int p = 0; p < 3; ++p) {
        g_profiles[p].PollingRateValue[0] = uint8_t(p);  // 125, 250, 500 Hz
        g_profiles[p].buttons[2].code = {0x01, uint8_t(0xF0 + p), 0x00};
    }
    gate->CloseGate();
    ASSERT_TRUE(dlg->ApplyAll());
    ASSERT_TRUE(dlg->Link()->Writing());
    ASSERT_NE(dlg->Progress(), nullptr) << "a full apply shows its progress";
    const HWND progress = dlg->Progress()->GetSafeHwnd();
    EXPECT_EQ(ModalRuns(u"progress"), 0);
    EXPECT_NE(host.GetActiveWindow(), progress);

    const int clicks[] = {1, 2, 0, 2, 1, 0, 2, 1};
    for (int p : clicks) {
        ClickTab(p);
        host.Advance(30);  // the apply timer: it finds the transfer under way
        EXPECT_EQ(g_workingProfile, p) << "the click acted at once";
    }
    EXPECT_TRUE(dlg->Link()->ApplyWaiting());
    sim->ClearTrace();
    gate->OpenGate();
    SettleTransfers();
    Settle(1000);

    EXPECT_EQ(g_workingProfile, 1);
    EXPECT_EQ(GetCurrentProfile(), 1);
    EXPECT_NE(ReadFile("config/config.ini").find(Utf16("CurrentProfile=1")), std::string::npos);
    ASSERT_TRUE(sim->State().pollingIntervalMs.has_value());
    EXPECT_EQ(*sim->State().pollingIntervalMs, 4) << "profile 1's 250 Hz";
    // The 16 reports of the apply, then one batch: profile 0 to profile 1.
    EXPECT_EQ(sim->AcceptedWrites().size(), 16u + 2u);
    EXPECT_EQ(dlg->Progress(), nullptr) << "the display ends with the transfer";
}

TEST_F(ApplySave, ApplyWithNothingChangedSendsEverySettingReport)
{
    Start();
    sim->ClearTrace();
    host.SendMessage(Main(), main_ids::kApply, main_ids::kApply, CE_CLICK);
    Settle();
    std::vector<uint8_t> commands;
    for (const auto& w : sim->AcceptedWrites()) commands.push_back(w[2]);
    EXPECT_EQ(commands, (std::vector<uint8_t>{4, 4, 4, 4, 4, 4, 4, 4, 5, 6, 7, 9, 10, 8, 11, 12}));
    EXPECT_EQ(ModalRuns(u"progress"), 0) << "the progress never takes the window's input";
}

// The files hold a change within a second, once its report has gone out;
// a burst of changes is one save, and an undone change writes nothing.
TEST_F(ApplySave, AChangeIsOnDiskWithinASecondAndABurstIsOneSave)
{
    Start();
    Settle(1000);
    const std::string path = dataDir + "config/default0.psf";
    const auto written = [&] { return std::filesystem::last_write_time(path); };
    for (int i = 0; i < 5; ++i) {
        Active().PollingRateValue[0] = uint8_t(i % 4);
        dlg->ScheduleApply(PendingGroup::DpiAndMore);
        Settle(100);
        EXPECT_TRUE(dlg->SaveDue()) << "still changing: no save yet";
    }
    Active().PollingRateValue[0] = 0;  // 125 Hz
    dlg->ScheduleApply(PendingGroup::DpiAndMore);
    Settle(20);
    // The first change of the burst was 520 ms ago: the save may wait for
    // the burst to settle, but not past a second from that change.
    Settle(460);
    EXPECT_FALSE(dlg->SaveDue());
    EXPECT_EQ(SavedProfile(0).PollingRateValue[0], 0);
    const auto once = written();

    Settle(2000);
    dlg->ScheduleApply(PendingGroup::DpiAndMore);  // nothing differs
    Settle(1000);
    EXPECT_EQ(written(), once) << "an identical save is skipped";
}

// What the mouse changes of itself is stored and saved like any change, and
// a normal close leaves the mouse's level in the file.
TEST_F(ApplySave, DpiButtonPressesReachTheFile)
{
    Start();
    dlg->ApplyAll();  // the simulated mouse starts empty: give it the levels
    Settle(1000);
    const uint8_t before = Active().CurrentDPILevelValue;
    for (int i = 0; i < 3; ++i) PressDpiButton();
    ASSERT_TRUE(WaitFor([&] {
        const uint8_t now = Active().CurrentDPILevelValue;
        return now != before && now + 1 == sim->State().dpi->currentOrdinal;
    }));
    const uint8_t level = Active().CurrentDPILevelValue;
    host.SendMessage(Main(), main_ids::kClose, main_ids::kClose, CE_CLICK);
    EXPECT_EQ(SavedProfile(0).CurrentDPILevelValue, level);
}

// A dialog open over the window does not hold the mouse's change back from
// the files.
TEST_F(ApplySave, TheMousesChangeIsSavedWhileADialogIsOpen)
{
    Start();
    dlg->ApplyAll();
    Settle(1000);
    const uint8_t before = Active().CurrentDPILevelValue;
    bool ran = false;
    host.ScriptModal(u"firmware-reset", [&](platform::HeadlessModal& m) {
        ran = true;
        PressDpiButton();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (Active().CurrentDPILevelValue == before && std::chrono::steady_clock::now() < deadline) {
            m.Advance(1);
            std::this_thread::yield();
        }
        m.Advance(1000);
        EXPECT_NE(Active().CurrentDPILevelValue, before);
        EXPECT_EQ(SavedProfile(0).CurrentDPILevelValue, Active().CurrentDPILevelValue);
        m.Send(2011, 2011, CE_CLICK);
    });
    host.SendMessage(Main(), main_ids::kReset, main_ids::kReset, CE_CLICK);
    EXPECT_TRUE(ran);
}

}  // namespace
