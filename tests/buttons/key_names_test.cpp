#include "buttons/key_names.h"

#include <gtest/gtest.h>

#include <set>

TEST(KeyNames, RangeEdgesAndSingleNames)
{
    const std::pair<int, const char16_t*> cases[] = {
        {0x30, u"0"},      {0x39, u"9"},         {0x3A, u"Undefined"}, {0x41, u"A"},
        {0x5A, u"Z"},      {0x60, u"Num0"},      {0x69, u"Num9"},      {0x70, u"F1"},
        {0x79, u"F10"},    {0x87, u"F24"},       {0x88, u"Undefined"}, {0x2C, u"Print Screen"},
        {0xDC, u"\\"},     {0xDE, u"'"},         {0xE0, u"L Key"},     {0xE7, u"Mouse Wheel"}};
    for (const auto& [code, name] : cases) EXPECT_EQ(GetKeyName(code), name) << code;
}

TEST(KeyNames, UnnamedAndOutOfRangeCodesReadUndefined)
{
    for (int code : {0x00, 0x07, 0x0E, 0x16, 0x5E, 0xDF, 0xE8, 0xFF, 0xF0, 0xFB})
        EXPECT_EQ(GetKeyName(code), u"Undefined") << code;
    // Raw message parameters are not folded by their low byte: 0x141 is not "A".
    for (int code : {-1, 256, 0x141}) EXPECT_EQ(GetKeyName(code), u"Undefined") << code;
}

TEST(KeyNames, NoEntryIsLostOrDoubled)
{
    // 70 names from the range rules and 77 single entries: a mistyped code
    // overwrites another key or leaves a gap, and shows up here.
    std::set<std::u16string> names;
    int named = 0;
    for (const std::u16string& n : GetKeyNameTable()) {
        if (n == u"Undefined") continue;
        ++named;
        EXPECT_TRUE(names.insert(n).second) << "duplicate name";
    }
    EXPECT_EQ(named, 147);
}
