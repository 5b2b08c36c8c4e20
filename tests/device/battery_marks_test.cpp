// When a battery's fall is worth a word: the rule the window's notifications
// and `tevlanctl watch` share.
#include "device/battery_marks.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Reading {
    int level;
    bool charging;
    int expected;  // the mark announced, 0 for none
};

TEST(BatteryMarks, EachMarkSpeaksOnceUntilTheLevelClearlyRisesAgain)
{
    const struct {
        const char* what;
        std::vector<Reading> readings;
    } cases[] = {
        {"a slow fall", {{25, false, 0}, {21, false, 0}, {20, false, 20}, {19, false, 0}, {11, false, 0},
                         {10, false, 10}, {6, false, 0}, {5, false, 5}, {4, false, 0}, {0, false, 0}}},
        {"a jump past two marks names the lowest once",
         {{30, false, 0}, {8, false, 10}, {7, false, 0}, {5, false, 5}}},
        {"a reading that wobbles at the mark", {{21, false, 0}, {20, false, 20}, {21, false, 0}, {20, false, 0},
                                                 {23, false, 0}, {20, false, 0}, {24, false, 0}, {20, false, 20}}},
        {"the first reading announces nothing", {{15, false, 0}, {12, false, 0}, {10, false, 10}}},
        {"a charging mouse never warns", {{22, true, 0}, {19, true, 0}, {19, false, 0}, {17, false, 0}}},
        {"charged and run down again", {{12, false, 0}, {30, true, 0}, {30, false, 0}, {20, false, 20},
                                         {10, false, 10}}},
        {"an unknown level counts as empty", {{30, false, 0}, {101, false, 5}}},
    };
    for (const auto& c : cases) {
        CBatteryMarks marks;
        for (size_t i = 0; i < c.readings.size(); ++i) {
            const Reading& r = c.readings[i];
            EXPECT_EQ(marks.Update(r.level, r.charging), r.expected) << c.what << ", reading " << i;
        }
    }
}

TEST(BatteryMarks, TheTrayPictureWarnsBelowTwentyUnlessCharging)
{
    EXPECT_EQ(BatteryBars(100), 4);
    EXPECT_EQ(BatteryBars(50), 2);
    EXPECT_EQ(BatteryBars(5), 0);
    EXPECT_EQ(BatteryBars(250), 0);
    EXPECT_TRUE(BatteryWarns(19, false));
    EXPECT_FALSE(BatteryWarns(20, false));
    EXPECT_FALSE(BatteryWarns(3, true));
}

}  // namespace
