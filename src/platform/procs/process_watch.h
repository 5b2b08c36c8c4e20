#pragma once
// Watches the user's processes on its own thread: a scan of /proc at most
// once a second, and a call of onChange only when the digest of a scan
// differs from the previous one. The thread exists from Start to Stop (or the
// destructor) only; a stopped watch costs nothing.
//
// digest and onChange run on the watch thread; onChange is expected to post
// to the window and return.
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/procs/process_list.h"

namespace platform {

class ProcessWatch {
public:
    using Digest = std::function<std::vector<std::string>(const std::vector<ProcessNames>&)>;
    using OnChange = std::function<void(const std::vector<std::string>&)>;

    ProcessWatch() = default;
    ~ProcessWatch();
    ProcessWatch(const ProcessWatch&) = delete;
    ProcessWatch& operator=(const ProcessWatch&) = delete;

    // Starts (or restarts with a new digest) the thread; the first scan runs
    // at once and always reports.
    void Start(Digest digest, OnChange onChange, int periodMs = 1000);
    void Stop();
    bool Running() const { return thread_.joinable(); }

private:
    void Run(Digest digest, OnChange onChange, int periodMs);

    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
};

// Scans with a cache: a process seen before is read again only by its
// executable link; its command line is reread only when that changed (an
// exec). Processes of other users are remembered and skipped.
class ProcessScanner {
public:
    std::vector<ProcessNames> Scan();

private:
    struct Entry {
        bool ours = false;
        std::string exeTarget;
        ProcessNames names;
        unsigned seen = 0;
    };
    std::map<int, Entry> cache_;
    unsigned generation_ = 0;
};

}  // namespace platform
