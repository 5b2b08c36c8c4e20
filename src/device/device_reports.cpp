#include "device/device_reports.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <iterator>

#include "profile/profile_record.h"
#include "settings/dpi_step_table.h"

namespace {

FeatureReport Frame(uint8_t code, uint8_t kind)
{
    FeatureReport r{};
    r[0] = kFeatureReportId;
    r[1] = 0x01;
    r[kReportCommandAt] = code;
    r[3] = 0x00;
    r[kReportKindAt] = kind;
    return r;
}

void PutRgb(uint8_t* at, COLORREF c)
{
    at[0] = RedOf(c);
    at[1] = GreenOf(c);
    at[2] = BlueOf(c);
}

}  // namespace

FeatureReport BuildCommand(uint8_t code, uint8_t payloadLength, const uint8_t* payload, int payloadBytes)
{
    FeatureReport r = Frame(code, 0x01);
    r[kReportLengthAt] = payloadLength;
    const int n = std::clamp(payloadBytes, 0, int(kReportPayloadMax));
    std::copy(payload, payload + n, r.begin() + kReportPayloadAt);
    return r;
}

FeatureReport BuildStatusRequest() { return Frame(kCmdStatus, 0x00); }

KeyImage BuildKeyImage(const ProfileRecord& p)
{
    KeyImage image;
    image.fill(0xFF);
    image[0] = kFeatureReportId;
    image[1] = 0x71;
    for (int i = 0; i < 8; ++i) {
        const ButtonFunctionCode& c = p.buttons[RecordButtonOfDeviceIndex(i)].code;
        image[2 + 3 * i] = c.type;
        image[3 + 3 * i] = c.param;
        image[4 + 3 * i] = c.extra;
    }
    return image;
}

FeatureReport BuildKeyReport(int deviceIndex, const uint8_t code[3])
{
    const uint8_t payload[4] = {uint8_t(deviceIndex), code[0], code[1], code[2]};
    return BuildCommand(kCmdKeyAssignment, 4, payload, 4);
}

DpiImage BuildDpiImage(const ProfileRecord& p)
{
    DpiPayload payload{};
    const int enabled = std::popcount(p.DPIOffOnFlagValue);
    payload.countAndCurrent = uint8_t((enabled & 0x0F) | (((p.CurrentDPILevelValue + 1) << 4) & 0xFF));
    payload.enableMask = p.DPIOffOnFlagValue;
    for (size_t level = 0; level < std::size(payload.codes); ++level) {
        const uint16_t code = DpiDeviceCode(p.XYSettingValue[level]);
        payload.codes[level] = {uint8_t(code & 0xFF), uint8_t(code >> 8)};
    }
    DpiImage image{};
    std::memcpy(image.data(), &payload, sizeof payload);
    return image;
}

DpiColourImage BuildDpiColourImage(const ProfileRecord& p)
{
    DpiColourImage image{};
    for (int level = 0; level < 8; ++level)
        PutRgb(&image[3 * level], p.DPILevelIndication[level]);
    return image;
}

uint8_t BuildPollingByte(const ProfileRecord& p) { return PollingRateOfCode(p.PollingRateValue[0]).intervalMs; }

uint8_t BuildLiftOffByte(const ProfileRecord& p)
{
    return ProfileSettingInt(p, kSetLiftDetectionHeight) == 1 ? 1 : 2;
}

uint8_t BuildDebounceByte(const ProfileRecord& p) { return uint8_t(ProfileSettingInt(p, kSetKeyDebounce)); }

std::array<uint8_t, 2> BuildPowerBytes(const ProfileRecord& p)
{
    return {uint8_t(ProfileSettingInt(p, kSetPowerDownTime)), uint8_t(ProfileSettingInt(p, kSetMoveLightingOnOffMode))};
}

uint8_t BuildWakeByte(const ProfileRecord& p) { return uint8_t(ProfileSettingInt(p, kSetMotionWakeup)); }

LightingImage BuildLightingImage(const ProfileRecord& p, bool forSending)
{
    const LightingSettings& l = p.lighting;
    const uint8_t m = l.Lighting1ModeValue[0];
    LightingImage image{};
    image[1] = m;
    // A stored mode past the ten the record holds has no speed or brightness
    // of its own; the mouse gets it with zero parameters and length 0.
    if (m < kLightingModeCount)
        image[2] = uint8_t((((l.Lighting1Brightness[m] + 1) << 4) & 0xFF) | ((l.Lighting1Speed[m] + 1) & 0x0F));
    switch (m) {
    case 0: case 4: case 5: case 8: case 9:
        image[0] = 2;
        break;
    case 1:
        image[0] = 3;
        image[3] = l.Lighting1Direction[1];
        break;
    case 2: {
        int n = 0;
        for (int slot = 0; slot < 7; ++slot) {
            const COLORREF c = l.Lighting1FixedColor[2][slot];
            if (l.Lighting1ColorSelected[2][slot] && c != 0)
                PutRgb(&image[4 + 3 * n++], c);
        }
        image[3] = uint8_t(n);
        image[0] = uint8_t(3 + 3 * n);
        break;
    }
    case 3:
        image[0] = 5;
        PutRgb(&image[3], l.Lighting1FixedColor[3][0]);
        break;
    case 6:
    case 7: {
        image[0] = 0x17;
        const int slots = m == 6 ? 7 : 2;
        for (int j = 0; j < slots; ++j)
            if (l.Lighting1ColorSelected[m][j])
                PutRgb(&image[3 + 3 * j], l.Lighting1FixedColor[m][j]);
        if (m == 7 && forSending)
            image[3] = 0;
        break;
    }
    default:
        image[0] = 0;
        break;
    }
    return image;
}

FeatureReport BuildDpiReport(const DpiImage& image)
{
    return BuildCommand(kCmdDpiLevels, uint8_t(image.size()), image.data(), int(image.size()));
}

FeatureReport BuildDpiColourReport(const DpiColourImage& image)
{
    return BuildCommand(kCmdDpiColours, 0x18, image.data(), int(image.size()));
}

FeatureReport BuildLightingReport(const LightingImage& image)
{
    // The image's own first byte is the length field.
    return BuildCommand(kCmdLighting, image[0], image.data() + 1, kLightingImageSize - 1);
}

FeatureReport BuildOneByteReport(uint8_t code, uint8_t value) { return BuildCommand(code, 1, &value, 1); }

FeatureReport BuildLiftOffReport(uint8_t value)
{
    const uint8_t payload[2] = {value, 0};
    return BuildCommand(kCmdLiftOff, 2, payload, 2);
}

FeatureReport BuildPowerReport(const std::array<uint8_t, 2>& bytes)
{
    return BuildCommand(kCmdPower, 2, bytes.data(), 2);
}

FeatureReport BuildFactoryResetReport() { return BuildOneByteReport(kCmdFactoryReset, 0xFF); }

std::optional<StatusAnswer> ParseStatusAnswer(const FeatureReport& answer)
{
    if (answer[kReportCommandAt] != kCmdStatus || answer[3] != 0)
        return std::nullopt;
    return StatusAnswer{answer[kStatusSensorAt], answer[kStatusBatteryAt], answer[kStatusChargeAt]};
}

uint16_t SensorIdOfCode(uint8_t sensorCode)
{
    static constexpr struct { uint8_t code; uint16_t id; } kSensors[] = {
        {0x04, 0x3104}, {0x12, 0x3212}, {0x25, 0x3325}, {0x27, 0x3327}, {0x35, 0x3335},
        {0x60, 0x3360}, {0x70, 0x3370}, {0x89, 0x3389}, {0x95, 0x3395}, {0x99, 0x3399},
    };
    for (const auto& s : kSensors)
        if (s.code == sensorCode)
            return s.id;
    return 0;
}

const PollingRate& PollingRateOfCode(int code)
{
    for (const PollingRate& r : kPollingRates)
        if (r.code == code)
            return r;
    return std::end(kPollingRates)[-1];
}

uint8_t PollingIndexOfInterval(uint8_t intervalMs)
{
    for (const PollingRate& r : kPollingRates)
        if (r.intervalMs == intervalMs)
            return r.code;
    return std::end(kPollingRates)[-1].code;
}

const char16_t* PollingRateReportName(int index) { return PollingRateOfCode(index).name; }
