#pragma once
// The simulated mouse: an IHidBackend that behaves like the real mouse in
// both connection modes, so that the device link, tevlanctl and the program's
// `--device sim` run without hardware.
//
// Each product (A = 0x5B2E by cable, B = 0x5B2F through the receiver) shows
// three interfaces, enumerated in this order with these paths:
//   "sim:A:mouse"    boot mouse, 5-byte input reports (no report id), no feature reports
//   "sim:A:input"    33-byte input reports, report id 5
//   "sim:A:feature"  33-byte feature reports, report id 0x0C
// and likewise "sim:B:...". Which products are plugged in is configurable and
// each can be unplugged and plugged again on its own.
//
// Both products are the same physical mouse, so they share one SimDeviceState:
// whatever is written through either feature interface configures that mouse.
//
// Every feature report written is checked against the protocol framing
// (length 33, report id 0x0C, byte 1 = 0x01, byte 3 = 0x00, byte 5 = 0x01 for
// settings / 0x00 for the status request / packet numbers for macro data,
// byte 6 = the command's payload length, zeros after the payload). A report
// that breaks any rule is accepted by SetFeature (the real mouse acknowledges
// whatever it gets) but flagged in the trace and not decoded. Valid reports
// update the device state; macro packets are reassembled per device index.
//
// Thread-safe: the program writes from its device I/O thread while listener
// threads block in Read; tests drive the sim from the test thread.
#include "platform/clock/clock.h"
#include "platform/hid/hid_transport.h"

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

enum class SimProduct { A, B };           // A = 0x5B2E, B = 0x5B2F
enum class SimInterface { Mouse, Input, Feature };

inline constexpr uint16_t kSimVendorId = 0x248A;
inline constexpr uint16_t kSimProductA = 0x5B2E;
inline constexpr uint16_t kSimProductB = 0x5B2F;
inline constexpr size_t kSimReportLength = 33;
// Where a command report's fields lie, as the mouse reads them.
inline constexpr size_t kSimCommandAt = 2;
inline constexpr size_t kSimSequenceAt = 4;
inline constexpr size_t kSimKindAt = 5;
inline constexpr size_t kSimLengthAt = 6;
inline constexpr size_t kSimPayloadAt = 7;
inline constexpr size_t kSimPayloadMax = 26;
static_assert(kSimPayloadAt + kSimPayloadMax == kSimReportLength, "header and payload fill the report");

// "sim:A:feature" and so on.
std::string SimPath(SimProduct product, SimInterface iface);

// One report in or out, stamped with the clock the sim was given.
struct SimTraceEntry {
    enum class Kind {
        FeatureWrite,  // host -> mouse, SetFeature
        FeatureRead,   // mouse -> host, GetFeature answer
        Input          // mouse -> host, input report delivered to a Read
    };
    int64_t timeMs = 0;
    Kind kind = Kind::FeatureWrite;
    SimProduct product = SimProduct::A;
    SimInterface iface = SimInterface::Feature;
    std::vector<uint8_t> bytes;
    bool failed = false;  // the call returned false (injected failure, unplugged, wrong interface)
    bool valid = true;    // framing accepted (writes only)
    std::string problem;  // why it was rejected or failed; empty otherwise
};

// One decoded macro step (3 bytes on the wire).
struct SimMacroStep {
    bool release = false;
    uint8_t type = 0;      // 1 mouse button, 2 modifier, 3 key, 4 horizontal, 5 vertical, 6 wheel
    uint16_t pauseMs = 0;  // 0 to 4095
    uint8_t value = 0;
};

// A macro as reassembled from its data packets.
struct SimMacro {
    uint8_t index = 0;             // device macro index (byte 7 of every packet)
    uint8_t packetCountNibble = 0; // low nibble of byte 5 (packet count modulo 16)
    int packetsReceived = 0;
    bool complete = false;         // the last packet seen could end the upload
    std::vector<uint8_t> data;     // the meaningful data bytes (image bytes 4 onwards)
    std::vector<SimMacroStep> Steps() const;  // data split into 3-byte steps
};

struct SimDpiLevels {
    uint8_t enabledCount = 0;     // low nibble of byte 7
    uint8_t currentOrdinal = 0;   // high nibble of byte 7: 1-based among the enabled levels
    uint8_t enableMask = 0;       // byte 8
    std::array<uint16_t, 8> codes{};  // bytes 9..24, little-endian device codes of levels 0..7
};

struct SimLighting {
    std::array<uint8_t, 25> image{};  // report bytes 6..30: length, mode, brightness/speed, parameters
    uint8_t length() const { return image[0]; }
    uint8_t mode() const { return image[1]; }
    uint8_t brightness() const { return uint8_t((image[2] >> 4) - 1); }  // as the profile stores it
    uint8_t speed() const { return uint8_t((image[2] & 0x0F) - 1); }
};

struct SimPower {
    uint8_t powerDownTime = 0;     // byte 7
    uint8_t moveLightingMode = 0;  // byte 8
};

// What the mouse holds. A field is empty until a valid command set it; a
// factory reset empties everything again (the mouse's own defaults are not
// modelled) and counts itself.
struct SimDeviceState {
    std::array<std::optional<std::array<uint8_t, 3>>, 8> buttons;  // by device button index
    std::optional<SimDpiLevels> dpi;
    std::optional<std::array<std::array<uint8_t, 3>, 8>> dpiColours;  // red, green, blue per level
    std::optional<uint8_t> pollingIntervalMs;  // 8, 4, 2 or 1
    std::optional<SimLighting> lighting;
    std::optional<std::array<uint8_t, 2>> liftOff;  // bytes 7 and 8 (1 = low, 2 = high)
    std::optional<uint8_t> debounce;
    std::optional<SimPower> power;
    std::optional<uint8_t> motionWakeup;
    std::map<uint8_t, SimMacro> macros;  // by device macro index
    int factoryResets = 0;
    int statusRequests = 0;
    int validWrites = 0;
    int rejectedWrites = 0;
    // Every report the program builds takes the next sequence number (byte 4,
    // wrapping at 256), whichever interface it goes to: a write whose number
    // does not follow the previous one counts here (it is still taken).
    int sequenceBreaks = 0;
    std::optional<uint8_t> lastSequence;
};

// The answer to the status request.
struct SimStatus {
    uint8_t sensorCode = 0x25;  // answer byte 15
    uint8_t batteryLevel = 100; // byte 18
    uint8_t chargeState = 0;    // byte 19: 1 charging, 2 charging and full, other = not charging
};

class SimMouse final : public IHidBackend {
public:
    // The clock stamps the trace; it must outlive the sim and its handles.
    explicit SimMouse(IClock& clock, bool presentA = true, bool presentB = false);
    ~SimMouse() override;
    SimMouse(const SimMouse&) = delete;
    SimMouse& operator=(const SimMouse&) = delete;

    // IHidBackend. Open fails for an unknown path or an unplugged product.
    // The change callback is called on the thread that calls Plug/Unplug, once
    // per interface, outside the sim's lock.
    std::vector<HidInterfaceInfo> Enumerate() override;
    std::unique_ptr<IHidDevice> Open(const std::string& path, std::string* error) override;
    void SetChangeCallback(HidChangeCallback callback) override;

    // --- plugging --------------------------------------------------------
    // Unplug: open handles of the product go dead for good (Read returns Gone,
    // feature calls fail), Enumerate leaves it out, Open fails. Plug again:
    // new handles work; old ones stay dead, as a removed hidraw node does.
    void Plug(SimProduct product);
    void Unplug(SimProduct product);
    bool IsPlugged(SimProduct product) const;

    // --- status answer ---------------------------------------------------
    void SetStatus(const SimStatus& status);
    SimStatus Status() const;
    // The next n status requests are answered with byte 6 = 0 (no data).
    void AnswerEmptyStatus(int n);
    // Replace the whole 33-byte answer (for answers with wrong bytes); nullopt
    // goes back to the answer built from SetStatus.
    void SetRawStatusAnswer(std::optional<std::vector<uint8_t>> answer);

    // --- input reports -----------------------------------------------------
    // Delivers an input report to every open handle of that interface; a
    // report nobody is reading is lost, as on the wire. False when the product
    // is unplugged.
    bool SendInputReport(SimProduct product, SimInterface iface, const std::vector<uint8_t>& bytes);
    // Report 05 06 00 interval ordinal, zero-padded to 33 bytes.
    bool ReportDeviceChange(SimProduct product, uint8_t intervalMs, uint8_t dpiOrdinal);
    // The DPI button: moves to the next enabled level (wrapping; the enabled
    // count and ordinal come from the last DPI command, 1 of 1 when none came)
    // and reports it with the current polling interval (1 ms when none came).
    bool PressDpiButton(SimProduct product);
    // The polling button: sets the interval in the state and reports it.
    bool ChangePolling(SimProduct product, uint8_t intervalMs);
    // Blocks (on a condition variable, not a sleep) until at least `readers`
    // handles of the product's input interface are blocked in Read, or until
    // timeoutMs of real time passed; returns whether they are. Lets a test
    // send an input report only once the listener is really listening.
    bool WaitForReaders(SimProduct product, int readers = 1, int timeoutMs = 10000) const;

    // --- failures --------------------------------------------------------
    void FailNextWrites(int n);      // the next n SetFeature calls return false
    void FailAllWrites(bool fail);   // every SetFeature returns false until cleared
    void FailNextReads(int n);       // the next n GetFeature calls return false

    // --- inspection --------------------------------------------------------
    SimDeviceState State() const;
    std::vector<SimTraceEntry> Trace() const;
    // Valid feature writes only, in order (the bytes as written).
    std::vector<std::vector<uint8_t>> AcceptedWrites() const;
    void ClearTrace();

    struct Core;  // shared with the open handles
private:
    std::shared_ptr<Core> core_;
};

// Checks one host-to-mouse feature report against the protocol framing.
// Returns an empty string when it is valid, else what is wrong. Pure; the sim
// uses it on every write and tests can use it on reports they build.
std::string CheckFeatureFraming(const uint8_t* data, size_t len);

}  // namespace platform
