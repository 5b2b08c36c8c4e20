#pragma once
// Watches the user's processes on its own thread: a scan of /proc at most
// once a second, and a call of onChange only when the set of matched names
// differs from the previous scan's. The thread exists from Start to Stop (or
// the destructor) only; a stopped watch costs nothing.
//
// match and onChange run on the watch thread; onChange is expected to post
// to the window and return.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/procs/process_list.h"

namespace platform {

class ProcessWatch {
public:
    // Bit i set: the process runs watched name i (up to 32 names). Asked
    // once per process, and again only after its names changed.
    using Match = std::function<uint32_t(const ProcessNames&)>;
    using OnChange = std::function<void(uint32_t running)>;
    // A list to scan instead of /proc (tests); asked on the watch thread.
    using Source = std::function<std::vector<ProcessNames>()>;

    ProcessWatch() = default;
    ~ProcessWatch();
    ProcessWatch(const ProcessWatch&) = delete;
    ProcessWatch& operator=(const ProcessWatch&) = delete;

    // Starts (or restarts with a new match) the thread; the first scan runs
    // at once and always reports.
    void Start(Match match, OnChange onChange, int periodMs = 1000, Source source = {});
    void Stop();
    bool Running() const { return thread_.joinable(); }
    // Scans now instead of at the end of the period (a test's list changed).
    void ScanNow();

private:
    void Run(Match match, OnChange onChange, int periodMs, Source source);

    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    bool scanNow_ = false;
};

}  // namespace platform
