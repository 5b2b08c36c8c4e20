#include "platform/procs/process_watch.h"

#include <chrono>

namespace platform {

ProcessWatch::~ProcessWatch() { Stop(); }

void ProcessWatch::Start(Digest digest, OnChange onChange, int periodMs)
{
    Stop();
    stop_ = false;
    thread_ = std::thread([this, digest = std::move(digest), onChange = std::move(onChange), periodMs] {
        Run(digest, onChange, periodMs);
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

void ProcessWatch::Run(Digest digest, OnChange onChange, int periodMs)
{
    ProcessScanner scanner;
    bool first = true;
    std::vector<std::string> last;
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stop_) {
        lock.unlock();
        std::vector<std::string> now = digest(scanner.Scan());
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
