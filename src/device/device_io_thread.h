#pragma once
// The one thread that talks to the feature interface. The window thread builds
// and compares reports and queues them here; this thread writes them in queue
// order with the mouse's pacing so that the user interface never waits for
// the mouse. It also stamps every report with the next sequence number as it
// goes out, so numbers follow the wire order.
//
// Pacing. The mouse needs kReportSpacingMs after a report before it takes the
// next one, so a report waits only for what is left of that time since the
// previous report went out, whichever apply queued it. Nothing waits after a
// report or in place of one that was not sent: the mouse cannot tell a pause
// after nothing from no pause, and a single change then leaves at once.
//
// Results come back through the callbacks, which run on this thread: the
// owner posts them on to the window thread.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "device/device_reports.h"
#include "platform/clock/clock.h"
#include "platform/hid/hid_transport.h"

class DeviceIoThread {
public:
    explicit DeviceIoThread(platform::IClock& clock);
    // Finishes the queued work, then ends the thread.
    ~DeviceIoThread();
    DeviceIoThread(const DeviceIoThread&) = delete;
    DeviceIoThread& operator=(const DeviceIoThread&) = delete;

    static constexpr int kReportSpacingMs = 60;

    // Writes `report` (byte 4 replaced by the sequence number) once the
    // spacing since the previous report has passed. onResult, when given,
    // learns whether the write succeeded. A failed write does not count as a
    // report: the mouse got nothing to work on, and when it was unplugged the
    // writes still queued fail at once instead of waiting for nothing.
    void EnqueueWrite(std::shared_ptr<platform::IHidDevice> device, const FeatureReport& report,
                      std::function<void(bool ok)> onResult = {});
    // The status request: write (paced like any report), wait 10 ms, read;
    // once more with a new sequence number when the answer carries no data.
    // onAnswer runs only for an answer whose byte 6 is nonzero.
    void EnqueueStatusQuery(std::shared_ptr<platform::IHidDevice> device,
                            std::function<void(const FeatureReport& answer)> onAnswer);

    // Blocks until everything queued so far has run (tests and shutdown).
    void WaitUntilIdle();
    // Jobs queued or running.
    size_t Pending() const;
    // The number the next report will carry.
    uint8_t sequenceCounter() const { return sequence_.load(); }

private:
    using Job = std::function<void()>;
    void Enqueue(Job job);
    void Run();
    // Waits out the spacing, then writes; a write that went through starts
    // the next spacing.
    bool WriteStamped(platform::IHidDevice& device, FeatureReport report);

    platform::IClock& clock_;
    std::atomic<uint8_t> sequence_{1};  // starts at 1, wraps 255 -> 0, never reset
    // When the last report went out; this thread only.
    int64_t lastReportAtMs_ = 0;
    bool anyReport_ = false;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<Job> queue_;
    bool running_ = false;  // a job is executing
    bool stopping_ = false;
    std::thread thread_;
};
