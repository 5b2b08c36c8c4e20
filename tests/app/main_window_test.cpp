// The main window's controller on the virtual clock: the deferred apply and
// save, the start-up warning, keys, the end of the program, the status tick,
// the tray and the second start.
#include "app_test_support.h"

#include "app/open_failure_dlg.h"
#include "app/tevlan_app.h"
#include "buttons/ui/button_list_ids.h"
#include "buttons/ui/button_list_section.h"
#include "macros/macro_library_file.h"
#include "persist/settings_file.h"
#include "base/text_codec.h"
#include "base/ui_text.h"
#include "ui/attention_dlg.h"
#include "ui/combo_button.h"
#include "ui/item_popup.h"

namespace {

using platform::SimProduct;

class ApplyAndSave : public MainWindowTest {};

TEST_F(ApplyAndSave, TwoChangesWithin20msGiveOneApply)
{
    Start();
    sim->ClearTrace();
    host.ClearModalLog();

    Active().PollingRateValue[0] = 1;  // 250 Hz
    dlg->ScheduleApply(PendingGroup::DpiAndMore);
    Settle(15);
    SetKeyDebounce(Active(), 8);
    dlg->ScheduleApply(PendingGroup::DpiAndMore);
    Settle(15);
    // 30 ms after the first change, but only 15 after the second: nothing yet.
    EXPECT_TRUE(sim->AcceptedWrites().empty());
    EXPECT_TRUE(dlg->ApplyScheduled());

    Settle(10);
    EXPECT_FALSE(dlg->ApplyScheduled());
    EXPECT_EQ(dlg->Progress(), nullptr) << "two reports need no progress display";
    const platform::SimDeviceState state = sim->State();
    ASSERT_TRUE(state.pollingIntervalMs.has_value());
    EXPECT_EQ(*state.pollingIntervalMs, 4);
    ASSERT_TRUE(state.debounce.has_value());
    EXPECT_EQ(sim->AcceptedWrites().size(), 2u);  // polling and debounce, each once

    // Nothing else is due: later time sends nothing more.
    Settle(1000);
    EXPECT_EQ(sim->AcceptedWrites().size(), 2u);
}

TEST_F(ApplyAndSave, ClosingRightAfterAChangeWritesTheFiles)
{
    Start();
    Settle(1000);
    Active().settings[kSetProfileName].value = u"Renamed";
    SetCurrentProfile(0);
    dlg->ScheduleApply(PendingGroup::Keys);
    Settle(100);
    ASSERT_TRUE(dlg->SaveDue());

    std::filesystem::remove(dataDir + "config/config.ini");
    host.SendMessage(Main(), 2001, 2001, CE_CLICK);
    EXPECT_FALSE(host.IsWindow(Main()));
    EXPECT_NE(ReadFile("config/default0.psf").find(Utf16("Renamed")), std::string::npos);
    EXPECT_TRUE(Exists("config/config.ini"));
    for (int i = 1; i < 5; ++i) EXPECT_TRUE(Exists("config/default" + std::to_string(i) + ".psf"));
}

// The apply timer had not fired yet when the window closed: the change must
// still reach the mouse and the files rather than vanish.
TEST_F(ApplyAndSave, AChangeJustBeforeClosingIsStillSentAndSaved)
{
    Start();
    Settle(10000);
    sim->ClearTrace();
    Active().PollingRateValue[0] = 0;  // 125 Hz
    Active().settings[kSetProfileName].value = u"LastMinute";
    dlg->ScheduleApply(PendingGroup::DpiAndMore);
    Settle(5);
    host.SendMessage(Main(), 2001, 2001, CE_CLICK);
    dlg.reset();  // the link finishes its queued writes as it goes
    const platform::SimDeviceState state = sim->State();
    ASSERT_TRUE(state.pollingIntervalMs.has_value());
    EXPECT_EQ(*state.pollingIntervalMs, 8);
    EXPECT_NE(ReadFile("config/default0.psf").find(Utf16("LastMinute")), std::string::npos);
    EXPECT_EQ(ModalRuns(u"progress"), 0) << "no progress dialog while the window goes away";
}

TEST_F(ApplyAndSave, ApplyButtonSendsTheWholeProfileAndSavesIt)
{
    Start();
    sim->ClearTrace();
    Active().buttons[2].code = {0x01, 0xF0, 0x00};
    // The handler applies at once, without waiting for a timer.
    host.SendMessage(Main(), 2047, 2047, CE_CLICK);
    Settle();
    EXPECT_EQ(sim->AcceptedWrites().size(), 16u);
    EXPECT_TRUE(dlg->SaveDue());
    Settle(1000);
    EXPECT_FALSE(dlg->SaveDue());
}

class StartupWarning : public MainWindowTest, public ::testing::WithParamInterface<int> {};

TEST_P(StartupWarning, ShownTwoSecondsAfterStartOnlyWithoutAMouse)
{
    const int which = GetParam();  // 0 none, 1 cable, 2 receiver
    Start({which == 1, which == 2});
    Settle(1900);
    EXPECT_EQ(dlg->StartupWarning(), nullptr);
    Settle(100);
    if (which == 0) {
        ASSERT_NE(dlg->StartupWarning(), nullptr);
        EXPECT_EQ(dlg->StartupWarning()->Message(), UiText(kNoMouseTextNumber));
        EXPECT_FALSE(UiText(kNoMouseTextNumber).empty());
        EXPECT_TRUE(host.IsWindowVisible(dlg->StartupWarning()->GetSafeHwnd()));
        EXPECT_EQ(ModalRuns(u"attention"), 0) << "the warning does not block the window";
    } else {
        EXPECT_EQ(dlg->StartupWarning(), nullptr);
    }
    // Once only.
    Settle(5000);
    EXPECT_FALSE(host.IsTimerRunning(Main(), kTimerNoMouse));
}

INSTANTIATE_TEST_SUITE_P(Products, StartupWarning, ::testing::Values(0, 1, 2));

// A mouse that is plugged in but may not be opened: the simulated mouse's
// interfaces, with every open refused for the given reason.
class RefusingBackend final : public platform::IHidBackend {
public:
    RefusingBackend(platform::IHidBackend& inner, platform::HidOpenProblem why) : inner_(inner), why_(why) {}
    std::vector<platform::HidInterfaceInfo> Enumerate() override { return inner_.Enumerate(); }
    std::unique_ptr<platform::IHidDevice> Open(const std::string& path, std::string* error) override
    {
        return OpenWithReason(path, error, nullptr);
    }
    std::unique_ptr<platform::IHidDevice> OpenWithReason(const std::string& path, std::string* error,
                                                         platform::HidOpenProblem* problem) override
    {
        if (error) *error = "refused " + path;
        if (problem) *problem = why_;
        return nullptr;
    }
    void SetChangeCallback(platform::HidChangeCallback callback) override
    {
        inner_.SetChangeCallback(std::move(callback));
    }

private:
    platform::IHidBackend& inner_;
    platform::HidOpenProblem why_;
};

class HiddenStart : public MainWindowTest {};

// Through the program's own start: the modal run of the main window must
// not show what start-up kept hidden.
TEST_F(HiddenStart, OnlyTheTrayIconWhereThereIsATrayElseTheWindow)
{
    for (bool tray : {true, false}) {
        dlg.reset();
        shell.trayAvailable = tray;
        sim = std::make_unique<platform::SimMouse>(deviceClock, true, false);
        MainWindowStartup startup = Startup();
        startup.startHidden = true;
        dlg = std::make_unique<CTevlanDlg>(startup, MainWindowDevices{sim.get(), &deviceClock, sim.get()});
        int shown = -1;
        host.ScriptModal(u"main", [&](platform::HeadlessModal& run) {
            run.Advance(3000);  // past the deferred start and the first status answers
            shown = host.IsWindowVisible(run.window);
            run.End(IDCANCEL);
        });
        dlg->DoModal(0);
        EXPECT_EQ(shown, tray ? 0 : 1) << "tray " << tray;
    }
}

class OpenFailure : public MainWindowTest {
protected:
    std::unique_ptr<RefusingBackend> refusing;
};

TEST_F(OpenFailure, TheWarningSaysWhyTheMouseCouldNotBeOpenedAndWhatToRun)
{
    using platform::HidOpenProblem;
    for (HidOpenProblem why : {HidOpenProblem::NoPermission, HidOpenProblem::Busy}) {
        dlg.reset();
        sim = std::make_unique<platform::SimMouse>(deviceClock, true, false);
        refusing = std::make_unique<RefusingBackend>(*sim, why);
        dlg = std::make_unique<CTevlanDlg>(Startup(), MainWindowDevices{refusing.get(), &deviceClock, nullptr});
        ASSERT_TRUE(dlg->Create(0));
        Settle(2000);
        COpenFailureDlg* warning = dlg->OpenFailureWarning();
        ASSERT_NE(warning, nullptr);
        if (why == HidOpenProblem::NoPermission) {
            EXPECT_EQ(warning->Message().rfind(UiText(300) + u" ", 0), 0u);
            // Run from the build folder: the rule of this source tree.
            EXPECT_EQ(warning->Commands(), Utf8ToU16("sudo cp " TEVLAN_SOURCE_DIR "/data/70-tevlan.rules "
                                                     "/etc/udev/rules.d/ && sudo udevadm control --reload && "
                                                     "sudo udevadm trigger"));
        } else {
            EXPECT_EQ(warning->Message().rfind(UiText(304) + u" ", 0), 0u);
            EXPECT_TRUE(warning->Commands().empty());
        }
        bool named = false;  // the interface it tried last
        for (const platform::HidInterfaceInfo& i : sim->Enumerate()) {
            const std::u16string node = Utf8ToU16(i.path.substr(0, i.path.find('#')));
            named = named || warning->Message().find(u" " + node + u"\n") != std::u16string::npos;
        }
        EXPECT_TRUE(named) << U16ToUtf8(warning->Message());
        EXPECT_TRUE(host.IsWindowVisible(warning->GetSafeHwnd()));
    }
}

class Keys : public MainWindowTest {};

TEST_F(Keys, EscapeAndEnterDoNotCloseTheWindow)
{
    Start();
    host.SetForegroundWindow(Main());
    host.PressKey(VK_ESCAPE);
    host.PressKey(VK_RETURN);
    Settle(100);
    EXPECT_TRUE(host.IsWindow(Main()));
    EXPECT_TRUE(host.IsWindowVisible(Main()));
}

TEST_F(Keys, HiddenSequenceShowsTheSupportContactOnlyWhenComplete)
{
    Start();
    host.SetForegroundWindow(Main());
    auto type = [&](const std::string& keys) {
        for (char c : keys) host.PressKey(static_cast<UINT>(c));
    };
    type("TEVLNTEVL");
    host.PressKey(VK_RETURN);  // Enter starts it over
    type("N");
    EXPECT_EQ(ModalRuns(u"attention"), 0);
    // A wrong letter that begins the sequence counts as its start.
    type("TEVTEVLNTEVLN");
    ASSERT_EQ(ModalRuns(u"attention"), 1);
    EXPECT_EQ(host.ModalLog().back().text, kSupportText);
    EXPECT_EQ(dlg->keySequencePosition, 0);
}

class EndOfProgram : public MainWindowTest {};

// The real path: the application runs the main window modally; the script
// plays the user while it runs.
TEST_F(EndOfProgram, RemovingTheLastInterfaceClosesDialogsAndEndsWithSavesWritten)
{
    sim = std::make_unique<platform::SimMouse>(deviceClock, true, false);
    AppEnvironment env;
    env.startup = Startup();
    env.devices = {sim.get(), &deviceClock, sim.get()};
    CTevlanDlg* main = nullptr;
    env.onMainWindow = [&](CTevlanDlg* w) {
        if (w) main = w;
    };
    HWND secondary = 0;
    bool hiddenAtQuit = false;
    host.ScriptModal(u"main", [&](platform::HeadlessModal& m) {
        m.Advance(100);
        g_profiles[GetCurrentProfile()].settings[kSetProfileName].value = u"BeforeUnplug";
        main->ScheduleApply(PendingGroup::Keys);
        m.Advance(30);  // applied; the save is not due yet
        CAttentionDlg* other = new CAttentionDlg(u"", u"open", main->GetSafeHwnd());
        ASSERT_TRUE(other->ShowModeless());
        secondary = other->GetSafeHwnd();
        ASSERT_NE(g_openDialogs[0], 0u);
        sim->Unplug(SimProduct::A);
        ASSERT_TRUE(WaitFor([&] { return host.QuitPosted(); }));
        hiddenAtQuit = !host.IsWindowVisible(main->GetSafeHwnd());
        EXPECT_FALSE(host.IsWindow(secondary));
        delete other;
    });
    CTevlanApp app(std::move(env));
    EXPECT_FALSE(app.InitInstance());
    EXPECT_TRUE(app.RanMainWindow());
    EXPECT_TRUE(hiddenAtQuit);
    EXPECT_TRUE(host.TopLevelWindows().empty());
    EXPECT_NE(ReadFile("config/default0.psf").find(Utf16("BeforeUnplug")), std::string::npos);
}

TEST_F(EndOfProgram, RemovingOneOfTwoConnectionsKeepsRunning)
{
    Start({true, true});
    sim->Unplug(SimProduct::A);
    Settle();
    ASSERT_TRUE(WaitFor([&] { return !dlg->Link()->presentA(); }));
    EXPECT_FALSE(host.QuitPosted());
    EXPECT_TRUE(dlg->Link()->presentB());
}

class StatusTick : public MainWindowTest {};

TEST_F(StatusTick, QueriesEvery21TicksAndTwoTicksAfterANotification)
{
    Start({true, false});
    const int atStart = sim->State().statusRequests;
    EXPECT_EQ(atStart, 1) << "the start-up query";
    Settle(20 * 1000);
    EXPECT_EQ(sim->State().statusRequests, atStart);
    Settle(1000);
    EXPECT_EQ(sim->State().statusRequests, atStart + 1);
    Settle(20 * 1000);
    EXPECT_EQ(sim->State().statusRequests, atStart + 1);
    Settle(1000);
    EXPECT_EQ(sim->State().statusRequests, atStart + 2);

    // The receiver arrives: the next query comes two ticks later.
    sim->Plug(SimProduct::B);
    ASSERT_TRUE(WaitFor([&] { return dlg->Link()->presentB(); }));
    Settle(1000);
    EXPECT_EQ(sim->State().statusRequests, atStart + 2);
    Settle(1000);
    EXPECT_EQ(sim->State().statusRequests, atStart + 3);
}

class TrayAndWindow : public MainWindowTest {};

TEST_F(TrayAndWindow, MinimiseHidesToTheTrayAndTheTrayBringsItBack)
{
    Start();
    ASSERT_EQ(shell.trays.size(), 1u);
    const platform::TrayIconParams& tray = shell.trays[0]->Params();
    EXPECT_EQ(tray.toolTip, u"Tevlan");
    ASSERT_GE(tray.menu.size(), 3u);
    EXPECT_EQ(tray.menu.front().id, kTrayShow);
    EXPECT_EQ(tray.menu.back().id, kTrayExit);

    host.SendMessage(Main(), 2002, 2002, CE_CLICK);
    EXPECT_FALSE(host.IsWindowVisible(Main()));
    shell.trays[0]->DoubleClick();
    host.ProcessPending();
    EXPECT_TRUE(host.IsWindowVisible(Main()));

    host.SendMessage(Main(), 2002, 2002, CE_CLICK);
    EXPECT_EQ(host.SendMessage(Main(), kMsgTrayIcon, 7, LPARAM(WM_LBUTTONDBLCLK)), 1) << "another icon's message";
    EXPECT_FALSE(host.IsWindowVisible(Main()));
    host.SendMessage(Main(), kMsgSecondInstance, 0, 0);
    EXPECT_TRUE(host.IsWindowVisible(Main()));

    shell.trays[0]->Choose(kTrayExit);
    host.ProcessPending();
    EXPECT_FALSE(host.IsWindow(Main()));
    EXPECT_TRUE(shell.trays.empty()) << "the icon goes with the window";
}

TEST_F(TrayAndWindow, WithoutATrayMinimiseOnlyMinimises)
{
    shell.trayAvailable = false;
    Start();
    host.SendMessage(Main(), 2002, 2002, CE_CLICK);
    EXPECT_TRUE(host.IsIconic(Main()));
}

TEST_F(TrayAndWindow, ShellButtonsOpenTheMouseSettingsAndTheWebSite)
{
    Start();
    host.SendMessage(Main(), 3330, 3330, CE_DOWN);
    EXPECT_EQ(shell.mouseSettingsRuns, 0) << "only a click acts";
    host.SendMessage(Main(), 3330, 3330, CE_CLICK);
    host.SendMessage(Main(), 3503, 3503, CE_CLICK);
    EXPECT_EQ(shell.mouseSettingsRuns, 1);
    ASSERT_EQ(shell.webAddresses.size(), 1u);
    EXPECT_EQ(shell.webAddresses[0], kMakerWebAddress);
}

TEST_F(TrayAndWindow, WindowIsCentredInTheWorkAreaAtTheScaledSize)
{
    Start();
    const Rect r = host.GetWindowRect(Main());
    EXPECT_EQ(r.Width(), 1127);
    EXPECT_EQ(r.Height(), 740);
    EXPECT_EQ(r.left, (1920 - 1127) / 2);
    EXPECT_EQ(r.top, (1040 - 740) / 2);
}

class NarrowScreen : public MainWindowTest {
protected:
    NarrowScreen() : MainWindowTest({0, 0, 1024, 700}, {0, 30, 1024, 700}) {}
};

TEST_F(NarrowScreen, WindowShrinksToFitTheWorkArea)
{
    Start();
    const Rect r = host.GetWindowRect(Main());
    EXPECT_LT(g_uiScale, 1.0f);
    EXPECT_GE(r.left, 0);
    EXPECT_GE(r.top, 30) << "below the top panel, not under it";
    EXPECT_LE(r.right, 1024);
    EXPECT_LE(r.bottom, 700) << "Apply and Reset in the bottom row stay reachable";
}

class WideScreen : public MainWindowTest {
protected:
    WideScreen() : MainWindowTest({0, 0, 3840, 2160}, {0, 0, 3840, 2120}) {}
};

TEST_F(WideScreen, ScaleTwoDoublesTheWindow)
{
    Start();
    EXPECT_FLOAT_EQ(g_uiScale, 2.0f);
    const Rect r = host.GetWindowRect(Main());
    EXPECT_EQ(r.Width(), 2254);
    EXPECT_EQ(r.Height(), 1480);
}

class SecondStart : public MainWindowTest {};

TEST_F(SecondStart, AnotherInstanceRunningShowsNothing)
{
    AppEnvironment env;
    env.startup = Startup();
    sim = std::make_unique<platform::SimMouse>(deviceClock, true, false);
    env.devices = {sim.get(), &deviceClock, sim.get()};
    env.acquireSingleInstance = [] { return false; };
    CTevlanApp app(std::move(env));
    EXPECT_FALSE(app.InitInstance());
    EXPECT_FALSE(app.RanMainWindow());
    EXPECT_TRUE(host.TopLevelWindows().empty());
    EXPECT_TRUE(host.ModalLog().empty());
}

// Only what the first frame needs runs before it: the tray icon and the
// search for the mouse wait for the first paint, and still happen at once
// after it, in the order the user sees them.
class DeferredStart : public MainWindowTest {};

TEST_F(DeferredStart, TrayAndMouseComeRightAfterTheFirstFrame)
{
    sim = std::make_unique<platform::SimMouse>(deviceClock, true, false);
    sim->SetStatus({0x25, 80, 0});
    MainWindowDevices devices{sim.get(), &deviceClock, sim.get()};
    dlg = std::make_unique<CTevlanDlg>(Startup(), devices);
    ASSERT_TRUE(dlg->Create(0));
    EXPECT_TRUE(shell.trays.empty()) << "the tray waits for the first frame";
    EXPECT_TRUE(sim->Trace().empty()) << "so does the mouse";
    EXPECT_EQ(host.PaintCount(Main()), 0);

    host.ProcessPending();  // paints the first frame
    EXPECT_EQ(host.PaintCount(Main()), 1);
    Settle(1);  // what waited for it runs once the frame is out
    EXPECT_EQ(shell.trays.size(), 1u);
    Settle(30);  // the status query and the apply run on the device thread
    EXPECT_FALSE(sim->AcceptedWrites().empty()) << "the first apply follows the search";
    Settle(2000);
    EXPECT_EQ(dlg->StartupWarning(), nullptr) << "a mouse was found: no warning";
}

// The macro library is read after the first frame too, yet the button menus
// show its macros, and everything a user or a later start can reach answers
// within a second of the start.
TEST_F(DeferredStart, EverythingThatWaitedAnswersWithinASecond)
{
    std::filesystem::create_directories(dataDir + "config");
    MacroLibrary library;
    library.AppendSet(u"Games");
    for (const char16_t* name : {u"reload", u"dash"}) library.AppendMacro(*library.SetAt(0), name);
    ASSERT_TRUE(WriteMacroLibraryFile(library, dataDir + kMacroLibraryRelativePath));
    g_macroLibrary = library;  // what an earlier window left behind is not what this one reads

    sim = std::make_unique<platform::SimMouse>(deviceClock, true, false);
    sim->SetStatus({0x25, 80, 0});
    MainWindowDevices devices{sim.get(), &deviceClock, sim.get()};
    dlg = std::make_unique<CTevlanDlg>(Startup(), devices);
    ASSERT_TRUE(dlg->Create(0));
    EXPECT_FALSE(ApplicationMacroLibraryRead()) << "not read before the first frame";
    EXPECT_EQ(g_macroLibrary.count(), 0u);

    Settle(1000);
    EXPECT_TRUE(ApplicationMacroLibraryRead());
    ASSERT_EQ(g_macroLibrary.count(), 1u);
    EXPECT_EQ(shell.trays.size(), 1u);
    EXPECT_FALSE(sim->AcceptedWrites().empty()) << "the first apply";
    host.ShowWindow(Main(), SW_HIDE);
    host.SendMessage(Main(), kMsgSecondInstance, 0, 0);
    EXPECT_TRUE(host.IsWindowVisible(Main())) << "a second start brings the window back";

    // The macro row of a button's menu lists the library's macros.
    auto* combo = dlg->Find<CComboButton>(CButtonListSection::kFirstCombo);
    ASSERT_TRUE(combo);
    const Rect r = combo->GetRect();
    host.Click(Main(), {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    host.ProcessPending();
    auto* menu = dynamic_cast<CItemPopup*>(dlg->Popup(button_list::kSlotFunctionMenu));
    ASSERT_TRUE(menu);
    const Rect row = menu->Items()[8].rect;
    host.MoveMouseTo(menu->GetSafeHwnd(), {(row.left + row.right) / 2, (row.top + row.bottom) / 2});
    host.ProcessPending();
    auto* macros = dynamic_cast<CItemPopup*>(dlg->Popup(button_list::kSlotMacroSet));
    ASSERT_TRUE(macros);
    EXPECT_EQ(macros->Items().size(), 2u);

    host.SetForegroundWindow(Main());
    host.PressKey(VK_F1 + 9);  // F10: the cable of the simulated mouse
    EXPECT_FALSE(sim->IsPlugged(SimProduct::A)) << "the window hears its keys";
}

// An apply that falls due before the first frame (a tevlanctl change, a
// game) needs the mouse and the macros: the start-up work runs for it, once.
TEST_F(DeferredStart, AnApplyBeforeTheFirstFrameRunsWhatWaitedFirst)
{
    sim = std::make_unique<platform::SimMouse>(deviceClock, true, false);
    MainWindowDevices devices{sim.get(), &deviceClock, sim.get()};
    dlg = std::make_unique<CTevlanDlg>(Startup(), devices);
    ASSERT_TRUE(dlg->Create(0));
    host.ShowWindow(Main(), SW_HIDE);
    Active().PollingRateValue[0] = 1;
    dlg->ScheduleApply(PendingGroup::DpiAndMore);
    Settle(25);
    EXPECT_TRUE(ApplicationMacroLibraryRead());
    EXPECT_FALSE(sim->AcceptedWrites().empty());
    host.ShowWindow(Main(), SW_SHOW);
    Settle(5);
    EXPECT_GE(host.PaintCount(Main()), 1);
    EXPECT_FALSE(host.IsTimerRunning(Main(), main_ids::kTimerDeferredStart));
    EXPECT_EQ(shell.trays.size(), 1u);
}

TEST_F(DeferredStart, AWindowNeverPaintedStillGetsItsTrayAndMouse)
{
    sim = std::make_unique<platform::SimMouse>(deviceClock, true, false);
    MainWindowDevices devices{sim.get(), &deviceClock, sim.get()};
    dlg = std::make_unique<CTevlanDlg>(Startup(), devices);
    ASSERT_TRUE(dlg->Create(0));
    host.ShowWindow(Main(), SW_HIDE);
    Settle(1000);
    EXPECT_EQ(shell.trays.size(), 1u);
    EXPECT_FALSE(sim->AcceptedWrites().empty());
}

}  // namespace
