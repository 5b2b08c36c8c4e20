#include "settings/dpi_levels.h"

#include <gtest/gtest.h>

#include "settings/dpi_step_table.h"
#include "settings/sent_group.h"

namespace {

TEST(DpiLevels, EnablingAndDisablingKeepsTheCurrentLevel)
{
    struct Case {
        uint8_t mask;
        int ordinal, level;
        bool enable;
        bool refused;
        uint8_t mask2;
        int ordinal2;
    } const cases[] = {
        {0b00000100, 0, 2, false, true, 0b00000100, 0},   // the only enabled level stays
        {0b00001111, 2, 1, false, false, 0b00001101, 1},  // below the current: still level 2
        {0b00001111, 2, 2, false, false, 0b00001011, 1},  // the current itself: level 1 takes over
        {0b00001111, 2, 3, false, false, 0b00000111, 2},  // above the current: nothing moves
        {0b00001111, 0, 0, false, false, 0b00001110, 0},  // the lowest current: the next one up
        {0b00000101, 0, 1, true, false, 0b00000111, 0},   // above the current: nothing moves
        {0b00000101, 1, 1, true, false, 0b00000111, 2},   // below the current (level 2): it moves up
        {0b00000101, 1, 2, true, false, 0b00000101, 1},   // already enabled: no change at all
        // An ordinal past the enabled levels counts as the highest one (level 2),
        // not as level 0, which is not even enabled here.
        {0b00001100, 7, 3, false, false, 0b00000100, 0},
        {0b00001100, 5, 1, true, false, 0b00001110, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mask " << int(c.mask) << " ordinal " << c.ordinal << " level " << c.level);
        const DpiEnableResult r = ChangeDpiLevelEnabled(c.mask, c.ordinal, c.level, c.enable);
        EXPECT_EQ(r.refused, c.refused);
        EXPECT_EQ(r.mask, c.mask2);
        EXPECT_EQ(r.ordinal, c.ordinal2);
    }
}

TEST(DpiLevels, ProfileEditWritesMaskAndOrdinalOrRefusesWithItsText)
{
    ProfileRecord p;
    p.DPIOffOnFlagValue = 0b00001111;
    p.CurrentDPILevelValue = 2;
    int working = 2;
    EXPECT_EQ(Sent(EditDpiLevelEnabled(p, working, 1, false)), PendingGroup::DpiAndMore);
    EXPECT_EQ(p.DPIOffOnFlagValue, 0b00001101);
    EXPECT_EQ(p.CurrentDPILevelValue, 1);
    EXPECT_EQ(working, 1);

    p.DPIOffOnFlagValue = 0b00010000;
    const SettingChange last = EditDpiLevelEnabled(p, working, 4, false);
    EXPECT_TRUE(last.refused);
    EXPECT_EQ(last.refusalText, kTextKeepOneDpiLevel);
    EXPECT_EQ(p.DPIOffOnFlagValue, 0b00010000);
    EXPECT_EQ(EditDpiLevelEnabled(p, working, 8, true).refusalText, kTextValueOutOfRange);
}

TEST(DpiLevels, TypedValueTakesTheFirstStepThatReachesIt)
{
    ASSERT_TRUE(BuildDpiStepTable(0x3325));
    const struct {
        const char16_t* text;
        int dpi;
    } cases[] = {
        {u"5200", 5500}, {u"99999", 10000}, {u"5000", 5000}, {u"150", 200},
        {u"-300", 200},  {u"abc", 200},     {u"", 200},      {u"99999999999999999999999", 10000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text, c.text + std::char_traits<char16_t>::length(c.text)));
        EXPECT_EQ(DpiStepValue(DpiStepForText(c.text)), c.dpi);
    }
}

}  // namespace
