// The games dialog of a profile: what typing, stepping through the running
// programs and clearing store, and that the watch exists only while a shown
// profile binds a game.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "app/app_test_support.h"
#include "app/game_switcher.h"
#include "app/games_dlg.h"
#include "app/games_running_popup.h"
#include "app/main_ids.h"
#include "app/osd_dialog.h"
#include "persist/profile_slots.h"
#include "ui/control_events.h"

namespace {

using Ids = CGamesDlg;

// Writes what the dialog shows as a PPM picture when TEVLAN_SHOT_DIR is set
// (to look at by hand; the test does not need it).
void MaybeShoot(platform::HeadlessHost& host, HWND w, const char* name)
{
    const char* dir = std::getenv("TEVLAN_SHOT_DIR");
    const platform::IImage* image = dir ? host.Snapshot(w) : nullptr;
    if (!image) return;
    FILE* f = std::fopen((std::string(dir) + "/" + name + ".ppm").c_str(), "wb");
    if (!f) return;
    std::fprintf(f, "P6 %d %d 255\n", image->Width(), image->Height());
    for (int y = 0; y < image->Height(); ++y)
        for (int x = 0; x < image->Width(); ++x) {
            const COLORREF c = image->Pixel(x, y);
            std::fputc(RedOf(c), f), std::fputc(GreenOf(c), f), std::fputc(BlueOf(c), f);
        }
    std::fclose(f);
}

struct Action {
    enum Kind { Type, Choose, Clear } kind;
    int entry;
    std::u16string text = {};  // Type: typed; Choose: the running name picked from the list
};

// The games dialog's list of running programs, open now.
CGamesRunningPopup* RunningList(CGamesDlg& dialog)
{
    return dynamic_cast<CGamesRunningPopup*>(dialog.Popup(CGamesDlg::kRunningSlot));
}

// Opens the entry's list and picks the row named name, as assistive
// technology clicks it.
void ChooseRunning(platform::HeadlessModal& m, CGamesDlg& dialog, int entry, const std::u16string& name)
{
    m.Send(Ids::kFirstRunning + UINT(entry), 0, CE_CLICK);
    CGamesRunningPopup* list = RunningList(dialog);
    ASSERT_NE(list, nullptr);
    const auto& items = list->Items();
    const auto row = std::find_if(items.begin(), items.end(), [&](const PopupItem& i) { return i.caption == name; });
    ASSERT_NE(row, items.end());
    EXPECT_TRUE(list->DoAccessibleAction(list->GetSafeHwnd(), int(row - items.begin()) + 1, 0));
    m.host.ProcessPending();
    EXPECT_EQ(RunningList(dialog), nullptr) << "closed by the choice";
}

TEST_F(MainWindowTest, GamesDialogStoresWhatTheEntriesHold)
{
    struct Case {
        const char* name;
        std::array<std::u16string, 3> before;
        std::vector<Action> actions;
        bool ok;
        std::array<std::u16string, 3> after;
    };
    const std::vector<Case> cases = {
        {"typed path reduced to its name, chosen from the running ones, clear",
         {u"", u"", u"old"},
         {{Action::Type, 0, u"  /opt/x/factorio "}, {Action::Choose, 1, u"steam"}, {Action::Clear, 2}},
         true,
         {u"factorio", u"steam", u""}},
        {"a choice replaces a typed beginning",
         {u"", u"", u""},
         {{Action::Type, 2, u"st"}, {Action::Choose, 2, u"bash"}},
         true,
         {u"", u"", u"bash"}},
        {"cancel keeps the profile",
         {u"a", u"b", u""},
         {{Action::Clear, 0}, {Action::Type, 2, u"c"}},
         false,
         {u"a", u"b", u""}},
    };
    Start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int i = 0; i < 3; ++i) SetGameFile(g_profiles[1], i, c.before[size_t(i)]);
        CGamesDlg dialog(1, Main(), [] { return std::vector<std::u16string>{u"bash", u"factorio", u"steam"}; });
        host.ScriptModal(u"games", [&](platform::HeadlessModal& m) {
            for (const Action& a : c.actions) {
                if (a.kind == Action::Type) {
                    EXPECT_TRUE(m.TypeInto(int(Ids::kFirstEdit) + a.entry, a.text));
                }
                if (a.kind == Action::Choose) ChooseRunning(m, dialog, a.entry, a.text);
                if (a.kind == Action::Clear) m.Send(Ids::kFirstClear + UINT(a.entry), 0, CE_CLICK);
            }
            m.Send(c.ok ? Ids::kOk : Ids::kCancel, 0, CE_CLICK);
        });
        EXPECT_EQ(dialog.DoModal(), c.ok ? IDOK : IDCANCEL);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(GetGameFile(g_profiles[1], i), c.after[size_t(i)]) << i;
    }
}

// A long list opens at the entry's name, scrolls with the wheel, and a
// click on a row puts that name into the entry.
TEST_F(MainWindowTest, TheRunningListScrollsAndAClickChoosesAName)
{
    Start();
    std::vector<std::u16string> names;
    for (int i = 0; i < 30; ++i)
        names.push_back(u"game" + std::u16string{char16_t(u'0' + i / 10), char16_t(u'0' + i % 10)});
    SetGameFile(g_profiles[1], 0, u"game25");
    CGamesDlg dialog(1, Main(), [&] { return names; });
    host.ScriptModal(u"games", [&](platform::HeadlessModal& m) {
        m.Send(Ids::kFirstRunning, 0, CE_CLICK);
        CGamesRunningPopup* list = RunningList(dialog);
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->Hovered(), 25);
        EXPECT_EQ(list->FirstShown(), 20) << "the entry's name in view, the list's end not passed";
        const Rect shown = host.GetWindowRect(list->GetSafeHwnd());
        EXPECT_EQ(shown.Height(), 2 + 10 * 22) << "ten rows at most";

        host.MoveMouse({shown.left + 20, shown.top + 1 + 11});  // the first row shown
        host.Wheel(WHEEL_DELTA);                                // one notch up: three rows
        EXPECT_EQ(list->FirstShown(), 17);
        host.PressButton();
        host.ReleaseButton();
        host.ProcessPending();
        EXPECT_EQ(RunningList(dialog), nullptr);
        EXPECT_EQ(host.GetWindowText(dialog.Edit(0)), u"game17");
        m.Send(Ids::kOk, 0, CE_CLICK);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(GetGameFile(g_profiles[1], 0), u"game17");
}

TEST_F(MainWindowTest, TheWatchRunsOnlyWhileAShownProfileBindsAGame)
{
    Start();
    ASSERT_NE(dlg->GameSwitcher(), nullptr);
    EXPECT_FALSE(dlg->GameSwitcher()->Watching());
    const std::string ascii = "tvl-no-such-game-" + std::to_string(::getpid());
    const std::u16string name(ascii.begin(), ascii.end());
    host.ScriptModal(u"games", [&](platform::HeadlessModal& m) {
        MaybeShoot(host, m.window, "games_dialog");
        EXPECT_TRUE(m.TypeInto(int(Ids::kFirstEdit) + 1, name));
        m.Send(Ids::kOk, 0, CE_CLICK);
    });
    dlg->OpenGamesDialog(2);
    EXPECT_EQ(GetGameFile(g_profiles[2], 1), name);
    EXPECT_TRUE(dlg->GameSwitcher()->Watching());
    // Saved at once: the profile file holds the binding.
    EXPECT_NE(ReadFile("config/default2.psf").find(Utf16("GameFile1=" + ascii)), std::string::npos);

    host.ScriptModal(u"games", [&](platform::HeadlessModal& m) {
        m.Send(Ids::kFirstClear + 1, 0, CE_CLICK);
        m.Send(Ids::kOk, 0, CE_CLICK);
    });
    dlg->OpenGamesDialog(2);
    EXPECT_FALSE(dlg->GameSwitcher()->Watching());

    if (std::getenv("TEVLAN_SHOT_DIR")) {  // the same dialog at twice the size, to look at
        g_uiScale = 2.0f;
        SetGameFile(g_profiles[2], 0, u"factorio");
        host.ScriptModal(u"games", [&](platform::HeadlessModal& m) {
            MaybeShoot(host, m.window, "games_dialog_2x");
            m.Send(Ids::kCancel, 0, CE_CLICK);
        });
        CGamesDlg(2, Main()).DoModal();
    }
}

// A game that starts while a modal dialog of the window is open switches
// nothing until the dialog closes; a fake process list stands in for /proc.
TEST_F(MainWindowTest, AGameStartedUnderAModalDialogSwitchesWhenItCloses)
{
    Start();
    CGameSwitcher& switcher = *dlg->GameSwitcher();
    std::mutex lock;
    std::vector<platform::ProcessNames> processes = {{"/usr/bin/bash", "bash"}};
    switcher.UseProcessSource([&] {
        std::lock_guard<std::mutex> hold(lock);
        return processes;
    });
    auto runOnly = [&](std::vector<platform::ProcessNames> now) {
        {
            std::lock_guard<std::mutex> hold(lock);
            processes = std::move(now);
        }
        switcher.ScanNow();
    };
    SetGameFile(g_profiles[1], 0, u"quake");
    dlg->RefreshFromProfile();
    ASSERT_TRUE(switcher.Watching());
    ASSERT_EQ(ReadProfileSlots().current, 0);

    host.ScriptModal(u"games", [&](platform::HeadlessModal& m) {
        runOnly({{"/usr/bin/bash", "bash"}, {"/usr/games/quake", "quake"}});
        EXPECT_TRUE(WaitFor([&] { return host.IsTimerRunning(Main(), main_ids::kTimerGameDeferred); }));
        m.Advance(1000);  // the deferral timer looks, and the dialog is still open
        EXPECT_EQ(ReadProfileSlots().current, 0);
        EXPECT_EQ(dlg->Osd(), nullptr);
        m.Send(Ids::kCancel, 0, CE_CLICK);
    });
    CGamesDlg(2, Main()).DoModal();
    Settle(300);
    EXPECT_EQ(ReadProfileSlots().current, 1);
    ASSERT_NE(dlg->Osd(), nullptr);
    EXPECT_EQ(dlg->Osd()->valueText(), GetProfileName(g_profiles[1]));
    EXPECT_FALSE(host.IsTimerRunning(Main(), main_ids::kTimerGameDeferred));

    runOnly({{"/usr/bin/bash", "bash"}});  // the game ends: back to the profile the user had
    EXPECT_TRUE(WaitFor([&] { return ReadProfileSlots().current == 0; }));
}

}  // namespace
