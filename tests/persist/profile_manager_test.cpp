#include "persist/profile_manager.h"

#include "persist/data_folders.h"
#include "persist/profile_file.h"
#include "persist/settings_file.h"
#include "base/text_codec.h"
#include "base/ui_text.h"
#include "platform/fs/file_system.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"
#include "support/utf16_bytes.h"

#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class ProfileManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = tmp_.Path();
        fs::create_directories(dir / "config");
        SetDataFolders(dir.string(), dir.string());
        ClearUiTexts();
        for (int i = 0; i < kProfileCount; ++i) g_uiTexts[size_t(85 + i)] = u"Profile " + DecimalText(i + 1);
        g_uiTexts[340] = u"“%1” is not a valid profile file.";
        g_sensorId = 0x3325;
        for (auto& r : g_profiles) r = ProfileRecord{};
        LoadSettingsAndProfiles();  // the default state, written to the folder
    }
    void TearDown() override
    {
        ClearUiTexts();
        g_sensorId = kDefaultSensorId;
        g_workingProfile = 0;
    }
    std::string Path(const std::string& name) const { return (dir / name).string(); }
    static std::string Bytes(const std::string& path) { return platform::ReadWholeFile(path).value_or("<none>"); }
    std::string AllFiles() const
    {
        std::string all = Bytes(SettingsFilePath());
        for (int i = 0; i < kProfileCount; ++i) all += Bytes(ProfileSlotPath(i));
        return all;
    }
    // The list as stored, read back the way start-up reads it.
    static std::vector<int> StoredList()
    {
        std::vector<int> list;
        for (int k = 0; k < kProfileCount; ++k) list.push_back(GetProfileShowList(k));
        return list;
    }
    static void Restart()
    {
        for (auto& r : g_profiles) r = ProfileRecord{};
        for (auto& e : g_settings) e = SettingPair{};
        LoadSettingsAndProfiles();
    }
    // Profile 2 with settings a reset would not give it.
    static void Customise(int index)
    {
        g_profiles[size_t(index)].XYSettingValue[0] = 77;
        g_profiles[size_t(index)].PollingRateValue = {2, 0, 0};
        g_profiles[size_t(index)].settings[kSetProfileName].value = u"Custom";
    }

    TempFolder tmp_{"tevlan-pm-"};
    fs::path dir;
};

TEST_F(ProfileManagerTest, DeleteMovesToTheEndAndAddShowsItReset)
{
    Customise(3);
    ASSERT_TRUE(SaveAllProfileFiles());

    ProfileResult del = DeleteProfile(1);
    EXPECT_TRUE(del.Done());
    Restart();
    EXPECT_EQ(GetProfileShowCount(), 2);
    EXPECT_EQ(StoredList(), (std::vector<int>{0, 2, 3, 4, 1}));
    EXPECT_EQ(GetCurrentProfile(), 0);

    int added = -1;
    EXPECT_TRUE(AddProfile(u"Fresh", &added).Done());
    EXPECT_EQ(added, 3);
    Restart();
    EXPECT_EQ(GetProfileShowCount(), 3);
    EXPECT_EQ(StoredList(), (std::vector<int>{0, 2, 3, 4, 1}));
    ProfileRecord expected;
    ResetProfileToDefaults(expected, 3);
    expected.settings[kSetProfileName].value = u"Fresh";
    EXPECT_EQ(g_profiles[3], expected);
}

TEST_F(ProfileManagerTest, AddStopsAtFiveWithNothingChanged)
{
    int added = -1;
    ASSERT_TRUE(AddProfile(u"Four", &added).Done());
    EXPECT_EQ(added, 3);
    ASSERT_TRUE(AddProfile(u"Five", &added).Done());
    EXPECT_EQ(added, 4);
    EXPECT_EQ(GetProfileShowCount(), 5);
    EXPECT_EQ(GetProfileName(g_profiles[4]), u"Five");

    const std::string before = AllFiles();
    EXPECT_EQ(CanAddProfile().text, kTextTooManyProfiles);
    ProfileResult sixth = AddProfile(u"Six");
    EXPECT_EQ(sixth.text, kTextTooManyProfiles);
    EXPECT_FALSE(sixth.changed);
    EXPECT_EQ(AllFiles(), before);
}

TEST_F(ProfileManagerTest, RefusalsChangeNothing)
{
    // Default state: profiles 0, 1, 2 shown, 0 current.
    const struct {
        const char* what;
        std::function<ProfileResult()> op;
        int text;
    } cases[] = {
        {"delete the current profile", [] { return DeleteProfile(0); }, kTextCurrentProfileDelete},
        {"delete a hidden profile", [] { return DeleteProfile(4); }, kTextProfileNotListed},
        {"delete no profile", [] { return DeleteProfile(5); }, kTextProfileNotListed},
        {"add with an empty name", [] { return AddProfile(u""); }, kTextEmptyProfileName},
        {"add with two lines", [] { return AddProfile(u"a\nb"); }, kTextNameOnOneLine},
        {"rename to empty", [] { return RenameProfile(1, u""); }, kTextEmptyProfileName},
        {"rename with a return", [] { return RenameProfile(1, u"a\rb"); }, kTextNameOnOneLine},
        {"select a hidden profile", [] { return SelectProfile(3); }, kTextProfileNotListed},
        {"select no profile", [] { return SelectProfile(-1); }, kTextProfileNotListed},
        {"export no profile", [this] { return ExportProfile(7, Path("x.psf")); }, kTextProfileNotListed},
    };
    for (const auto& c : cases) {
        const std::string files = AllFiles();
        const ProfileTable profiles = g_profiles;
        const auto settings = g_settings;
        ProfileResult r = c.op();
        EXPECT_EQ(r.text, c.text) << c.what;
        EXPECT_FALSE(r.changed) << c.what;
        EXPECT_EQ(AllFiles(), files) << c.what;
        EXPECT_EQ(g_profiles, profiles) << c.what;
        EXPECT_EQ(g_settings, settings) << c.what;
        EXPECT_EQ(g_workingProfile, 0) << c.what;
    }
    EXPECT_FALSE(fs::exists(Path("x.psf")));
}

TEST_F(ProfileManagerTest, SelectingChangesTheTableOnlyAndDeleteKeepsTheSelection)
{
    const std::string files = AllFiles();
    EXPECT_TRUE(SelectProfile(2).Done());
    EXPECT_EQ(g_workingProfile, 2);
    EXPECT_EQ(GetCurrentProfile(), 2);
    EXPECT_EQ(AllFiles(), files);

    // Deleting another profile writes the selection along with the list.
    EXPECT_TRUE(DeleteProfile(1).Done());
    Restart();
    EXPECT_EQ(GetCurrentProfile(), 2);
    EXPECT_EQ(g_workingProfile, 2);
    EXPECT_EQ(StoredList(), (std::vector<int>{0, 2, 3, 4, 1}));
}

TEST_F(ProfileManagerTest, NameWithEqualsSignsSurvivesARestart)
{
    EXPECT_TRUE(RenameProfile(2, u"a=b= c=").Done());
    Restart();
    EXPECT_EQ(GetProfileName(g_profiles[2]), u"a=b= c=");
}

TEST_F(ProfileManagerTest, ExportWritesTheFormatAndReplacesAFile)
{
    Customise(1);
    const std::string target = Path("out.psf");
    ASSERT_TRUE(platform::WriteFileAtomic(target, std::string(40000, 'x')));  // longer than a profile file
    EXPECT_TRUE(ExportProfile(1, target).Done());
    const std::string bytes = Bytes(target);
    EXPECT_EQ(bytes, Le(FormatProfileFile(g_profiles[1])));
    // What was exported reads back as the same profile.
    ProfileRecord back;
    ASSERT_TRUE(ReadProfileRecord(back, target));
    EXPECT_EQ(back, g_profiles[1]);
}

TEST_F(ProfileManagerTest, ExportThatCannotBeWrittenSaysSoAndKeepsTheOldFile)
{
    fs::permissions(dir, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                             fs::perms::others_read | fs::perms::others_exec);
    const fs::path ro = dir / "ro";
    fs::create_directories(ro);
    const std::string kept = (ro / "kept.psf").string();
    ASSERT_TRUE(platform::WriteFileAtomic(kept, "old bytes"));
    fs::permissions(ro, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                            fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);

    // Root writes into a read-only folder regardless; act as an ordinary user then.
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::seteuid(65534), 0);
    }
    const ProfileResult intoReadOnly = ExportProfile(0, (ro / "new.psf").string());
    const ProfileResult overKept = ExportProfile(0, kept);
    if (root) {
        ASSERT_EQ(::seteuid(0), 0);
    }
    const ProfileResult noFolder = ExportProfile(0, Path("missing/new.psf"));

    for (const ProfileResult& r : {intoReadOnly, overKept, noFolder}) {
        EXPECT_EQ(r.text, kTextExportFailed);
        EXPECT_FALSE(r.changed);
    }
    EXPECT_EQ(noFolder.path, Path("missing/new.psf"));
    EXPECT_FALSE(fs::exists(ro / "new.psf"));
    EXPECT_EQ(Bytes(kept), "old bytes");
    fs::permissions(ro, fs::perms::owner_all);
}

TEST_F(ProfileManagerTest, BadImportLeavesProfileAndSlotFileAlone)
{
    Customise(2);
    ASSERT_TRUE(SaveAllProfileFiles());
    const ProfileRecord before = g_profiles[2];
    const std::string slotBefore = Bytes(ProfileSlotPath(2));

    std::u16string cut = FormatProfileFile(g_profiles[0]);
    cut.resize(cut.size() / 2);
    const std::pair<const char*, std::string> files[] = {
        {"missing", ""},
        {"half a profile", Le(cut)},
        {"not a text file", std::string("\x89PNG\r\n\x1a\n", 8)},
        {"no byte-order mark", Le(FormatProfileFile(g_profiles[0])).substr(2)},
    };
    for (const auto& [what, bytes] : files) {
        const std::string path = Path(std::string(what) + ".psf");
        if (!bytes.empty()) {
            ASSERT_TRUE(platform::WriteFileAtomic(path, bytes));
        }
        ProfileResult r = ImportProfile(2, path);
        EXPECT_EQ(r.text, kTextNotAProfileFile) << what;
        EXPECT_FALSE(r.changed) << what;
        EXPECT_EQ(r.Message(), u"“" + Utf8ToU16(path) + u"” is not a valid profile file.") << what;
        EXPECT_EQ(g_profiles[2], before) << what;
        EXPECT_EQ(Bytes(ProfileSlotPath(2)), slotBefore) << what;
    }
}

TEST_F(ProfileManagerTest, ImportReplacesTheTargetAndItsSlotFile)
{
    Customise(4);
    const std::string path = Path("in.psf");
    ASSERT_TRUE(WriteProfileFile(4, path));
    EXPECT_TRUE(ImportProfile(1, path).Done());
    EXPECT_EQ(GetProfileName(g_profiles[1]), u"Custom");
    EXPECT_EQ(Bytes(ProfileSlotPath(1)), Bytes(path));
    EXPECT_EQ(GetProfileName(g_profiles[0]), u"Profile 1");
}

TEST(ProfileSlotsTest, StoredListsBecomeAPermutation)
{
    const struct {
        std::vector<const char16_t*> stored;
        std::array<int, kProfileCount> list;
    } cases[] = {
        {{u"0", u"2", u"3", u"4", u"1"}, {0, 2, 3, 4, 1}},
        {{u"2", u"2", u"9", u"0", u"0"}, {2, 0, 1, 3, 4}},  // 9 is not an index: the position stands for it
        {{u"4", u"4", u"4", u"4", u"4"}, {4, 0, 1, 2, 3}},
        {{u"x", u"-1", u"", u"3", u"3"}, {0, 1, 3, 2, 4}},  // text reads as 0, -1 as its position,
    };
    SetSettingsDefaults("/tmp/");
    for (const auto& c : cases) {
        for (int k = 0; k < kProfileCount; ++k) SetProfileShowList(k, 0);
        for (int k = 0; k < kProfileCount; ++k) g_settings[size_t(kSettingProfileShowList0 + k)].value = c.stored[size_t(k)];
        EXPECT_EQ(ReadProfileSlots().list, c.list) << U16ToUtf8(c.stored[0]) << U16ToUtf8(c.stored[1]);
    }
}

TEST(ProfileSlotsTest, HideKeepsTheLastShownProfile)
{
    ProfileSlots s;
    s.count = 2;
    EXPECT_TRUE(HideProfile(s, 1));
    EXPECT_EQ(s.count, 1);
    EXPECT_EQ(s.list, (std::array<int, kProfileCount>{0, 2, 3, 4, 1}));
    EXPECT_FALSE(HideProfile(s, 0));
    EXPECT_FALSE(HideProfile(s, 3));
    EXPECT_EQ(s.count, 1);
}

}  // namespace
