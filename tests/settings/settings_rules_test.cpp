// The rules behind the sensor, power, pointer, lighting and palette controls.
#include <gtest/gtest.h>

#include "base/ui_text.h"
#include "settings/sent_group.h"
#include "settings/colour_palette.h"
#include "settings/lighting_settings.h"
#include "settings/pointer_preferences.h"
#include "settings/sensor_settings.h"

namespace {

ProfileRecord Fresh()
{
    g_sensorId = kDefaultSensorId;
    ProfileRecord p;
    ResetProfileToDefaults(p, 0);
    return p;
}

TEST(SensorSettings, PollingDebounceAndPowerStoreWhatTheWindowShows)
{
    ProfileRecord p = Fresh();
    EXPECT_EQ(Sent(EditPollingRate(p, 2)), PendingGroup::DpiAndMore);
    EXPECT_EQ(p.PollingRateName, u"500HZ");
    EXPECT_EQ(p.PollingRateValue, (std::array<uint8_t, 3>{2, 0, 0}));
    EXPECT_EQ(PollingCaptionIndex(p), 2);
    EXPECT_TRUE(EditPollingRate(p, 4).refused);

    EXPECT_EQ(Sent(EditDebouncePosition(p, 15)), PendingGroup::DpiAndMore);
    EXPECT_EQ(p.settings[kSetKeyDebounce].value, u"30");
    EXPECT_EQ(DebounceMsCaption(15), u"30ms");
    // A stored odd time (only a file holds one) shows the step below it.
    EXPECT_EQ(DebouncePositionOfMs(13), 6);
    EXPECT_EQ(DebounceMsCaption(DebouncePositionOfMs(13)), u"12ms");
    EXPECT_TRUE(EditDebounceMs(p, 13).refused);
    EXPECT_TRUE(EditDebounceMs(p, 32).refused);

    // The same minutes again (a click the dial maps to its own value) is no change.
    EXPECT_EQ(Sent(EditPowerDownTime(p, 8)), PendingGroup::Power);
    EXPECT_FALSE(EditPowerDownTime(p, 8).Changed());
    EXPECT_TRUE(EditPowerDownTime(p, 2).refused);
    EXPECT_EQ(Sent(EditMotionWakeup(p, false)), PendingGroup::Wake);
}

TEST(PointerPreferences, PageModeKeepsTheLinesValue)
{
    ProfileRecord p = Fresh();
    ASSERT_EQ(Sent(EditWheelLines(p, 7)), PendingGroup::Windows);
    EXPECT_EQ(Sent(EditWheelPageMode(p, true)), PendingGroup::Windows);
    EXPECT_FALSE(WheelLinesEditable(p));
    EXPECT_EQ(p.settings[kSetScrollWheelSpeed].value, u"7");
    EXPECT_EQ(p.settings[kSetTiltSpeed].value, u"7");
    EXPECT_TRUE(EditPointerSpeed(p, 11).refused);
}

TEST(Lighting, DeselectGuardsPerMode)
{
    struct Case {
        int mode;
        std::vector<int> selected;  // slots selected before the click
        int slot;
        int refusal;                // 0: the click deselects
    } const cases[] = {
        {3, {0}, 0, 153},                 // one steady colour, always
        {6, {0, 4}, 4, 154},              // two colours are the least
        {6, {0, 4, 7}, 7, 0},
        {6, {0}, 0, 154},                 // a file with fewer still never drops further
        {2, {5}, 5, 153},
        {2, {5, 7}, 7, 0},                // slot 7 takes no part in mode 2
        {7, {1}, 1, 153},
        {1, {0}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " slot " << c.slot);
        ProfileRecord p = Fresh();
        p.lighting.Lighting1ModeValue[0] = uint8_t(c.mode);
        auto& sel = p.lighting.Lighting1ColorSelected[size_t(c.mode)];
        sel.fill(0);
        for (int s : c.selected) sel[size_t(s)] = 1;
        // Twice: a refused click leaves the colour as it was, and so does the next.
        for (int click = 0; click < (c.refusal ? 2 : 1); ++click) {
            const SettingChange r = ToggleLightingColour(p, c.slot);
            EXPECT_EQ(r.refusalText, c.refusal);
            EXPECT_EQ(sel[size_t(c.slot)], c.refusal ? 1 : 0);
        }
    }
}

TEST(Lighting, EachModeKeepsItsOwnValuesAndTheMenuEndsWithOff)
{
    ProfileRecord p = Fresh();
    ASSERT_FALSE(EditLightingMode(p, 2).refused);
    ASSERT_EQ(Sent(ToggleLightingColour(p, 0)), PendingGroup::DpiAndMore);
    ASSERT_EQ(Sent(EditLightingColour(p, 2, 1, Rgb(1, 2, 3))), PendingGroup::DpiAndMore);
    const auto mode6 = p.lighting.Lighting1ColorSelected[6];
    const auto colours6 = p.lighting.Lighting1FixedColor[6];
    EXPECT_EQ(Sent(EditLightingMode(p, 6)), PendingGroup::DpiAndMore);
    EXPECT_EQ(p.lighting.Lighting1ColorSelected[6], mode6);
    EXPECT_EQ(p.lighting.Lighting1FixedColor[6], colours6);
    EXPECT_EQ(LightingModeUses(6).colourSlots, 8);
    EXPECT_EQ(p.lighting.Lighting1ColorSelected[2][0], 0);

    EXPECT_EQ(Sent(EditLightingBrightness(p, 2)), PendingGroup::DpiAndMore);
    EXPECT_EQ(p.lighting.Lighting1Brightness[6], 2);
    EXPECT_EQ(BrightnessPercentCaption(2), u"75%");

    ASSERT_EQ(Sent(EditLightingMode(p, kLightingMenu.back().mode)), PendingGroup::DpiAndMore);
    EXPECT_EQ(p.lighting.Lighting1ModeValue, (std::array<uint8_t, 3>{0, 0, 0}));
    EXPECT_EQ(p.lighting.Lighting1Name, UiText(109));
    const LightingModeUse off = LightingModeUses(0);
    EXPECT_FALSE(off.colourSlots || off.speed || off.brightness || off.direction);
    // Modes 7 and 8 come only from files; the menu cannot name them.
    EXPECT_TRUE(EditLightingMode(p, 7).refused);
}

TEST(ColourPalette, BackgroundAndOutsidePickNothing)
{
    EXPECT_FALSE(PickedPaletteColour(100, 100, kPaletteBackground));
    EXPECT_FALSE(PickedPaletteColour(230, 100, Rgb(200, 10, 10)));  // between the two areas
    EXPECT_EQ(PickedPaletteColour(300, 100, Rgb(200, 10, 10)), Rgb(200, 10, 10));

    ProfileRecord p = Fresh();
    // A level past the eight edits level 0.
    EXPECT_EQ(Sent(EditPaletteTargetColour(p, {PaletteMode::Dpi, 9, 0}, Rgb(9, 9, 9))), PendingGroup::DpiAndMore);
    EXPECT_EQ(p.DPILevelIndication[0], Rgb(9, 9, 9));
    EXPECT_TRUE(EditPaletteTargetColour(p, {PaletteMode::Lighting, 10, 0}, 0).refused);
}

}  // namespace
