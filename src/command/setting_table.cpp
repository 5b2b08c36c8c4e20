#include "command/setting_table.h"

#include <algorithm>
#include <cstdio>

#include "settings/dpi_current_level.h"
#include "settings/dpi_levels.h"
#include "settings/dpi_step_table.h"
#include "settings/lighting_settings.h"
#include "settings/pointer_preferences.h"
#include "settings/sensor_settings.h"

namespace {

// Mode byte -> the word for it; the order of the modes' numbers.
constexpr const char* kModeNames[kLightingModeCount] = {"off",     "wave",       "breathing", "steady", "neon",
                                                        "rainbow", "multicolour", "mode7",     "mode8",  "flow"};

std::string OnOff(bool on) { return on ? "on" : "off"; }

std::string ColourText(COLORREF c)
{
    char s[8];
    std::snprintf(s, sizeof s, "#%02X%02X%02X", RedOf(c), GreenOf(c), BlueOf(c));
    return s;
}

int Setting(const ProfileRecord& p, int position) { return ProfileSettingInt(p, position); }
size_t Level(int i) { return size_t(std::clamp(i, 0, kDpiLevelCount - 1)); }
size_t Slot(int i) { return size_t(std::clamp(i, 0, kLightingColorSlots - 1)); }
size_t Mode(const ProfileRecord& p) { return size_t(CurrentLightingMode(p)); }

// Every mode word, also the two only files carry, so that those are refused
// by the edit rule like any mode the menu does not offer.
bool ParseModeName(const std::string& text, long& mode)
{
    for (int m = 0; m < kLightingModeCount; ++m)
        if (text == kModeNames[m]) return mode = m, true;
    return false;
}

std::string DpiRange()
{
    if (DpiStepCount() <= 0) return "DPI";
    return std::to_string(DpiStepValue(0)) + "-" + std::to_string(DpiStepValue(DpiStepCount() - 1));
}

using K = SettingKind;
using G = PendingGroup;
using P = ProfileRecord;

// Numbers past what the table can hold are typed DPI values: the edit takes the nearest step.
constexpr long kMaxTypedDpi = 1000000;

const std::vector<SettingDescriptor> kTable = {
    {"dpi", "dpi", kDpiLevelCount, "level", K::Number, 1, kMaxTypedDpi, "DPI",
     "DPI, the nearest step at or above", G::DpiAndMore,
     [](P& p, int i, long v) { return EditDpiLevelStep(p, i, DpiStepAtLeast(v)); },
     [](const P& p, int i) { return std::to_string(DpiStepValue(p.XYSettingValue[Level(i)])); }, DpiRange},
    {"dpi-enabled", "dpiEnabled", kDpiLevelCount, "level", K::Switch, 0, 1, "on|off",
     "on, off; one level stays enabled", G::DpiAndMore,
     [](P& p, int i, long v) {
         int ordinal = p.CurrentDPILevelValue;
         return EditDpiLevelEnabled(p, ordinal, i, v != 0);
     },
     [](const P& p, int i) { return OnOff(p.DPIOffOnFlagValue & (1u << Level(i))); }},
    {"dpi-colour", "dpiColour", kDpiLevelCount, "level", K::Colour, 0, 0, "#RRGGBB", "#RRGGBB", G::DpiAndMore,
     [](P& p, int i, long v) { return EditDpiLevelColour(p, i, COLORREF(v)); },
     [](const P& p, int i) { return ColourText(p.DPILevelIndication[Level(i)]); }},
    {"dpi-level", "dpiLevel", 0, nullptr, K::Number, 1, kDpiLevelCount, "1-8 (an enabled level)",
     "1-8: the current level, an enabled one", G::DpiAndMore,
     [](P& p, int, long v) { return EditCurrentDpiLevel(p, int(v) - 1); },
     [](const P& p, int) { return std::to_string(CurrentDpiLevel(p) + 1); }},
    {"polling", "polling", 0, nullptr, K::Number, 125, 1000, "125|250|500|1000", "125, 250, 500, 1000 (Hz)",
     G::DpiAndMore,
     [](P& p, int, long v) {
         return EditPollingRate(p, v == 125 ? 0 : v == 250 ? 1 : v == 500 ? 2 : v == 1000 ? 3 : -1);
     },
     [](const P& p, int) { return std::to_string(125 << PollingCaptionIndex(p)); }},
    {"lift-off", "liftOff", 0, nullptr, K::Word, 0, 0, "low|high", "low, high", G::DpiAndMore,
     [](P& p, int, long v) { return EditLiftOffDistance(p, int(v) + 1); },
     [](const P& p, int) { return std::string(Setting(p, kSetLiftDetectionHeight) == 2 ? "high" : "low"); }},
    {"debounce", "debounce", 0, nullptr, K::Number, 0, 30, "0-30 (ms, even)", "0-30 ms, even", G::DpiAndMore,
     [](P& p, int, long v) { return EditDebounceMs(p, int(v)); },
     [](const P& p, int) {
         return std::to_string(DebounceMsOfPosition(DebouncePositionOfMs(Setting(p, kSetKeyDebounce))));
     }},
    {"sleep", "sleep", 0, nullptr, K::Number, kPowerDownMinMinutes, kPowerDownMaxMinutes, "3-10 (minutes)",
     "3-10 minutes", G::Power, [](P& p, int, long v) { return EditPowerDownTime(p, int(v)); },
     [](const P& p, int) { return std::to_string(Setting(p, kSetPowerDownTime)); }},
    {"move-lighting", "moveLighting", 0, nullptr, K::Switch, 0, 1, "on|off", "on, off: moving the mouse turns the lighting on",
     G::Power, [](P& p, int, long v) { return EditMoveLighting(p, v != 0); },
     [](const P& p, int) { return OnOff(Setting(p, kSetMoveLightingOnOffMode) > 0); }},
    {"motion-wake", "motionWake", 0, nullptr, K::Switch, 0, 1, "on|off", "on, off: moving the mouse wakes it",
     G::Wake, [](P& p, int, long v) { return EditMotionWakeup(p, v != 0); },
     [](const P& p, int) { return OnOff(Setting(p, kSetMotionWakeup) > 0); }},
    {"lighting", "lighting", 0, nullptr, K::Word, 0, 0, "off|wave|breathing|steady|neon|rainbow|multicolour|flow",
     "off, wave, breathing, steady, neon, rainbow, multicolour, flow", G::DpiAndMore,
     [](P& p, int, long v) { return EditLightingMode(p, int(v)); },
     [](const P& p, int) { return LightingModeName(CurrentLightingMode(p)); }, nullptr, ParseModeName},
    {"lighting-speed", "lightingSpeed", 0, nullptr, K::Number, 1, kLightingSpeedPositions, "1-3",
     "1-3, of the current lighting mode", G::DpiAndMore,
     [](P& p, int, long v) { return EditLightingSpeed(p, int(v) - 1); },
     [](const P& p, int) { return std::to_string(std::min<int>(p.lighting.Lighting1Speed[Mode(p)], 2) + 1); }},
    {"brightness", "brightness", 0, nullptr, K::Number, 25, 100, "25|50|75|100", "25, 50, 75, 100 (%)",
     G::DpiAndMore,
     [](P& p, int, long v) {
         return v % 25 ? SettingChange::Refused(kTextValueOutOfRange) : EditLightingBrightness(p, int(v) / 25 - 1);
     },
     [](const P& p, int) {
         return std::to_string((std::min<int>(p.lighting.Lighting1Brightness[Mode(p)], 3) + 1) * 25);
     }},
    {"direction", "direction", 0, nullptr, K::Number, 1, 2, "1|2", "1, 2", G::DpiAndMore,
     [](P& p, int, long v) { return EditLightingDirection(p, v == 1); },
     [](const P& p, int) { return std::string(p.lighting.Lighting1Direction[Mode(p)] ? "1" : "2"); }},
    {"lighting-colour", "lightingColour", kLightingColorSlots, "colour", K::Colour, 0, 0, "#RRGGBB",
     "#RRGGBB, of the current lighting mode", G::DpiAndMore,
     [](P& p, int i, long v) { return EditLightingColour(p, CurrentLightingMode(p), i, COLORREF(v)); },
     [](const P& p, int i) { return ColourText(p.lighting.Lighting1FixedColor[Mode(p)][Slot(i)]); }},
    {"lighting-colour-on", "lightingColourOn", kLightingColorSlots, "colour", K::Switch, 0, 1, "on|off",
     "on, off: in the effect or not", G::DpiAndMore,
     [](P& p, int i, long v) { return EditLightingColourSelected(p, i, v != 0); },
     [](const P& p, int i) { return OnOff(p.lighting.Lighting1ColorSelected[Mode(p)][Slot(i)] != 0); }},
    {"pointer-speed", "pointerSpeed", 0, nullptr, K::Number, 1, kPointerSpeedPositions, "1-11", "1-11",
     G::Windows, [](P& p, int, long v) { return EditPointerSpeed(p, int(v) - 1); },
     [](const P& p, int) { return std::to_string(Setting(p, kSetPointerSpeed) + 1); }},
    {"pointer-precision", "pointerPrecision", 0, nullptr, K::Switch, 0, 1, "on|off", "on, off", G::Windows,
     [](P& p, int, long v) { return EditPointerPrecision(p, v != 0); },
     [](const P& p, int) { return OnOff(Setting(p, kSetAccelerationEnable) == 1); }},
    {"wheel-lines", "wheelLines", 0, nullptr, K::Number, 1, kWheelLinesPositions, "1-10", "1-10 lines a notch",
     G::Windows, [](P& p, int, long v) { return EditWheelLines(p, int(v) - 1); },
     [](const P& p, int) { return std::to_string(Setting(p, kSetScrollWheelSpeed) + 1); }},
    {"wheel-page", "wheelPage", 0, nullptr, K::Switch, 0, 1, "on|off", "on, off: a page a notch", G::Windows,
     [](P& p, int, long v) { return EditWheelPageMode(p, v != 0); },
     [](const P& p, int) { return OnOff(Setting(p, kSetScrollWheelPageEnable) == 1); }},
    {"double-click", "doubleClick", 0, nullptr, K::Number, 1, kDoubleClickPositions, "1-11", "1-11", G::Windows,
     [](P& p, int, long v) { return EditDoubleClickSpeed(p, int(v) - 1); },
     [](const P& p, int) { return std::to_string(Setting(p, kSetDoubleClickSpeed) + 1); }},
};

}  // namespace

const std::vector<SettingDescriptor>& SettingTable() { return kTable; }

const SettingDescriptor* FindSetting(const std::string& name)
{
    for (const SettingDescriptor& d : kTable)
        if (name == d.name) return &d;
    return nullptr;
}

std::string SettingSynopsis(const SettingDescriptor& d) { return std::string(d.name) + (d.indexCount ? " N" : ""); }

std::string SettingHelpLine(const SettingDescriptor& d)
{
    std::string line = d.help;
    if (d.indexCount) line += std::string(" (N: ") + d.indexNoun + " 1-" + std::to_string(d.indexCount) + ")";
    return line;
}

std::string LightingModeName(int mode)
{
    return mode >= 0 && mode < kLightingModeCount ? kModeNames[mode] : "off";
}
