#include "device/device_io_thread.h"

DeviceIoThread::DeviceIoThread(platform::IClock& clock) : clock_(clock), thread_([this] { Run(); }) {}

DeviceIoThread::~DeviceIoThread()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void DeviceIoThread::Enqueue(Job job)
{
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(job));
    }
    wake_.notify_one();
}

void DeviceIoThread::Run()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (queue_.empty())
            break;  // stopping, and everything queued has been done
        Job job = std::move(queue_.front());
        queue_.pop_front();
        running_ = true;
        lock.unlock();
        job();
        lock.lock();
        running_ = false;
        if (queue_.empty())
            idle_.notify_all();
    }
    idle_.notify_all();
}

bool DeviceIoThread::WriteStamped(platform::IHidDevice& device, FeatureReport report)
{
    if (anyReport_) {
        const int64_t left = lastReportAtMs_ + kReportSpacingMs - clock_.NowMs();
        if (left > 0)
            clock_.SleepMs(int(left));
    }
    const int64_t at = clock_.NowMs();
    report[kReportSequenceAt] = sequence_.fetch_add(1);
    const bool ok = device.SetFeature(report.data(), report.size());
    if (ok) {
        lastReportAtMs_ = at;
        anyReport_ = true;
    }
    return ok;
}

void DeviceIoThread::EnqueueWrite(std::shared_ptr<platform::IHidDevice> device, const FeatureReport& report,
                                  std::function<void(bool)> onResult)
{
    if (!device)
        return;
    Enqueue([this, device = std::move(device), report, onResult = std::move(onResult)] {
        const bool ok = WriteStamped(*device, report);
        if (onResult)
            onResult(ok);
    });
}

void DeviceIoThread::EnqueueStatusQuery(std::shared_ptr<platform::IHidDevice> device,
                                        std::function<void(const FeatureReport&)> onAnswer)
{
    if (!device)
        return;
    Enqueue([this, device = std::move(device), onAnswer = std::move(onAnswer)] {
        for (int attempt = 0; attempt < 2; ++attempt) {
            if (!WriteStamped(*device, BuildStatusRequest()))
                return;
            clock_.SleepMs(10);
            FeatureReport answer;
            answer.fill(0xFF);
            answer[0] = kFeatureReportId;
            if (!device->GetFeature(answer.data(), answer.size()))
                return;
            if (StatusAnswerHasData(answer)) {
                if (onAnswer)
                    onAnswer(answer);
                return;
            }
        }
    });
}

void DeviceIoThread::WaitUntilIdle()
{
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return queue_.empty() && !running_; });
}

size_t DeviceIoThread::Pending() const
{
    std::lock_guard lock(mutex_);
    return queue_.size() + (running_ ? 1 : 0);
}
