#include "profile/profile_record.h"

#include "base/text_codec.h"
#include "base/ui_text.h"

ProfileTable g_profiles;
int g_workingProfile = 0;
uint16_t g_sensorId = kDefaultSensorId;

namespace {

struct SettingDefault {
    const char* key;
    const char* value;
};

// Positions 1..19; position 0 (the name) depends on the profile index.
constexpr SettingDefault kSettingDefaults[kProfileSettingCount] = {
    {"ProfileName", ""},
    {"GameFile0", ""},
    {"GameFile1", ""},
    {"GameFile2", ""},
    {"DoubleClickSpeed", "6"},
    {"PointerSpeed", "5"},
    {"AccelerationEnable", "1"},
    {"ScrollWheelSpeed", "2"},
    {"ScrollWheelPageEnable", "0"},
    {"TiltSpeed", "2"},
    {"Sensitivity_X", "4"},
    {"Sensitivity_Y", "4"},
    {"XYSynchronous", "1"},
    {"X_DPI", "1"},
    {"Y_DPI", "1"},
    {"MoveLightingOnOffMode", "0"},
    {"PowerDownTime", "6"},
    {"LiftDetectionHeight", "2"},
    {"KeyDebounce", "12"},
    {"MotionWakeup", "1"},
};

struct ButtonDefault {
    int labelText;
    ButtonFunctionCode code;
};

constexpr ButtonDefault kButtonDefaults[kButtonCount] = {
    {20, {0x10, 0x01, 0x00}}, {21, {0x10, 0x02, 0x00}}, {22, {0x10, 0x04, 0x00}},
    {23, {0x10, 0x10, 0x00}}, {24, {0x10, 0x08, 0x00}}, {40, {0x40, 0x02, 0x00}},
    {41, {0x40, 0x03, 0x00}}, {26, {0x30, 0x32, 0x03}},
};

struct SensorSteps {
    uint16_t sensor;
    uint16_t steps[kDpiLevelCount];
};

constexpr SensorSteps kSensorDpiDefaults[] = {
    {0x3104, {4, 15, 23, 31, 39, 41, 58, 50}},
    {0x3212, {6, 10, 14, 22, 33, 12, 12, 12}},
    {0x3325, {6, 14, 22, 30, 51, 58, 58, 50}},
    {0x3327, {2, 6, 14, 30, 48, 58, 58, 58}},
    {0x3335, {7, 15, 31, 79, 159, 59, 59, 59}},
    {0x3360, {3, 7, 15, 31, 49, 59, 59, 59}},
    {0x3389, {3, 7, 15, 31, 49, 59, 59, 59}},
    {0x3370, {7, 15, 31, 63, 99, 119, 119, 119}},
    {0x3395, {7, 15, 31, 63, 99, 99, 99, 99}},
    {0x3399, {7, 15, 31, 63, 99, 99, 99, 99}},
};

constexpr COLORREF kDpiColorDefaults[kDpiLevelCount] = {0x0000FF, 0xFF0000, 0x00FF00, 0x00FFFF,
                                                        0xFFFF00, 0xFF00FF, 0xFFFFFF, 0xFFFFFF};

void SetValue(ProfileRecord& record, int position, int value)
{
    record.settings[size_t(position)].value = DecimalText(value);
}

void ResetLighting(LightingSettings& l)
{
    l = LightingSettings{};
    l.Lighting1OffOn = 1;
    l.Lighting1Name = UiText(100);
    l.Lighting1ModeValue = {1, 0, 0};
    l.Lighting1Speed.fill(1);
    l.Lighting1Brightness.fill(1);
    l.Lighting1Brightness[3] = 3;
    l.Lighting1Direction.fill(0);
    l.Lighting1Direction[1] = 1;

    auto colours = [&l](int mode, std::initializer_list<COLORREF> list) {
        size_t slot = 0;
        for (COLORREF c : list) {
            l.Lighting1ColorSelected[size_t(mode)][slot] = 1;
            l.Lighting1FixedColor[size_t(mode)][slot] = c;
            ++slot;
        }
    };
    colours(2, {0x0000FF, 0x00FF00, 0xFF0000, 0xFFFF00, 0x00FFFF, 0xFF00FF, 0xFFFFFF});
    colours(3, {0xFF00FF});
    colours(6, {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFFFF00, 0xFA00FA, 0xFFFFFF, 0xFF46FA});
    colours(7, {0x00FF00, 0x6A00FA});

    l.Lighting2OffOn = 0;
    l.Lighting2Name = UiText(100);
    l.Lighting2ModeValue = {1, 0, 0};
    l.Lighting2Speed = 0;
    l.Lighting2Brightness = 0;
    l.Lighting2FixedColor = 0;
}

}  // namespace

std::u16string DecimalText(long long value)
{
    return Ascii(std::to_string(value));
}

long long ParseDecimal(const std::u16string& text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    long long v = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        // Saturate at 10^18 rather than overflow on a long run of digits.
        v = v < 100000000000000000LL ? v * 10 + (text[i] - u'0') : 1000000000000000000LL;
    }
    return negative ? -v : v;
}

void ResetProfileToDefaults(ProfileRecord& record, int index)
{
    for (int i = 0; i < kProfileSettingCount; ++i) {
        record.settings[size_t(i)].key = Ascii(kSettingDefaults[i].key);
        record.settings[size_t(i)].value = Ascii(kSettingDefaults[i].value);
    }
    if (index >= 0 && index < kProfileCount)
        record.settings[0].value = UiText(85 + index);
    else
        record.settings[0].value = u"Profile" + Ascii(std::to_string(static_cast<unsigned>(index) + 1u));

    for (int i = 0; i < kButtonCount; ++i) {
        ButtonSlot& slot = record.buttons[size_t(i)];
        slot.label = UiText(kButtonDefaults[i].labelText);
        slot.code = kButtonDefaults[i].code;
        slot.macro = MacroKey{};
    }

    record.PollingRateName = u"1000HZ";
    record.PollingRateValue = {3, 0, 0};
    ResetLighting(record.lighting);
    ApplySensorDpiDefaults(record);
}

void ApplySensorDpiDefaults(ProfileRecord& record)
{
    record.DPIOffOnFlagValue = 0x3F;
    for (const auto& s : kSensorDpiDefaults) {
        if (s.sensor == g_sensorId) {
            for (int i = 0; i < kDpiLevelCount; ++i) record.XYSettingValue[size_t(i)] = s.steps[i];
            break;
        }
    }
    record.CurrentDPILevelValue = 1;
    for (int i = 0; i < kDpiLevelCount; ++i) record.DPILevelIndication[size_t(i)] = kDpiColorDefaults[i];
    record.AngleSnapValue = 0;
    record.LiftDetectionValue = 2;
}

std::u16string GetProfileSetting(const ProfileRecord& record, int position, int which)
{
    if (position < 0 || position >= kProfileSettingCount) return {};
    const SettingPair& p = record.settings[size_t(position)];
    return which == 0 ? p.key : p.value;
}

std::u16string GetProfileName(const ProfileRecord& record)
{
    return record.settings[kSetProfileName].value;
}

ButtonSlot* GetButton(ProfileRecord& record, int i)
{
    if (i < 0 || i >= kButtonCount) return nullptr;
    return &record.buttons[size_t(i)];
}

const ButtonSlot* GetButton(const ProfileRecord& record, int i)
{
    if (i < 0 || i >= kButtonCount) return nullptr;
    return &record.buttons[size_t(i)];
}

int ProfileSettingInt(const ProfileRecord& record, int position)
{
    if (position < 0 || position >= kProfileSettingCount) return 0;
    long long v = ParseDecimal(record.settings[size_t(position)].value);
    if (v > 0x7FFFFFFF) return 0x7FFFFFFF;
    if (v < -0x7FFFFFFF) return -0x7FFFFFFF;
    return static_cast<int>(v);
}

void SetDoubleClickSpeed(ProfileRecord& r, int v) { SetValue(r, kSetDoubleClickSpeed, v); }
void SetPointerSpeed(ProfileRecord& r, int v) { SetValue(r, kSetPointerSpeed, v); }
void SetAccelerationEnable(ProfileRecord& r, int v) { SetValue(r, kSetAccelerationEnable, v != 0); }
void SetScrollWheelSpeed(ProfileRecord& r, int v) { SetValue(r, kSetScrollWheelSpeed, v); }
void SetScrollWheelPageEnable(ProfileRecord& r, int v) { SetValue(r, kSetScrollWheelPageEnable, v != 0); }
void SetTiltSpeed(ProfileRecord& r, int v) { SetValue(r, kSetTiltSpeed, v); }
void SetXDpi(ProfileRecord& r, int v) { SetValue(r, kSetXDpi, v); }
void SetMoveLightingOnOffMode(ProfileRecord& r, int v) { SetValue(r, kSetMoveLightingOnOffMode, v > 0); }
void SetPowerDownTime(ProfileRecord& r, int v) { SetValue(r, kSetPowerDownTime, v); }
void SetLiftDetectionHeight(ProfileRecord& r, int v) { SetValue(r, kSetLiftDetectionHeight, v); }
void SetKeyDebounce(ProfileRecord& r, int v) { SetValue(r, kSetKeyDebounce, v); }
void SetMotionWakeup(ProfileRecord& r, int v) { SetValue(r, kSetMotionWakeup, v > 0); }
