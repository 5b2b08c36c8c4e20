// Each kind of settings edit reaches the simulated mouse as exactly the one
// report that carries it, and an edit that changes nothing sends nothing.
#include <functional>

#include "device/device_test_support.h"
#include "settings/dpi_levels.h"
#include "settings/lighting_settings.h"
#include "settings/pointer_preferences.h"
#include "settings/sensor_settings.h"

namespace {

void MarkPending(DeviceLink& link, const SettingChange& c)
{
    if (!c.Changed()) return;
    link.Schedule(c.group);
}

struct Row {
    const char* what;
    std::function<void(ProfileRecord&, int& ordinal, std::vector<SettingChange>&)> edit;
    uint8_t command;                        // 0: nothing may be sent
    std::vector<std::pair<int, int>> bytes;  // report offset, value
};

TEST_F(LinkTest, EachEditSendsOnlyItsOwnReport)
{
    using V = std::vector<SettingChange>;
    const Row rows[] = {
        {"disable DPI level 5", [](ProfileRecord& p, int& o, V& c) { c.push_back(EditDpiLevelEnabled(p, o, 5, false)); },
         kCmdDpiLevels, {{6, 0x12}, {7, 0x25}, {8, 0x1F}}},
        {"DPI level 0 to step 10", [](ProfileRecord& p, int&, V& c) { c.push_back(EditDpiLevelStep(p, 0, 10)); },
         kCmdDpiLevels, {{9, 11}, {10, 0}}},
        {"DPI level 2 colour", [](ProfileRecord& p, int&, V& c) { c.push_back(EditDpiLevelColour(p, 2, Rgb(1, 2, 3))); },
         kCmdDpiColours, {{6, 0x18}, {13, 1}, {14, 2}, {15, 3}}},
        {"500 Hz", [](ProfileRecord& p, int&, V& c) { c.push_back(EditPollingRate(p, 2)); },
         kCmdPollingRate, {{6, 1}, {7, 2}}},
        {"lift-off low", [](ProfileRecord& p, int&, V& c) { c.push_back(EditLiftOffDistance(p, 1)); },
         kCmdLiftOff, {{6, 2}, {7, 1}, {8, 0}}},
        {"debounce 30 ms", [](ProfileRecord& p, int&, V& c) { c.push_back(EditDebouncePosition(p, 15)); },
         kCmdDebounce, {{6, 1}, {7, 30}}},
        {"sleep after 8 min", [](ProfileRecord& p, int&, V& c) { c.push_back(EditPowerDownTime(p, 8)); },
         kCmdPower, {{6, 2}, {7, 8}, {8, 0}}},
        {"light up on movement", [](ProfileRecord& p, int&, V& c) { c.push_back(EditMoveLighting(p, true)); },
         kCmdPower, {{7, 6}, {8, 1}}},
        {"no motion wake-up", [](ProfileRecord& p, int&, V& c) { c.push_back(EditMotionWakeup(p, false)); },
         kCmdWakeUp, {{6, 1}, {7, 0}}},
        {"lighting off", [](ProfileRecord& p, int&, V& c) { c.push_back(EditLightingMode(p, kLightingMenu.back().mode)); },
         kCmdLighting, {{6, 2}, {7, 0}}},
        {"wave speed 3", [](ProfileRecord& p, int&, V& c) { c.push_back(EditLightingSpeed(p, 2)); },
         kCmdLighting, {{6, 3}, {7, 1}, {8, 0x23}}},
        {"wave direction", [](ProfileRecord& p, int&, V& c) { c.push_back(EditLightingDirection(p, false)); },
         kCmdLighting, {{7, 1}, {9, 0}}},
        // Two edits before the apply still make one report.
        {"breathing without its seventh colour",
         [](ProfileRecord& p, int&, V& c) {
             c.push_back(EditLightingMode(p, 2));
             c.push_back(ToggleLightingColour(p, 6));
         },
         kCmdLighting, {{6, 21}, {7, 2}, {9, 6}}},
        {"pointer speed", [](ProfileRecord& p, int&, V& c) { c.push_back(EditPointerSpeed(p, 9)); }, 0, {}},
        {"the same sleep time", [](ProfileRecord& p, int&, V& c) { c.push_back(EditPowerDownTime(p, 6)); }, 0, {}},
    };
    StartUp();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ResetAllProfiles();
        link->PrimeSentImages();
        sim.ClearTrace();
        int ordinal = Active().CurrentDPILevelValue;
        std::vector<SettingChange> changes;
        row.edit(Active(), ordinal, changes);
        for (const SettingChange& c : changes) {
            ASSERT_FALSE(c.refused);
            MarkPending(*link, c);
        }
        link->ApplyToDevice();
        Settle();
        const auto w = Writes();
        if (row.command == 0) {
            EXPECT_TRUE(w.empty());
            continue;
        }
        ASSERT_EQ(w.size(), 1u);
        EXPECT_EQ(w[0][2], row.command);
        for (auto [offset, value] : row.bytes) EXPECT_EQ(w[0][size_t(offset)], value) << "byte " << offset;
    }
}

}  // namespace
