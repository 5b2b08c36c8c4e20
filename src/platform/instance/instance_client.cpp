#include "platform/instance/instance_client.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/instance/runtime_folder.h"

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;

// How long a first instance may hold the lock before it listens.
constexpr int kStartingMs = 1000;

bool LockIsHeld(const std::string& lockPath)
{
    const int fd = open(lockPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return false;
    int r;
    do r = flock(fd, LOCK_SH | LOCK_NB);
    while (r != 0 && errno == EINTR);
    const bool held = r != 0 && errno == EWOULDBLOCK;
    close(fd);
    return held;
}

}  // namespace

InstanceConnection ConnectToFirstInstance(const std::string& folder, const std::string& socketPath,
                                          const std::string& lockPath)
{
    InstanceConnection c;
    if (RuntimeFolderMissing(folder)) return c;
    if (std::string why = CheckRuntimeFolder(folder); !why.empty()) {
        c.kind = InstanceConnection::Refused;
        c.error = "the program's socket folder cannot be trusted: " + why;
        return c;
    }
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (socketPath.size() >= sizeof addr.sun_path) return c;
    std::memcpy(addr.sun_path, socketPath.c_str(), socketPath.size() + 1);
    const auto deadline = Clock::now() + std::chrono::milliseconds(kStartingMs);
    for (;;) {
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) {
            c.kind = InstanceConnection::Refused;
            c.error = std::string("cannot make a socket: ") + std::strerror(errno);
            return c;
        }
        if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) {
            if (std::string why = CheckPeerIsOurUser(fd); !why.empty()) {
                close(fd);
                c.kind = InstanceConnection::Refused;
                c.error = "nothing was sent to " + socketPath + ": " + why;
                return c;
            }
            c.kind = InstanceConnection::Connected;
            c.fd = fd;
            return c;
        }
        const int e = errno;
        close(fd);
        // No socket file, or one an instance that has ended left behind.
        const bool absent = e == ENOENT || e == ECONNREFUSED;
        if (!absent && e != EAGAIN && e != EINTR) {
            c.kind = InstanceConnection::Refused;
            c.error = "cannot reach the running window at " + socketPath + ": " + std::strerror(e);
            return c;
        }
        if (!LockIsHeld(lockPath)) return c;
        if (Clock::now() >= deadline) {
            c.kind = InstanceConnection::Refused;
            c.error = "a window holds the lock in " + folder + " but does not answer on its socket " + socketPath;
            return c;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

bool SendWhole(int fd, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += size_t(n);
    }
    return true;
}

bool ReceiveWhole(int fd, char* buf, size_t len, int timeoutMs)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    size_t got = 0;
    while (got < len) {
        const int left = int(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
        if (left <= 0) return false;
        pollfd p{fd, POLLIN, 0};
        const int r = poll(&p, 1, left);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) return false;
        const ssize_t n = read(fd, buf + got, len - got);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) return false;
        got += size_t(n);
    }
    return true;
}

}  // namespace platform
