#include "platform/sim/sim_protocol.h"

#include <cstdio>

namespace platform {
namespace {

constexpr uint8_t kReportId = 0x0C;
constexpr int kPacketDataBytes = 25;
// Byte 3 of the macro image, the step count, is one byte: 255 steps of 3 bytes
// need 31 packets. No upload can be longer, which settles whether a packet
// numbered 0 after 16 packets continues an upload or starts a new one.
constexpr int kMaxMacroPackets = (255 * 3 + kPacketDataBytes - 1) / kPacketDataBytes;

std::string Hex(uint8_t v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "0x%02X", v);
    return buf;
}

// Payload length of each fixed-length command; -1 for the ones whose length
// depends on their content (lighting, macro data) and for unknown codes.
int FixedPayloadLength(uint8_t command) {
    switch (command) {
    case 0x04: return 4;
    case 0x05: return 0x12;
    case 0x06: return 0x18;
    case 0x07: return 1;
    case 0x09: return 2;
    case 0x0A: return 1;
    case 0x0B: return 2;
    case 0x0C: return 1;
    case 0x0F: return 1;
    case 0x20: return 0;
    default: return -1;
    }
}

// The lighting image's length byte for a mode; -1 when it depends on the
// colour count (mode 2).
int LightingLength(uint8_t mode) {
    switch (mode) {
    case 0: case 4: case 5: case 8: case 9: return 2;
    case 1: return 3;
    case 2: return -1;
    case 3: return 5;
    case 6: case 7: return 0x17;
    default: return 0;
    }
}

std::string CheckTrailingZeros(const uint8_t* data, size_t from) {
    for (size_t i = from; i < kSimReportLength; ++i)
        if (data[i] != 0) return "byte " + std::to_string(i) + " after the payload is " + Hex(data[i]) + ", not 0";
    return {};
}

std::string CheckMacroPacket(const uint8_t* data) {
    const int packet = data[5] >> 4;
    const int countNibble = data[5] & 0x0F;
    const int length = data[6];
    if (length < 1 || length > kPacketDataBytes + 1)
        return "macro packet length " + std::to_string(length) + " outside 1..26";
    if (data[7] < 1 || data[7] > 8) return "macro index " + std::to_string(data[7]) + " outside 1..8";
    // A packet with fewer than 25 data bytes is the last of its upload, so its
    // number must be the count minus one (both modulo 16).
    if (length < kPacketDataBytes + 1 && ((packet + 1) & 0x0F) != countNibble)
        return "last macro packet numbered " + std::to_string(packet) + " of count nibble " +
               std::to_string(countNibble);
    return {};
}

std::string CheckLighting(const uint8_t* data) {
    const uint8_t length = data[6];
    const uint8_t mode = data[7];
    int expected = LightingLength(mode);
    if (mode == 2) {
        const uint8_t colours = data[9];
        if (colours > 7) return "lighting mode 2 with " + std::to_string(colours) + " colours";
        expected = 3 + 3 * colours;
    }
    if (length != expected)
        return "lighting length " + std::to_string(length) + " for mode " + std::to_string(mode) +
               ", expected " + std::to_string(expected);
    // The mode and the brightness/speed byte go out even when the length byte
    // says 0 (modes 10 and above).
    const size_t end = kSimPayloadAt + (length < 2 ? 2 : length);
    return CheckTrailingZeros(data, end);
}

}  // namespace

std::string CheckFeatureFraming(const uint8_t* data, size_t len) {
    if (data == nullptr || len != kSimReportLength)
        return "length " + std::to_string(len) + ", expected 33";
    if (data[0] != kReportId) return "report id " + Hex(data[0]) + ", expected 0x0C";
    if (data[1] != 0x01) return "byte 1 is " + Hex(data[1]) + ", expected 0x01";
    if (data[3] != 0x00) return "byte 3 is " + Hex(data[3]) + ", expected 0x00";
    const uint8_t command = data[kSimCommandAt];
    if (command == 0x0E) return CheckMacroPacket(data);

    const uint8_t expectedByte5 = command == 0x20 ? 0x00 : 0x01;
    if (data[kSimKindAt] != expectedByte5)
        return "byte 5 is " + Hex(data[kSimKindAt]) + ", expected " + Hex(expectedByte5);
    if (command == 0x08) return CheckLighting(data);

    const int length = FixedPayloadLength(command);
    if (length < 0) return "unknown command " + Hex(command);
    if (data[kSimLengthAt] != length)
        return "payload length " + std::to_string(data[kSimLengthAt]) + " for command " + Hex(command) + ", expected " +
               std::to_string(length);
    switch (command) {
    case 0x04:
        if (data[7] > 7) return "button index " + std::to_string(data[7]) + " outside 0..7";
        break;
    case 0x07:
        if (data[7] != 8 && data[7] != 4 && data[7] != 2 && data[7] != 1)
            return "polling interval " + std::to_string(data[7]) + " ms is none of 8, 4, 2, 1";
        break;
    case 0x09:
        if (data[7] != 1 && data[7] != 2) return "lift-off value " + std::to_string(data[7]) + ", expected 1 or 2";
        break;
    case 0x0F:
        if (data[7] != 0xFF) return "factory reset payload " + Hex(data[7]) + ", expected 0xFF";
        break;
    default:
        break;
    }
    return CheckTrailingZeros(data, kSimPayloadAt + size_t(length));
}

namespace {

std::string ApplyMacroPacket(SimDeviceState& state, const uint8_t* data) {
    const uint8_t index = data[7];
    const int packet = data[5] >> 4;
    const uint8_t countNibble = data[5] & 0x0F;
    const int meaningful = data[6] - 1;
    const bool full = data[6] == kPacketDataBytes + 1;

    auto it = state.macros.find(index);
    bool continues = false;
    if (it != state.macros.end()) {
        const SimMacro& m = it->second;
        const int c = m.packetsReceived;
        // The upload can go on only if every packet so far was full and some
        // packet count with this nibble is larger than what came.
        bool longerPossible = false;
        for (int n = c + 1; n <= kMaxMacroPackets; ++n)
            if ((n & 0x0F) == countNibble) longerPossible = true;
        continues = m.packetCountNibble == countNibble && packet == (c & 0x0F) &&
                    int(m.data.size()) == c * kPacketDataBytes && longerPossible;
    }
    if (!continues && packet != 0)
        return "macro " + std::to_string(index) + " packet " + std::to_string(packet) + " out of order";

    SimMacro& m = state.macros[index];
    if (!continues) m = SimMacro{};
    m.index = index;
    m.packetCountNibble = countNibble;
    m.data.insert(m.data.end(), data + 8, data + 8 + meaningful);
    m.packetsReceived += 1;
    m.complete = !full || (m.packetsReceived & 0x0F) == countNibble;
    return {};
}

}  // namespace

std::string ApplyFeatureReport(SimDeviceState& state, const uint8_t* r) {
    switch (r[2]) {
    case 0x04:
        state.buttons[r[7]] = std::array<uint8_t, 3>{r[8], r[9], r[10]};
        break;
    case 0x05: {
        SimDpiLevels d;
        d.enabledCount = r[7] & 0x0F;
        d.currentOrdinal = r[7] >> 4;
        d.enableMask = r[8];
        for (size_t i = 0; i < d.codes.size(); ++i) d.codes[i] = uint16_t(r[9 + 2 * i] | (r[10 + 2 * i] << 8));
        state.dpi = d;
        break;
    }
    case 0x06: {
        std::array<std::array<uint8_t, 3>, 8> c{};
        for (int i = 0; i < 8; ++i) c[i] = {r[7 + 3 * i], r[8 + 3 * i], r[9 + 3 * i]};
        state.dpiColours = c;
        break;
    }
    case 0x07: state.pollingIntervalMs = r[7]; break;
    case 0x08: {
        SimLighting l;
        for (int i = 0; i < 25; ++i) l.image[i] = r[6 + i];
        state.lighting = l;
        break;
    }
    case 0x09: state.liftOff = std::array<uint8_t, 2>{r[7], r[8]}; break;
    case 0x0A: state.debounce = r[7]; break;
    case 0x0B: state.power = SimPower{r[7], r[8]}; break;
    case 0x0C: state.motionWakeup = r[7]; break;
    case 0x0E: return ApplyMacroPacket(state, r);
    case 0x0F: {
        SimDeviceState fresh;
        fresh.factoryResets = state.factoryResets + 1;
        fresh.statusRequests = state.statusRequests;
        fresh.validWrites = state.validWrites;
        fresh.rejectedWrites = state.rejectedWrites;
        fresh.sequenceBreaks = state.sequenceBreaks;
        fresh.lastSequence = state.lastSequence;
        state = fresh;
        break;
    }
    case 0x20: state.statusRequests += 1; break;
    default: return "unknown command " + Hex(r[2]);
    }
    return {};
}

std::vector<uint8_t> BuildStatusAnswer(const SimStatus& status, uint8_t seq, bool withData) {
    std::vector<uint8_t> a(kSimReportLength, 0);
    a[0] = kReportId;
    a[1] = 0x01;
    a[2] = 0x20;
    a[3] = 0x00;
    a[4] = seq;
    if (withData) {
        a[6] = 19 - 6;  // bytes 7 to 19 carry data
        a[15] = status.sensorCode;
        a[18] = status.batteryLevel;
        a[19] = status.chargeState;
    }
    return a;
}

std::vector<uint8_t> BuildDeviceChangeReport(uint8_t intervalMs, uint8_t dpiOrdinal) {
    std::vector<uint8_t> r(kSimReportLength, 0);
    r[0] = 0x05;
    r[1] = 0x06;
    r[3] = intervalMs;
    r[4] = dpiOrdinal;
    return r;
}

std::vector<SimMacroStep> SimMacro::Steps() const {
    std::vector<SimMacroStep> steps;
    for (size_t i = 0; i + 3 <= data.size(); i += 3) {
        SimMacroStep s;
        s.release = (data[i] & 0x80) != 0;
        s.type = (data[i] >> 4) & 0x07;
        s.pauseMs = uint16_t(((data[i] & 0x0F) << 8) | data[i + 1]);
        s.value = data[i + 2];
        steps.push_back(s);
    }
    return steps;
}

}  // namespace platform
