#pragma once
// The five profile records: the single source of truth for every setting the
// user edits. The profile files are images of these records and every device
// command is built from the record of the active profile.
//
// Owner: the window thread. The input-report listeners never write here
// directly; they post what they read and the window thread applies it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "profile/macro_model.h"
#include "profile/button_function_code.h"

constexpr int kProfileCount = 5;
constexpr int kProfileSettingCount = 20;
constexpr int kButtonCount = 8;
constexpr int kDpiLevelCount = 8;
constexpr int kLightingModeCount = 10;
constexpr int kLightingColorSlots = 10;

// Colours in memory are 0x00BBGGRR, red in the low byte; files and reports
// carry red, green, blue in that order.
using COLORREF = uint32_t;
constexpr COLORREF Rgb(uint8_t r, uint8_t g, uint8_t b) { return COLORREF(r) | (COLORREF(g) << 8) | (COLORREF(b) << 16); }
constexpr uint8_t RedOf(COLORREF c) { return uint8_t(c); }
constexpr uint8_t GreenOf(COLORREF c) { return uint8_t(c >> 8); }
constexpr uint8_t BlueOf(COLORREF c) { return uint8_t(c >> 16); }

struct SettingPair {
    std::u16string key;
    std::u16string value;  // decimal text

    bool operator==(const SettingPair&) const = default;
};

struct ButtonSlot {
    std::u16string label;     // text shown for the button's function
    ButtonFunctionCode code;  // 3 bytes, stored and sent unchanged
    MacroKey macro;           // the button's own macro copy, used when code is a macro code

    bool operator==(const ButtonSlot&) const = default;
};

struct LightingSettings {
    uint8_t Lighting1OffOn = 1;
    std::u16string Lighting1Name;
    std::array<uint8_t, 3> Lighting1ModeValue{};  // byte 0 = mode 0..9
    std::array<uint8_t, kLightingModeCount> Lighting1Speed{};
    std::array<uint8_t, kLightingModeCount> Lighting1Brightness{};
    // [mode][colour slot]: 1 when the slot takes part in the mode's effect.
    std::array<std::array<uint8_t, kLightingColorSlots>, kLightingModeCount> Lighting1ColorSelected{};
    std::array<std::array<COLORREF, kLightingColorSlots>, kLightingModeCount> Lighting1FixedColor{};
    std::array<uint8_t, kLightingModeCount> Lighting1Direction{};

    // The second group is reset and stored, but no command sends it.
    uint8_t Lighting2OffOn = 1;
    std::u16string Lighting2Name;
    std::array<uint8_t, 3> Lighting2ModeValue{};
    uint8_t Lighting2Speed = 2;
    uint8_t Lighting2Brightness = 100;
    COLORREF Lighting2FixedColor = 0;

    bool operator==(const LightingSettings&) const = default;
};

// Positions in ProfileRecord::settings.
enum ProfileSettingIndex {
    kSetProfileName = 0,
    kSetGameFile0,
    kSetGameFile1,
    kSetGameFile2,
    kSetDoubleClickSpeed,
    kSetPointerSpeed,
    kSetAccelerationEnable,
    kSetScrollWheelSpeed,
    kSetScrollWheelPageEnable,
    kSetTiltSpeed,
    kSetSensitivityX,
    kSetSensitivityY,
    kSetXYSynchronous,
    kSetXDpi,
    kSetYDpi,
    kSetMoveLightingOnOffMode,
    kSetPowerDownTime,
    kSetLiftDetectionHeight,
    kSetKeyDebounce,
    kSetMotionWakeup,
};

// A freshly constructed record holds empty strings and zeros except for the
// initialisers below; start-up loads or resets every record before use.
struct ProfileRecord {
    std::array<SettingPair, kProfileSettingCount> settings;
    std::array<ButtonSlot, kButtonCount> buttons;
    std::u16string PollingRateName;
    std::array<uint8_t, 3> PollingRateValue{};  // byte 0: 0 = 125, 1 = 250, 2 = 500, 3 = 1000 Hz
    LightingSettings lighting;
    uint8_t DPIOffOnFlagValue = 0x7F;  // bit i = level i enabled
    std::array<uint16_t, kDpiLevelCount> XYSettingValue{};  // step indexes, not DPI values
    uint8_t CurrentDPILevelValue = 0;  // ordinal among the enabled levels
    std::array<COLORREF, kDpiLevelCount> DPILevelIndication{};
    uint8_t AngleSnapValue = 0;      // stored only
    uint8_t LiftDetectionValue = 0;  // stored only; the lift-off command uses the setting

    bool operator==(const ProfileRecord&) const = default;
};

using ProfileTable = std::array<ProfileRecord, kProfileCount>;

// Process-wide, owned by the window thread.
extern ProfileTable g_profiles;
// The profile the window shows (0..4); the active one is the CurrentProfile setting.
extern int g_workingProfile;
// The mouse's sensor; selects the DPI step table and the DPI defaults.
extern uint16_t g_sensorId;

constexpr uint16_t kDefaultSensorId = 0x3325;

void ResetProfileToDefaults(ProfileRecord& record, int index);
// DPI enable mask, step indexes (when the sensor is known), current level,
// level colours, angle snap and lift detection from g_sensorId.
void ApplySensorDpiDefaults(ProfileRecord& record);
// Key (which == 0) or value (which == 1) of a setting; empty for position 20 or more.
std::u16string GetProfileSetting(const ProfileRecord& record, int position, int which);
std::u16string GetProfileName(const ProfileRecord& record);
// Slot i for i 0..7, nullptr otherwise.
ButtonSlot* GetButton(ProfileRecord& record, int i);
const ButtonSlot* GetButton(const ProfileRecord& record, int i);

// Setters store the decimal text of their argument; the on/off ones store "1" or "0".
void SetDoubleClickSpeed(ProfileRecord& record, int value);
void SetPointerSpeed(ProfileRecord& record, int value);
void SetAccelerationEnable(ProfileRecord& record, int value);     // "1" for nonzero
void SetScrollWheelSpeed(ProfileRecord& record, int value);
void SetScrollWheelPageEnable(ProfileRecord& record, int value);  // "1" for nonzero
void SetTiltSpeed(ProfileRecord& record, int value);
void SetXDpi(ProfileRecord& record, int value);
void SetMoveLightingOnOffMode(ProfileRecord& record, int value);  // "1" for > 0
void SetPowerDownTime(ProfileRecord& record, int value);
void SetLiftDetectionHeight(ProfileRecord& record, int value);
void SetKeyDebounce(ProfileRecord& record, int value);
void SetMotionWakeup(ProfileRecord& record, int value);  // "1" for > 0

// A setting's value read as a base-10 integer (leading digits; none gives 0).
int ProfileSettingInt(const ProfileRecord& record, int position);

// Decimal text conversions shared by the files and settings.
std::u16string DecimalText(long long value);
// Leading optional sign and digits after optional spaces, like strtol base 10; 0 when none.
long long ParseDecimal(const std::u16string& text);
