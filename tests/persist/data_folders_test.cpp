#include "persist/data_folders.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class DataFoldersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = tmp_.Path();
        fs::create_directories(dir);
        root = dir.string();
    }
    void TearDown() override
    {
        SetDataFolders("", "");
    }
    TempFolder tmp_{"tevlan-df-"};
    fs::path dir;
    std::string root;
};

TEST_F(DataFoldersTest, DataFolderFromXdgOrHome)
{
    EXPECT_EQ(UserDataFolderFor({"", "/x/conf", "/home/u"}), "/x/conf/TevlanData20230427A/");
    EXPECT_EQ(UserDataFolderFor({"", "/x/conf/", "/home/u"}), "/x/conf/TevlanData20230427A/");
    // A relative XDG_CONFIG_HOME does not count.
    EXPECT_EQ(UserDataFolderFor({"", "conf", "/home/u"}), "/home/u/.config/TevlanData20230427A/");
    EXPECT_EQ(UserDataFolderFor({"", "", "/home/u/"}), "/home/u/.config/TevlanData20230427A/");
    EXPECT_EQ(UserDataFolderFor({"", "", ""}), "");
}

TEST_F(DataFoldersTest, InitCreatesTheDataFolderWithConfig)
{
    // ~/.config itself may be missing on a fresh account.
    InitDataFolders({"", "", root + "/home"});
    EXPECT_EQ(g_userDataFolder, root + "/home/.config/TevlanData20230427A/");
    EXPECT_TRUE(fs::is_directory(g_userDataFolder + "config"));
    EXPECT_EQ(UserDataPath("config/config.ini"), root + "/home/.config/TevlanData20230427A/config/config.ini");

    // Existing folders and their files are left alone.
    std::string file = g_userDataFolder + "config/keep";
    { std::FILE* f = std::fopen(file.c_str(), "w"); ASSERT_NE(f, nullptr); std::fclose(f); }
    InitDataFolders({"", root + "/home/.config", ""});
    EXPECT_TRUE(fs::exists(file));
}

TEST_F(DataFoldersTest, InitIgnoresAFolderThatCannotBeMade)
{
    { std::FILE* f = std::fopen((root + "/blocker").c_str(), "w"); ASSERT_NE(f, nullptr); std::fclose(f); }
    InitDataFolders({"", root + "/blocker", ""});  // a file where the folder should be
    EXPECT_EQ(g_userDataFolder, root + "/blocker/TevlanData20230427A/");
    EXPECT_FALSE(fs::exists(g_userDataFolder));
}

TEST_F(DataFoldersTest, ProgramFolder)
{
    fs::create_directories(dir / "build" / "skins");
    EXPECT_EQ(ProgramFolderFor(root + "/build/tevlan"), root + "/build/");
    // Installed: <prefix>/bin/tevlan with its data in <prefix>/share/tevlan/.
    fs::create_directories(dir / "usr" / "bin");
    fs::create_directories(dir / "usr" / "share" / "tevlan");
    EXPECT_EQ(ProgramFolderFor(root + "/usr/bin/tevlan"), root + "/usr/share/tevlan/");
    // Neither: the executable's own folder.
    EXPECT_EQ(ProgramFolderFor(root + "/elsewhere/tevlan"), root + "/elsewhere/");
    EXPECT_EQ(ProgramFolderFor("tevlan"), "");
    EXPECT_EQ(ProgramFolderFor(""), "");

    std::string exe = SystemFolderEnvironment().executablePath;
    EXPECT_EQ(fs::path(exe).filename(), "test_persist");
}

TEST_F(DataFoldersTest, SetDataFoldersAddsTheSlash)
{
    SetDataFolders("/p", "/d/");
    EXPECT_EQ(g_programFolder, "/p/");
    EXPECT_EQ(ProgramPath("skins/a.png"), "/p/skins/a.png");
    EXPECT_EQ(UserDataPath("config/x"), "/d/config/x");
}

}  // namespace
