#include "platform/procs/process_scanner.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace platform {

namespace {

// A young process is read on every scan; one of middle age on every
// kMiddleEvery-th, an old one on every kOldEvery-th (spread over the scans
// by pid). An old process that executes a game is thus seen within
// kOldEvery seconds; one that was matched is read on every scan, so that its
// end shows at once even while its parent has not reaped it yet. The command
// line is reread in the first minute only (a program rewrites it, if at
// all, when it starts) and after an exec.
constexpr uint64_t kYoungSeconds = 3;
constexpr uint64_t kMiddleSeconds = 60;
constexpr unsigned kMiddleEvery = 4;
constexpr unsigned kOldEvery = 60;
constexpr unsigned kFullEvery = 30;

constexpr size_t kListingBytes = 32 * 1024;

struct Dirent64 {
    uint64_t d_ino;
    int64_t d_off;
    unsigned short d_reclen;
    unsigned char d_type;
    char d_name[1];
};

// The pid a /proc entry names, or -1 for the other entries.
int PidOf(const char* name)
{
    if (*name < '1' || *name > '9') return -1;
    char* end = nullptr;
    const long pid = std::strtol(name, &end, 10);
    return *end == '\0' && pid > 0 ? int(pid) : -1;
}

// Up to size bytes of a file below /proc; the count read, or -1.
ssize_t ReadAt(int dirFd, const char* path, char* buffer, size_t size)
{
    const int fd = openat(dirFd, path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return -1;
    const ssize_t n = read(fd, buffer, size);
    close(fd);
    return n;
}

// The first word of a /proc/PID/cmdline: read on until its NUL, since the
// kernel lets one word be as long as 128 KiB and a game started through a
// long path must still be recognised. Empty when there is nothing to read.
std::string_view FirstWordAt(int dirFd, const char* path, std::string& buffer)
{
    constexpr size_t kChunk = 4096;
    constexpr size_t kMaxWord = 128 * 1024 + 1;  // MAX_ARG_STRLEN and its NUL
    buffer.clear();
    const int fd = openat(dirFd, path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    while (buffer.size() < kMaxWord) {
        const size_t at = buffer.size();
        buffer.resize(at + kChunk);
        const ssize_t n = read(fd, buffer.data() + at, kChunk);
        buffer.resize(at + size_t(n > 0 ? n : 0));
        if (n <= 0 || buffer.find('\0', at) != std::string::npos) break;
    }
    close(fd);
    const std::string_view text(buffer);
    return text.substr(0, text.find('\0'));
}

// The start time (clock ticks after boot) in a /proc/PID/stat text: the
// 22nd field, counted after the command name's closing parenthesis since
// the name may hold blanks and parentheses itself.
uint64_t StartTicksIn(std::string_view stat)
{
    const size_t close = stat.rfind(')');
    if (close == std::string_view::npos) return 0;
    size_t at = close + 1;
    for (int field = 3; field < 22; ++field) {
        at = stat.find(' ', at + 1);
        if (at == std::string_view::npos) return 0;
    }
    uint64_t ticks = 0;
    for (++at; at < stat.size() && stat[at] >= '0' && stat[at] <= '9'; ++at)
        ticks = ticks * 10 + uint64_t(stat[at] - '0');
    return ticks;
}

}  // namespace

ProcessScanner::ProcessScanner()
    : procFd_(open("/proc", O_RDONLY | O_DIRECTORY | O_CLOEXEC)),
      lastPidFd_(open("/proc/sys/kernel/ns_last_pid", O_RDONLY | O_CLOEXEC)),
      uid_(getuid()),
      listing_(kListingBytes)
{
    const long tps = sysconf(_SC_CLK_TCK);
    if (tps > 0) ticksPerSecond_ = uint64_t(tps);
    // The last pid handed out is counted in this process's pid namespace;
    // it says nothing about a /proc of another one (then every scan lists
    // all).
    char self[24] = {};
    const ssize_t n = procFd_ >= 0 ? readlinkat(procFd_, "self", self, sizeof self - 1) : -1;
    if (n <= 0 || std::atoi(self) != int(getpid())) {
        if (lastPidFd_ >= 0) close(lastPidFd_);
        lastPidFd_ = -1;
    }
}

ProcessScanner::~ProcessScanner()
{
    if (procFd_ >= 0) close(procFd_);
    if (lastPidFd_ >= 0) close(lastPidFd_);
}

int ProcessScanner::LastPid() const
{
    char text[24];
    const ssize_t n = lastPidFd_ >= 0 ? pread(lastPidFd_, text, sizeof text - 1, 0) : -1;
    if (n <= 0) return -1;
    text[n] = '\0';
    return std::atoi(text);
}

bool ProcessScanner::ReadIdentity(int pid, Entry& e, bool startTime)
{
    char path[32];
    std::snprintf(path, sizeof path, "%d", pid);
    struct stat st {};
    if (fstatat(procFd_, path, &st, 0) != 0) return false;
    e.ours = st.st_uid == uid_;
    e.startTicks = nowTicks_;
    if (!e.ours || !startTime) return true;
    std::snprintf(path, sizeof path, "%d/stat", pid);
    char text[1024];
    const ssize_t n = ReadAt(procFd_, path, text, sizeof text);
    if (n <= 0) return false;
    e.startTicks = StartTicksIn(std::string_view(text, size_t(n)));
    return true;
}

void ProcessScanner::ReadNames(int pid, Entry& e, bool commandLineToo)
{
    char path[32];
    std::snprintf(path, sizeof path, "%d/exe", pid);
    char target[4096];
    const ssize_t n = readlinkat(procFd_, path, target, sizeof target);
    const std::string_view now = n > 0 ? std::string_view(target, size_t(n)) : std::string_view();
    const bool execed = now != e.exeTarget;
    if (execed) {
        e.exeTarget.assign(now);
        // A deleted executable reads as "path (deleted)"; the game's name is
        // still the path's.
        constexpr std::string_view kDeleted = " (deleted)";
        std::string_view exe = now;
        if (exe.size() > kDeleted.size() && exe.ends_with(kDeleted)) exe.remove_suffix(kDeleted.size());
        e.names.exe.assign(exe);
    }
    if (!execed && !commandLineToo) return;
    std::snprintf(path, sizeof path, "%d/cmdline", pid);
    const std::string_view argv0 = FirstWordAt(procFd_, path, commandLine_);
    const ssize_t got = ssize_t(commandLine_.size());
    if (argv0 != e.names.argv0) {
        e.names.argv0.assign(argv0);
        e.matched = false;
    }
    if (execed) e.matched = false;
    // Neither link nor command line: a process that ended (a zombie, or gone
    // before the next full listing forgets it) or a kernel thread. Neither
    // runs anything again; a new process under its pid has another inode.
    if (n < 0 && got <= 0) e.ended = true;
}

bool ProcessScanner::DueForCheck(int pid, uint64_t ageTicks) const
{
    if (ageTicks < kYoungSeconds * ticksPerSecond_) return true;
    const unsigned every = ageTicks < kMiddleSeconds * ticksPerSecond_ ? kMiddleEvery : kOldEvery;
    return (unsigned(pid) + generation_) % every == 0;
}

bool ProcessScanner::List(int64_t offset, bool full)
{
    if (lseek(procFd_, offset, SEEK_SET) != offset) return false;
    int previousPid = -1;
    int64_t previousNext = 0;
    bool offsetsAgree = true;
    for (;;) {
        const long n = syscall(SYS_getdents64, procFd_, listing_.data(), listing_.size());
        if (n < 0) return false;
        if (n == 0) break;
        for (long at = 0; at < n;) {
            const auto* d = reinterpret_cast<const Dirent64*>(listing_.data() + at);
            at += d->d_reclen;
            const int pid = PidOf(d->d_name);
            if (pid < 0) continue;
            // d_off is where the next entry starts: a full listing shows how
            // a pid's place in the directory follows from the pid itself.
            if (full && previousPid > 0 && previousNext - pid != pidOffset_) {
                if (pidOffset_ >= 0) offsetsAgree = false;
                pidOffset_ = previousNext - pid;
            }
            previousPid = pid;
            previousNext = d->d_off;
            auto [it, fresh] = cache_.try_emplace(pid);
            Entry& e = it->second;
            if (fresh || e.inode != d->d_ino) {
                // A new dentry for the same pid: the same process when the
                // owner and the start time agree, else the pid was reused.
                // A pid a partial listing shows for the first time started
                // after the previous scan: its age is known without asking.
                Entry identity;
                if (!ReadIdentity(pid, identity, full || !fresh)) {
                    cache_.erase(it);
                    continue;
                }
                if (fresh || identity.ours != e.ours || identity.startTicks != e.startTicks) {
                    e = std::move(identity);
                    e.fresh = true;
                }
                e.inode = d->d_ino;
            }
            e.seen = generation_;
        }
    }
    if (full && !offsetsAgree) pidOffset_ = -1;  // not a plain offset: list all every time
    return true;
}

template <typename Visit>
void ProcessScanner::Walk(Visit&& visit)
{
    if (procFd_ < 0) return;
    ++generation_;
    timespec boot{};
    clock_gettime(CLOCK_BOOTTIME, &boot);
    nowTicks_ = uint64_t(boot.tv_sec) * ticksPerSecond_ + uint64_t(boot.tv_nsec) * ticksPerSecond_ / 1000000000u;

    // Read before listing, so that a process started meanwhile is listed
    // now or at the next scan.
    const int lastPid = LastPid();
    const bool full =
        lastPid < 0 || lastPid_ < 0 || lastPid < lastPid_ || pidOffset_ < 0 || generation_ % kFullEvery == 1;
    bool listed = true;
    if (full)
        listed = List(0, true);
    else if (lastPid != lastPid_)
        listed = List(pidOffset_ + lastPid_ + 1, false) || List(0, true);
    if (!listed) return;
    lastPid_ = lastPid;

    for (auto it = cache_.begin(); it != cache_.end();) {
        Entry& e = it->second;
        const int pid = it->first;
        if (full && e.seen != generation_) {
            it = cache_.erase(it);
            continue;
        }
        ++it;
        if (!e.ours || e.ended) continue;
        const uint64_t age = nowTicks_ > e.startTicks ? nowTicks_ - e.startTicks : 0;
        const bool young = age < kMiddleSeconds * ticksPerSecond_;
        if (e.fresh || e.mask != 0 || DueForCheck(pid, age)) ReadNames(pid, e, e.fresh || young);
        e.fresh = false;
        visit(e);
    }
}

std::vector<ProcessNames> ProcessScanner::Scan()
{
    std::vector<ProcessNames> result;
    Walk([&](const Entry& e) {
        if (!e.names.exe.empty() || !e.names.argv0.empty()) result.push_back(e.names);
    });
    return result;
}

uint32_t ProcessScanner::ScanMatching(const Match& match)
{
    uint32_t running = 0;
    Walk([&](Entry& e) {
        if (!e.matched) {
            e.mask = match(e.names);
            e.matched = true;
        }
        running |= e.mask;
    });
    return running;
}

}  // namespace platform
