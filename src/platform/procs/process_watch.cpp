#include "platform/procs/process_watch.h"

#include <chrono>

#include "platform/procs/process_scanner.h"

namespace platform {

ProcessWatch::~ProcessWatch() { Stop(); }

void ProcessWatch::Start(Match match, OnChange onChange, int periodMs, Source source)
{
    Stop();
    stop_ = false;
    scanNow_ = false;
    thread_ = std::thread([this, match = std::move(match), onChange = std::move(onChange), periodMs,
                           source = std::move(source)] { Run(match, onChange, periodMs, source); });
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

void ProcessWatch::ScanNow()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        scanNow_ = true;
    }
    wake_.notify_all();
}

void ProcessWatch::Run(Match match, OnChange onChange, int periodMs, Source source)
{
    ProcessScanner scanner;
    auto scan = [&] {
        if (!source) return scanner.ScanMatching(match);
        uint32_t running = 0;
        for (const ProcessNames& process : source()) running |= match(process);
        return running;
    };
    bool first = true;
    uint32_t last = 0;
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stop_) {
        scanNow_ = false;
        lock.unlock();
        const uint32_t now = scan();
        if (first || now != last) {
            first = false;
            last = now;
            onChange(now);
        }
        lock.lock();
        wake_.wait_for(lock, std::chrono::milliseconds(periodMs), [this] { return stop_ || scanNow_; });
    }
}

}  // namespace platform
