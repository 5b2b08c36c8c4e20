#pragma once
// The one thread that talks to the feature interface. The window thread builds
// and compares reports and queues them here; this thread writes them in queue
// order with the mouse's pacing (a pause after each report) so that the user
// interface never waits for the mouse. It also stamps every report with the
// next sequence number as it goes out, so numbers follow the wire order.
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

    // Writes `report` (byte 4 replaced by the sequence number), then waits
    // waitAfterMs. onResult, when given, learns whether the write succeeded.
    // A failed write is not waited after: the mouse got nothing to work on,
    // and when it was unplugged the writes still queued fail at once, so the
    // wait would only hold up whoever waits for the queue to end.
    void EnqueueWrite(std::shared_ptr<platform::IHidDevice> device, const FeatureReport& report, int waitAfterMs,
                      std::function<void(bool ok)> onResult = {});
    void EnqueueWait(int ms);
    // The status request: write, wait 10 ms, read; once more with a new
    // sequence number when the answer carries no data. onAnswer runs only for
    // an answer whose byte 6 is nonzero.
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
    bool WriteStamped(platform::IHidDevice& device, FeatureReport report);

    platform::IClock& clock_;
    std::atomic<uint8_t> sequence_{1};  // starts at 1, wraps 255 -> 0, never reset
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable idle_;
    std::deque<Job> queue_;
    bool running_ = false;  // a job is executing
    bool stopping_ = false;
    std::thread thread_;
};
