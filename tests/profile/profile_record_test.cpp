#include "profile/profile_record.h"

#include "persist/ui_text.h"

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

TEST_F(ProfileRecordTest, ConstructionValues)
{
    ProfileRecord r;
    EXPECT_EQ(r.lighting.Lighting1OffOn, 1);
    EXPECT_EQ(r.lighting.Lighting2OffOn, 1);
    EXPECT_EQ(r.lighting.Lighting2Speed, 2);
    EXPECT_EQ(r.lighting.Lighting2Brightness, 100);
    EXPECT_EQ(r.DPIOffOnFlagValue, 0x7F);
    EXPECT_EQ(r.CurrentDPILevelValue, 0);
    EXPECT_TRUE(r.settings[0].key.empty());
    EXPECT_EQ(r.buttons[7].macro.actionNum, 0u);
    EXPECT_EQ(r.buttons[7].macro.loopType, 2);
}

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

TEST_F(ProfileRecordTest, ResetSettingsButtonsAndLighting)
{
    ProfileRecord r;
    r.buttons[2].macro.actionNum = 5;
    r.buttons[2].macro.name = u"old";
    r.lighting.Lighting1FixedColor[9][9] = 0x123456;
    ResetProfileToDefaults(r, 0);

    const char16_t* keys[] = {u"ProfileName", u"GameFile0", u"GameFile1", u"GameFile2", u"DoubleClickSpeed",
                              u"PointerSpeed", u"AccelerationEnable", u"ScrollWheelSpeed",
                              u"ScrollWheelPageEnable", u"TiltSpeed", u"Sensitivity_X", u"Sensitivity_Y",
                              u"XYSynchronous", u"X_DPI", u"Y_DPI", u"MoveLightingOnOffMode", u"PowerDownTime",
                              u"LiftDetectionHeight", u"KeyDebounce", u"MotionWakeup"};
    const char16_t* values[] = {u"", u"", u"", u"", u"6", u"5", u"1", u"2", u"0", u"2",
                                u"4", u"4", u"1", u"1", u"1", u"0", u"6", u"2", u"12", u"1"};
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(GetProfileSetting(r, i, 0), keys[i]);
        EXPECT_EQ(GetProfileSetting(r, i, 1), values[i]);
    }
    EXPECT_EQ(GetProfileSetting(r, 20, 0), u"");
    EXPECT_EQ(GetProfileSetting(r, 20, 1), u"");

    const ButtonFunctionCode codes[] = {{0x10, 1, 0}, {0x10, 2, 0}, {0x10, 4, 0}, {0x10, 0x10, 0},
                                        {0x10, 8, 0}, {0x40, 2, 0}, {0x40, 3, 0}, {0x30, 0x32, 3}};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(r.buttons[size_t(i)].code, codes[i]) << i;
    EXPECT_EQ(r.buttons[2].macro, MacroKey{});

    EXPECT_EQ(r.PollingRateName, u"1000HZ");
    EXPECT_EQ(r.PollingRateValue, (std::array<uint8_t, 3>{3, 0, 0}));
    const LightingSettings& l = r.lighting;
    EXPECT_EQ(l.Lighting1ModeValue, (std::array<uint8_t, 3>{1, 0, 0}));
    for (int m = 0; m < 10; ++m) {
        EXPECT_EQ(l.Lighting1Speed[size_t(m)], 1);
        EXPECT_EQ(l.Lighting1Brightness[size_t(m)], m == 3 ? 3 : 1);
        EXPECT_EQ(l.Lighting1Direction[size_t(m)], m == 1 ? 1 : 0);
    }
    EXPECT_EQ(l.Lighting1FixedColor[9][9], 0u);
    EXPECT_EQ(l.Lighting1FixedColor[2][0], 0x0000FFu);
    EXPECT_EQ(l.Lighting1FixedColor[2][6], 0xFFFFFFu);
    EXPECT_EQ(l.Lighting1ColorSelected[2][6], 1);
    EXPECT_EQ(l.Lighting1ColorSelected[2][7], 0);
    EXPECT_EQ(l.Lighting1FixedColor[3][0], 0xFF00FFu);
    EXPECT_EQ(l.Lighting1ColorSelected[3][1], 0);
    EXPECT_EQ(l.Lighting1FixedColor[6][7], 0xFF46FAu);
    EXPECT_EQ(l.Lighting1FixedColor[7][1], 0x6A00FAu);
    EXPECT_EQ(l.Lighting1ColorSelected[7][1], 1);
    int selected = 0;
    for (auto& g : l.Lighting1ColorSelected)
        for (auto v : g) selected += v;
    EXPECT_EQ(selected, 7 + 1 + 8 + 2);
    EXPECT_EQ(l.Lighting1OffOn, 1);
    EXPECT_EQ(l.Lighting2OffOn, 0);
    EXPECT_EQ(l.Lighting2Speed, 0);
    EXPECT_EQ(l.Lighting2Brightness, 0);
    EXPECT_EQ(l.Lighting2ModeValue, (std::array<uint8_t, 3>{1, 0, 0}));
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
