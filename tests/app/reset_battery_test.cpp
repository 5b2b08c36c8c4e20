// The factory reset with its two dialogs, the progress display, and
// the battery display after status answers.
#include "app/connection_display.h"
#include "app_test_support.h"

#include "app/progress_bar_dlg.h"
#include "persist/ui/profile_ids.h"
#include "persist/profile_file.h"
#include "persist/settings_file.h"
#include "base/ui_text.h"

namespace {

using platform::HeadlessModal;

class FactoryResetTest : public MainWindowTest {
protected:
    void PrepareProfiles()
    {
        Start();
        Settle(10000);  // the start-up save is done
        SetCurrentProfile(2);
        dlg->RefreshFromProfile();
        g_profiles[2].settings[kSetProfileName].value = u"Mine";
        g_profiles[2].PollingRateValue[0] = 0;
        g_profiles[2].buttons[0].code = {0x01, 0xF1, 0x00};
        g_profiles[1].settings[kSetProfileName].value = u"Other";
        g_profiles[1].PollingRateValue[0] = 1;
        ASSERT_TRUE(::SaveAllProfileFiles());
        for (int i = 0; i < 5; ++i) before[i] = ReadFile("config/default" + std::to_string(i) + ".psf");
        other = g_profiles[1];
        ResetProfileToDefaults(defaults, 2);
    }

    std::string before[5];
    ProfileRecord other;
    ProfileRecord defaults;
};

TEST_F(FactoryResetTest, ConfirmedResetsOnlyTheActiveProfileKeepingItsName)
{
    PrepareProfiles();
    for (int i = 0; i < 5; ++i) std::filesystem::remove(dataDir + "config/default" + std::to_string(i) + ".psf");
    host.ScriptModal(u"firmware-reset", [](HeadlessModal& m) {
        EXPECT_FALSE(m.text.empty());
        m.Send(2010, 2010, CE_CLICK);
    });
    host.SendMessage(Main(), 2045, 2045, CE_CLICK);
    Settle();

    EXPECT_EQ(g_profiles[2].settings[kSetProfileName].value, u"Mine");
    ProfileRecord expected = defaults;
    expected.settings[kSetProfileName].value = u"Mine";
    EXPECT_TRUE(g_profiles[2] == expected) << "everything else back to the defaults";
    EXPECT_TRUE(g_profiles[1] == other);
    // Only the active profile's slot file is written.
    EXPECT_TRUE(Exists("config/default2.psf"));
    for (int i : {0, 1, 3, 4}) EXPECT_FALSE(Exists("config/default" + std::to_string(i) + ".psf")) << i;
    EXPECT_NE(ReadFile("config/default2.psf"), before[2]);
    EXPECT_NE(ReadFile("config/default2.psf").find(Utf16("Mine")), std::string::npos);

    EXPECT_EQ(sim->State().factoryResets, 1);
    EXPECT_EQ(ModalRuns(u"progress"), 0);
    EXPECT_EQ(dlg->Link()->statusTickCount, 0);
}

// Enter pressed by habit must not wipe the mouse: Cancel is the default
// button, and Escape cancels too. Only OK, reached with Shift+Tab and
// pressed with Space, resets.
TEST_F(FactoryResetTest, EnterAndEscapeCancelAndOnlyOkResets)
{
    PrepareProfiles();
    const ProfileRecord mine = g_profiles[2];
    for (UINT key : {VK_ESCAPE, VK_RETURN, VK_SPACE}) {
        host.ScriptModal(u"firmware-reset", [key](HeadlessModal& m) {
            m.Key(key);
            EXPECT_TRUE(m.Ended()) << key;
        });
        host.SendMessage(Main(), 2045, 2045, CE_CLICK);
        Settle();
        EXPECT_EQ(host.ModalLog().back().result, IDCANCEL) << key;
    }
    EXPECT_TRUE(g_profiles[2] == mine);
    EXPECT_EQ(sim->State().factoryResets, 0);
    EXPECT_EQ(ReadFile("config/default2.psf"), before[2]);

    host.ScriptModal(u"firmware-reset", [](HeadlessModal& m) {
        m.host.KeyDown(VK_LSHIFT);
        m.Key(VK_TAB);
        m.host.KeyUp(VK_LSHIFT);
        m.Key(VK_SPACE);
    });
    host.SendMessage(Main(), 2045, 2045, CE_CLICK);
    Settle();
    EXPECT_EQ(sim->State().factoryResets, 1);
    EXPECT_EQ(g_profiles[2].settings[kSetProfileName].value, u"Mine");
    EXPECT_FALSE(g_profiles[2] == mine);
}

class ProgressBar : public MainWindowTest {};

// The display of a long transfer takes nothing from the window: no modal
// run, no activation, no focus, and clicks on the window still work.
TEST_F(ProgressBar, ShowsWithoutTakingInputAndEndsWithTheTransfer)
{
    Start();
    const HWND active = host.GetActiveWindow();
    dlg->ShowProgress(146);
    CProgressBarDlg* progress = dlg->Progress();
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->Text(), UiText(146));
    EXPECT_TRUE(host.IsWindowVisible(progress->GetSafeHwnd()));
    EXPECT_EQ(host.GetActiveWindow(), active);
    EXPECT_EQ(ModalRuns(u"progress"), 0);
    const Rect r = dlg->FindControl(profile_ids::kFirstTab + 1)->GetRect();
    host.Click(Main(), {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    EXPECT_EQ(g_workingProfile, 1) << "the click reached the window";
    // Nothing is being written: the bar fills, shows full once, and goes.
    Settle(kProgressTickMs);
    EXPECT_EQ(progress->Progress(), 100);
    Settle(kProgressTickMs);
    EXPECT_EQ(dlg->Progress(), nullptr);
}

TEST_F(ProgressBar, BarIsDrawnUpToTheProgress)
{
    Start();
    CProgressBarDlg progress(u"x");
    ASSERT_TRUE(progress.Create(Main()));
    progress.SetProgress(50);
    const platform::IImage* img = host.Snapshot(progress.GetSafeHwnd());
    ASSERT_NE(img, nullptr);
    const int y = CProgressBarDlg::kBarTop + 6;
    // Left of the bar's end the bar picture, right of it the background:
    // the two differ in the bar band.
    EXPECT_NE(img->Pixel(20, y), img->Pixel(400, y));
    EXPECT_EQ(img->Pixel(400, y), img->Pixel(420, y));
}

class Battery : public MainWindowTest {
protected:
    CBattery* Gauge() { return dlg->Find<CBattery>(main_ids::kBattery); }
    CStaticText* Text() { return dlg->Find<CStaticText>(3405); }
};

TEST_F(Battery, WithoutAMouseNothingIsReadUntilOneArrives)
{
    Start({false, false});  // --sim-products none
    Settle(kNoMouseCheckMs);
    ASSERT_NE(dlg->StartupWarning(), nullptr);
    auto* indicator = dlg->Find<CStaticText>(kConnectionIndicatorId);
    ASSERT_NE(indicator, nullptr);
    EXPECT_EQ(Gauge()->displayState, CBattery::kNotConnected);
    EXPECT_EQ(Text()->LabelText().find(u'%'), std::u16string::npos);
    EXPECT_FALSE(Text()->IsVisible());
    EXPECT_FALSE(UiText(kTextNotConnected).empty());
    EXPECT_EQ(indicator->LabelText(), UiText(kTextNotConnected));

    // The receiver is plugged in: the warning goes, and the reading comes
    // with the product it comes through.
    sim->Plug(platform::SimProduct::B);
    ASSERT_TRUE(WaitFor([&] { return dlg->StartupWarning() == nullptr; }));
    // Nothing is shown as a reading before the mouse has answered.
    EXPECT_EQ(Text()->LabelText().find(u'%'), std::u16string::npos);
    ASSERT_TRUE(WaitFor([&] {
        Settle(100);
        return Text()->LabelText() == u"80%";
    }));
    EXPECT_EQ(Gauge()->displayState, CBattery::kLevel);
    EXPECT_EQ(indicator->LabelText(), ConnectionCaption(MouseConnection::Receiver, 80));
    EXPECT_NE(indicator->LabelText().find(u"80"), std::u16string::npos);
}

TEST_F(Battery, FullChargeShows100PercentWithTheTextVisible)
{
    Start({}, {0x25, 40, 2});
    Settle(1000);
    EXPECT_EQ(Text()->LabelText(), u"100%");
    EXPECT_TRUE(Text()->IsVisible());
    EXPECT_EQ(Gauge()->level, 100);
    EXPECT_EQ(Gauge()->displayState, CBattery::kCharged);
}

TEST_F(Battery, ChargingHidesTheTextAndAnimates)
{
    Start({}, {0x25, 40, 1});
    Settle(1000);
    EXPECT_FALSE(Text()->IsVisible());
    EXPECT_EQ(Gauge()->displayState, CBattery::kCharging);
    int seen[5];
    for (int& s : seen) {
        s = Gauge()->chargingLevel;
        Settle(1000);
    }
    EXPECT_EQ(seen[1] - seen[0] == 25 || seen[1] == 25, true);
    EXPECT_NE(seen[0], seen[1]);
    // 25, 50, 75, 100 and round again.
    for (int i = 1; i < 5; ++i) EXPECT_EQ(seen[i], seen[i - 1] == 100 ? 25 : seen[i - 1] + 25);
}

TEST_F(Battery, LevelAbove100ShowsZero)
{
    Start({}, {0x25, 150, 0});
    Settle(1000);
    EXPECT_EQ(Text()->LabelText(), u"0%");
    EXPECT_TRUE(Text()->IsVisible());
    EXPECT_EQ(Gauge()->level, 0);
}

TEST_F(Battery, AnIdleTickRepaintsNothingUnlessTheGaugeAnimates)
{
    Start({}, {0x25, 70, 0});
    Settle(1000);
    EXPECT_EQ(Text()->LabelText(), u"70%");
    const int paints = host.PaintCount(Main());
    Settle(5000);
    EXPECT_EQ(host.PaintCount(Main()), paints);
}

}  // namespace
