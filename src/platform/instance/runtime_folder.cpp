#include "platform/instance/runtime_folder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

std::string Octal(mode_t mode)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04o", unsigned(mode & 07777));
    return text;
}

std::string ParentOf(const std::string& folder)
{
    const size_t slash = folder.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : folder.substr(0, slash);
}

// The parent must not let another user rename our folder away and put theirs
// in its place: it belongs to us or to root, and whoever else may write in it
// may only remove their own entries (the sticky bit of /tmp).
std::string CheckParent(const std::string& folder)
{
    const std::string parent = ParentOf(folder);
    struct stat st {};
    if (stat(parent.c_str(), &st) != 0) return "cannot look at " + parent + ": " + std::strerror(errno);
    if (!S_ISDIR(st.st_mode)) return parent + " is not a folder";
    if (st.st_uid != geteuid() && st.st_uid != 0)
        return parent + " belongs to another user (uid " + std::to_string(st.st_uid) +
               "); set XDG_RUNTIME_DIR to a folder of yours";
    if ((st.st_mode & (S_IWGRP | S_IWOTH)) && !(st.st_mode & S_ISVTX))
        return "others may write in " + parent + " (mode " + Octal(st.st_mode) +
               "); set XDG_RUNTIME_DIR to a folder only you may write in";
    return {};
}

}  // namespace

std::string CheckRuntimeFolder(const std::string& folder)
{
    if (std::string why = CheckParent(folder); !why.empty()) return why;
    struct stat st {};
    if (lstat(folder.c_str(), &st) != 0) return "cannot look at " + folder + ": " + std::strerror(errno);
    if (S_ISLNK(st.st_mode)) return folder + " is a symbolic link, not a folder of yours; remove it and start again";
    if (!S_ISDIR(st.st_mode)) return folder + " is not a folder; remove it and start again";
    if (st.st_uid != geteuid())
        return folder + " belongs to another user (uid " + std::to_string(st.st_uid) +
               "), who may have made it to catch this program's messages; remove it and start again";
    if ((st.st_mode & 0777) != 0700)
        return folder + " has mode " + Octal(st.st_mode) + " but must be open to you alone (0700); run: chmod 700 '" +
               folder + "'";
    return {};
}

bool RuntimeFolderMissing(const std::string& folder)
{
    struct stat st {};
    return lstat(folder.c_str(), &st) != 0 && errno == ENOENT;
}

std::string PrepareRuntimeFolder(const std::string& folder)
{
    if (std::string why = CheckParent(folder); !why.empty()) return why;
    if (mkdir(folder.c_str(), 0700) == 0) {
        // Ours since this moment, so nobody else has been in it: the umask
        // may only have taken our own bits away.
        if (chmod(folder.c_str(), 0700) != 0) return "cannot set the mode of " + folder + ": " + std::strerror(errno);
    } else if (errno != EEXIST) {
        return "cannot create " + folder + ": " + std::strerror(errno);
    }
    return CheckRuntimeFolder(folder);
}

std::string CheckPeerIsOurUser(int fd)
{
    ucred cred{};
    socklen_t len = sizeof cred;
    if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) != 0)
        return std::string("cannot tell who is at the other end of the socket: ") + std::strerror(errno);
    if (cred.uid != geteuid())
        return "the other end of the socket runs as another user (uid " + std::to_string(cred.uid) + ")";
    return {};
}

}  // namespace platform
