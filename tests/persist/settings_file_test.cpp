#include "persist/settings_file.h"

#include "persist/data_folders.h"
#include "persist/profile_file.h"
#include "base/text_codec.h"
#include "base/ui_text.h"
#include "platform/fs/file_system.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"
#include "support/utf16_bytes.h"

#include <algorithm>
#include <filesystem>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = tmp_.Path();
        fs::create_directories(dir / "config");
        data = dir.string() + "/";
        SetDataFolders(dir.string(), dir.string());
        for (auto& e : g_settings) e = SettingPair{};
        ClearUiTexts();
        g_uiTexts[85] = u"Alpha";
        g_sensorId = 0x3325;
        g_workingProfile = 0;
        for (int i = 0; i < kProfileCount; ++i) ResetProfileToDefaults(g_profiles[size_t(i)], i);
    }
    void TearDown() override
    {
        ClearUiTexts();
        g_sensorId = kDefaultSensorId;
        g_workingProfile = 0;
    }

    std::u16string DefaultText(const std::u16string& sensor = u"0x3325", const std::u16string& prest = u"0xCCDA",
                               const std::u16string& current = u"0") const
    {
        std::u16string t = u"[Setting]\nSensor=" + sensor + u"\nPreST=" + prest +
                           u"\nMac_ID=0xFFFFFFFF\nDataChange=0x1234\nCurrentProfile=" + current +
                           u"\nProfileShowCount=3\n";
        for (int i = 0; i < 5; ++i) t += u"ProfileShowList" + DecimalText(i) + u"=" + DecimalText(i) + u"\n";
        for (int i = 0; i < 5; ++i)
            t += u"ProfileSlot" + DecimalText(i) + u"URL=" + Utf8ToU16(data) + u"config/default" + DecimalText(i) +
                 u".psf\n";
        return t;
    }
    std::string ConfigPath() const { return data + "config/config.ini"; }
    std::string SlotPath(int i) const { return data + "config/default" + std::to_string(i) + ".psf"; }
    std::string Bytes(const std::string& path) const { return platform::ReadWholeFile(path).value_or("<none>"); }
    void WriteConfig(const std::u16string& text) const { ASSERT_TRUE(platform::WriteFileAtomic(ConfigPath(), Le(text))); }

    // Five sound slot files, each with its own name and a custom level step.
    void WriteGoodProfiles()
    {
        for (int i = 0; i < kProfileCount; ++i) {
            ProfileRecord r = g_profiles[size_t(i)];
            r.settings[0].value = u"Mine " + DecimalText(i);
            r.XYSettingValue[0] = uint16_t(40 + i);
            ASSERT_TRUE(WriteProfileRecord(r, SlotPath(i)));
        }
    }
    void ExpectGoodProfilesKept()
    {
        for (int i = 0; i < kProfileCount; ++i) {
            EXPECT_EQ(GetProfileName(g_profiles[size_t(i)]), u"Mine " + DecimalText(i));
            EXPECT_EQ(g_profiles[size_t(i)].XYSettingValue[0], 40 + i);
        }
    }

    TempFolder tmp_{"tevlan-sf-"};
    fs::path dir;
    std::string data;
};

TEST_F(SettingsFileTest, DefaultsAreWrittenByteForByte)
{
    SetSettingsDefaults(data);
    ASSERT_TRUE(WriteSettingsFile());
    EXPECT_EQ(Bytes(ConfigPath()), Le(DefaultText()));
    EXPECT_EQ(GetSetting(16, 0), u"");
    EXPECT_EQ(GetSetting(2, 0), u"Mac_ID");
}

TEST_F(SettingsFileTest, MissingFileFallsBackAndEveryProfileIsCreated)
{
    EXPECT_FALSE(LoadSettingsAndProfiles());
    EXPECT_EQ(Bytes(ConfigPath()), Le(DefaultText()));
    for (int i = 0; i < kProfileCount; ++i) {
        ProfileRecord defaults;
        ResetProfileToDefaults(defaults, i);
        EXPECT_EQ(Bytes(SlotPath(i)), Le(FormatProfileFile(defaults))) << i;
    }
    EXPECT_EQ(GetProfileName(g_profiles[0]), u"Alpha");
    EXPECT_EQ(g_sensorId, 0x3325);
}

TEST_F(SettingsFileTest, DamagedSettingsDoNotWipeGoodProfiles)
{
    WriteGoodProfiles();
    std::string before3 = Bytes(SlotPath(3));
    ASSERT_TRUE(platform::WriteFileAtomic(SlotPath(2), Le(u"[Setting]\nbroken\n")));
    WriteConfig(u"[Setting]\nSensor=0x3325\nPreST\n");
    for (auto& r : g_profiles) r = ProfileRecord{};

    EXPECT_FALSE(LoadSettingsAndProfiles());
    EXPECT_EQ(Bytes(ConfigPath()), Le(DefaultText()));
    for (int i : {0, 1, 3, 4}) {
        EXPECT_EQ(GetProfileName(g_profiles[size_t(i)]), u"Mine " + DecimalText(i));
        EXPECT_EQ(g_profiles[size_t(i)].XYSettingValue[0], 40 + i);
    }
    EXPECT_EQ(Bytes(SlotPath(3)), before3);
    // Only the unreadable one is reset and rewritten.
    ProfileRecord defaults;
    ResetProfileToDefaults(defaults, 2);
    EXPECT_EQ(g_profiles[2], defaults);
    EXPECT_EQ(Bytes(SlotPath(2)), Le(FormatProfileFile(defaults)));
}

TEST_F(SettingsFileTest, MalformedFilesFallBack)
{
    std::u16string good = DefaultText();
    const std::pair<const char*, std::u16string> cases[] = {
        {"seventeen entries", good + u"Extra=1\n"},
        {"empty value", [&] { auto t = good; t.replace(t.find(u"DataChange=0x1234"), 17, u"DataChange="); return t; }()},
        {"empty key", [&] { auto t = good; t.replace(t.find(u"Mac_ID"), 6, u""); return t; }()},
        {"blank line", u"[Setting]\nSensor=0x3325\n\nMac_ID=1\n"},
        {"CR LF", [&] {
             std::u16string t;
             for (char16_t c : good) t += c == u'\n' ? std::u16string(u"\r\n") : std::u16string(1, c);
             return t;
         }()},
        {"no header", good.substr(10)},
    };
    for (const auto& [what, text] : cases) {
        SCOPED_TRACE(what);
        SetUp();
        WriteGoodProfiles();
        WriteConfig(text);
        EXPECT_FALSE(LoadSettingsAndProfiles());
        EXPECT_EQ(Bytes(ConfigPath()), Le(DefaultText()));
        ExpectGoodProfilesKept();
    }
}

TEST_F(SettingsFileTest, HeaderOnlyFileIsAcceptedWithUsableSlots)
{
    WriteGoodProfiles();
    WriteConfig(u"[Setting]\n");
    EXPECT_TRUE(LoadSettingsAndProfiles());
    EXPECT_EQ(Bytes(ConfigPath()), Le(u"[Setting]\n"));  // nothing to reconcile, nothing written
    ExpectGoodProfilesKept();
    EXPECT_EQ(U16ToUtf8(GetSetting(kSettingProfileSlot0URL + 4, 1)), SlotPath(4));
}

TEST_F(SettingsFileTest, ShortFileKeepsTheRestAtDefaults)
{
    WriteGoodProfiles();
    WriteConfig(u"[Setting]\nSensor=0x3325\nPreST=0xCCDA\nM=x\nD=y\nCurrentProfile=2\n");
    EXPECT_TRUE(LoadSettingsAndProfiles());
    EXPECT_EQ(GetSetting(2, 0), u"M");
    EXPECT_EQ(GetCurrentProfile(), 2);
    EXPECT_EQ(g_workingProfile, 2);
    EXPECT_EQ(GetProfileShowCount(), 3);
    ExpectGoodProfilesKept();
}

TEST_F(SettingsFileTest, ChangedKeysAreKeptAndWrittenBack)
{
    WriteGoodProfiles();
    std::u16string t = DefaultText();
    t.replace(t.find(u"Mac_ID"), 6, u"MacAddress");
    t.replace(t.find(u"CurrentProfile=0"), 16, u"Current=1");
    WriteConfig(t);
    EXPECT_TRUE(LoadSettingsAndProfiles());
    EXPECT_EQ(GetCurrentProfile(), 1);
    ASSERT_TRUE(SaveCurrentProfileSetting());
    EXPECT_EQ(Bytes(ConfigPath()), Le(t));
}

TEST_F(SettingsFileTest, SensorChangeResetsDpiAndRewritesEverything)
{
    WriteGoodProfiles();
    // Sensor edited by hand, PreST left for 0x3325; the user was on profile 3.
    WriteConfig(DefaultText(u"0x3360", u"0xCCDA", u"3"));
    EXPECT_TRUE(LoadSettingsAndProfiles());
    EXPECT_EQ(g_sensorId, 0x3360);
    EXPECT_EQ(GetSetting(kSettingPreST, 1), u"0xCC9F");
    // The stored current profile survives the save that the reconciliation makes.
    EXPECT_EQ(Bytes(ConfigPath()), Le(DefaultText(u"0x3360", u"0xCC9F", u"3")));
    for (int i = 0; i < kProfileCount; ++i) {
        const ProfileRecord& r = g_profiles[size_t(i)];
        EXPECT_EQ(r.XYSettingValue, (std::array<uint16_t, 8>{3, 7, 15, 31, 49, 59, 59, 59}));
        EXPECT_EQ(GetProfileName(r), u"Mine " + DecimalText(i));  // only the DPI part changes
        EXPECT_EQ(Bytes(SlotPath(i)), Le(FormatProfileFile(r)));
    }

    // Next start: PreST matches, nothing is rewritten.
    std::string slot0 = Bytes(SlotPath(0));
    ProfileRecord edited = g_profiles[0];
    edited.XYSettingValue[0] = 77;
    ASSERT_TRUE(WriteProfileRecord(edited, SlotPath(0)));
    EXPECT_TRUE(LoadSettingsAndProfiles());
    EXPECT_EQ(g_profiles[0].XYSettingValue[0], 77);
}

TEST_F(SettingsFileTest, DamagedSensorValuesAreRepairedWithoutTouchingTheProfiles)
{
    // The profiles were prepared for 0x3360; only the settings are damaged.
    const std::u16string good = DefaultText(u"0x3360", u"0xCC9F");
    auto with = [&](const char16_t* from, const char16_t* to) {
        std::u16string t = good;
        t.replace(t.find(from), std::u16string(from).size(), to);
        return t;
    };
    const struct {
        const char* what;
        std::u16string text;
        std::u16string repairedTo;  // the whole settings file afterwards
    } cases[] = {
        {"stray character", with(u"Sensor=0x3360", u"Sensor=0x33Z5"), good},
        {"prefix only", with(u"Sensor=0x3360", u"Sensor=0x"), good},
        {"PreST short a digit", with(u"PreST=0xCC9F", u"PreST=0xCC9"), good},
        {"cut inside PreST", u"[Setting]\nSensor=0x3360\nPreST=0xC", good},
        // Nothing of PreST survived: the default sensor, and still no reset.
        {"cut inside Sensor", u"[Setting]\nSensor=0x33", DefaultText()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        g_sensorId = 0x3360;
        WriteGoodProfiles();
        std::array<std::string, kProfileCount> slots;
        for (int i = 0; i < kProfileCount; ++i) slots[size_t(i)] = Bytes(SlotPath(i));
        WriteConfig(c.text);
        EXPECT_TRUE(LoadSettingsAndProfiles());
        ExpectGoodProfilesKept();
        for (int i = 0; i < kProfileCount; ++i) EXPECT_EQ(Bytes(SlotPath(i)), slots[size_t(i)]) << i;
        EXPECT_EQ(Bytes(ConfigPath()), Le(c.repairedTo));
    }
}

TEST_F(SettingsFileTest, SensorChangeKilledBetweenItsWritesIsCompletedAtTheNextStart)
{
    WriteGoodProfiles();
    WriteConfig(DefaultText(u"0x3360", u"0xCCDA"));
    // The start that makes the change dies as soon as it writes more than
    // 16 KB to one file: at its first profile, after any settings write.
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        const rlimit noCore{0, 0}, small{16384, 16384};
        setrlimit(RLIMIT_CORE, &noCore);
        setrlimit(RLIMIT_FSIZE, &small);
        LoadSettingsAndProfiles();
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << "the change was not cut short";

    EXPECT_TRUE(LoadSettingsAndProfiles());
    EXPECT_EQ(Bytes(ConfigPath()), Le(DefaultText(u"0x3360", u"0xCC9F")));
    for (int i = 0; i < kProfileCount; ++i) {
        EXPECT_EQ(g_profiles[size_t(i)].XYSettingValue, (std::array<uint16_t, 8>{3, 7, 15, 31, 49, 59, 59, 59})) << i;
        EXPECT_EQ(Bytes(SlotPath(i)), Le(FormatProfileFile(g_profiles[size_t(i)]))) << i;
    }
}

TEST_F(SettingsFileTest, ASlotPathNamingNoProfileFileFallsBackToTheDefaultSlot)
{
    const fs::path outside = dir / "outside";
    fs::create_directories(outside);
    ASSERT_TRUE(platform::WriteFileAtomic((outside / "broken.psf").string(), Le(u"[Setting]\nbroken\n")));
    ProfileRecord mine = g_profiles[2];
    mine.settings[0].value = u"Kept elsewhere";
    ASSERT_TRUE(WriteProfileRecord(mine, (outside / "mine.psf").string()));
    const struct {
        const char* what;
        fs::path slot;
        bool used;  // a sound file outside is the user's choice and stays
    } cases[] = {
        {"cut to a folder", outside, false},
        {"cut inside a name", outside / "defa", false},
        {"damaged file", outside / "broken.psf", false},
        {"sound file", outside / "mine.psf", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        WriteGoodProfiles();
        std::u16string text = DefaultText();
        const std::u16string slot2 = Utf8ToU16(SlotPath(2));
        text.replace(text.find(slot2), slot2.size(), Utf8ToU16(c.slot.string()));
        WriteConfig(text);
        const std::string broken = Bytes((outside / "broken.psf").string());

        EXPECT_TRUE(LoadSettingsAndProfiles());
        EXPECT_EQ(GetProfileName(g_profiles[2]), c.used ? u"Kept elsewhere" : u"Mine 2");
        EXPECT_EQ(Bytes(ConfigPath()), Le(c.used ? text : DefaultText()));
        SaveAllProfileFiles();
        std::vector<std::string> there;
        for (const auto& e : fs::directory_iterator(outside)) there.push_back(e.path().filename().string());
        std::sort(there.begin(), there.end());
        EXPECT_EQ(there, (std::vector<std::string>{"broken.psf", "mine.psf"})) << "nothing is created outside";
        EXPECT_EQ(Bytes((outside / "broken.psf").string()), broken);
    }
}

// A copy of a data folder (a backup restored beside the original) still
// names the original's slot files: it reads and saves its own.
TEST_F(SettingsFileTest, ACopiedDataFolderEditsItsOwnProfilesNotTheOriginals)
{
    WriteGoodProfiles();
    WriteConfig(DefaultText());
    const fs::path copy = dir / "copy";
    fs::create_directories(copy);
    fs::copy(dir / "config", copy / "config", fs::copy_options::recursive);
    const std::string original = Bytes(SlotPath(1));
    ProfileRecord theirs = g_profiles[1];
    theirs.settings[0].value = u"Copy's own";
    ASSERT_TRUE(WriteProfileRecord(theirs, (copy / "config/default1.psf").string()));

    SetDataFolders(dir.string(), copy.string());
    EXPECT_TRUE(LoadSettingsAndProfiles());
    EXPECT_EQ(GetProfileName(g_profiles[1]), u"Copy's own");
    EXPECT_EQ(ProfileSlotPath(1), (copy / "config/default1.psf").string());
    g_profiles[1].XYSettingValue[0] = 77;
    EXPECT_TRUE(SaveAllProfileFiles());
    EXPECT_EQ(Bytes(SlotPath(1)), original) << "the original folder is left alone";
    // A slot file the copy holds no file of that name for stays where it is.
    EXPECT_TRUE(OwnSlotFileFor(data + "config/mine.psf").empty());
}

TEST_F(SettingsFileTest, TypedAccessorsStayInRange)
{
    SetSettingsDefaults(data);
    SetCurrentProfile(4);
    EXPECT_EQ(GetSetting(kSettingCurrentProfile, 1), u"4");
    EXPECT_EQ(GetCurrentProfile(), 4);
    for (const char16_t* bad : {u"abc", u"7", u"-1", u""}) {
        g_settings[kSettingCurrentProfile].value = bad;
        EXPECT_EQ(GetCurrentProfile(), 0) << U16ToUtf8(bad);
    }
    SetProfileShowCount(9);
    EXPECT_EQ(GetProfileShowCount(), 5);
    SetProfileShowCount(0);
    EXPECT_EQ(GetProfileShowCount(), 1);
    SetProfileShowList(2, 4);
    EXPECT_EQ(GetProfileShowList(2), 4);
    SetProfileShowList(3, 12);
    EXPECT_EQ(GetProfileShowList(3), 3);
    EXPECT_EQ(GetProfileShowList(7), 0);

    g_workingProfile = 2;
    ASSERT_TRUE(SaveCurrentProfileSetting());
    EXPECT_EQ(GetSetting(kSettingCurrentProfile, 1), u"2");
}

TEST_F(SettingsFileTest, SensorTextIsPaddedAndReadsBack)
{
    EXPECT_EQ(FormatSensorValue(0x3325), u"0x3325");
    EXPECT_EQ(FormatSensorValue(0x3A5), u"0x 3A5");
    EXPECT_EQ(FormatSensorValue(0), u"0x   0");
    EXPECT_EQ(ParseHex16(u"0x 3A5"), 0x3A5);
    EXPECT_EQ(ParseHex16(u"3325"), 0x3325);
    EXPECT_EQ(ParseHex16(u"0xccda"), 0xCCDA);
    EXPECT_EQ(ParseHex16(u"0x123456"), 0x3456);
    EXPECT_EQ(ParseHex16(u"zz"), 0);
    g_sensorId = 0x3104;
    SetSettingsDefaults(data);
    SetSensorSetting();
    EXPECT_EQ(GetSensorSetting(), 0x3104);
    SetPreviousSensorSetting(0x0FFF);
    EXPECT_EQ(GetSetting(kSettingPreST, 1), u"0x FFF");
    EXPECT_EQ(GetPreviousSensorSetting(), 0x0FFF);
}

}  // namespace
