#pragma once
// The HID transport the device link talks through. Two backends implement it:
// hidraw (the real mouse, platform/hidraw) and the simulated mouse
// (platform/sim). Standard C++ only, so device/ can use it.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// One HID interface: one top-level application collection of a device node.
// Report lengths count the report id byte, as the discovery logic compares
// them with 33.
struct HidInterfaceInfo {
    std::string path;
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    uint16_t inputReportLength = 0;
    uint16_t featureReportLength = 0;
};

// Outcome of a blocking read.
enum class HidReadResult { Report, Cancelled, Gone, Error };

// An open interface. Feature calls and Read may run on different threads;
// CancelRead may be called from any thread and makes a blocked Read return.
// A cancel is for good: every later Read on the handle returns Cancelled at
// once, so a cancel that comes just before the reader blocks is not lost.
// Every report, in both directions, starts with its report id byte (0 for a
// device without report ids).
class IHidDevice {
public:
    virtual ~IHidDevice() = default;
    // data[0] is the report id; len counts it.
    virtual bool SetFeature(const uint8_t* data, size_t len) = 0;
    virtual bool GetFeature(uint8_t* data, size_t len) = 0;
    // Blocks until an input report arrives (copied into buf, its length in
    // *got), the read is cancelled, or the device goes away.
    virtual HidReadResult Read(uint8_t* buf, size_t len, size_t* got) = 0;
    virtual void CancelRead() = 0;
    // The last error of this handle, in words a user can act on.
    virtual std::string LastError() const = 0;
};

// Why an interface could not be opened, so that the user can be told what to do.
enum class HidOpenProblem { None, NoPermission, Busy, Other };

// Hot-plug: called on a backend thread when an interface arrives or leaves.
using HidChangeCallback = std::function<void(bool arrived, const std::string& path)>;

class IHidBackend {
public:
    virtual ~IHidBackend() = default;
    virtual std::vector<HidInterfaceInfo> Enumerate() = 0;
    // Null on failure, with the reason in *error (a permission error names the udev rule).
    virtual std::unique_ptr<IHidDevice> Open(const std::string& path, std::string* error) = 0;
    // Open that also says what kind of failure it was (None on success); a
    // backend that cannot tell reports Other.
    virtual std::unique_ptr<IHidDevice> OpenWithReason(const std::string& path, std::string* error,
                                                       HidOpenProblem* problem)
    {
        std::unique_ptr<IHidDevice> dev = Open(path, error);
        if (problem) *problem = dev ? HidOpenProblem::None : HidOpenProblem::Other;
        return dev;
    }
    // Starts delivering arrival/removal notifications; an empty callback stops them.
    virtual void SetChangeCallback(HidChangeCallback callback) = 0;
};

}  // namespace platform
