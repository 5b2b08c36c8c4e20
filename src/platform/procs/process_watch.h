#pragma once
// Watches the user's processes on its own thread: a scan of /proc at most
// once a second, and a call of onChange only when the set of matched names
// differs from the previous scan's. The thread exists from Start to Stop (or
// the destructor) only; a stopped watch costs nothing.
//
// match and onChange run on the watch thread; onChange is expected to post
// to the window and return.
#include <condition_variable>
#include <functional>
#include <cstdint>
#include <unordered_map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/procs/process_list.h"

namespace platform {

class ProcessWatch {
public:
    // Bit i set: the process runs watched name i (up to 32 names). Asked
    // once per process, and again only after it executed another program.
    using Match = std::function<uint32_t(const ProcessNames&)>;
    using OnChange = std::function<void(uint32_t running)>;

    ProcessWatch() = default;
    ~ProcessWatch();
    ProcessWatch(const ProcessWatch&) = delete;
    ProcessWatch& operator=(const ProcessWatch&) = delete;

    // Starts (or restarts with a new match) the thread; the first scan runs
    // at once and always reports.
    void Start(Match match, OnChange onChange, int periodMs = 1000);
    void Stop();
    bool Running() const { return thread_.joinable(); }

private:
    void Run(Match match, OnChange onChange, int periodMs);

    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
};

// Scans with a cache: a process seen before is read again only by its
// executable link (each scan while it is young, every eighth scan later);
// its command line is reread only when that changed (an exec). Processes of
// other users are remembered and skipped.
class ProcessScanner {
public:
    // The names of every own process.
    std::vector<ProcessNames> Scan();
    // The OR of match over the own processes.
    uint32_t ScanMatching(const ProcessWatch::Match& match);

private:
    struct Entry {
        bool ours = false;
        bool matched = false;  // mask is valid for exeTarget
        uint32_t mask = 0;
        std::string exeTarget;
        ProcessNames names;
        unsigned seen = 0;       // the last scan that listed it
        unsigned firstSeen = 0;  // the first one
    };
    template <typename Visit>
    void Walk(Visit&& visit);
    std::unordered_map<int, Entry> cache_;
    unsigned generation_ = 0;
};

}  // namespace platform
