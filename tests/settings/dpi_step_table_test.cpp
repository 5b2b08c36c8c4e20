#include "settings/dpi_step_table.h"

#include <gtest/gtest.h>

namespace {

struct Expect {
    uint16_t sensor;
    int count;
    int first, last;
    uint16_t firstCode, lastCode;
    bool lift;
};

TEST(DpiStepTable, EverySensorsSizeEndsAndCodes)
{
    const Expect all[] = {
        {0x3104, 48, 100, 8000, 0, 47, false},   {0x3325, 59, 200, 10000, 1, 59, false},
        {0x3327, 74, 200, 12400, 1, 74, false},  {0x3212, 42, 200, 4800, 1, 42, false},
        {0x3335, 160, 100, 16000, 0, 159, true}, {0x3360, 121, 100, 24000, 0, 120, true},
        {0x3370, 290, 50, 19000, 0, 289, true},  {0x3389, 160, 100, 16000, 0, 159, true},
        {0x3395, 520, 50, 26000, 0, 519, true},  {0x3399, 400, 50, 20000, 0, 399, true},
    };
    for (const auto& e : all) {
        SCOPED_TRACE(e.sensor);
        ASSERT_TRUE(BuildDpiStepTable(e.sensor));
        EXPECT_EQ(DpiStepCount(), e.count);
        EXPECT_EQ(DpiStepValue(0), e.first);
        EXPECT_EQ(DpiStepValue(e.count - 1), e.last);
        EXPECT_EQ(DpiDeviceCode(0), e.firstCode);
        EXPECT_EQ(DpiDeviceCode(e.count - 1), e.lastCode);
        EXPECT_EQ(LiftOffChoiceAvailable(), e.lift);
        // Every scale rises strictly.
        for (int i = 1; i < e.count; ++i) ASSERT_GT(DpiStepValue(i), DpiStepValue(i - 1)) << i;
    }
}

TEST(DpiStepTable, WhereTheScalesChangeTheirStride)
{
    BuildDpiStepTable(0x3325);
    EXPECT_EQ(DpiStepValue(48), 5000);
    EXPECT_EQ(DpiStepValue(51), 6400);
    BuildDpiStepTable(0x3327);
    EXPECT_EQ(DpiStepValue(61), 6500);
    EXPECT_EQ(DpiStepValue(72), 12000);
    BuildDpiStepTable(0x3212);
    EXPECT_EQ(DpiStepValue(23), 3000);
    BuildDpiStepTable(0x3370);
    EXPECT_EQ(DpiStepValue(200), 10100);
}

TEST(DpiStepTable, UnknownSensorKeepsTheTable)
{
    ASSERT_TRUE(BuildDpiStepTable(0x3360));
    EXPECT_FALSE(BuildDpiStepTable(0x1234));
    EXPECT_EQ(DpiStepCount(), 121);
    EXPECT_EQ(DpiStepValue(120), 24000);
    EXPECT_TRUE(LiftOffChoiceAvailable());
    EXPECT_FALSE(IsKnownDpiSensor(0x1234));
}

TEST(DpiStepTable, IndexOutsideTheTableIsClamped)
{
    // 0x3104 profiles keep default steps 58 and 50 past its 48 steps.
    BuildDpiStepTable(0x3104);
    EXPECT_EQ(DpiStepValue(58), 8000);
    EXPECT_EQ(DpiDeviceCode(58), 47);
    EXPECT_EQ(DpiStepValue(-1), 100);
    g_dpiStepTable = DpiStepTable{};
    EXPECT_EQ(DpiStepValue(3), 0);
    EXPECT_EQ(DpiDeviceCode(3), 0);
}

TEST(LevelFromOrdinal, CountsSetBitsFromBitZero)
{
    EXPECT_EQ(LevelFromOrdinal(0b00101100, 0), 2);
    EXPECT_EQ(LevelFromOrdinal(0b00101100, 1), 3);
    EXPECT_EQ(LevelFromOrdinal(0b00101100, 2), 5);
    EXPECT_EQ(LevelFromOrdinal(0b00101100, 8), 0);
    EXPECT_EQ(LevelFromOrdinal(0b00101100, 3), 0);  // fewer levels than the ordinal
    EXPECT_EQ(LevelFromOrdinal(0xFF, 7), 7);
    EXPECT_EQ(LevelFromOrdinal(0x3F, 1), 1);
}

}  // namespace
