#pragma once
// What the simulated mouse does with one feature report: the decoding half of
// the protocol, kept apart from the plumbing of handles and threads so that it
// is a plain function of bytes and state.
#include "platform/sim/sim_mouse.h"

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Applies a report that passed CheckFeatureFraming to the state. Returns an
// empty string, or why a well-framed report could not be taken (a macro
// packet out of order). Status requests only count themselves here.
std::string ApplyFeatureReport(SimDeviceState& state, const uint8_t* report);

// The 33-byte answer to a status request with sequence number seq. Without
// data, byte 6 is 0 and bytes 7 onwards are zero.
std::vector<uint8_t> BuildStatusAnswer(const SimStatus& status, uint8_t seq, bool withData);

// Report 05 06 00 interval ordinal, zero-padded to 33 bytes.
std::vector<uint8_t> BuildDeviceChangeReport(uint8_t intervalMs, uint8_t dpiOrdinal);

}  // namespace platform
