// The parts of the shell services that need no desktop.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

#include "platform/shell/file_filter.h"
#include "platform/shell/mouse_settings.h"
#include "platform/shell/screen_scale.h"
#include "platform/shell/shell_services.h"

namespace {

using namespace platform;

TEST(ScreenScale, TheMainWindowFitsTheWorkAreaAtEveryDesktopScale) {
    // Work areas in device-independent pixels: a 1920 x 1080 screen at the
    // desktop scales 1, 1.25, 1.5 and 2, a 1440p and a 4K screen.
    struct Case {
        int width, height;
        float scale;
    };
    const Case cases[] = {
        {1920, 1080, 1.0f}, {1536, 864, 1.0f},  {1280, 720, 0.972f}, {960, 540, 0.729f},
        {2500, 1400, 1.0f}, {2560, 1440, 1.945f}, {3840, 2160, 2.0f},  {1127, 740, 1.0f},
    };
    for (const Case& c : cases) {
        const float s = UiScaleForWorkArea(c.width, c.height, 1127, 740);
        EXPECT_FLOAT_EQ(s, c.scale) << c.width << "x" << c.height;
        EXPECT_LE(int(1127 * s), c.width) << c.width << "x" << c.height;
        EXPECT_LE(int(740 * s), c.height) << c.width << "x" << c.height;
    }
    EXPECT_EQ(DpiFactorForLogicalDpi(96), 1.0f);
    EXPECT_EQ(DpiFactorForLogicalDpi(144), 1.5f);
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

TEST_F(FakePath, TheRunningDesktopsSettingsComeFirstThenTheTableOrder) {
    std::string path = Dir("a") + ":" + Dir("b") + ":" + Dir("c");
    EXPECT_FALSE(FindMouseSettingsCommand(path, "GNOME").has_value());  // none installed: no command
    Program("b", "xfce4-mouse-settings");
    Program("c", "systemsettings");
    auto cmd = FindMouseSettingsCommand(path, "");
    ASSERT_TRUE(cmd);
    EXPECT_EQ(cmd->program, "systemsettings");  // before xfce4 in the table, although later on PATH
    EXPECT_EQ(cmd->args, std::vector<std::string>{"kcm_mouse"});
    EXPECT_EQ(cmd->path, Dir("c") + "/systemsettings");
    Program("a", "gnome-control-center");
    EXPECT_EQ(FindMouseSettingsCommand(path, "")->args, std::vector<std::string>{"mouse"});
    EXPECT_EQ(FindMouseSettingsCommand(path, "KDE")->program, "systemsettings");
    EXPECT_EQ(FindMouseSettingsCommand(path, "xfce")->program, "xfce4-mouse-settings");
    EXPECT_EQ(FindMouseSettingsCommand(path, "ubuntu:GNOME")->program, "gnome-control-center");
    EXPECT_EQ(FindMouseSettingsCommand(path, "MATE")->program, "gnome-control-center");  // MATE's is missing
}

TEST_F(FakePath, OnlyExecutableFilesInAbsoluteFoldersCount) {
    Program("a", "gnome-control-center", 0644);           // not executable
    mkdir((Dir("a") + "/systemsettings").c_str(), 0755);  // a folder
    Program("b", "xfce4-mouse-settings");
    EXPECT_EQ(FindMouseSettingsCommand(Dir("a") + ":" + Dir("b"), "GNOME")->program, "xfce4-mouse-settings");
    // An empty or relative PATH entry would run whatever lies in the current folder: never.
    Program("c", "lxinput");
    char old[4096];
    ASSERT_NE(getcwd(old, sizeof old), nullptr);
    ASSERT_EQ(chdir(Dir("c").c_str()), 0);
    EXPECT_FALSE(FindMouseSettingsCommand(":.:c", "LXDE").has_value());
    ASSERT_EQ(chdir(old), 0);
    EXPECT_EQ(FindInPath("lxinput", Dir("c") + "/"), Dir("c") + "/lxinput");
    EXPECT_FALSE(FindInPath("../c/lxinput", Dir("a")).has_value());
}

TEST(FileFilter, ReadsTheProgramsFilterTextsAndFinishesTypedNames) {
    EXPECT_EQ(ParseFileFilter(u"Pictures|*.png;*.bmp|All files|*.*||"),
              (std::vector<FileFilterEntry>{{u"Pictures", {u"*.png", u"*.bmp"}}, {u"All files", {u"*.*"}}}));
    EXPECT_EQ(QtNameFilters(u"psf file(*.psf)|*.psf||"), std::vector<std::u16string>{u"psf file(*.psf) (*.psf)"});
    EXPECT_EQ(QtNameFilters(u"Pictures|*.png; *.bmp||"), std::vector<std::u16string>{u"Pictures (*.png *.bmp)"});
    for (const char16_t* broken : {u"", u"psf file", u"|*.psf||", u"psf file||"})
        EXPECT_TRUE(ParseFileFilter(broken).empty());

    EXPECT_EQ(WithDefaultExtension("/home/u/mine", "psf"), "/home/u/mine.psf");
    EXPECT_EQ(WithDefaultExtension("/home/u/mine.txt", "psf"), "/home/u/mine.txt");
    EXPECT_EQ(WithDefaultExtension("/home/u.v/mine", "psf"), "/home/u.v/mine.psf");  // the folder's dot is not the file's
    EXPECT_EQ(WithDefaultExtension("/home/u/.psf", "psf"), "/home/u/.psf");
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
    EXPECT_FALSE(IsWebAddress(u""));
}

}  // namespace
