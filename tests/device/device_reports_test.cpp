#include "device/device_reports.h"

#include "device_test_support.h"

namespace {

std::vector<uint8_t> Bytes(const FeatureReport& r, int from, int to) { return {r.begin() + from, r.begin() + to + 1}; }

class ResetProfileReports : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetAllProfiles();
        p = g_profiles[0];
    }
    ProfileRecord p;
};

TEST_F(ResetProfileReports, DpiLevelsAndColours)
{
    const FeatureReport dpi = BuildDpiReport(BuildDpiImage(p));
    EXPECT_EQ(Bytes(dpi, 0, 3), (std::vector<uint8_t>{0x0C, 0x01, 0x05, 0x00}));
    EXPECT_EQ(dpi[5], 0x01);
    EXPECT_EQ(Bytes(dpi, 6, 20), (std::vector<uint8_t>{0x12, 0x26, 0x3F, 0x07, 0x00, 0x0F, 0x00, 0x17, 0x00, 0x1F,
                                                        0x00, 0x34, 0x00, 0x3B, 0x00}));
    // Levels 7 and 8 are off but go out all the same (steps 58 and 50).
    EXPECT_EQ(Bytes(dpi, 21, 24), (std::vector<uint8_t>{0x3B, 0x00, 0x33, 0x00}));
    EXPECT_EQ(Bytes(dpi, 25, 32), std::vector<uint8_t>(8, 0));

    const FeatureReport colours = BuildDpiColourReport(BuildDpiColourImage(p));
    EXPECT_EQ(colours[2], 0x06);
    EXPECT_EQ(colours[6], 0x18);
    EXPECT_EQ(Bytes(colours, 7, 30), (std::vector<uint8_t>{0xFF, 0, 0, 0, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0xFF, 0, 0,
                                                            0xFF, 0xFF, 0xFF, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                                            0xFF}));
}

TEST_F(ResetProfileReports, EightEnabledLevelsAllReachTheMouse)
{
    // A sensor whose codes pass 255, so the high bytes count too.
    ASSERT_TRUE(BuildDpiStepTable(0x3395));
    p.DPIOffOnFlagValue = 0xFF;
    p.CurrentDPILevelValue = 7;
    p.XYSettingValue = {0, 99, 199, 255, 256, 300, 400, 519};
    const FeatureReport dpi = BuildDpiReport(BuildDpiImage(p));
    BuildDpiStepTable(0x3325);
    EXPECT_EQ(Bytes(dpi, 0, 6), (std::vector<uint8_t>{0x0C, 0x01, 0x05, 0x00, 0x00, 0x01, 0x12}));
    EXPECT_EQ(Bytes(dpi, 7, 24), (std::vector<uint8_t>{0x88, 0xFF, 0x00, 0x00, 0x63, 0x00, 0xC7, 0x00, 0xFF, 0x00,
                                                        0x00, 0x01, 0x2C, 0x01, 0x90, 0x01, 0x07, 0x02}));
    EXPECT_EQ(Bytes(dpi, 25, 32), std::vector<uint8_t>(8, 0));
}

TEST_F(ResetProfileReports, LightingAndFirstButton)
{
    const FeatureReport light = BuildLightingReport(BuildLightingImage(p, true));
    EXPECT_EQ(light[2], 0x08);
    EXPECT_EQ(Bytes(light, 6, 9), (std::vector<uint8_t>{0x03, 0x01, 0x22, 0x01}));
    EXPECT_EQ(Bytes(light, 10, 32), std::vector<uint8_t>(23, 0));

    const KeyImage keys = BuildKeyImage(p);
    const FeatureReport key = BuildKeyReport(0, &keys[2]);
    EXPECT_EQ(Bytes(key, 0, 3), (std::vector<uint8_t>{0x0C, 0x01, 0x04, 0x00}));
    EXPECT_EQ(Bytes(key, 5, 10), (std::vector<uint8_t>{0x01, 0x04, 0x00, 0x10, 0x01, 0x00}));
    EXPECT_EQ(Bytes(key, 11, 32), std::vector<uint8_t>(22, 0));
    // Device indexes 3 and 4 carry record buttons 4 and 3.
    EXPECT_EQ(keys[2 + 9 + 1], 0x08);
    EXPECT_EQ(keys[2 + 12 + 1], 0x10);
}

TEST_F(ResetProfileReports, PollingRatesRoundTripBetweenIndexIntervalAndName)
{
    struct Case {
        int index;
        uint8_t intervalMs;
        const char16_t* name;
    };
    for (const Case& c : {Case{0, 8, u"125Hz"}, Case{1, 4, u"250Hz"}, Case{2, 2, u"500Hz"}, Case{3, 1, u"1000Hz"}}) {
        p.PollingRateValue[0] = uint8_t(c.index);
        EXPECT_EQ(BuildPollingByte(p), c.intervalMs) << c.index;
        EXPECT_EQ(PollingIndexOfInterval(c.intervalMs), c.index) << int(c.intervalMs);
        EXPECT_EQ(std::u16string(PollingRateReportName(c.index)), c.name) << c.index;
    }
    // What the mouse may report that the program does not offer reads as the fastest.
    EXPECT_EQ(PollingIndexOfInterval(3), 3);
    EXPECT_EQ(std::u16string(PollingRateReportName(-1)), u"1000Hz");
}

TEST_F(ResetProfileReports, SettingsBytesFromTheirTexts)
{
    p.PollingRateValue[0] = 7;
    EXPECT_EQ(BuildPollingByte(p), 1);
    p.PollingRateValue[0] = 1;
    EXPECT_EQ(BuildPollingByte(p), 4);
    p.settings[kSetLiftDetectionHeight].value = u"0";
    EXPECT_EQ(BuildLiftOffReport(BuildLiftOffByte(p))[7], 2);
    p.settings[kSetLiftDetectionHeight].value = u"1";
    EXPECT_EQ(BuildLiftOffByte(p), 1);
    p.settings[kSetKeyDebounce].value = u"260";
    EXPECT_EQ(BuildDebounceByte(p), 4);  // low 8 bits
    EXPECT_EQ(BuildPowerBytes(p), (std::array<uint8_t, 2>{6, 0}));
    EXPECT_EQ(BuildPowerReport(BuildPowerBytes(p))[6], 2);
    p.DPIOffOnFlagValue = 0xFF;
    p.CurrentDPILevelValue = 0x0F;  // (16 << 4) keeps only the low 8 bits
    EXPECT_EQ(BuildDpiImage(p)[0], 0x08);
}

TEST_F(ResetProfileReports, LightingModes)
{
    LightingSettings& l = p.lighting;
    l.Lighting1ModeValue[0] = 2;
    l.Lighting1FixedColor[2][3] = 0;  // a black slot is left out
    LightingImage img = BuildLightingImage(p, true);
    EXPECT_EQ(img[0], 21);
    EXPECT_EQ(img[3], 6);
    EXPECT_EQ(std::vector<uint8_t>(img.begin() + 4, img.begin() + 16),
              (std::vector<uint8_t>{0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0}));
    EXPECT_EQ(BuildLightingReport(img)[6], 21);

    l.Lighting1ModeValue[0] = 6;
    l.Lighting1ColorSelected[6][1] = 0;
    img = BuildLightingImage(p, true);
    EXPECT_EQ(img[0], 0x17);
    EXPECT_EQ(img[3], 0xFF);
    EXPECT_EQ(img[6], 0);  // unselected slot 1 is zeros
    EXPECT_EQ(img[21], 0xFF);  // slot 6, white

    l.Lighting1ModeValue[0] = 7;
    EXPECT_EQ(BuildLightingImage(p, false)[3], 0x00);  // first colour green: no red
    l.Lighting1FixedColor[7][0] = Rgb(0x40, 0x10, 0x20);
    EXPECT_EQ(BuildLightingImage(p, false)[3], 0x40);
    EXPECT_EQ(BuildLightingImage(p, true)[3], 0x00);
    EXPECT_EQ(BuildLightingImage(p, true)[4], 0x10);

    l.Lighting1ModeValue[0] = 3;
    img = BuildLightingImage(p, true);
    EXPECT_EQ(std::vector<uint8_t>(img.begin(), img.begin() + 6), (std::vector<uint8_t>{5, 3, 0x42, 0xFF, 0, 0xFF}));
    l.Lighting1ModeValue[0] = 12;
    EXPECT_EQ(BuildLightingImage(p, true)[0], 0);
}

}  // namespace
