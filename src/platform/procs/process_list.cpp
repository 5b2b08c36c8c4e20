#include "platform/procs/process_list.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "platform/procs/process_watch.h"

namespace platform {

std::vector<ProcessNames> ListOwnProcesses()
{
    return ProcessScanner().Scan();
}

namespace {

// The pid a /proc entry names, or -1 for the other entries.
int PidOf(const char* name)
{
    if (*name < '1' || *name > '9') return -1;
    char* end = nullptr;
    const long pid = std::strtol(name, &end, 10);
    return *end == '\0' && pid > 0 ? int(pid) : -1;
}

// The first NUL-terminated argument of the command line.
std::string ReadArgv0At(int dirFd, const char* path)
{
    const int fd = openat(dirFd, path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    char buffer[4096];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    close(fd);
    if (n <= 0) return {};
    std::string text(buffer, size_t(n));
    const size_t nul = text.find('\0');
    if (nul != std::string::npos) text.resize(nul);
    return text;
}

}  // namespace

namespace {
constexpr unsigned kYoungScans = 10;
constexpr unsigned kOldRecheck = 8;
}  // namespace

template <typename Visit>
void ProcessScanner::Walk(Visit&& visit)
{
    DIR* dir = opendir("/proc");
    if (!dir) return;
    const int procFd = dirfd(dir);
    const uid_t me = getuid();
    ++generation_;
    char path[64];
    while (dirent* entry = readdir(dir)) {
        const int pid = PidOf(entry->d_name);
        if (pid < 0) continue;
        auto found = cache_.find(pid);
        if (found == cache_.end()) {
            struct stat st {};
            if (fstatat(procFd, entry->d_name, &st, 0) != 0) continue;
            Entry fresh;
            fresh.ours = st.st_uid == me;
            fresh.exeTarget = "\x01";  // never a real target: read below
            found = cache_.emplace(pid, std::move(fresh)).first;
        }
        Entry& e = found->second;
        if (e.seen == 0) e.firstSeen = generation_;
        e.seen = generation_;
        if (!e.ours) continue;
        // A program that executes another one (a launcher script's exec,
        // Wine's loader) keeps its pid, so the link is read again: on every
        // scan while the process is young, when launchers do that, and on
        // every eighth one later. Reading all links every second cost three
        // times as much.
        const unsigned age = generation_ - e.firstSeen;
        if (age > kYoungScans && (unsigned(pid) + generation_) % kOldRecheck != 0) {
            visit(e);
            continue;
        }
        std::snprintf(path, sizeof path, "%d/exe", pid);
        char target[4096];
        const ssize_t n = readlinkat(procFd, path, target, sizeof target);
        const std::string_view now = n > 0 ? std::string_view(target, size_t(n)) : std::string_view();
        if (now != e.exeTarget) {
            e.exeTarget.assign(now);
            e.matched = false;
            // A deleted executable reads as "path (deleted)"; the game's
            // name is still the path's.
            std::string exe = e.exeTarget;
            constexpr std::string_view kDeleted = " (deleted)";
            if (exe.size() > kDeleted.size() && exe.ends_with(kDeleted)) exe.resize(exe.size() - kDeleted.size());
            e.names.exe = std::move(exe);
            std::snprintf(path, sizeof path, "%d/cmdline", pid);
            e.names.argv0 = ReadArgv0At(procFd, path);
        }
        visit(e);
    }
    closedir(dir);
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

uint32_t ProcessScanner::ScanMatching(const ProcessWatch::Match& match)
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
