#pragma once
#include "profile/pending_group.h"
// The main window's link to the mouse: which of its interfaces are present,
// the open feature handles, the input listeners, the last-sent image of every
// command, the apply sequence, the status query and the factory reset.
//
// Threads. Everything public runs on the window thread, which owns all the
// state below. Reports are built and compared there and queued on the one
// device I/O thread, which writes them with the mouse's pacing; the window
// thread never waits for the mouse. The listener threads and the I/O thread
// hand what they learn back through IDeviceHost::PostToWindowThread: they
// never touch a profile record, an image or a flag of this object.
//
// Product A is 0x5B2E (cable), B is 0x5B2F (receiver). A's feature handle is
// preferred for every write; B's is used only when A's is not open.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "device/device_host.h"
#include "device/device_io_thread.h"
#include "device/device_reports.h"
#include "device/input_listener.h"
#include "profile/macro_model.h"
#include "macros/macro_upload.h"
#include "profile/profile_record.h"
#include "platform/clock/clock.h"
#include "platform/hid/hid_transport.h"

constexpr uint16_t kMouseVendorId = 0x248A;
constexpr uint16_t kMouseProductA = 0x5B2E;
constexpr uint16_t kMouseProductB = 0x5B2F;
constexpr int kMaxMemberIndex = 100;  // enumeration indexes 0..99 are probed
constexpr int kReportPacingMs = DeviceIoThread::kReportSpacingMs;  // between two reports
constexpr int kStatusQueryEvery = 20; // status ticks between two queries, plus one

enum ProductSlot { kProductA = 0, kProductB = 1 };

// What the link knows about one product.
struct ProductLink {
    uint16_t productId = 0;
    bool present = false;      // its feature interface was seen by the last scan
    int featureMember = -1;    // enumeration index of the feature interface
    int inputMember = -1;      // enumeration index of the input interface
    std::string featurePath;   // remembered feature interface; empty = none
    std::string inputPath;     // remembered input interface; emptied when its listener ends
    std::shared_ptr<platform::IHidDevice> handle;  // open feature interface, or none
    bool listenerBusy = false; // its listener thread runs
    uint32_t listenerGeneration = 0;
    InputListener listener;
};

class DeviceLink {
public:
    // The macro library's first set is what reaches the mouse. Backend,
    // clock, host and library must outlive the link.
    DeviceLink(platform::IHidBackend& backend, platform::IClock& clock, IDeviceHost& host,
               const MacroLibrary& macroLibrary);
    // Stops the listeners, finishes the queued writes and closes the handles.
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // --- discovery -------------------------------------------------------
    // Start-up: no handles, listeners idle, a status query due, and device
    // arrival/removal notifications switched on.
    void ResetLinkState();
    // Probes the interfaces, opens or closes the feature handles, starts the
    // listeners, and schedules a quiet apply of the active profile.
    void ScanDevices();
    // One interface of the scan under way (indexes past the enumeration do nothing).
    void ProbeInterface(int memberIndex);
    void OpenHandleA() { OpenHandle(kProductA); }
    void OpenHandleB() { OpenHandle(kProductB); }

    // --- protocol --------------------------------------------------------
    // Every last-sent image from the active profile, as if the mouse held it.
    void PrimeSentImages();
    void SendKeyAssignments();
    void SendSensorSettings();
    void SendPowerSettings();
    void SendWakeSetting();
    void SendFactoryReset();
    // The status request with one retry; the answer comes back to
    // HandleStatusAnswer on the window thread.
    void QueryDeviceStatus();
    // The apply sequence: slot pass, pending groups, macros, progress,
    // save, refresh. Timer 30 runs it. While an earlier batch is still going
    // out it only notes that an apply is due; the apply then runs when that
    // batch has gone out, and sends everything scheduled meanwhile.
    void ApplyToDevice();
    // An apply that waits for the batch under way is queued behind it now
    // (the window is closing and will not hear the batch end).
    void FlushApply();
    // The whole active profile to the mouse, whatever it was sent before:
    // every setting report and every slotted macro (the Apply button).
    void ApplyWholeProfile();
    void AssignMacroSlots();
    void UploadMacros(bool send);

    // --- events (window thread) ------------------------------------------
    // An interface of any HID device arrived or went away (path: which one,
    // when the notice says). Presence is what the scan it runs sees; the
    // program ends when a scan finds the last product gone.
    void OnDeviceChange(bool arrived, const std::string& path = {});
    // A listener's report 05 06: the mouse changed its DPI level or polling
    // rate by itself.
    void OnDeviceChangeReport(uint8_t intervalMs, uint8_t levelOrdinal);
    // Message 1067: the on-screen display texts for the new state.
    int OnDeviceSettingsChanged(int wParam, int lParam);
    // Timer 110.
    void OnStatusTick();

    // --- status and reset ------------------------------------------------
    void HandleStatusAnswer(const FeatureReport& answer);
    // g_sensorId already holds the new sensor; the profiles were prepared for previousSensor.
    void AdoptSensor(uint16_t previousSensor);
    // The factory reset after the user confirmed it: the command, the active
    // profile back to its defaults under its own name, its slot file
    // rewritten, the images primed.
    void FactoryResetConfirmed();

    // --- state (window thread) -------------------------------------------
    ProductLink& Product(ProductSlot p) { return products_[p]; }
    const ProductLink& Product(ProductSlot p) const { return products_[p]; }
    bool presentA() const { return products_[kProductA].present; }
    bool presentB() const { return products_[kProductB].present; }
    bool anyPresent = false;
    bool needStatusQuery = true;
    // Why the last scan could not open an interface of the mouse (a missing
    // access rule, for example); empty when every open worked.
    std::string lastOpenError;
    platform::HidOpenProblem lastOpenProblem = platform::HidOpenProblem::None;
    std::string lastOpenPath;  // the interface lastOpenError is about

    // The next ApplyToDevice sends this group (and forgets it).
    void Schedule(PendingGroup group) { scheduled_[static_cast<size_t>(group)] = true; }
    bool IsScheduled(PendingGroup group) const { return scheduled_[static_cast<size_t>(group)]; }
    // Forgets every scheduled group without sending it.
    void ClearSchedule() { scheduled_.fill(false); }
    bool suppressProgress = false;
    bool saveScheduled = false;  // a change waits for its save; the window's save clears it
    bool sentSomething = false;
    int statusTickCount = 0;

    int currentDpiOrdinal = 2;
    uint8_t batteryLevel = 100;
    int chargeState = 0;
    int sensorCode = 0;
    uint16_t preSensorCheck = 0;
    std::vector<int32_t> macroSlotOf;

    // The number the next report will carry.
    uint8_t sequenceCounter() const { return io_->sequenceCounter(); }
    // Tests and shutdown: blocks until every queued write has gone out.
    void WaitForDeviceIo() { io_->WaitUntilIdle(); }
    size_t PendingDeviceIo() const { return io_->Pending(); }
    // Reports queued that the window thread has not yet heard went out.
    int WritesInFlight() const { return writesInFlight_; }
    // A batch of reports is still going out.
    bool Writing() const;
    // An apply waits for the batch under way.
    bool ApplyWaiting() const { return applyWaiting_; }

    // Which last-sent image a write belongs to (for a failed write).
    enum ImageId {
        kImgKey0 = 0,  // ... kImgKey0 + 7, by device button index
        kImgDpi = 8,
        kImgDpiColour,
        kImgPolling,
        kImgLiftOff,
        kImgDebounce,
        kImgLighting,
        kImgPower,
        kImgWake,
        kImgMacro1,  // ... kImgMacro1 + 7, by device macro index 1..8
        kImageCount = kImgMacro1 + kMacroDeviceIndexes,
    };
    // A last-sent image. Unknown until first sent or primed, and again after
    // its write failed: an unknown image never matches, so the next apply
    // sends that command again.
    struct SentImage {
        std::vector<uint8_t> bytes;
        bool known = false;
        uint32_t generation = 0;  // bumped on every store
    };
    const SentImage& Image(ImageId id) const { return images_[id]; }

private:
    void OpenHandle(ProductSlot p);
    void StartListener(ProductSlot p);
    void StopListener(ProductSlot p);
    void OnListenerEnded(ProductSlot p, uint32_t generation);
    platform::IHidDevice* ChosenHandle() const;
    std::shared_ptr<platform::IHidDevice> ChosenHandleShared() const;
    ProfileRecord& ActiveProfile();
    const MacroSet* FirstMacroSet() const;
    // The macros the slot pass and the upload draw from: the first set, and
    // after its macros those of the other sets that a button of the active
    // profile names and the first set does not hold. Buttons may be given a
    // macro of any set; the slot pass finds macros by the name in the label,
    // so a name the first set holds stays the first set's.
    const MacroSet* SlotPassMacros();
    // Stores the first n bytes of fresh as image id; true when they differ
    // from what was there or that was unknown.
    bool StoreImage(ImageId id, const uint8_t* fresh, size_t n);
    // Queues report on the chosen handle (the I/O thread paces it); a
    // failure marks image id unknown (unless it was stored again since).
    void Write(ImageId id, const FeatureReport& report);
    void OnWritesDrained();
    void RunApply();
    // After the mouse changed its level or rate: the images it makes true.
    void AdoptReportedState(const ProfileRecord& before);
    void AdoptReportedImage(ImageId id, const uint8_t* before, const uint8_t* now, size_t n);
    // Runs task on the window thread unless the link is gone by then.
    void Post(std::function<void()> task);

    platform::IHidBackend& backend_;
    IDeviceHost& host_;
    const MacroLibrary& macroLibrary_;
    MacroSet slotPassMacros_;  // rebuilt by SlotPassMacros when other sets are named
    std::array<ProductLink, 2> products_;
    std::array<SentImage, kImageCount> images_;
    std::array<bool, 5> scheduled_{};  // by PendingGroup
    int writesInFlight_ = 0;
    std::array<int, kImageCount> inFlight_{};  // by image: reports queued, not yet heard of
    int reportsThisApply_ = 0;
    bool applyWaiting_ = false;
    std::vector<platform::HidInterfaceInfo> scanList_;  // the enumeration of the scan under way
    std::shared_ptr<bool> alive_;
    std::unique_ptr<DeviceIoThread> io_;
};
