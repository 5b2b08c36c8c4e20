#pragma once
// Scans the user's processes in /proc with a cache, so that a scan a second
// costs little more than a look at what changed:
//
//   - Listing /proc is the dear part, so most scans list only the pids
//     above the last one the kernel had handed out at the previous scan
//     (new pids count upwards), and none when it handed out none. Every
//     thirtieth scan, and one after the pids wrapped around, lists them all
//     and forgets the processes that ended.
//   - A process is read in full (owner, start time, executable link, command
//     line) when its pid first shows up.
//   - While it is young it may still execute another program (a launcher
//     script's exec) or rewrite its command line (Wine puts the Windows path
//     there): its link and command line are read on every scan for the
//     first seconds, then every few scans for the first minute.
//   - An older one only has its link read once a minute, and its command
//     line when the link changed; a matched one on every scan, so that its
//     end shows at once.
//   - Other users' processes are remembered and skipped.
//   - A pid that the kernel reused for a new process is told apart by the
//     directory's inode number, and then by the start time.
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/procs/process_list.h"

namespace platform {

class ProcessScanner {
public:
    // Bit i set: the process runs watched name i.
    using Match = std::function<uint32_t(const ProcessNames&)>;

    ProcessScanner();
    ~ProcessScanner();
    ProcessScanner(const ProcessScanner&) = delete;
    ProcessScanner& operator=(const ProcessScanner&) = delete;

    // The names of every own process.
    std::vector<ProcessNames> Scan();
    // The OR of match over the own processes; match is asked again for a
    // process only when its names changed.
    uint32_t ScanMatching(const Match& match);

private:
    struct Entry {
        uint64_t inode = 0;  // of /proc/PID: another one means another process, or a new dentry
        uint64_t startTicks = 0;
        bool ours = false;
        bool fresh = false;    // names not read yet
        bool ended = false;    // nothing to read any more
        bool matched = false;  // mask is valid for names
        uint32_t mask = 0;
        std::string exeTarget;  // the link as read, to notice an exec
        ProcessNames names;
        unsigned seen = 0;  // the last scan that listed it
    };

    template <typename Visit>
    void Walk(Visit&& visit);
    // Reads the /proc entries from offset on into the cache; false when
    // the directory could not be read.
    bool List(int64_t offset, bool full);
    // The last pid the kernel handed out, or -1.
    int LastPid() const;
    // Reads a pid's owner and (when startTime, else now) its start time
    // into e; false when it is gone.
    bool ReadIdentity(int pid, Entry& e, bool startTime);
    // Rereads the link, and the command line when the link changed or always.
    void ReadNames(int pid, Entry& e, bool commandLineToo);
    // Whether this scan rereads a process of this age.
    bool DueForCheck(int pid, uint64_t ageTicks) const;

    int procFd_ = -1;
    int lastPidFd_ = -1;
    int lastPid_ = -1;        // at the previous scan
    int64_t pidOffset_ = -1;  // a pid's entry's offset in /proc less the pid, once seen
    unsigned uid_ = 0;
    uint64_t ticksPerSecond_ = 100;
    uint64_t nowTicks_ = 0;
    std::unordered_map<int, Entry> cache_;
    std::vector<char> listing_;  // the getdents buffer, kept between scans
    std::string commandLine_;    // the cmdline buffer, likewise
    unsigned generation_ = 0;
};

}  // namespace platform
