#pragma once
// The mouse as tevlanctl sees it: the chosen backend (the real mouse through
// hidraw, or the simulated one), the optional trace, and the program's own
// device link on top, so that every report tevlanctl writes is built, ordered
// and paced exactly as the program does it.
//
// tevlanctl has no window thread: the device link's callbacks are queued in
// CtlHost and run on the main thread by Drain(), after the I/O thread has
// gone idle. Timers the link asks for are not needed in a single run and are
// ignored; so are its requests to save files, since tevlanctl writes none.
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "ctl/ctl_options.h"
#include "device/device_host.h"
#include "device/device_link.h"
#include "profile/macro_model.h"
#include "platform/clock/clock.h"
#include "platform/cmdline/hid_backend_stack.h"
#include "platform/hid/hid_transport.h"

class CtlHost final : public IDeviceHost {
public:
    void PostToWindowThread(std::function<void()> task) override;
    // Runs the queued tasks (and the ones they queue) on the calling thread.
    void Drain();

    void StartTimer(int, int) override {}
    void StopTimer(int) override {}
    void RefreshFromProfile() override {}
    void ShowProgress(int) override {}
    void ShowOsd(const std::u16string&, const std::u16string&, const std::u16string&) override
    {
        if (onDeviceReport)
            onDeviceReport();
    }
    // watch: the mouse reported a DPI level or polling rate of its own.
    std::function<void()> onDeviceReport;
    void UpdateBatteryDisplay(int, int) override {}
    void OnDpiStepTableChanged() override {}
    void EndProgram() override {}

    int CurrentProfileIndex() override { return profileIndex; }
    void StoreSensorSettings(uint16_t, uint16_t) override {}
    void SaveCurrentProfileSetting() override {}
    void SaveAllProfileFiles() override {}
    void WriteProfileSlotFile(int) override {}

    int profileIndex = 0;

private:
    std::mutex mu_;
    std::deque<std::function<void()>> tasks_;
};

// What went over the feature interfaces: the device link does not report
// failed writes to its caller (the program never shows them), so tevlanctl
// counts them on the way through.
struct CtlIoCounts {
    int writes = 0;
    int failedWrites = 0;
    int reads = 0;
    int failedReads = 0;
    std::string lastError;
    std::vector<uint8_t> lastRead;  // the last feature report read successfully
};

class CtlDeviceSession {
public:
    // Trace lines go to `trace` when options.trace is set.
    CtlDeviceSession(const CtlOptions& options, std::ostream& trace);
    ~CtlDeviceSession();

    // Finds the mouse and lets the device link scan it. kExitOk when a
    // feature interface is open; otherwise the exit code, with the message in
    // *message. With requireFeature false only "no interface of the mouse at
    // all" is an error (for `list`).
    int Connect(std::string* message, bool requireFeature = true);

    // The mouse's interfaces as enumerated (vendor 0x248A, products 0x5B2E/0x5B2F).
    const std::vector<platform::HidInterfaceInfo>& MouseInterfaces() const { return mouse_; }
    // Why interfaces could not be opened, one message each (after Connect).
    const std::vector<std::string>& OpenErrors() const { return openErrors_; }
    // The kind of the first of OpenErrors (None when there is none).
    platform::HidOpenProblem OpenProblem() const { return openProblem_; }

    DeviceLink& Link() { return *link_; }
    CtlHost& Host() { return host_; }
    MacroLibrary& Library() { return library_; }
    // The simulated mouse with --device sim, else null.
    platform::SimMouse* Sim() { return backend_.sim.get(); }
    // Waits for every queued write and read, then runs what they posted back.
    void Settle();
    CtlIoCounts Counts() const;

private:
    class Watch;
    std::unique_ptr<platform::IClock> clock_;
    platform::HidBackendStack backend_;  // the simulated mouse or hidraw, traced or not
    std::unique_ptr<Watch> watch_;
    CtlHost host_;
    MacroLibrary library_;
    std::unique_ptr<DeviceLink> link_;
    std::vector<platform::HidInterfaceInfo> mouse_;
    std::vector<std::string> openErrors_;
    platform::HidOpenProblem openProblem_ = platform::HidOpenProblem::None;
    std::string backendError_;
};
