#include "profile/macro_model.h"

#include <gtest/gtest.h>

namespace {

MacroAction Key(uint8_t code, bool release = false) { return MacroAction::Key(code, release); }

MacroKey MacroWith(int n)
{
    MacroKey m(u"m");
    for (int i = 0; i < n; ++i) EXPECT_TRUE(m.InsertAction(i, Key(uint8_t(0x41 + i % 20))));
    return m;
}

TEST(MacroKey, GetAndSetOutsideTheSlots)
{
    MacroKey m = MacroWith(2);
    EXPECT_EQ(m.GetAction(400), m.actions[0]);
    EXPECT_EQ(m.GetAction(-1), m.actions[0]);
    EXPECT_EQ(m.GetAction(1), Key(0x42));
    MacroKey before = m;
    EXPECT_FALSE(m.SetAction(336, Key(0x10)));
    EXPECT_FALSE(m.SetAction(-1, Key(0x10)));
    EXPECT_EQ(m, before);
    EXPECT_TRUE(m.SetAction(335, Key(0x10)));
    EXPECT_EQ(m.actions[335], Key(0x10));
    EXPECT_EQ(m.actionNum, 2u);  // SetAction never changes the count
}

TEST(MacroKey, InsertClampsAndShifts)
{
    MacroKey m = MacroWith(3);
    EXPECT_TRUE(m.InsertAction(100, Key(0x70)));  // past the end: appended at actionNum
    EXPECT_EQ(m.actionNum, 4u);
    EXPECT_EQ(m.actions[3], Key(0x70));
    EXPECT_EQ(m.actions[4], MacroAction{});
    EXPECT_TRUE(m.InsertAction(0, Key(0x71)));
    EXPECT_EQ(m.actions[0], Key(0x71));
    EXPECT_EQ(m.actions[1], Key(0x41));
    EXPECT_EQ(m.actions[4], Key(0x70));
}

TEST(MacroKey, InsertDropsSlot335AndRefusesAFullMacro)
{
    MacroKey m = MacroWith(335);
    m.actions[335] = Key(0x99);  // stale content beyond the count
    EXPECT_TRUE(m.InsertAction(0, Key(0x20)));
    EXPECT_EQ(m.actionNum, 336u);
    EXPECT_EQ(m.actions[335], Key(uint8_t(0x41 + 334 % 20)));  // old 334 moved up, 0x99 dropped
    MacroKey full = m;
    EXPECT_FALSE(m.InsertAction(5, Key(0x21)));
    EXPECT_EQ(m, full);
    // A count that claims more than the slots hold is full as well.
    m.actionNum = 1000;
    EXPECT_FALSE(m.InsertAction(5, Key(0x21)));
    EXPECT_EQ(m.UsedActions(), 336);
}

TEST(MacroKey, DeleteMovesDownAndZeroesTheLastSlot)
{
    MacroKey m = MacroWith(3);
    m.actions[335] = Key(0x99);
    EXPECT_TRUE(m.DeleteAction(0));
    EXPECT_EQ(m.actionNum, 2u);
    EXPECT_EQ(m.actions[0], Key(0x42));
    EXPECT_EQ(m.actions[1], Key(0x43));
    EXPECT_EQ(m.actions[335], MacroAction{});
    MacroKey m3 = MacroWith(3);
    EXPECT_FALSE(m3.DeleteAction(3));
    EXPECT_FALSE(m3.DeleteAction(-1));
    EXPECT_EQ(m3.actionNum, 3u);
}

TEST(MacroLibrary, SetsAppendFindAndDelete)
{
    MacroLibrary lib;
    EXPECT_EQ(lib.SetAt(0), nullptr);
    lib.AppendSet(u"A");
    lib.AppendSet(u"B");
    lib.AppendSet(u"A");  // a duplicate only a foreign file can produce
    MacroSet* b = lib.SetAt(1);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(lib.count(), 3u);
    EXPECT_EQ(lib.SetAt(3), nullptr);

    lib.AppendMacro(*lib.SetAt(0), u"first");
    lib.DeleteSetByName(u"nope");
    EXPECT_EQ(lib.count(), 3u);
    lib.DeleteSetByName(u"A");  // removes the first of the two
    EXPECT_EQ(lib.count(), 2u);
    EXPECT_EQ(lib.SetAt(0), b);  // other nodes stay where they were
    EXPECT_EQ(lib.SetAt(1)->name, u"A");
    EXPECT_EQ(lib.SetAt(1)->macroNum(), 0u);
    lib.DeleteSetByName(u"a");  // case-sensitive
    EXPECT_EQ(lib.count(), 2u);
    lib.ClearLibrary();
    EXPECT_EQ(lib.count(), 0u);
}

TEST(MacroLibrary, MacrosInASet)
{
    MacroLibrary lib;
    lib.AppendSet(u"S");
    MacroSet& s = *lib.SetAt(0);
    lib.AppendMacro(s, u"one");
    lib.AppendMacro(s, u"two");
    lib.AppendMacro(s, u"three");
    MacroKey* three = lib.MacroAt(s, 2);
    ASSERT_NE(three, nullptr);
    EXPECT_EQ(three->loopType, 2);
    EXPECT_TRUE(lib.HasMacroNamed(s, u"two"));
    EXPECT_FALSE(lib.HasMacroNamed(s, u"Two"));
    EXPECT_FALSE(lib.DeleteMacro(s, 3));
    EXPECT_TRUE(lib.DeleteMacro(s, 1));
    EXPECT_EQ(s.macroNum(), 2u);
    EXPECT_EQ(lib.MacroAt(s, 1), three);
    lib.RenameMacro(*three, u"drei");
    EXPECT_TRUE(lib.HasMacroNamed(s, u"drei"));
    EXPECT_EQ(lib.MacroAt(s, 2), nullptr);

    MacroLibrary copy = lib;  // the two run-time copies are independent
    copy.RenameMacro(*copy.MacroAt(*copy.SetAt(0), 0), u"x");
    EXPECT_EQ(lib.MacroAt(s, 0)->name, u"one");
}

}  // namespace
