#pragma once
// The real HID backend: the kernel's hidraw nodes, found and watched with
// libudev.
//
// One hidraw node is one USB HID interface, but the device link thinks in
// top-level collections (its discovery compares per-collection report
// lengths with 33). So every node is presented as one HidInterfaceInfo per
// top-level collection of its report descriptor. A node with a single
// collection keeps its plain path ("/dev/hidraw3"); a node with several gets
// "#<index>" appended, 0-based in descriptor order ("/dev/hidraw3#0",
// "/dev/hidraw3#1"). Open strips the suffix, opens the node and keeps the
// collection: Read then returns only input reports whose id belongs to that
// collection, since one fd delivers the reports of all collections of a node.
//
// Every report handed to or returned by a handle starts with its report id.
// For a device without report ids the kernel wants a leading 0 on feature
// reports and read() returns input reports without one; Read puts the 0 in
// front, so that callers see the same layout in both cases.
//
// Access: the program does not run as root, so a node is opened with the
// rights the udev rule 70-tevlan.rules gives the logged-in user. Right
// after a node appears (as the change monitor saw it) the rule may not have
// been applied yet; Open then retries EACCES for a short while (on the given
// clock). A node nobody may open is still listed, from what udev and sysfs
// tell about it, so that opening it can name the missing rule.
#include "platform/clock/clock.h"
#include "platform/hid/hid_transport.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace platform {

// "/dev/hidraw3#1" -> "/dev/hidraw3", 1; "/dev/hidraw3" -> itself, 0. False
// for a suffix that is not a number.
bool SplitInterfacePath(const std::string& path, std::string* node, size_t* collection);
std::string InterfacePath(const std::string& node, size_t collection, size_t collectionCount);

// The message for a node the user may not open. What to do about it depends
// on where the program runs from, which the callers know (udev_rule_hint.h).
std::string PermissionMessage(const std::string& node);

class HidrawBackend final : public IHidBackend {
public:
    // The clock paces the EACCES retries; it must outlive the backend.
    explicit HidrawBackend(IClock& clock);
    ~HidrawBackend() override;
    HidrawBackend(const HidrawBackend&) = delete;
    HidrawBackend& operator=(const HidrawBackend&) = delete;

    // Present, initialised hidraw nodes of any vendor, sorted by node number.
    std::vector<HidInterfaceInfo> Enumerate() override;
    std::unique_ptr<IHidDevice> Open(const std::string& path, std::string* error) override;
    std::unique_ptr<IHidDevice> OpenWithReason(const std::string& path, std::string* error,
                                               HidOpenProblem* problem) override;
    // Arrivals and removals of hidraw nodes, on a monitor thread. The path is
    // the node path without a collection suffix: every interface of that node
    // arrived or left. May be called from inside the callback (the monitor
    // then keeps running until the next call from another thread or the
    // backend's end).
    void SetChangeCallback(HidChangeCallback callback) override;

private:
    void StartMonitor();
    void StopMonitor();
    struct MonitorControl;
    void MonitorLoop(void* udev, void* monitor, std::shared_ptr<MonitorControl> control);
    bool ArrivedRecently(const std::string& node);

    IClock& clock_;
    std::mutex mu_;
    HidChangeCallback callback_;
    std::map<std::string, int64_t> arrivals_;  // node -> clock time of its last arrival
    std::thread monitor_;
    std::shared_ptr<MonitorControl> control_;
};

}  // namespace platform
