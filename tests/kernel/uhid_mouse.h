#pragma once
// The simulated mouse behind /dev/uhid: the same SimMouse that stands in for
// the hardware in-process (its decoder, validator, status answer and input
// reports) served to the kernel as real HID devices, so that the hidraw
// backend, udev and tevlanctl meet it through /dev/hidraw*.
//
// Each product is three uhid devices, as the mouse's three USB interfaces:
// the boot mouse, the vendor input collection (report id 5, 32 bytes) and the
// vendor feature collection (report id 0x0C, 32 bytes). SET_REPORT and
// GET_REPORT on the feature device go to a SimMouse handle; the reports the
// sim sends on its input interface go out as uhid input reports.
//
// Unplugging destroys the product's devices, as pulling the cable removes
// its interfaces; it can be armed to happen when the n-th feature report
// arrives, either before the mouse answers it (the write fails in the
// kernel) or right after.
#include "platform/clock/clock.h"
#include "platform/sim/sim_mouse.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kerneltest {

class UhidMouse {
public:
    // Opens nothing yet; Plug creates the devices. `clock` stamps the trace.
    explicit UhidMouse(platform::IClock& clock);
    ~UhidMouse();
    UhidMouse(const UhidMouse&) = delete;
    UhidMouse& operator=(const UhidMouse&) = delete;

    // False with the reason in *error when /dev/uhid cannot be used.
    bool Plug(platform::SimProduct product, std::string* error = nullptr);
    void Unplug(platform::SimProduct product);
    // When the n-th feature report (1-based, counted from now) reaches the
    // product, unplug it: before answering (the kernel's write fails) or
    // after. n = 0 disarms.
    void UnplugOnWrite(platform::SimProduct product, int n, bool beforeAnswer);
    // Whether an armed unplug has happened.
    bool UnpluggedByWrite() const { return armedFired_.load(); }
    // The steady-clock time (ms) of that unplug.
    int64_t UnplugTimeMs() const { return unplugAtMs_.load(); }

    platform::SimMouse& Sim() { return sim_; }

    // The feature reports the kernel delivered and answered, as tevlanctl
    // --trace prints them: "W <33 bytes>" and "R <33 bytes>", one per line.
    std::string TraceText() const;
    // Clock times of the feature writes, in order.
    std::vector<int64_t> WriteTimes() const;

private:
    struct Device;
    struct Product;
    void Pump();
    void Handle(Device& d);
    void UnplugLocked(std::unique_lock<std::mutex>& lock, platform::SimProduct product);
    void Wake();

    platform::IClock& clock_;
    platform::SimMouse sim_;
    mutable std::mutex mu_;
    std::vector<std::unique_ptr<Device>> devices_;
    std::unique_ptr<Product> products_[2];
    int wake_ = -1;
    std::atomic<bool> stop_{false};
    std::atomic<bool> armedFired_{false};
    std::atomic<int64_t> unplugAtMs_{0};
    std::thread pump_;
};

// The mouse's decoded state as text, one field a line, for comparing two
// mice and for the log when they differ. Counters of rejected and
// out-of-sequence writes are included: both must be 0 after a clean run.
std::string DescribeState(const platform::SimDeviceState& state);

// "0003:248A:5B2E" for product A: the prefix of its HID devices' kernel names.
std::string HidNamePrefix(platform::SimProduct product);

}  // namespace kerneltest
