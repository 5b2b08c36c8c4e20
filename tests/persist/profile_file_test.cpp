#include "persist/profile_file.h"

#include "persist/data_folders.h"
#include "persist/settings_file.h"
#include "base/text_codec.h"
#include "base/ui_text.h"
#include "platform/fs/file_system.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"
#include "support/utf16_bytes.h"

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::u16string FromLe(const std::string& bytes)
{
    std::u16string out;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
        out.push_back(char16_t(uint8_t(bytes[i]) | (uint8_t(bytes[i + 1]) << 8)));
    return out;
}

std::vector<std::u16string> Lines(const std::u16string& text)
{
    std::vector<std::u16string> lines;
    size_t start = 0;
    for (size_t nl; (nl = text.find(u'\n', start)) != std::u16string::npos; start = nl + 1)
        lines.push_back(text.substr(start, nl - start));
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

std::u16string Join(const std::vector<std::u16string>& lines)
{
    std::u16string t;
    for (const auto& l : lines) t += l + u"\n";
    return t;
}

// A group of ten "%.2X" values or "RRGGBB" colours, the given ones first.
std::u16string Group(std::vector<const char*> given, const char* zero)
{
    std::u16string g;
    for (int i = 0; i < 10; ++i) {
        g += Ascii(i < int(given.size()) ? given[size_t(i)] : zero);
        g += i < 9 ? u"|" : u";";
    }
    return g;
}

class ProfileFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = tmp_.Path();
        fs::create_directories(dir / "config");
        SetDataFolders(dir.string(), dir.string());
        SetSettingsDefaults(g_userDataFolder);
        ClearUiTexts();
        g_uiTexts[85] = u"配置 1";
        g_uiTexts[86] = u"Profile 2";
        g_uiTexts[20] = u"Left";
        g_uiTexts[100] = u"Breathing";
        g_sensorId = 0x3325;
        for (int i = 0; i < kProfileCount; ++i) ResetProfileToDefaults(g_profiles[size_t(i)], i);
    }
    void TearDown() override
    {
        ClearUiTexts();
        g_sensorId = kDefaultSensorId;
    }
    std::string Path(const std::string& name) const { return (dir / name).string(); }
    std::string Slot(int i) const { return ProfileSlotPath(i); }
    std::string Bytes(const std::string& path) const { return platform::ReadWholeFile(path).value_or("<none>"); }

    // A record with a distinct value in every field the file carries.
    static ProfileRecord Busy()
    {
        ProfileRecord r;
        for (int i = 0; i < kProfileSettingCount; ++i) {
            r.settings[size_t(i)].key = u"K" + DecimalText(i);
            r.settings[size_t(i)].value = u"v=" + DecimalText(i * 7);  // '=' inside a value
        }
        r.settings[3].value = u"";
        for (int b = 0; b < kButtonCount; ++b) {
            ButtonSlot& s = r.buttons[size_t(b)];
            s.label = b == 2 ? u"" : u"标签" + DecimalText(b);
            s.code = {uint8_t(0x90 + b), uint8_t(b), uint8_t(0xF0 | b)};
            s.macro.name = b == 4 ? u"" : u"宏" + DecimalText(b);
            s.macro.actionNum = uint32_t(b * 40);
            for (int k = 0; k < kMacroActionSlots; ++k)
                s.macro.actions[size_t(k)] = {uint8_t(k), uint8_t(b), uint8_t(k >> 8), uint8_t(0xFF - k)};
        }
        r.buttons[7].macro.actionNum = 336;
        r.PollingRateName = u"";
        r.PollingRateValue = {2, 0xAB, 0xCD};
        LightingSettings& l = r.lighting;
        l.Lighting1OffOn = 0;
        l.Lighting1Name = u"";
        l.Lighting1ModeValue = {9, 8, 7};
        for (size_t m = 0; m < 10; ++m) {
            l.Lighting1Speed[m] = uint8_t(m + 1);
            l.Lighting1Brightness[m] = uint8_t(0xF0 + m);
            l.Lighting1Direction[m] = uint8_t(m & 1);
            for (size_t j = 0; j < 10; ++j) {
                l.Lighting1ColorSelected[m][j] = uint8_t((m + j) & 1);
                l.Lighting1FixedColor[m][j] = Rgb(uint8_t(m * 16 + j), uint8_t(j), uint8_t(0xFF - m));
            }
        }
        l.Lighting2OffOn = 1;
        l.Lighting2Name = u"二";
        l.Lighting2ModeValue = {4, 5, 6};
        l.Lighting2Speed = 0x22;
        l.Lighting2Brightness = 0x64;
        l.Lighting2FixedColor = 0x123456;
        r.DPIOffOnFlagValue = 0xA5;
        r.XYSettingValue = {0, 1, 0x7F, 0x80, 0xFF, 0x100, 0x1234, 0xFFFF};
        r.CurrentDPILevelValue = 3;
        r.DPILevelIndication = {1, 0x100, 0x10000, 0xFFFFFF, 0x123456, 0xABCDEF, 0, 0x00FF00};
        r.AngleSnapValue = 1;
        r.LiftDetectionValue = 0x7E;
        return r;
    }

    // Writes a default profile file, lets edit change its lines, and returns the path.
    std::string EditedFile(const std::function<void(std::vector<std::u16string>&)>& edit)
    {
        auto lines = Lines(FormatProfileFile(g_profiles[1]));
        edit(lines);
        std::string path = Path("edited.psf");
        EXPECT_TRUE(platform::WriteFileAtomic(path, Le(Join(lines))));
        return path;
    }

    TempFolder tmp_{"tevlan-pf-"};
    fs::path dir;
};

TEST_F(ProfileFileTest, DefaultProfileIsWrittenByteForByte)
{
    std::string path = Path("golden.psf");
    ASSERT_TRUE(WriteProfileFile(0, path));
    std::string bytes = Bytes(path);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(bytes.find('\r'), std::string::npos);

    const std::u16string zeros(2688, u'0');
    std::vector<std::u16string> expected = {
        u"[Setting]", u"ProfileName=配置 1", u"GameFile0=", u"GameFile1=", u"GameFile2=", u"DoubleClickSpeed=6",
        u"PointerSpeed=5", u"AccelerationEnable=1", u"ScrollWheelSpeed=2", u"ScrollWheelPageEnable=0",
        u"TiltSpeed=2", u"Sensitivity_X=4", u"Sensitivity_Y=4", u"XYSynchronous=1", u"X_DPI=1", u"Y_DPI=1",
        u"MoveLightingOnOffMode=0", u"PowerDownTime=6", u"LiftDetectionHeight=2", u"KeyDebounce=12",
        u"MotionWakeup=1", u"DPIOffOnFlagValue=3F", u"\tXYSetting1Value=0006", u"\tXYSetting2Value=000E",
        u"\tXYSetting3Value=0016", u"\tXYSetting4Value=001E", u"\tXYSetting5Value=0033",
        u"\tXYSetting6Value=003A", u"\tXYSetting7Value=003A", u"\tXYSetting8Value=0032",
        u"\tCurrentDPILevelValue=01", u"\tDPILevelIndication0Valuer=FF0000",
        u"\tDPILevelIndication1Valuer=0000FF", u"\tDPILevelIndication2Valuer=00FF00",
        u"\tDPILevelIndication3Valuer=FFFF00", u"\tDPILevelIndication4Valuer=00FFFF",
        u"\tDPILevelIndication5Valuer=FF00FF", u"\tDPILevelIndication6Valuer=FFFFFF",
        u"\tDPILevelIndication7Valuer=FFFFFF", u"\tAngleSnapValue=00", u"\tLiftDetectionValue=02",
        u"PollingRateName=1000HZ", u"\tPollingRateValue=030000", u"Lighting1Name=Breathing",
        u"\tLighting1ModeValue=010000", u"\tLighting1OffOn=01",
        u"\tLighting1Speed=01|01|01|01|01|01|01|01|01|01",
        u"\tLighting1Brightness=01|01|01|03|01|01|01|01|01|01",
        u"\tLighting1ColorSelected=" + Group({}, "00") + Group({}, "00") +
            Group({"01", "01", "01", "01", "01", "01", "01"}, "00") + Group({"01"}, "00") + Group({}, "00") +
            Group({}, "00") + Group({"01", "01", "01", "01", "01", "01", "01", "01"}, "00") +
            Group({"01", "01"}, "00") + Group({}, "00") + Group({}, "00"),
        u"\tLighting1FixedColor=" + Group({}, "000000") + Group({}, "000000") +
            Group({"FF0000", "00FF00", "0000FF", "00FFFF", "FFFF00", "FF00FF", "FFFFFF"}, "000000") +
            Group({"FF00FF"}, "000000") + Group({}, "000000") + Group({}, "000000") +
            Group({"FF0000", "00FF00", "0000FF", "FFFF00", "00FFFF", "FA00FA", "FFFFFF", "FA46FF"}, "000000") +
            Group({"00FF00", "FA006A"}, "000000") + Group({}, "000000") + Group({}, "000000"),
        u"\tLighting1Direction=00|01|00|00|00|00|00|00|00|00", u"Lighting2Name=Breathing",
        u"\tLighting2ModeValue=010000", u"\tLighting2OffOn=00", u"\tLighting2Speed=00",
        u"\tLighting2Brightness=00", u"\tLighting2FixedColor=000000"};
    const char16_t* labels[] = {u"Left", u"", u"", u"", u"", u"", u"", u""};
    const char16_t* codes[] = {u"100100", u"100200", u"100400", u"101000",
                               u"100800", u"400200", u"400300", u"303203"};
    for (int b = 0; b < 8; ++b) {
        std::u16string n = DecimalText(b);
        expected.push_back(u"Key" + n + u"Name=" + labels[b]);
        expected.push_back(u"\tKey" + n + u"Value=" + codes[b]);
        expected.push_back(u"\tMacroKey" + n + u"Name=");
        expected.push_back(u"\t\tMacroActionNum=0");
        expected.push_back(u"\t\tAllAction=" + zeros);
    }
    ASSERT_EQ(expected.size(), 97u);

    std::u16string text = FromLe(bytes);
    ASSERT_EQ(text.back(), u'\n');
    auto lines = Lines(text);
    ASSERT_EQ(lines.size(), 97u);
    for (size_t i = 0; i < 97; ++i) EXPECT_EQ(U16ToUtf8(lines[i]), U16ToUtf8(expected[i])) << "line " << i + 1;
    EXPECT_EQ(lines[46].size() - lines[46].find(u'=') - 1, 29u);
    EXPECT_EQ(lines[48].size() - lines[48].find(u'=') - 1, 300u);
    EXPECT_EQ(lines[49].size() - lines[49].find(u'=') - 1, 700u);
    EXPECT_EQ(bytes, Le(Join(expected)));
}

TEST_F(ProfileFileTest, RoundTripKeepsEveryField)
{
    const ProfileRecord busy = Busy();
    g_profiles[2] = busy;
    std::string path = Path("busy.psf");
    ASSERT_TRUE(WriteProfileFile(2, path));
    ResetProfileToDefaults(g_profiles[2], 2);
    ASSERT_TRUE(ReadProfileFile(2, path));
    EXPECT_EQ(g_profiles[2], busy);
    EXPECT_EQ(g_profiles[2].settings[5].value, u"v=35");
    // The slot file was not touched by a good read.
    EXPECT_EQ(Bytes(Slot(2)), "<none>");

    // Written again it gives the same bytes.
    ASSERT_TRUE(WriteProfileFile(2, Path("again.psf")));
    EXPECT_EQ(Bytes(path), Bytes(Path("again.psf")));
}

TEST_F(ProfileFileTest, LoopSettingsAreNotInTheFileAndKeepTheirValues)
{
    std::string path = Path("p.psf");
    ASSERT_TRUE(WriteProfileFile(0, path));
    g_profiles[1].buttons[3].macro.loopType = 4;
    g_profiles[1].buttons[3].macro.loopNum = 9;
    ASSERT_TRUE(ReadProfileFile(1, path));
    EXPECT_EQ(g_profiles[1].buttons[3].macro.loopType, 4);
    EXPECT_EQ(g_profiles[1].buttons[3].macro.loopNum, 9);
}

struct BadCase {
    const char* what;
    std::function<void(std::vector<std::u16string>&)> edit;
};

TEST_F(ProfileFileTest, BadFilesAreRecoveredIntoTheSlotFile)
{
    const std::u16string zeros(2688, u'0');
    const std::vector<BadCase> cases = {
        {"header case", [](auto& l) { l[0] = u"[setting]"; }},
        {"pair line starting with =", [](auto& l) { l[5] = u"=6"; }},
        {"pair line without =", [](auto& l) { l[12] = u"Sensitivity_Y"; }},
        {"DPI line without =", [](auto& l) { l[24] = u"\tXYSetting3Value0016"; }},
        {"empty MacroActionNum", [](auto& l) { l[60] = u"\t\tMacroActionNum="; }},
        {"2,687 actions", [&](auto& l) { l[61] = u"\t\tAllAction=" + zeros.substr(1); }},
        {"2,689 actions", [&](auto& l) { l[96] = u"\t\tAllAction=" + zeros + u"0"; }},
        {"missing last line", [](auto& l) { l.pop_back(); }},
        {"blank line in the middle", [](auto& l) { l[40] = u""; }},
        {"CR LF", [](auto& l) { for (auto& s : l) s += u"\r"; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        g_profiles[1] = Busy();
        std::string path = EditedFile(c.edit);
        std::string before = Bytes(path);
        EXPECT_FALSE(ReadProfileFile(1, path));
        ProfileRecord defaults;
        ResetProfileToDefaults(defaults, 1);
        EXPECT_EQ(g_profiles[1], defaults);
        EXPECT_EQ(Bytes(Slot(1)), Le(FormatProfileFile(defaults)));
        EXPECT_EQ(Bytes(path), before);  // the file read is left as it was
    }
}

TEST_F(ProfileFileTest, MissingMarkAndMissingFileAreRecovered)
{
    std::string path = Path("nomark.psf");
    ASSERT_TRUE(platform::WriteFileAtomic(path, Le(FormatProfileFile(g_profiles[0])).substr(2)));
    g_profiles[0] = Busy();
    EXPECT_FALSE(ReadProfileFile(0, path));
    EXPECT_EQ(GetProfileName(g_profiles[0]), u"配置 1");
    EXPECT_TRUE(fs::exists(Slot(0)));

    g_profiles[4] = Busy();
    EXPECT_FALSE(ReadProfileFile(4, Path("none.psf")));
    EXPECT_EQ(g_profiles[4].buttons[0].label, u"Left");
    EXPECT_TRUE(fs::exists(Slot(4)));
    EXPECT_FALSE(fs::exists(Path("none.psf")));
}

TEST_F(ProfileFileTest, KeysAreNotCheckedAndPairsTakenInFileOrder)
{
    std::string path = EditedFile([](auto& l) {
        for (size_t i = 1; i <= 20; ++i) l[i] = u"X" + l[i];      // every key changed
        std::swap(l[5], l[19]);                                  // two pairs swapped
        l[21] = u"Whatever=3F";                                  // later keys are not read either
        l[57] = u"Key0Name=";                                    // empty label
        l[59] = u"=only a value";                                // macro name line with an empty key
        l.push_back(u"trailing junk is ignored");
    });
    ASSERT_TRUE(ReadProfileFile(1, path));
    const ProfileRecord& r = g_profiles[1];
    EXPECT_EQ(r.settings[4].key, u"XKeyDebounce");
    EXPECT_EQ(r.settings[4].value, u"12");
    EXPECT_EQ(r.settings[18].key, u"XDoubleClickSpeed");
    EXPECT_EQ(r.settings[0].key, u"XProfileName");
    EXPECT_EQ(r.buttons[0].label, u"");
    EXPECT_EQ(r.buttons[0].macro.name, u"only a value");
    // Written back as read.
    std::u16string text = FormatProfileFile(r);
    EXPECT_NE(text.find(u"\nXKeyDebounce=12\n"), std::u16string::npos);
    EXPECT_NE(text.find(u"\nXDoubleClickSpeed=6\n"), std::u16string::npos);
}

TEST_F(ProfileFileTest, FieldsThatAreNotHexReadAsTheirLeadingDigits)
{
    std::string path = EditedFile([](auto& l) {
        l[21] = u"DPIOffOnFlagValue=3Z";
        l[22] = u"\tXYSetting1Value=G123";
        l[23] = u"\tXYSetting2Value=1";     // shorter than its width
        l[42] = u"\tPollingRateValue=0a";   // lower case counts, missing bytes are 0
        l[46] = u"\tLighting1Speed=05|x1|";
    });
    ASSERT_TRUE(ReadProfileFile(1, path));
    const ProfileRecord& r = g_profiles[1];
    EXPECT_EQ(r.DPIOffOnFlagValue, 3);
    EXPECT_EQ(r.XYSettingValue[0], 0);
    EXPECT_EQ(r.XYSettingValue[1], 1);
    EXPECT_EQ(r.PollingRateValue, (std::array<uint8_t, 3>{0x0A, 0, 0}));
    EXPECT_EQ(r.lighting.Lighting1Speed[0], 5);
    EXPECT_EQ(r.lighting.Lighting1Speed[1], 0);
    EXPECT_EQ(r.lighting.Lighting1Speed[9], 0);
}

TEST_F(ProfileFileTest, ActionCountsAreLimitedToTheSlots)
{
    std::string path = EditedFile([](auto& l) {
        l[60] = u"\t\tMacroActionNum=4000000000";
        l[65] = u"\t\tMacroActionNum=-5";
        l[70] = u"\t\tMacroActionNum=12abc";
    });
    ASSERT_TRUE(ReadProfileFile(1, path));
    EXPECT_EQ(g_profiles[1].buttons[0].macro.actionNum, 336u);
    EXPECT_EQ(g_profiles[1].buttons[1].macro.actionNum, 0u);
    EXPECT_EQ(g_profiles[1].buttons[2].macro.actionNum, 12u);
    EXPECT_EQ(g_profiles[1].buttons[0].macro.UsedActions(), 336);
}

TEST_F(ProfileFileTest, ReadOnlyFileReadsWithoutRecovery)
{
    g_profiles[3] = Busy();
    std::string path = Path("ro.psf");
    ASSERT_TRUE(WriteProfileFile(3, path));
    ::chmod(path.c_str(), 0444);
    ResetProfileToDefaults(g_profiles[3], 3);
    EXPECT_TRUE(ReadProfileFile(3, path));
    EXPECT_EQ(g_profiles[3], Busy());
    EXPECT_FALSE(fs::exists(Slot(3)));
}

TEST_F(ProfileFileTest, ScratchReadLeavesTargetAndSlotFileAlone)
{
    g_profiles[2] = Busy();
    ASSERT_TRUE(WriteProfileFile(2, Slot(2)));
    std::string slotBefore = Bytes(Slot(2));
    std::string bad = EditedFile([](auto& l) { l[96].pop_back(); });
    EXPECT_FALSE(ReadProfileRecord(g_profiles[2], bad));
    EXPECT_EQ(g_profiles[2], Busy());
    EXPECT_EQ(Bytes(Slot(2)), slotBefore);
    EXPECT_FALSE(ReadProfileRecord(g_profiles[2], Path("missing.psf")));
    EXPECT_EQ(g_profiles[2], Busy());

    ProfileRecord scratch = g_profiles[0];
    ASSERT_TRUE(ReadProfileRecord(scratch, Slot(2)));
    EXPECT_EQ(scratch, Busy());
}

TEST_F(ProfileFileTest, SaveAllWritesEachSlotAndReportsFailure)
{
    g_profiles[4] = Busy();
    EXPECT_TRUE(SaveAllProfileFiles());
    for (int i = 0; i < kProfileCount; ++i) EXPECT_EQ(Bytes(Slot(i)), Le(FormatProfileFile(g_profiles[size_t(i)])));
    EXPECT_EQ(U16ToUtf8(GetSetting(kSettingProfileSlot0URL + 4, 1)), dir.string() + "/config/default4.psf");

    // A read-only slot file is not replaced; the others are still written.
    std::string before = Bytes(Slot(1));
    ::chmod(Slot(1).c_str(), 0444);
    g_profiles[1] = Busy();
    g_profiles[0] = Busy();
    EXPECT_FALSE(SaveAllProfileFiles());
    EXPECT_EQ(Bytes(Slot(1)), before);
    EXPECT_EQ(Bytes(Slot(0)), Le(FormatProfileFile(Busy())));
}

}  // namespace
