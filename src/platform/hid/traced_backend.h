#pragma once
// A decorator that prints every report passing through a backend, for
// `tevlanctl --trace` and for debugging the program against a real mouse.
// One line per report, bytes as two upper-case hex digits separated by spaces:
//   "W 0C 01 04 ..."  a feature report written (as handed to SetFeature)
//   "R 0C 01 20 ..."  a feature report read back (after a successful GetFeature)
//   "I 05 06 00 ..."  an input report returned by Read
// A failed call adds a line "E <what failed>: <the handle's last error>" after
// its W line (a failed write still shows what was attempted) or in place of
// its R line. Standard C++ only.
#include "platform/hid/hid_transport.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace platform {

// Receives one line at a time, without the line break. The decorator calls it
// under its own lock, so a sink need not be thread-safe, but it must not call
// back into the traced backend.
using TraceSink = std::function<void(const std::string& line)>;

// "0C 01 04"
std::string HexBytes(const uint8_t* data, size_t len);

class TracedBackend final : public IHidBackend {
public:
    // The inner backend must outlive this one and every handle it opened.
    TracedBackend(IHidBackend& inner, TraceSink sink);

    std::vector<HidInterfaceInfo> Enumerate() override;
    std::unique_ptr<IHidDevice> Open(const std::string& path, std::string* error) override;
    std::unique_ptr<IHidDevice> OpenWithReason(const std::string& path, std::string* error,
                                               HidOpenProblem* problem) override;
    void SetChangeCallback(HidChangeCallback callback) override;

    struct Shared {
        std::mutex mu;
        TraceSink sink;
        void Line(const std::string& line);
    };

private:
    IHidBackend& inner_;
    std::shared_ptr<Shared> shared_;
};

}  // namespace platform
