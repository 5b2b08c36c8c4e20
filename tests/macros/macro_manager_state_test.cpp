#include "macros/macro_manager_state.h"

#include <gtest/gtest.h>

#include "macros/macro_library_file.h"
#include "support/temp_folder.h"

namespace {

// Sets "A" (macros a0..a2), "B" (none), "C" (c0).
MacroLibrary Library()
{
    MacroLibrary lib;
    for (const char16_t* s : {u"A", u"B", u"C"}) lib.AppendSet(s);
    for (const char16_t* m : {u"a0", u"a1", u"a2"}) lib.AppendMacro(*lib.SetAt(0), m);
    lib.AppendMacro(*lib.SetAt(2), u"c0");
    return lib;
}

std::u16string ShownName(const MacroManagerState& s) { return s.ShownSet() ? s.ShownSet()->name : u"-"; }
std::u16string CurrentName(const MacroManagerState& s) { return s.CurrentMacro() ? s.CurrentMacro()->name : u"-"; }

TEST(MacroManagerState, OpeningRestoresTheLastSelection)
{
    struct Case {
        int initialSet, last;
        std::u16string set;
        int selection;
        std::u16string current;
    };
    const Case cases[] = {
        {1, -1, u"A", -1, u"a0"},  // nothing selected yet, the first macro shown
        {1, 2, u"A", 2, u"a2"},
        {1, 7, u"A", -1, u"-"},    // the set lost macros since
        {2, 0, u"B", -1, u"-"},
        {4, 0, u"-", -1, u"-"},
        {0, 0, u"-", -1, u"-"},
    };
    for (const Case& c : cases) {
        MacroLibrary lib = Library();
        MacroManagerState s(lib);
        s.Open(c.initialSet, c.last);
        EXPECT_EQ(ShownName(s), c.set) << c.initialSet << " " << c.last;
        EXPECT_EQ(s.MacroSelection(), c.selection) << c.initialSet << " " << c.last;
        EXPECT_EQ(CurrentName(s), c.current) << c.initialSet << " " << c.last;
    }

    MacroLibrary empty;
    MacroManagerState s(empty);
    s.Open(1, 0);
    EXPECT_EQ(s.ShownSet(), nullptr);
    EXPECT_EQ(s.CanAddMacro().text, macro_text::kNewMacroWithoutSet);
    EXPECT_EQ(s.CanDeleteMacro().text, macro_text::kNoMacroSelected);
}

TEST(MacroManagerState, DeletingASetKeepsShowingTheRightOne)
{
    struct Case {
        int shown;
        std::u16string deleted;
        std::u16string shownAfter, currentAfter;
        int text;
    };
    const Case cases[] = {
        {2, u"A", u"C", u"c0", 0},              // an earlier set went: still C
        {0, u"A", u"B", u"-", 0},               // the shown one went: the first left
        {0, u"C", u"A", u"a0", 0},
        {0, u"Z", u"A", u"a0", macro_text::kSetNameUnknown},
    };
    for (const Case& c : cases) {
        MacroLibrary lib = Library();
        MacroManagerState s(lib);
        s.Open(1, -1);
        s.ShowSet(c.shown);
        EXPECT_EQ(s.DeleteSet(c.deleted).text, c.text);
        EXPECT_EQ(ShownName(s), c.shownAfter) << int(c.deleted.size());
        EXPECT_EQ(CurrentName(s), c.currentAfter) << int(c.deleted.size());
    }
    MacroLibrary one;
    one.AppendSet(u"Only");
    MacroManagerState s(one);
    s.Open(1, -1);
    s.DeleteSet(u"Only");
    EXPECT_EQ(s.ShownSet(), nullptr);
    EXPECT_EQ(s.AddSet(u"").text, macro_text::kSetNameEmpty);
    EXPECT_FALSE(s.AddSet(u"New").Refused());
    EXPECT_EQ(s.AddSet(u"New").text, macro_text::kSetNameUsed);
    EXPECT_EQ(one.count(), 1u);
}

TEST(MacroManagerState, MacrosAreAddedRenamedAndDeleted)
{
    MacroLibrary lib = Library();
    MacroManagerState s(lib);
    s.Open(1, 1);
    EXPECT_EQ(s.AddMacro(u"a1").text, macro_text::kNameUsed);
    EXPECT_FALSE(s.AddMacro(u"a3").Refused());
    EXPECT_EQ(s.MacroSelection(), 3);
    EXPECT_EQ(CurrentName(s), u"a3");
    EXPECT_FALSE(s.RenameSelectedMacro(u"a3").Refused());
    EXPECT_EQ(s.RenameSelectedMacro(u"a0").text, macro_text::kNameUsed);

    s.SelectMacro(9);  // below the last row: the selection stays
    EXPECT_EQ(s.MacroSelection(), 3);
    s.SelectMacro(0);
    s.DeleteSelectedMacro();
    EXPECT_EQ(s.MacroSelection(), 0);
    EXPECT_EQ(CurrentName(s), u"a1");
    s.SelectMacro(2);
    s.DeleteSelectedMacro();
    EXPECT_EQ(CurrentName(s), u"a2");  // the one before it
    s.ShowSet(2);
    s.DeleteSelectedMacro();
    EXPECT_EQ(s.MacroSelection(), -1);
    EXPECT_EQ(s.CurrentMacro(), nullptr);
    EXPECT_EQ(s.CanDeleteMacro().text, macro_text::kNoMacroSelected);
}

TEST(MacroManagerState, LoopCountOnlyForARepeatCount)
{
    MacroLibrary lib = Library();
    MacroManagerState s(lib);
    s.Open(1, 0);
    s.SetLoopType(1);
    s.SetLoopCountText(u"9");
    EXPECT_EQ(s.CurrentMacro()->loopNum, 1);
    s.SetLoopType(2);
    EXPECT_EQ(s.SetLoopCountText(u"300").shown, u"255");
    EXPECT_EQ(s.CurrentMacro()->loopNum, 255);
    EXPECT_EQ(s.SetLoopCountText(u"0").shown, u"1");
    EXPECT_EQ(s.CurrentMacro()->loopNum, 1);
}

TEST(MacroManagerState, ImportReplacesOrKeepsEverything)
{
    TempFolder dir("tvl-macro-state-");
    MacroLibrary other;
    other.AppendSet(u"X");
    other.AppendSet(u"Y");
    other.AppendMacro(*other.SetAt(1), u"y0");
    ASSERT_TRUE(WriteMacroLibraryFile(other, dir.Slash() + "other.mlf"));

    MacroLibrary lib = Library();
    MacroManagerState s(lib);
    s.Open(1, 2);
    s.ShowSet(1);
    EXPECT_EQ(s.Import(dir.Slash() + "missing.mlf").text, macro_text::kImportFailed);
    EXPECT_EQ(lib, Library());
    EXPECT_EQ(ShownName(s), u"B");

    EXPECT_FALSE(s.Import(dir.Slash() + "other.mlf").Refused());
    EXPECT_EQ(lib, other);
    EXPECT_EQ(ShownName(s), u"Y");  // the same index
    EXPECT_EQ(CurrentName(s), u"y0");
}

}  // namespace
