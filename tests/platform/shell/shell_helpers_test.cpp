// The parts of the shell services that need no desktop.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/headless/headless_host.h"
#include "platform/shell/file_filter.h"
#include "platform/shell/mouse_settings.h"
#include "platform/shell/screen_scale.h"
#include "platform/shell/scripted_shell.h"

namespace {

using namespace platform;

TEST(ScreenScale, DoublesOnlyAboveTwentyFiveHundredPixels) {
    EXPECT_EQ(UiScaleForScreenWidth(1920), 1.0f);
    EXPECT_EQ(UiScaleForScreenWidth(2500), 1.0f);
    EXPECT_EQ(UiScaleForScreenWidth(2501), 2.0f);
    EXPECT_EQ(UiScaleForScreenWidth(3840), 2.0f);
    EXPECT_EQ(UiScaleForScreenWidth(0), 1.0f);
    EXPECT_EQ(DpiFactorForLogicalDpi(96), 1.0f);
    EXPECT_EQ(DpiFactorForLogicalDpi(144), 1.5f);
    EXPECT_EQ(DpiFactorForLogicalDpi(120), 1.25f);
    // A screen that reports nothing must not make font sizes infinite.
    EXPECT_EQ(DpiFactorForLogicalDpi(0), 1.0f);
    EXPECT_EQ(DpiFactorForLogicalDpi(-5), 1.0f);
}

// A few folders to play PATH with.
class FakePath : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/tvl-path-XXXXXX";
        root = mkdtemp(tmpl);
        for (const char* d : {"a", "b", "c"}) mkdir((root + "/" + d).c_str(), 0755);
    }
    void TearDown() override { std::system(("rm -rf '" + root + "'").c_str()); }
    std::string Dir(const char* d) const { return root + "/" + d; }
    void Program(const char* dir, const char* name, mode_t mode = 0755) const {
        std::string p = Dir(dir) + "/" + name;
        std::ofstream(p) << "#!/bin/sh\n";
        chmod(p.c_str(), mode);
    }
    std::string root;
};

TEST_F(FakePath, NothingInstalledIsNoCommand) {
    std::string path = Dir("a") + ":" + Dir("b");
    EXPECT_FALSE(FindMouseSettingsCommand(path, "GNOME").has_value());
    EXPECT_FALSE(FindMouseSettingsCommand("", "").has_value());
}

TEST_F(FakePath, KnownProgramsAreTriedInOrderWhenTheDesktopIsUnknown) {
    Program("b", "xfce4-mouse-settings");
    Program("c", "systemsettings");
    std::string path = Dir("a") + ":" + Dir("b") + ":" + Dir("c");
    auto cmd = FindMouseSettingsCommand(path, "");
    ASSERT_TRUE(cmd);
    EXPECT_EQ(cmd->program, "systemsettings");  // before xfce4 in the table, although later on PATH
    EXPECT_EQ(cmd->args, std::vector<std::string>{"kcm_mouse"});
    EXPECT_EQ(cmd->path, Dir("c") + "/systemsettings");

    Program("a", "gnome-control-center");
    cmd = FindMouseSettingsCommand(path, "SomethingElse");
    ASSERT_TRUE(cmd);
    EXPECT_EQ(cmd->program, "gnome-control-center");
    EXPECT_EQ(cmd->args, std::vector<std::string>{"mouse"});
}

TEST_F(FakePath, TheRunningDesktopsOwnSettingsComeFirst) {
    Program("a", "gnome-control-center");
    Program("a", "systemsettings");
    Program("b", "xfce4-mouse-settings");
    std::string path = Dir("a") + ":" + Dir("b");
    EXPECT_EQ(FindMouseSettingsCommand(path, "KDE")->program, "systemsettings");
    EXPECT_EQ(FindMouseSettingsCommand(path, "xfce")->program, "xfce4-mouse-settings");
    EXPECT_EQ(FindMouseSettingsCommand(path, "ubuntu:GNOME")->program, "gnome-control-center");
    // The running desktop's program is missing: fall back to the table order.
    EXPECT_EQ(FindMouseSettingsCommand(path, "MATE")->program, "gnome-control-center");
}

TEST_F(FakePath, OnlyExecutableFilesInAbsoluteFoldersCount) {
    Program("a", "gnome-control-center", 0644);                 // not executable
    mkdir((Dir("a") + "/systemsettings").c_str(), 0755);        // a folder
    Program("b", "xfce4-mouse-settings");
    std::string path = Dir("a") + ":" + Dir("b");
    EXPECT_EQ(FindMouseSettingsCommand(path, "GNOME")->program, "xfce4-mouse-settings");

    // An empty or relative PATH entry would run whatever lies in the current
    // folder: never.
    Program("c", "lxinput");
    char old[4096];
    ASSERT_NE(getcwd(old, sizeof old), nullptr);
    ASSERT_EQ(chdir(Dir("c").c_str()), 0);
    EXPECT_FALSE(FindMouseSettingsCommand(":.:c", "LXDE").has_value());
    EXPECT_FALSE(FindInPath("lxinput", "::").has_value());
    ASSERT_EQ(chdir(old), 0);
    EXPECT_EQ(FindInPath("lxinput", Dir("c") + "/"), Dir("c") + "/lxinput");
    EXPECT_FALSE(FindInPath("../c/lxinput", Dir("a")).has_value());
}

TEST(FileFilter, ReadsTheProgramsFilterTexts) {
    EXPECT_EQ(ParseFileFilter(u"psf file(*.psf)|*.psf||"),
              (std::vector<FileFilterEntry>{{u"psf file(*.psf)", {u"*.psf"}}}));
    EXPECT_EQ(ParseFileFilter(u"Pictures|*.png;*.bmp|All files|*.*||"),
              (std::vector<FileFilterEntry>{{u"Pictures", {u"*.png", u"*.bmp"}}, {u"All files", {u"*.*"}}}));
    EXPECT_EQ(QtNameFilters(u"mlf file(*.mlf)|*.mlf||"), std::vector<std::u16string>{u"mlf file(*.mlf) (*.mlf)"});
    EXPECT_EQ(QtNameFilters(u"Pictures|*.png; *.bmp||"), std::vector<std::u16string>{u"Pictures (*.png *.bmp)"});
    // Broken filters give no entries rather than junk ones.
    EXPECT_TRUE(ParseFileFilter(u"").empty());
    EXPECT_TRUE(ParseFileFilter(u"psf file").empty());
    EXPECT_TRUE(ParseFileFilter(u"|*.psf||").empty());
    EXPECT_TRUE(ParseFileFilter(u"psf file||").empty());
}

TEST(FileFilter, TheDefaultExtensionFinishesANameTypedWithoutOne) {
    EXPECT_EQ(WithDefaultExtension("/home/u/mine", "psf"), "/home/u/mine.psf");
    EXPECT_EQ(WithDefaultExtension("/home/u/mine.psf", "psf"), "/home/u/mine.psf");
    EXPECT_EQ(WithDefaultExtension("/home/u/mine.txt", "psf"), "/home/u/mine.txt");
    EXPECT_EQ(WithDefaultExtension("/home/u.v/mine", "psf"), "/home/u.v/mine.psf");  // the folder's dot is not the file's
    EXPECT_EQ(WithDefaultExtension("/home/u/.psf", "psf"), "/home/u/.psf");
    EXPECT_EQ(WithDefaultExtension("mine", "mlf"), "mine.mlf");
    EXPECT_EQ(WithDefaultExtension("/home/u/mine", ""), "/home/u/mine");
    EXPECT_EQ(WithDefaultExtension("/home/u/", "psf"), "/home/u/");
}

TEST(WebAddress, OnlyWebAndMailAddressesGoToTheOpener) {
    EXPECT_TRUE(IsWebAddress(u"https://example.com/support"));
    EXPECT_TRUE(IsWebAddress(u"HTTP://example.com"));
    EXPECT_TRUE(IsWebAddress(u"mailto:help@example.com"));
    EXPECT_FALSE(IsWebAddress(u"file:///etc/passwd"));
    EXPECT_FALSE(IsWebAddress(u"javascript:alert(1)"));
    EXPECT_FALSE(IsWebAddress(u"https://"));
    EXPECT_FALSE(IsWebAddress(u"/usr/bin/xterm"));
    EXPECT_FALSE(IsWebAddress(u""));
}

// A window that keeps what it receives.
struct Recorder : IWindowClient {
    struct M {
        UINT msg;
        WPARAM w;
        LPARAM l;
    };
    std::vector<M> got;
    LRESULT OnMessage(WindowId, UINT m, WPARAM w, LPARAM l) override {
        if (m >= WM_USER || m == WM_COMMAND) got.push_back({m, w, l});
        return 0;
    }
    void OnPaint(WindowId, ICanvas&, const Rect&) override {}
};

TEST(TrayIcon, ClicksArriveAsTheMainWindowsMessages) {
    HeadlessHost host;
    Recorder rec;
    WindowParams wp;
    wp.bounds = Rect{0, 0, 100, 100};
    WindowId w = host.CreateWindow(&rec, wp);
    ScriptedShell shell;

    TrayIconParams params;
    params.toolTip = u"Tevlan";
    params.menu = {{2075, u"Show"}, {0, u""}, {2076, u"Exit"}};
    PostTrayEventsTo(params, host, w, 1056, 128);
    {
        std::unique_ptr<ITrayIcon> tray = shell.CreateTrayIcon(params);
        ASSERT_EQ(shell.trays.size(), 1u);
        shell.trays[0]->DoubleClick();
        shell.trays[0]->Choose(2076);
        host.ProcessPending();
    }
    EXPECT_TRUE(shell.trays.empty());
    ASSERT_EQ(rec.got.size(), 2u);
    EXPECT_EQ(rec.got[0].msg, 1056u);
    EXPECT_EQ(rec.got[0].w, 128u);
    EXPECT_EQ(rec.got[0].l, LPARAM(WM_LBUTTONDBLCLK));
    EXPECT_EQ(rec.got[1].msg, WM_COMMAND);
    EXPECT_EQ(rec.got[1].w, 2076u);
    host.DestroyWindow(w);
}

TEST(ScriptedShellDialogs, AnswerInTurnAndCancelWhenTheScriptRunsOut) {
    ScriptedShell shell;
    shell.saveAnswers = {std::string("/tmp/out"), std::nullopt};
    FileDialogParams p;
    p.defaultExt = u"psf";
    EXPECT_EQ(shell.GetSaveFileName(p), std::optional<std::string>("/tmp/out.psf"));
    EXPECT_EQ(shell.GetSaveFileName(p), std::nullopt);
    EXPECT_EQ(shell.GetSaveFileName(p), std::nullopt);
    EXPECT_EQ(shell.saveDialogs.size(), 3u);
    EXPECT_FALSE(shell.OpenWebAddress(u"file:///etc"));
    EXPECT_TRUE(shell.webAddresses.empty());
}

}  // namespace
