#include "platform/procs/process_watch.h"

#include <chrono>

namespace platform {

ProcessWatch::~ProcessWatch() { Stop(); }

void ProcessWatch::Start(Match match, OnChange onChange, int periodMs)
{
    Stop();
    stop_ = false;
    thread_ = std::thread([this, match = std::move(match), onChange = std::move(onChange), periodMs] {
        Run(match, onChange, periodMs);
    });
}

void ProcessWatch::Stop()
{
    if (!thread_.joinable()) return;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void ProcessWatch::Run(Match match, OnChange onChange, int periodMs)
{
    ProcessScanner scanner;
    bool first = true;
    uint32_t last = 0;
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stop_) {
        lock.unlock();
        const uint32_t now = scanner.ScanMatching(match);
        if (first || now != last) {
            first = false;
            last = now;
            onChange(now);
        }
        lock.lock();
        wake_.wait_for(lock, std::chrono::milliseconds(periodMs), [this] { return stop_; });
    }
}

}  // namespace platform
