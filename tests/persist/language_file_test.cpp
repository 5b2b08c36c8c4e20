#include "persist/language_file.h"
#include "persist/language_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <vector>

#include "persist/data_folders.h"
#include "persist/stdio_file_ex.h"
#include "base/text_codec.h"
#include "base/ui_text.h"
#include "platform/fs/file_system.h"

namespace fs = std::filesystem;

namespace {

std::string File(const std::u16string& text)
{
    return EncodeUtf16LeFile(text);
}

class LanguageFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearUiTexts();
        root = fs::temp_directory_path() /
               ("tevlan-lang-" + std::to_string(std::random_device{}()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "program" / "config");
        fs::create_directories(root / "data" / "config");
        program = (root / "program").string() + "/";
        data = (root / "data").string() + "/";
    }
    void TearDown() override
    {
        fs::remove_all(root);
        ClearUiTexts();
    }

    void Put(const std::string& folder, const std::string& name, const std::string& bytes)
    {
        ASSERT_TRUE(platform::WriteFileAtomic(folder + "config/" + name, bytes));
    }
    void PutSetting(const std::string& folder, const std::u16string& code)
    {
        Put(folder, "LanSetting.ini", File(u"[ChangeLanguage]\nLanguage=" + code + u"\n"));
    }
    bool Load(double scale = 1.0) { return LoadLanguage(program, data, scale); }

    fs::path root;
    std::string program;
    std::string data;
};

LanguageParseResult Parse(const std::u16string& text, UiTextTable& texts)
{
    return ParseLanguageBytes(File(text), texts);
}

// --- parsing the text lines -------------------------------------------------

TEST(LanguageParse, NumbersAreReadTheWayTheCLibraryReadsThemAndStayInTheTable)
{
    UiTextTable t;
    // 2^64 + 5 would land on text 5 if the digits were allowed to wrap round.
    ASSERT_EQ(Parse(u"[Setting]\nabc=no digits\n  +12=signed\n7x=seven\n30=a=b=c\n41=first\n41=last\n"
                    u"600=x\n-1=y\n18446744073709551621=z\n599=last slot\n99=no line feed",
                    t),
              LanguageParseResult::ReadToEnd);
    EXPECT_EQ(t[0], u"no digits");
    EXPECT_EQ(t[12], u"signed");
    EXPECT_EQ(t[7], u"seven");
    EXPECT_EQ(t[30], u"a=b=c");  // split at the first '=' only
    EXPECT_EQ(t[41], u"last");
    EXPECT_EQ(t[599], u"last slot");
    EXPECT_EQ(t[99], u"no line feed");
    EXPECT_TRUE(t[5].empty());
}

TEST(LanguageParse, MalformedLineStopsReadingAndKeepsWhatCameBefore)
{
    for (const std::u16string line : {u"\n", u"no equals\n", u"=x\n", u"5=\n"}) {
        UiTextTable t;
        EXPECT_EQ(Parse(u"[Setting]\n1=kept\n" + line + u"2=lost\n", t), LanguageParseResult::MalformedLine)
            << U16ToUtf8(line);
        EXPECT_EQ(t[1], u"kept");
        EXPECT_TRUE(t[2].empty());
    }
}

TEST(LanguageParse, HeaderMustBeExact)
{
    UiTextTable t;
    EXPECT_EQ(Parse(u"[Setting]", t), LanguageParseResult::ReadToEnd);
    EXPECT_EQ(Parse(u"[Setting]\r\n1=a\r\n", t), LanguageParseResult::NoHeader);  // CR LF file
    EXPECT_EQ(Parse(u"[setting]\n1=a\n", t), LanguageParseResult::NoHeader);
    EXPECT_EQ(ParseLanguageBytes("", t), LanguageParseResult::NoHeader);
    // Without a byte-order mark the first character is lost, and with it the header.
    std::string noMark = File(u"[Setting]\n1=a\n").substr(2);
    EXPECT_EQ(ParseLanguageBytes(noMark, t), LanguageParseResult::NoHeader);
    EXPECT_TRUE(t[1].empty());
}

TEST(LanguageParse, SettingFileGivesTheCode)
{
    auto code = [](const std::u16string& text) {
        CStdioFileEx f;
        f.OpenBytes(File(text));
        return ParseLanguageSetting(f);
    };
    EXPECT_EQ(code(u"[ChangeLanguage]\nLanguage=EN\n"), u"EN");
    EXPECT_EQ(code(u"[ChangeLanguage]\nLanguage=EN"), u"EN");
    EXPECT_EQ(code(u"[ChangeLanguage]\nLanguage=\n"), u"Language=");  // nothing after '='
    EXPECT_EQ(code(u"[ChangeLanguage]\nEN\n"), u"EN");                // no '=' at all
    EXPECT_EQ(code(u"[ChangeLanguage]\n"), u"");
    EXPECT_EQ(code(u"EN\nLanguage=CN\n"), u"EN");  // a stray first line is the code
    EXPECT_EQ(code(u"[ChangeLanguage]\r\nLanguage=EN\r\n"), u"[ChangeLanguage]\r");
    EXPECT_EQ(LanguageFileFor(u"EN"), "config/Lan_EN.txt");
    EXPECT_EQ(LanguageFileFor(u"en"), "config/Lan.txt");
    EXPECT_EQ(LanguageFileFor(u"EN\r"), "config/Lan.txt");
    // The later languages have codes of their own; the original codes keep theirs.
    EXPECT_EQ(LanguageFileFor(u"PT_BR"), "config/Lan_PT_BR.txt");
    EXPECT_EQ(LanguageFileFor(u"de"), "config/Lan.txt");
    EXPECT_EQ(LanguageFileFor(u"CN"), "config/Lan.txt");
    EXPECT_EQ(LanguageCodeForLocale("pt_BR.UTF-8"), u"PT_BR");
    EXPECT_EQ(LanguageCodeForLocale("ja_JP.UTF-8"), u"JA");
    EXPECT_EQ(LanguageCodeForLocale("ru"), u"RU");
    EXPECT_EQ(LanguageCodeForLocale("ko_KR@x"), u"KO");
    EXPECT_EQ(LanguageCodeForLocale("rue_UA"), u"EN");
    EXPECT_EQ(LanguageCodeForLocale("nl_NL.UTF-8"), u"EN");
}

// --- loading: files, folders and the font -------------------------------------

TEST_F(LanguageFileTest, TextZeroChoosesTheFont)
{
    Put(program, "Lan.txt", File(u"[Setting]\n"));  // header only: accepted, text 0 empty
    EXPECT_TRUE(Load(2.0));
    EXPECT_EQ(g_uiFont.face, u"Tahoma");
    EXPECT_EQ(g_uiFont.charset, 1);
    EXPECT_EQ(g_uiFont.height, 32);

    Put(program, "Lan.txt", File(u"[Setting]\n0=中文\n"));
    EXPECT_TRUE(Load(1.0));
    EXPECT_EQ(g_uiFont.face, u"宋体");
    EXPECT_EQ(g_uiFont.charset, 134);
    EXPECT_EQ(g_uiFont.height, 12);
    EXPECT_EQ(ChooseUiFont(u"中文", 1.5).height, 18);
    EXPECT_EQ(ChooseUiFont(u"中文 ", 1.0).face, u"Tahoma");
    EXPECT_EQ(ChooseUiFont(u"English", 1.25).height, 20);
}

TEST_F(LanguageFileTest, CodeSelectsTheFileCaseSensitively)
{
    Put(program, "Lan_EN.txt", File(u"[Setting]\n0=English\n"));
    Put(program, "Lan.txt", File(u"[Setting]\n0=中文\n"));
    PutSetting(data, u"EN");
    EXPECT_TRUE(Load());
    EXPECT_EQ(g_uiTexts[0], u"English");
    PutSetting(data, u"en");
    EXPECT_TRUE(Load());
    EXPECT_EQ(g_uiTexts[0], u"中文");
    // No setting file anywhere: the Chinese file.
    fs::remove(root / "data" / "config" / "LanSetting.ini");
    g_uiTexts[0].clear();
    EXPECT_TRUE(Load());
    EXPECT_EQ(g_uiTexts[0], u"中文");
}

TEST_F(LanguageFileTest, FirstStartSpeaksTheLocalesLanguageUntilTheUserChooses)
{
    Put(program, "Lan_EN.txt", File(u"[Setting]\n0=English\n"));
    Put(program, "Lan.txt", File(u"[Setting]\n0=中文\n"));
    PutSetting(program, u"EN");  // the installed default
    struct Case {
        const char* locale;
        const char16_t* language;
    };
    const Case cases[] = {
        {"zh_CN.UTF-8", u"中文"}, {"zh_TW", u"中文"}, {"zh", u"中文"},       {"zh@latin", u"中文"},
        {"en_GB.UTF-8", u"English"}, {"C", u"English"}, {"zhx_YY", u"English"}, {"", u"English"},
    };
    for (const Case& c : cases) {
        ClearUiTexts();
        EXPECT_TRUE(LoadLanguage(program, data, 1.0, c.locale)) << c.locale;
        EXPECT_EQ(g_uiTexts[0], c.language) << c.locale;
    }
    // Once the data folder holds a choice, the locale no longer matters.
    PutSetting(data, u"EN");
    EXPECT_TRUE(LoadLanguage(program, data, 1.0, "zh_CN.UTF-8"));
    EXPECT_EQ(g_uiTexts[0], u"English");
}

TEST_F(LanguageFileTest, DataFolderCopyWinsAndProgramFolderFillsIn)
{
    PutSetting(program, u"EN");
    Put(program, "Lan_EN.txt", File(u"[Setting]\n0=English\n1=installed\n"));
    EXPECT_TRUE(Load());  // nothing in the data folder: the installed files
    EXPECT_EQ(g_uiTexts[1], u"installed");

    // An older English file in the data folder: its own texts win, and
    // those it lacks (331, a refusal newer than the file) come from the
    // program's English file instead of staying blank.
    Put(program, "Lan_EN.txt", File(u"[Setting]\n0=English\n1=installed\n331=Out of range (installed)\n"));
    Put(data, "Lan_EN.txt", File(u"[Setting]\n1=user's own\n"));
    ClearUiTexts();
    EXPECT_TRUE(Load());
    EXPECT_EQ(g_uiTexts[1], u"user's own");
    EXPECT_EQ(g_uiTexts[0], u"English");
    EXPECT_EQ(UiText(331), u"Out of range (installed)");

    PutSetting(data, u"CN");  // the data folder's choice wins too
    Put(program, "Lan.txt", File(u"[Setting]\n1=installed Chinese\n"));
    const std::string oldProgram = g_programFolder, oldData = g_userDataFolder;
    SetDataFolders(program, data);
    EXPECT_TRUE(LoadLanguage(1.0));  // the start-up form, on the process's folders
    SetDataFolders(oldProgram, oldData);
    EXPECT_EQ(g_uiTexts[1], u"installed Chinese");
}

TEST_F(LanguageFileTest, FailuresLeaveTheFontAlone)
{
    const UiFontSettings before = g_uiFont;
    EXPECT_FALSE(Load());  // no language file anywhere
    Put(program, "Lan.txt", File(u"[Setting]\r\n0=English\r\n"));
    EXPECT_FALSE(Load());
    EXPECT_TRUE(g_uiTexts[0].empty());
    Put(program, "Lan.txt", File(u"[Setting]\n0=English\n5=five\n\n6=six\n"));
    EXPECT_FALSE(Load(2.0));
    EXPECT_EQ(g_uiTexts[5], u"five");
    EXPECT_TRUE(g_uiTexts[6].empty());
    EXPECT_EQ(g_uiFont.face, before.face);
    EXPECT_EQ(g_uiFont.height, before.height);
    EXPECT_EQ(g_uiFont.charset, before.charset);
    // The reader never writes: the files are as they were.
    EXPECT_FALSE(platform::FileExists(data + "config/Lan.txt"));
    EXPECT_FALSE(platform::FileExists(data + "config/LanSetting.ini"));
}

// --- the shipped files ----------------------------------------------------------

// Every text number the program refers to.
std::vector<int> UsedTextNumbers()
{
    std::vector<int> n = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 36,
                          100, 101, 102, 103, 105, 108, 109, 110, 180, 274};
    auto range = [&n](int a, int b) {
        for (int i = a; i <= b; ++i) n.push_back(i);
    };
    range(20, 34);    // button function menu
    range(40, 42);    // DPI menu
    range(45, 54);    // multimedia
    range(60, 68);    // office
    range(75, 80);    // system
    range(85, 93);    // default profile names, slot menu
    range(120, 123);  // lighting captions
    range(130, 135);  // pointer preferences
    range(140, 147);  // profile dialogs and messages
    range(151, 155);
    range(170, 176);  // fire dialog
    range(190, 210);  // macro manager
    range(220, 225);  // action dialogs
    range(230, 242);  // macro messages
    range(260, 268);  // sensor and power
    range(270, 272);
    range(300, 306);  // a mouse that cannot be opened
    return n;
}

TEST_F(LanguageFileTest, ShippedFilesLoadCompletely)
{
    const std::string shipped = std::string(TEVLAN_BINARY_DIR) + "/";
    ASSERT_TRUE(platform::FileExists(shipped + "config/Lan_EN.txt")) << "build the language_files target";

    // As installed: the shipped setting selects English.
    ASSERT_TRUE(LoadLanguage(shipped, data, 1.0));
    EXPECT_EQ(g_uiTexts[0], u"English");
    EXPECT_EQ(g_uiFont.face, u"Tahoma");
    for (int n : UsedTextNumbers()) EXPECT_FALSE(g_uiTexts[static_cast<size_t>(n)].empty()) << "EN " << n;
    EXPECT_EQ(g_uiTexts[266] + u"6" + g_uiTexts[267], u"Sleep after 6 min");
    const auto english = g_uiTexts;

    ClearUiTexts();
    PutSetting(data, u"CN");
    ASSERT_TRUE(LoadLanguage(shipped, data, 2.0));
    EXPECT_EQ(g_uiTexts[0], u"中文");
    EXPECT_EQ(g_uiFont.face, u"宋体");
    EXPECT_EQ(g_uiFont.height, 24);
    for (int n : UsedTextNumbers()) EXPECT_FALSE(g_uiTexts[static_cast<size_t>(n)].empty()) << "ZH " << n;
    // Both languages carry the same numbers, so neither leaves a caption blank.
    for (size_t n = 0; n < english.size(); ++n) EXPECT_EQ(english[n].empty(), g_uiTexts[n].empty()) << n;

    // Every other language as the build made it from its translation, chosen
    // the way the tray's menu saves the choice.
    for (const LanguageInfo& l : ShippedLanguages()) {
        ClearUiTexts();
        ASSERT_TRUE(SaveLanguageSetting(data, l.code));
        ASSERT_TRUE(LoadLanguage(shipped, data, 1.0)) << U16ToUtf8(l.code);
        EXPECT_EQ(g_uiTexts[0], l.nativeName);
        for (size_t n = 0; n < english.size(); ++n)
            EXPECT_EQ(english[n].empty(), g_uiTexts[n].empty()) << U16ToUtf8(l.code) << " " << n;
        // The blanks around the value stay where the caption needs them
        // (Chinese sets none).
        if (l.code == u"CN") continue;
        EXPECT_EQ(g_uiTexts[266].back(), u' ') << U16ToUtf8(l.code);
        EXPECT_EQ(g_uiTexts[267].front(), u' ') << U16ToUtf8(l.code);
    }
}

}  // namespace
