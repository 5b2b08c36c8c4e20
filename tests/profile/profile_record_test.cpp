#include "profile/profile_record.h"

#include "base/ui_text.h"

#include <gtest/gtest.h>

namespace {

class ProfileRecordTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearUiTexts();
        g_sensorId = 0x3325;
    }
    void TearDown() override
    {
        ClearUiTexts();
        g_sensorId = kDefaultSensorId;
    }
};

TEST_F(ProfileRecordTest, ResetNamesAndLabelsFromTheLanguage)
{
    g_uiTexts[85] = u"P-A";
    g_uiTexts[88] = u"P-D";
    g_uiTexts[20] = u"Left";
    g_uiTexts[26] = u"Fire";
    g_uiTexts[100] = u"Breathing";
    ProfileRecord r;
    ResetProfileToDefaults(r, 3);
    EXPECT_EQ(GetProfileName(r), u"P-D");
    ResetProfileToDefaults(r, 0);
    EXPECT_EQ(GetProfileName(r), u"P-A");
    ResetProfileToDefaults(r, 5);
    EXPECT_EQ(GetProfileName(r), u"Profile6");
    EXPECT_EQ(r.buttons[0].label, u"Left");
    EXPECT_EQ(r.buttons[7].label, u"Fire");
    EXPECT_EQ(r.lighting.Lighting1Name, u"Breathing");
    EXPECT_EQ(r.lighting.Lighting2Name, u"Breathing");
    ClearUiTexts();
    ResetProfileToDefaults(r, 1);
    EXPECT_EQ(GetProfileName(r), u"");  // no language loaded
}

// The full default layout is checked byte for byte by the profile file's
// golden test; here only what a reset must clear from a used record.
TEST_F(ProfileRecordTest, ResetClearsWhatTheRecordHeld)
{
    ProfileRecord r;
    r.buttons[2].macro = MacroKey(u"old");
    r.buttons[2].macro.actionNum = 5;
    r.buttons[2].macro.loopType = 4;
    r.lighting.Lighting1FixedColor[9][9] = 0x123456;
    r.lighting.Lighting1ColorSelected[2][9] = 1;
    r.settings[13].key = u"changed";
    ResetProfileToDefaults(r, 0);
    EXPECT_EQ(r.buttons[2].macro, MacroKey{});
    EXPECT_EQ(r.lighting.Lighting1FixedColor[9][9], 0u);
    EXPECT_EQ(r.lighting.Lighting1ColorSelected[2][9], 0);
    EXPECT_EQ(r.settings[13].key, u"X_DPI");
    EXPECT_EQ(GetProfileSetting(r, 20, 0), u"");
    EXPECT_EQ(GetProfileSetting(r, 20, 1), u"");
    EXPECT_EQ(GetProfileSetting(r, 18, 0), u"KeyDebounce");
    EXPECT_EQ(GetProfileSetting(r, 18, 1), u"12");
}

TEST_F(ProfileRecordTest, SensorDpiDefaults)
{
    ProfileRecord r;
    ResetProfileToDefaults(r, 0);
    EXPECT_EQ(r.DPIOffOnFlagValue, 0x3F);
    EXPECT_EQ(r.XYSettingValue, (std::array<uint16_t, 8>{6, 14, 22, 30, 51, 58, 58, 50}));
    EXPECT_EQ(r.CurrentDPILevelValue, 1);
    EXPECT_EQ(r.DPILevelIndication,
              (std::array<COLORREF, 8>{0x0000FF, 0xFF0000, 0x00FF00, 0x00FFFF, 0xFFFF00, 0xFF00FF, 0xFFFFFF,
                                       0xFFFFFF}));
    EXPECT_EQ(r.LiftDetectionValue, 2);

    g_sensorId = 0x3389;
    ApplySensorDpiDefaults(r);
    EXPECT_EQ(r.XYSettingValue, (std::array<uint16_t, 8>{3, 7, 15, 31, 49, 59, 59, 59}));
    g_sensorId = 0x3399;
    ApplySensorDpiDefaults(r);
    EXPECT_EQ(r.XYSettingValue, (std::array<uint16_t, 8>{7, 15, 31, 63, 99, 99, 99, 99}));

    // An unknown sensor keeps the steps and still sets everything else.
    r.DPIOffOnFlagValue = 0xFF;
    r.CurrentDPILevelValue = 5;
    r.DPILevelIndication.fill(0);
    r.AngleSnapValue = 1;
    r.LiftDetectionValue = 9;
    g_sensorId = 0x1234;
    ApplySensorDpiDefaults(r);
    EXPECT_EQ(r.XYSettingValue, (std::array<uint16_t, 8>{7, 15, 31, 63, 99, 99, 99, 99}));
    EXPECT_EQ(r.DPIOffOnFlagValue, 0x3F);
    EXPECT_EQ(r.CurrentDPILevelValue, 1);
    EXPECT_EQ(r.DPILevelIndication[0], 0x0000FFu);
    EXPECT_EQ(r.AngleSnapValue, 0);
    EXPECT_EQ(r.LiftDetectionValue, 2);
}

TEST_F(ProfileRecordTest, SettersStoreDecimalAndOnOffRules)
{
    ProfileRecord r;
    ResetProfileToDefaults(r, 0);
    SetDoubleClickSpeed(r, -7);
    EXPECT_EQ(r.settings[kSetDoubleClickSpeed].value, u"-7");
    SetKeyDebounce(r, 30);
    EXPECT_EQ(r.settings[kSetKeyDebounce].value, u"30");
    EXPECT_EQ(ProfileSettingInt(r, kSetKeyDebounce), 30);

    SetMoveLightingOnOffMode(r, -1);
    EXPECT_EQ(r.settings[kSetMoveLightingOnOffMode].value, u"0");
    SetMoveLightingOnOffMode(r, 3);
    EXPECT_EQ(r.settings[kSetMoveLightingOnOffMode].value, u"1");
    SetMotionWakeup(r, -2);
    EXPECT_EQ(r.settings[kSetMotionWakeup].value, u"0");
    SetAccelerationEnable(r, -2);
    EXPECT_EQ(r.settings[kSetAccelerationEnable].value, u"1");
    SetScrollWheelPageEnable(r, 0);
    EXPECT_EQ(r.settings[kSetScrollWheelPageEnable].value, u"0");
    SetScrollWheelPageEnable(r, -5);
    EXPECT_EQ(r.settings[kSetScrollWheelPageEnable].value, u"1");
}

TEST_F(ProfileRecordTest, ButtonAccessAndParsing)
{
    ProfileRecord r;
    EXPECT_EQ(GetButton(r, 7), &r.buttons[7]);
    EXPECT_EQ(GetButton(r, 8), nullptr);
    EXPECT_EQ(GetButton(r, -1), nullptr);
    EXPECT_EQ(ParseDecimal(u"12abc"), 12);
    EXPECT_EQ(ParseDecimal(u"abc"), 0);
    EXPECT_EQ(ParseDecimal(u" -3"), -3);
    EXPECT_EQ(ParseDecimal(u"99999999999999999999999"), 1000000000000000000LL);
}

}  // namespace
