#include "platform/procs/process_list.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

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

std::string ReadLinkAt(int dirFd, const std::string& path)
{
    char buffer[4096];
    const ssize_t n = readlinkat(dirFd, path.c_str(), buffer, sizeof buffer);
    return n > 0 ? std::string(buffer, size_t(n)) : std::string();
}

// The first NUL-terminated argument of the command line.
std::string ReadArgv0At(int dirFd, const std::string& path)
{
    const int fd = openat(dirFd, path.c_str(), O_RDONLY | O_CLOEXEC);
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

std::vector<ProcessNames> ProcessScanner::Scan()
{
    std::vector<ProcessNames> result;
    DIR* dir = opendir("/proc");
    if (!dir) return result;
    const int procFd = dirfd(dir);
    const uid_t me = getuid();
    ++generation_;
    while (dirent* entry = readdir(dir)) {
        const int pid = PidOf(entry->d_name);
        if (pid < 0) continue;
        const std::string name = entry->d_name;
        auto found = cache_.find(pid);
        if (found == cache_.end()) {
            struct stat st {};
            if (fstatat(procFd, name.c_str(), &st, 0) != 0) continue;
            Entry fresh;
            fresh.ours = st.st_uid == me;
            found = cache_.emplace(pid, std::move(fresh)).first;
            found->second.exeTarget = "\x01";  // never a real target: read below
        }
        Entry& e = found->second;
        e.seen = generation_;
        if (!e.ours) continue;
        std::string target = ReadLinkAt(procFd, name + "/exe");
        if (target != e.exeTarget) {
            e.exeTarget = std::move(target);
            // A deleted executable reads as "path (deleted)"; the game's
            // name is still the path's.
            std::string exe = e.exeTarget;
            constexpr std::string_view kDeleted = " (deleted)";
            if (exe.size() > kDeleted.size() && exe.ends_with(kDeleted)) exe.resize(exe.size() - kDeleted.size());
            e.names.exe = std::move(exe);
            e.names.argv0 = ReadArgv0At(procFd, name + "/cmdline");
        }
        if (!e.names.exe.empty() || !e.names.argv0.empty()) result.push_back(e.names);
    }
    closedir(dir);
    for (auto it = cache_.begin(); it != cache_.end();)
        it = it->second.seen == generation_ ? std::next(it) : cache_.erase(it);
    return result;
}

}  // namespace platform
