#pragma once
// The mouse's feature-report protocol as plain data: the 33-byte framing, the
// bytes of every command built from a profile record, and the status answer.
// Nothing here talks to a device; DeviceLink compares, stores and sends.
//
// Command report (host to mouse):
//   [0] 0x0C report id   [1] 0x01   [2] command code   [3] 0x00
//   [4] sequence number (filled in by the I/O thread as the report goes out)
//   [5] 0x01 for settings, 0x00 for the status request
//   [6] payload length   [7..32] payload, then zeros
//
// Status answer (mouse to host, read into a buffer pre-filled with 0xFF):
//   [2] 0x20  [3] 0x00  [6] nonzero when it carries data
//   [15] sensor code  [18] battery percent  [19] charge state (1, 2 charging)
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

struct ProfileRecord;

constexpr int kFeatureReportLength = 33;
constexpr uint8_t kFeatureReportId = 0x0C;
constexpr uint8_t kInputReportId = 5;
constexpr uint8_t kInputSettingsChanged = 6;

using FeatureReport = std::array<uint8_t, kFeatureReportLength>;

// Where a command report's fields lie.
constexpr size_t kReportCommandAt = 2;
constexpr size_t kReportSequenceAt = 4;
constexpr size_t kReportKindAt = 5;     // 0x01 settings, 0x00 status request
constexpr size_t kReportLengthAt = 6;
constexpr size_t kReportPayloadAt = 7;
constexpr size_t kReportPayloadMax = 26;
static_assert(kReportPayloadAt + kReportPayloadMax == kFeatureReportLength,
              "the header and the longest payload fill the report exactly");
// Where the status answer keeps its values.
constexpr size_t kStatusSensorAt = 15;
constexpr size_t kStatusBatteryAt = 18;
constexpr size_t kStatusChargeAt = 19;
static_assert(kStatusChargeAt < kFeatureReportLength);
// An input report 05 06: bytes 3 and 4 carry the interval and the DPI level.
constexpr size_t kInputKindAt = 1;
constexpr size_t kInputIntervalAt = 3;
constexpr size_t kInputLevelAt = 4;
constexpr size_t kInputReportMinLength = kInputLevelAt + 1;

enum DeviceCommand : uint8_t {
    kCmdKeyAssignment = 0x04,
    kCmdDpiLevels = 0x05,
    kCmdDpiColours = 0x06,
    kCmdPollingRate = 0x07,
    kCmdLighting = 0x08,
    kCmdLiftOff = 0x09,
    kCmdDebounce = 0x0A,
    kCmdPower = 0x0B,
    kCmdWakeUp = 0x0C,
    kCmdMacroData = 0x0E,
    kCmdFactoryReset = 0x0F,
    kCmdStatus = 0x20,
};

constexpr int kKeyImageSize = 26;
constexpr int kDpiImageSize = 18;
constexpr int kDpiColourImageSize = 24;
constexpr int kLightingImageSize = 25;

using KeyImage = std::array<uint8_t, kKeyImageSize>;
using DpiImage = std::array<uint8_t, kDpiImageSize>;
using DpiColourImage = std::array<uint8_t, kDpiColourImageSize>;
using LightingImage = std::array<uint8_t, kLightingImageSize>;

// Device index i carries record button i, except that the mouse has buttons 3
// and 4 the other way round.
constexpr int RecordButtonOfDeviceIndex(int deviceIndex)
{
    return deviceIndex == 3 ? 4 : deviceIndex == 4 ? 3 : deviceIndex;
}

// A command with `payloadLength` in byte 6 and the payload from byte 7. The
// payload bytes given beyond the length are sent too (the lighting command
// carries its image that way); at most 26 fit.
FeatureReport BuildCommand(uint8_t code, uint8_t payloadLength, const uint8_t* payload, int payloadBytes);
FeatureReport BuildStatusRequest();

// Key image: 0x0C 0x71, then the eight buttons' codes in device order.
KeyImage BuildKeyImage(const ProfileRecord& p);
FeatureReport BuildKeyReport(int deviceIndex, const uint8_t code[3]);

// The DPI command's payload (report bytes 7-24) as named fields: the level
// count and current level, the enable mask, and the device code of each of
// the eight levels' steps, low byte first. Every level goes out whether it
// is enabled or not, so that an enabled level never reaches the mouse as 0.
struct DpiPayload {
    uint8_t countAndCurrent;  // enabled count (low nibble), current ordinal + 1 (high nibble)
    uint8_t enableMask;
    struct Code {
        uint8_t low;
        uint8_t high;
    } codes[8];
};
static_assert(sizeof(DpiPayload) == kDpiImageSize, "the DPI payload is 18 bytes with no padding");
static_assert(kDpiImageSize == 0x12, "the DPI command's length byte covers the whole image");

DpiImage BuildDpiImage(const ProfileRecord& p);
// Red, green, blue of the eight level colours.
DpiColourImage BuildDpiColourImage(const ProfileRecord& p);
// Report interval in ms for the polling index.
uint8_t BuildPollingByte(const ProfileRecord& p);
uint8_t BuildLiftOffByte(const ProfileRecord& p);
uint8_t BuildDebounceByte(const ProfileRecord& p);
std::array<uint8_t, 2> BuildPowerBytes(const ProfileRecord& p);
uint8_t BuildWakeByte(const ProfileRecord& p);
// Lighting group 1: [0] length, [1] mode, [2] brightness/speed, [3...] the
// mode's colours. `forSending` clears byte 3 of a mode-7 image, which the
// primed image keeps.
LightingImage BuildLightingImage(const ProfileRecord& p, bool forSending);

FeatureReport BuildDpiReport(const DpiImage& image);
FeatureReport BuildDpiColourReport(const DpiColourImage& image);
FeatureReport BuildLightingReport(const LightingImage& image);
FeatureReport BuildOneByteReport(uint8_t code, uint8_t value);
FeatureReport BuildLiftOffReport(uint8_t value);
FeatureReport BuildPowerReport(const std::array<uint8_t, 2>& bytes);
FeatureReport BuildFactoryResetReport();

struct StatusAnswer {
    uint8_t sensorCode = 0;
    uint8_t batteryLevel = 0;
    uint8_t chargeState = 0;
};
// The answer's values, or nothing when it is not a status answer (byte 2 not
// 0x20 or byte 3 not 0).
std::optional<StatusAnswer> ParseStatusAnswer(const FeatureReport& answer);
// Whether the answer carries data at all (byte 6 nonzero).
inline bool StatusAnswerHasData(const FeatureReport& answer) { return answer[kReportLengthAt] != 0; }

// Sensor identifier for an answer's sensor code; 0 for a code the program
// does not know.
uint16_t SensorIdOfCode(uint8_t sensorCode);

// The polling rates: the index a profile stores, the report interval the
// mouse takes and reports, and the name the program shows.
struct PollingRate {
    uint8_t code;
    uint8_t intervalMs;
    const char16_t* name;
};
inline constexpr PollingRate kPollingRates[] = {
    {0, 8, u"125Hz"},
    {1, 4, u"250Hz"},
    {2, 2, u"500Hz"},
    {3, 1, u"1000Hz"},
};
// The rate of a stored index; an index the table lacks reads as 1000 Hz.
const PollingRate& PollingRateOfCode(int code);
// Polling index from the report interval of an input report: 8 -> 0, 4 -> 1,
// 2 -> 2, anything else -> 3.
uint8_t PollingIndexOfInterval(uint8_t intervalMs);
// "125Hz", "250Hz", "500Hz", "1000Hz"; indexes past 2 read as 1000 Hz.
const char16_t* PollingRateReportName(int index);
