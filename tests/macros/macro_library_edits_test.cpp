#include "macros/macro_library_edits.h"

#include <gtest/gtest.h>

#include "macros/macro_library_file.h"
#include "persist/language_file.h"
#include "platform/fs/file_system.h"
#include "support/temp_folder.h"

namespace {

MacroLibrary TwoSets()
{
    MacroLibrary lib;
    lib.AppendSet(u"Games");
    lib.AppendSet(u"Office");
    lib.AppendMacro(*lib.SetAt(0), u"Reload");
    lib.MacroAt(*lib.SetAt(0), 0)->InsertAction(0, MacroAction::Key('R', false));
    return lib;
}

TEST(MacroSets, AddAndDeleteSayWhyANameDidNothing)
{
    struct Case {
        bool add;
        std::u16string name;
        int text;
        int index;  // of the deleted set
    };
    const Case cases[] = {
        {true, u"", macro_text::kSetNameEmpty, -1},
        {true, u"Games", macro_text::kSetNameUsed, -1},
        {true, u"games", 0, -1},
        {false, u"Nothing", macro_text::kSetNameUnknown, -1},
        {false, u"", macro_text::kSetNameUnknown, -1},
        {false, u"Office", 0, 1},
    };
    for (const Case& c : cases) {
        MacroLibrary lib = TwoSets();
        const MacroLibrary before = lib;
        int index = 7;
        MacroRefusal r = c.add ? AddMacroSet(lib, c.name) : DeleteMacroSet(lib, c.name, &index);
        EXPECT_EQ(r.text, c.text) << c.add;
        if (c.text != 0) {
            EXPECT_EQ(lib, before);
        } else if (c.add) {
            EXPECT_EQ(lib.sets().back().name, c.name);
        } else {
            EXPECT_EQ(lib.count(), 1u);
        }
        if (!c.add) {
            EXPECT_EQ(index, c.index);
        }
    }
}

TEST(MacroFiles, AFailedImportKeepsTheLibraryAndAnExportFailureIsSaid)
{
    TempFolder dir("tvl-macro-import-");
    const std::string good = dir.Slash() + "good.mlf";
    const std::string bad = dir.Slash() + "bad.mlf";
    MacroLibrary other;
    other.AppendSet(u"Other");
    ASSERT_FALSE(ExportMacroLibrary(other, good).Refused());
    ASSERT_TRUE(platform::WriteFileAtomic(bad, "\xFF\xFE[\0M\0"));

    for (const std::string& path : {bad, dir.Slash() + "missing.mlf", dir.Slash()}) {
        MacroLibrary lib = TwoSets();
        MacroRefusal r = ImportMacroLibrary(lib, path);
        EXPECT_EQ(r.text, macro_text::kImportFailed) << path;
        EXPECT_EQ(r.path, path);
        EXPECT_EQ(lib, TwoSets()) << path;
    }
    MacroLibrary lib = TwoSets();
    EXPECT_FALSE(ImportMacroLibrary(lib, good).Refused());
    EXPECT_EQ(lib, other);

    MacroRefusal w = ExportMacroLibrary(lib, dir.Slash() + "no/such/folder/x.mlf");
    EXPECT_EQ(w.text, macro_text::kExportFailed);

    EXPECT_EQ(DefaultMacroExportName(TwoSets()), u"Reload.mlf");
    EXPECT_EQ(DefaultMacroExportName(other), u".mlf");
    EXPECT_EQ(DefaultMacroExportName(MacroLibrary{}), u".mlf");
}

TEST(MacroTexts, EveryMacroMessageIsInBothLanguages)
{
    const std::string config = std::string(TEVLAN_BINARY_DIR) + "/config/";
    for (const char* file : {"Lan_EN.txt", "Lan.txt"}) {
        auto bytes = platform::ReadWholeFile(config + file);
        ASSERT_TRUE(bytes) << "build the language_files target";
        UiTextTable texts;
        ParseLanguageBytes(*bytes, texts);
        for (int n = macro_text::kNewMacroWithoutSet; n <= macro_text::kExportFailed; ++n)
            EXPECT_FALSE(texts[size_t(n)].empty()) << file << " " << n;
        if (std::string(file) == "Lan.txt") {
            EXPECT_EQ(texts[macro_text::kNewMacroWithoutSet], u"在创建宏之前请先选择一个宏集合!");
            EXPECT_EQ(texts[macro_text::kSetAddPrompt], u"请输入要增加的宏组名称：");
            EXPECT_EQ(texts[macro_text::kSetDeletePrompt], u"请输入要删除的宏组名称：");
        } else {
            EXPECT_EQ(texts[macro_text::kSetMenuAdd], u"[+]Add a Macro Set");
            EXPECT_EQ(texts[macro_text::kSetMenuDelete], u"[--]Delete a Macro Set");
        }
    }
}

}  // namespace
