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
// end shows at once even while its parent has not reaped it yet.
constexpr uint64_t kYoungSeconds = 10;
constexpr uint64_t kMiddleSeconds = 60;
constexpr unsigned kMiddleEvery = 4;
constexpr unsigned kOldEvery = 15;

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
    for (++at; at < stat.size() && stat[at] >= '0' && stat[at] <= '9'; ++at) ticks = ticks * 10 + uint64_t(stat[at] - '0');
    return ticks;
}

}  // namespace

ProcessScanner::ProcessScanner()
    : procFd_(open("/proc", O_RDONLY | O_DIRECTORY | O_CLOEXEC)), uid_(getuid()), listing_(kListingBytes)
{
    const long tps = sysconf(_SC_CLK_TCK);
    if (tps > 0) ticksPerSecond_ = uint64_t(tps);
}

ProcessScanner::~ProcessScanner()
{
    if (procFd_ >= 0) close(procFd_);
}

bool ProcessScanner::ReadIdentity(int pid, Entry& e)
{
    char path[32];
    std::snprintf(path, sizeof path, "%d", pid);
    struct stat st {};
    if (fstatat(procFd_, path, &st, 0) != 0) return false;
    e.ours = st.st_uid == uid_;
    e.startTicks = 0;
    if (!e.ours) return true;
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
    const ssize_t got = ReadAt(procFd_, path, target, sizeof target);
    const std::string_view text = got > 0 ? std::string_view(target, size_t(got)) : std::string_view();
    const std::string_view argv0 = text.substr(0, text.find('\0'));
    if (argv0 != e.names.argv0) {
        e.names.argv0.assign(argv0);
        e.matched = false;
    }
    if (execed) e.matched = false;
}

bool ProcessScanner::DueForCheck(int pid, uint64_t ageTicks) const
{
    if (ageTicks < kYoungSeconds * ticksPerSecond_) return true;
    const unsigned every = ageTicks < kMiddleSeconds * ticksPerSecond_ ? kMiddleEvery : kOldEvery;
    return (unsigned(pid) + generation_) % every == 0;
}

template <typename Visit>
void ProcessScanner::Walk(Visit&& visit)
{
    if (procFd_ < 0 || lseek(procFd_, 0, SEEK_SET) != 0) return;
    ++generation_;
    timespec boot {};
    clock_gettime(CLOCK_BOOTTIME, &boot);
    nowTicks_ = uint64_t(boot.tv_sec) * ticksPerSecond_ + uint64_t(boot.tv_nsec) * ticksPerSecond_ / 1000000000u;
    for (;;) {
        const long n = syscall(SYS_getdents64, procFd_, listing_.data(), listing_.size());
        if (n <= 0) break;
        for (long at = 0; at < n;) {
            const auto* d = reinterpret_cast<const Dirent64*>(listing_.data() + at);
            at += d->d_reclen;
            const int pid = PidOf(d->d_name);
            if (pid < 0) continue;
            auto [it, fresh] = cache_.try_emplace(pid);
            Entry& e = it->second;
            bool readAll = fresh;
            if (fresh || e.inode != d->d_ino) {
                // A new dentry for the same pid: the same process when the
                // owner and the start time agree, else the pid was reused.
                Entry identity;
                if (!ReadIdentity(pid, identity)) {
                    cache_.erase(it);
                    continue;
                }
                if (fresh || identity.ours != e.ours || identity.startTicks != e.startTicks) {
                    e = std::move(identity);
                    readAll = true;
                }
                e.inode = d->d_ino;
            }
            e.seen = generation_;
            if (!e.ours) continue;
            const uint64_t age = nowTicks_ > e.startTicks ? nowTicks_ - e.startTicks : 0;
            const bool young = age < kYoungSeconds * ticksPerSecond_;
            if (readAll || e.mask != 0 || DueForCheck(pid, age)) ReadNames(pid, e, readAll || young);
            visit(e);
        }
    }
    for (auto it = cache_.begin(); it != cache_.end();)
        it = it->second.seen == generation_ ? std::next(it) : cache_.erase(it);
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
