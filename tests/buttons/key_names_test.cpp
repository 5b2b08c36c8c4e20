#include "buttons/key_names.h"

#include <gtest/gtest.h>

#include <set>

TEST(KeyNames, RangeRulesCoverTheirWholeRangeAndStopAtTheEdges)
{
    EXPECT_EQ(GetKeyName(0x30), u"0");
    EXPECT_EQ(GetKeyName(0x39), u"9");
    EXPECT_EQ(GetKeyName(0x3A), u"Undefined");
    EXPECT_EQ(GetKeyName(0x40), u"Undefined");
    EXPECT_EQ(GetKeyName(0x41), u"A");
    EXPECT_EQ(GetKeyName(0x5A), u"Z");
    EXPECT_EQ(GetKeyName(0x60), u"Num0");
    EXPECT_EQ(GetKeyName(0x69), u"Num9");
    EXPECT_EQ(GetKeyName(0x70), u"F1");
    EXPECT_EQ(GetKeyName(0x79), u"F10");
    EXPECT_EQ(GetKeyName(0x87), u"F24");
    EXPECT_EQ(GetKeyName(0x88), u"Undefined");
}

TEST(KeyNames, NamedKeysIncludingPunctuationAndMacroMouseCodes)
{
    EXPECT_EQ(GetKeyName(0x01), u"LBUTTON");
    EXPECT_EQ(GetKeyName(0x08), u"Backspace");
    EXPECT_EQ(GetKeyName(0x21), u"Page Up");
    EXPECT_EQ(GetKeyName(0x2C), u"Print Screen");
    EXPECT_EQ(GetKeyName(0x5B), u"Win_L");
    EXPECT_EQ(GetKeyName(0x5F), u"Sleep");
    EXPECT_EQ(GetKeyName(0x6F), u"Divide");
    EXPECT_EQ(GetKeyName(0x91), u"Scroll Lock");
    EXPECT_EQ(GetKeyName(0xA5), u"Alt_R");
    EXPECT_EQ(GetKeyName(0xC0), u"~");
    EXPECT_EQ(GetKeyName(0xDC), u"\\");
    EXPECT_EQ(GetKeyName(0xDE), u"'");
    EXPECT_EQ(GetKeyName(0xE0), u"L Key");
    EXPECT_EQ(GetKeyName(0xE4), u"K5");
    EXPECT_EQ(GetKeyName(0xE7), u"Mouse Wheel");
}

TEST(KeyNames, UnnamedAndOutOfRangeCodesReadUndefined)
{
    for (int code : {0x00, 0x07, 0x0A, 0x0E, 0x16, 0x1A, 0x5E, 0x92, 0xB9, 0xDF, 0xE8, 0xFF})
        EXPECT_EQ(GetKeyName(code), u"Undefined") << code;
    for (int code = 0xF0; code <= 0xFB; ++code) EXPECT_EQ(GetKeyName(code), u"Undefined") << code;
    // Raw message parameters are not folded by their low byte: 0x141 is not "A".
    EXPECT_EQ(GetKeyName(-1), u"Undefined");
    EXPECT_EQ(GetKeyName(256), u"Undefined");
    EXPECT_EQ(GetKeyName(0x141), u"Undefined");
}

TEST(KeyNames, EveryNameAppearsOnceAndNoEntryIsLostOrDoubled)
{
    // 70 names from the range rules and 77 single entries; a typo in a code
    // would either overwrite another key or leave a gap, changing the count
    // or producing a duplicate.
    std::set<std::u16string> names;
    int named = 0;
    for (const std::u16string& n : GetKeyNameTable()) {
        ASSERT_FALSE(n.empty());
        if (n == u"Undefined") continue;
        ++named;
        EXPECT_TRUE(names.insert(n).second) << "duplicate name";
    }
    EXPECT_EQ(named, 147);
}
