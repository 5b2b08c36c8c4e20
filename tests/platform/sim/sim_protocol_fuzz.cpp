// libFuzzer entry for the simulated mouse's decoding: the input is cut into
// 33-byte reports and fed through the framing check and the decoder, as a
// stream of writes from a faulty host would be.
#include "platform/sim/sim_mouse.h"
#include "platform/sim/sim_protocol.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    platform::SimDeviceState state;
    for (size_t at = 0; at + platform::kSimReportLength <= size; at += platform::kSimReportLength) {
        const uint8_t* report = data + at;
        if (!platform::CheckFeatureFraming(report, platform::kSimReportLength).empty()) continue;
        platform::ApplyFeatureReport(state, report);
    }
    for (const auto& [index, macro] : state.macros) {
        if (macro.index != index || macro.data.size() > size_t(macro.packetsReceived) * 25) std::abort();
        (void)macro.Steps();
    }
    return 0;
}
