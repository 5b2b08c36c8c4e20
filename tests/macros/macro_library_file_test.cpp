#include "macros/macro_library_file.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

#include <filesystem>

#include "persist/data_folders.h"
#include "persist/stdio_file_ex.h"
#include "base/text_codec.h"
#include "platform/fs/file_system.h"

namespace fs = std::filesystem;

namespace {

std::u16string U(const std::string& ascii) { return Ascii(ascii); }

std::u16string Repeat(const std::u16string& s, int n)
{
    std::u16string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

std::string Slurp(const fs::path& p) { return platform::ReadWholeFile(p.string()).value_or("<missing>"); }
void Spit(const fs::path& p, const std::string& bytes) { ASSERT_TRUE(platform::WriteFileAtomic(p.string(), bytes)); }

// One macro's six lines, for hand-built files.
std::u16string MacroLines(int j, const std::u16string& name, const std::string& loopType,
                          const std::string& loopNum, const std::string& actionNum, const std::string& steps,
                          const std::u16string& actions)
{
    const std::string n = std::to_string(j);
    return u"\t\tMacroKey" + U(n) + u"Name=" + name + u"\n\t\t\tMacroKey" + U(n) + u"LoopType=" + U(loopType) +
           u"\n\t\t\tMacroKey" + U(n) + u"LoopNum=" + U(loopNum) + u"\n\t\t\tMacroActionNum=" + U(actionNum) +
           u"\n\t\t\tMacroCommandActionNum=" + U(steps) + u"\n\t\t\tAllAction=" + actions + u"\n";
}

const std::u16string kEmptyActions = Repeat(u"00000000", kMacroActionSlots);

// A file with one set holding one macro whose numbers are given as text.
std::u16string OneMacroFile(const std::string& actionNum, const std::u16string& actions = kEmptyActions)
{
    return u"[MacroLibrary]\nMacroSetNum=1\n\tMacroSet0Name=S\n\t\tMacroKeyNum=1\n" +
           MacroLines(0, u"M", "2", "1", actionNum, "0", actions);
}

bool Parse(const std::u16string& text, MacroLibrary& lib) { return ParseMacroLibrary(EncodeUtf16LeFile(text), lib); }

class MacroLibraryFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = tmp_.Path();
        fs::create_directories(dir / "config");
        SetDataFolders(dir.string(), dir.string());
        g_macroLibrary.ClearLibrary();
        g_macroWorkLibrary.ClearLibrary();
    }

    TempFolder tmp_{"tevlan-mlf-"};
    fs::path dir;
};

}  // namespace

TEST_F(MacroLibraryFileTest, WrittenBytesFollowTheLayoutExactly)
{
    MacroLibrary lib;
    lib.AppendSet(u"Games");
    lib.AppendSet(u"Empty");
    lib.AppendSet(u"Work");
    MacroSet& games = *lib.SetAt(0);
    lib.AppendMacro(games, u"Jump");
    lib.AppendMacro(games, u"Run=Fast");
    MacroKey& jump = *lib.MacroAt(games, 0);
    jump.InsertAction(0, MacroAction::Key(0x41, false));
    jump.InsertAction(1, MacroAction::Pause(0x0ABCDE));
    jump.InsertAction(2, MacroAction::Key(0x41, true));
    jump.commandActionNum = 2;
    MacroKey& run = *lib.MacroAt(games, 1);
    run.loopType = 4;
    run.loopNum = 255;
    lib.AppendMacro(*lib.SetAt(2), u"Type");

    const std::u16string expected =
        u"[MacroLibrary]\n"
        u"MacroSetNum=3\n"
        u"\tMacroSet0Name=Games\n"
        u"\t\tMacroKeyNum=2\n" +
        MacroLines(0, u"Jump", "2", "1", "3", "2", u"41000000030ABCDE41800000" + Repeat(u"00000000", 333)) +
        MacroLines(1, u"Run=Fast", "4", "255", "0", "0", kEmptyActions) +
        u"\tMacroSet1Name=Empty\n"
        u"\t\tMacroKeyNum=0\n"
        u"\tMacroSet2Name=Work\n"
        u"\t\tMacroKeyNum=1\n" +
        MacroLines(0, u"Type", "2", "1", "0", "0", kEmptyActions);

    const fs::path path = dir / "lib.mlf";
    ASSERT_TRUE(WriteMacroLibraryFile(lib, path.string()));
    const std::string bytes = Slurp(path);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    EXPECT_EQ(bytes, EncodeUtf16LeFile(expected));
    EXPECT_EQ(bytes.find(std::string("\r\0", 2)), std::string::npos);
}

TEST_F(MacroLibraryFileTest, RoundTripKeepsEveryFieldAndEverySlot)
{
    MacroLibrary lib;
    lib.AppendSet(u"Set = one");
    lib.AppendSet(u"空");
    lib.AppendSet(u"Third");
    MacroSet& s0 = *lib.SetAt(0);
    lib.AppendMacro(s0, u"Full");
    lib.AppendMacro(s0, u"宏 macro");
    MacroKey& full = *lib.MacroAt(s0, 0);
    for (int k = 0; k < kMacroActionSlots; ++k) {
        ASSERT_TRUE(full.InsertAction(k, {static_cast<uint8_t>(k), static_cast<uint8_t>(255 - k % 256),
                                          static_cast<uint8_t>(k * 7), static_cast<uint8_t>(0xF0 | (k & 0x0F))}));
    }
    full.loopType = 1;
    full.loopNum = 0;
    full.commandActionNum = 168;
    // Slots past actionNum keep what a restarted recording left there.
    MacroKey& stale = *lib.MacroAt(s0, 1);
    stale.SetAction(10, MacroAction::Move(kMacroMoveX, -5));
    lib.AppendMacro(*lib.SetAt(2), u"x");

    const std::string path = (dir / "rt.mlf").string();
    ASSERT_TRUE(WriteMacroLibraryFile(lib, path));
    MacroLibrary back;
    back.AppendSet(u"left over");
    ASSERT_TRUE(ReadMacroLibraryFile(back, path));
    EXPECT_EQ(back, lib);
    EXPECT_EQ(back.MacroAt(*back.SetAt(0), 0)->actionNum, 336u);
    EXPECT_EQ(back.MacroAt(*back.SetAt(0), 1)->GetAction(10), MacroAction::Move(kMacroMoveX, -5));
}

TEST_F(MacroLibraryFileTest, EmptyCountsAndPositionalReading)
{
    MacroLibrary lib;
    EXPECT_TRUE(Parse(u"[MacroLibrary]\nMacroSetNum=0\n", lib));
    EXPECT_EQ(lib.count(), 0u);
    EXPECT_TRUE(Parse(u"[MacroLibrary]\nMacroSetNum=-2\n\tMacroSet0Name=ignored\n", lib));
    EXPECT_EQ(lib.count(), 0u);
    EXPECT_TRUE(Parse(u"[MacroLibrary]\nMacroSetNum=none\n", lib));
    EXPECT_EQ(lib.count(), 0u);

    // Keys are not read: any text before the "=" will do. A set without
    // macros is followed directly by the next set; lines after the last
    // counted set are ignored, and the last line needs no line feed.
    const std::u16string file = u"[MacroLibrary]\nSets=2x\n\tfirst=A=B\n\t\tcount=0\nsecond= B \nn=1\n" +
                                MacroLines(0, u"only", "300", "7", "0", "3", kEmptyActions) +
                                u"garbage without equals\n\n=";
    ASSERT_TRUE(Parse(file, lib));
    ASSERT_EQ(lib.count(), 2u);
    EXPECT_EQ(lib.SetAt(0)->name, u"A=B");
    EXPECT_EQ(lib.SetAt(0)->macroNum(), 0u);
    EXPECT_EQ(lib.SetAt(1)->name, u" B ");
    ASSERT_EQ(lib.SetAt(1)->macroNum(), 1u);
    const MacroKey& m = *lib.MacroAt(*lib.SetAt(1), 0);
    EXPECT_EQ(m.loopType, 44);  // 300 keeps its low byte
    EXPECT_EQ(m.loopNum, 7);
    EXPECT_EQ(m.commandActionNum, 3);

    std::u16string noFinalFeed = OneMacroFile("0");
    noFinalFeed.pop_back();
    EXPECT_TRUE(Parse(noFinalFeed, lib));
}

TEST_F(MacroLibraryFileTest, MalformedFilesAreRejectedWhole)
{
    const std::u16string good = OneMacroFile("0");
    MacroLibrary lib;
    ASSERT_TRUE(Parse(good, lib));

    auto replace = [&](const std::u16string& from, const std::u16string& to) {
        std::u16string s = good;
        const size_t at = s.find(from);
        EXPECT_NE(at, std::u16string::npos);
        return s.replace(at, from.size(), to);
    };
    auto cutLine = [&](int n) {  // removes line n (0-based)
        std::u16string s = good;
        size_t start = 0;
        for (int i = 0; i < n; ++i) start = s.find(u'\n', start) + 1;
        return s.erase(start, s.find(u'\n', start) + 1 - start);
    };
    std::u16string crlf;
    for (char16_t c : good) {
        if (c == u'\n') crlf += u'\r';
        crlf += c;
    }

    const std::pair<const char*, std::u16string> broken[] = {
        {"CR LF line ends", crlf},
        {"header in other case", replace(u"[MacroLibrary]", u"[macrolibrary]")},
        {"text after the header", replace(u"[MacroLibrary]", u"[MacroLibrary] ")},
        {"action line one digit short", replace(u"AllAction=0", u"AllAction=")},
        {"action line one digit long", replace(u"AllAction=0", u"AllAction=00")},
        {"empty value", replace(u"LoopNum=1", u"LoopNum=")},
        {"no equals sign", replace(u"MacroActionNum=0", u"MacroActionNum 0")},
        {"blank line inside", replace(u"\t\tMacroKeyNum=1\n", u"\t\tMacroKeyNum=1\n\n")},
        {"loop type line removed", cutLine(5)},
        {"macro name line removed", cutLine(4)},
        {"file ends after the last count", good.substr(0, good.find(u"\t\tMacroKey0Name"))},
        {"more sets counted than present", replace(u"MacroSetNum=1", u"MacroSetNum=2")},
        {"header only", u"[MacroLibrary]\n"},
        {"nothing", u""},
    };
    for (const auto& [what, text] : broken) {
        MacroLibrary out;
        out.AppendSet(u"stale");
        EXPECT_FALSE(Parse(text, out)) << what;
        EXPECT_EQ(out.count(), 0u) << what;  // nothing half-read is left behind
    }

    // Without the byte-order mark the reader drops the first character.
    std::string noBom = EncodeUtf16LeFile(good).substr(2);
    EXPECT_FALSE(ParseMacroLibrary(noBom, lib));
    for (size_t n = 0; n < 7; ++n) EXPECT_FALSE(ParseMacroLibrary(std::string(n, '\xFF'), lib));
}

TEST_F(MacroLibraryFileTest, ActionCountIsClampedToTheSlots)
{
    MacroLibrary lib;
    const std::pair<const char*, uint32_t> cases[] = {
        {"0", 0}, {"336", 336}, {"337", 336}, {"4294967295", 336}, {"99999999999999999999", 336}, {"-1", 0},
        {"12abc", 12}};
    for (const auto& [text, expected] : cases) {
        ASSERT_TRUE(Parse(OneMacroFile(text), lib)) << text;
        const MacroKey& m = *lib.MacroAt(*lib.SetAt(0), 0);
        EXPECT_EQ(m.actionNum, expected) << text;
        EXPECT_EQ(m.UsedActions(), static_cast<int>(expected)) << text;
    }
}

TEST_F(MacroLibraryFileTest, ActionFieldsReadTheirValidLeadingHexDigits)
{
    // Slot 0: upper and lower case; slot 1: "1G" reads 1, "G1" and "  " read 0.
    const std::u16string actions = u"E0ff7a0B" u"1GG1  zz" + Repeat(u"00000000", kMacroActionSlots - 2);
    MacroLibrary lib;
    ASSERT_TRUE(Parse(OneMacroFile("2", actions), lib));
    EXPECT_EQ(lib.MacroAt(*lib.SetAt(0), 0)->actions[0], (MacroAction{0xE0, 0xFF, 0x7A, 0x0B}));
    EXPECT_EQ(lib.MacroAt(*lib.SetAt(0), 0)->actions[1], (MacroAction{0x01, 0x00, 0x00, 0x00}));
}

TEST_F(MacroLibraryFileTest, MissingFileGivesTheApplicationTheDefaultSetAndWritesIt)
{
    EXPECT_FALSE(LoadApplicationMacroLibrary());
    ASSERT_EQ(g_macroLibrary.count(), 1u);
    EXPECT_EQ(g_macroLibrary.SetAt(0)->name, u"Mouse Macro Set");
    EXPECT_EQ(g_macroLibrary.SetAt(0)->macroNum(), 0u);
    EXPECT_EQ(Slurp(dir / "config/MacroLibraryFile.mlf"),
              EncodeUtf16LeFile(u"[MacroLibrary]\nMacroSetNum=1\n\tMacroSet0Name=Mouse Macro Set\n\t\tMacroKeyNum=0\n"));

    // The manager's copy now finds the same library, and a good file read
    // again is not rewritten.
    EXPECT_TRUE(LoadWorkingMacroLibrary());
    EXPECT_EQ(g_macroWorkLibrary, g_macroLibrary);
    const fs::path file = dir / "config/MacroLibraryFile.mlf";
    Spit(file, EncodeUtf16LeFile(u"[MacroLibrary]\nX=0\ntrailing lines are ignored\n"));
    const auto before = fs::last_write_time(file);
    EXPECT_TRUE(LoadApplicationMacroLibrary());
    EXPECT_EQ(g_macroLibrary.count(), 0u);  // a count of 0 is valid: no default set
    EXPECT_EQ(Slurp(file), EncodeUtf16LeFile(u"[MacroLibrary]\nX=0\ntrailing lines are ignored\n"));
    EXPECT_EQ(fs::last_write_time(file), before);
}

TEST_F(MacroLibraryFileTest, BrokenFileRecoveryDiffersBetweenTheTwoCopies)
{
    const fs::path file = dir / "config/MacroLibraryFile.mlf";
    std::u16string crlf = u"[MacroLibrary]\r\nMacroSetNum=0\r\n";
    const std::string broken = EncodeUtf16LeFile(crlf);
    Spit(file, broken);

    // The manager's copy stays empty and the file is left alone.
    g_macroWorkLibrary.AppendSet(u"old");
    EXPECT_FALSE(LoadWorkingMacroLibrary());
    EXPECT_EQ(g_macroWorkLibrary.count(), 0u);
    EXPECT_EQ(Slurp(file), broken);

    // The application's copy falls back to the default set and replaces the file.
    g_macroLibrary.AppendSet(u"old");
    EXPECT_FALSE(LoadApplicationMacroLibrary());
    ASSERT_EQ(g_macroLibrary.count(), 1u);
    EXPECT_EQ(g_macroLibrary.SetAt(0)->name, u"Mouse Macro Set");
    MacroLibrary reread;
    EXPECT_TRUE(ReadMacroLibraryFile(reread, file.string()));
    EXPECT_EQ(reread, g_macroLibrary);
}

TEST_F(MacroLibraryFileTest, ReadingNeverCreatesAndWritingReportsFailure)
{
    MacroLibrary lib;
    lib.AppendSet(u"S");
    EXPECT_FALSE(ReadMacroLibraryFile(lib, (dir / "absent.mlf").string()));
    EXPECT_EQ(lib.count(), 0u);
    EXPECT_FALSE(fs::exists(dir / "absent.mlf"));

    lib.AppendSet(u"S");
    EXPECT_FALSE(WriteMacroLibraryFile(lib, (dir / "no/such/folder/x.mlf").string()));
}
