#include "platform/instance/single_instance.h"

#include "platform/instance/change_channel.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {
namespace {

// What a later start writes: a tag, then message, wParam and lParam, each as a
// little-endian 32-bit word. The first instance answers one byte once the
// message has been handled, which makes the send synchronous as far as the
// later start can tell.
constexpr char kTag[4] = {'T', 'V', 'L', '1'};
constexpr size_t kPacketSize = 16;
constexpr char kAck = 'K';

// A peer that connected must say its piece within this time; the first
// instance is on its window thread and must not hang on a silent peer.
constexpr int kPeerReadTimeoutMs = 200;
// The later start gives the first instance this long to bind its socket (it
// may be starting at the same moment) and to take the message.
constexpr int kConnectRetryMs = 1000;
constexpr int kAckTimeoutMs = 1000;

void PutWord(unsigned char* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}
uint32_t GetWord(const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

bool FillAddress(const std::string& path, sockaddr_un* addr) {
    std::memset(addr, 0, sizeof *addr);
    addr->sun_family = AF_UNIX;
    if (path.size() >= sizeof addr->sun_path) return false;
    std::memcpy(addr->sun_path, path.c_str(), path.size() + 1);
    return true;
}

// Reads exactly len bytes or gives up after timeoutMs in total.
bool ReadFull(int fd, unsigned char* buf, size_t len, int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    size_t got = 0;
    while (got < len) {
        int left = int(std::chrono::duration_cast<std::chrono::milliseconds>(
                           deadline - std::chrono::steady_clock::now()).count());
        if (left <= 0) return false;
        pollfd p{fd, POLLIN, 0};
        int r = poll(&p, 1, left);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) return false;
        ssize_t n = read(fd, buf + got, len - got);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) return false;
        got += size_t(n);
    }
    return true;
}

bool WriteFull(int fd, const unsigned char* buf, size_t len) {
    size_t done = 0;
    while (done < len) {
        ssize_t n = send(fd, buf + done, len - done, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += size_t(n);
    }
    return true;
}

}  // namespace

std::string DefaultInstanceFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/') return std::string(runtime) + "/tevlan";
    return "/tmp/tevlan-" + std::to_string(getuid());
}

SingleInstance::SingleInstance(std::string folder) : folder_(std::move(folder)) {
    while (folder_.size() > 1 && folder_.back() == '/') folder_.pop_back();
}

SingleInstance::~SingleInstance() {
    if (listenFd_ >= 0) {
        close(listenFd_);
        // Only the lock holder ever owns the socket file, so removing it here
        // cannot pull it from under a newer instance.
        unlink(SocketPath().c_str());
    }
    if (lockFd_ >= 0) close(lockFd_);  // releases the flock
}

std::string SingleInstance::LockPath() const { return folder_ + "/" + kInstanceMutexName + ".lock"; }
std::string SingleInstance::SocketPath() const { return folder_ + "/" + kMainWindowClassName + ".sock"; }

bool SingleInstance::PrepareFolder() {
    if (mkdir(folder_.c_str(), 0700) != 0 && errno != EEXIST) {
        error_ = "cannot create " + folder_ + ": " + std::strerror(errno);
        return false;
    }
    // A folder in /tmp can be planted by anybody: accept only a real folder
    // of ours, and close it to others if its mode was loosened.
    struct stat st{};
    if (lstat(folder_.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        error_ = folder_ + " is not a folder";
        return false;
    }
    if (st.st_uid != geteuid()) {
        error_ = folder_ + " belongs to another user";
        return false;
    }
    if ((st.st_mode & 0777) != 0700 && chmod(folder_.c_str(), 0700) != 0) {
        error_ = "cannot restrict " + folder_ + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

InstanceRole SingleInstance::Acquire(uint32_t msg, uint32_t wParam, uint32_t lParam) {
    if (lockFd_ >= 0) return InstanceRole::First;
    if (!PrepareFolder()) return InstanceRole::Failed;

    int fd = open(LockPath().c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        error_ = "cannot open " + LockPath() + ": " + std::strerror(errno);
        return InstanceRole::Failed;
    }
    int r;
    do r = flock(fd, LOCK_EX | LOCK_NB);
    while (r != 0 && errno == EINTR);
    if (r != 0) {
        int e = errno;
        close(fd);
        if (e != EWOULDBLOCK) {
            error_ = "cannot lock " + LockPath() + ": " + std::strerror(e);
            return InstanceRole::Failed;
        }
        // Whether or not the first instance could be reached, this start ends
        // quietly: two windows on one mouse would fight over its settings.
        SendToFirst(msg, wParam, lParam);
        return InstanceRole::Second;
    }
    lockFd_ = fd;
    // Without a socket we are still the only instance; later starts then
    // just cannot bring us to the front (LastError says why).
    Listen();
    return InstanceRole::First;
}

bool SingleInstance::Listen() {
    std::string path = SocketPath();
    sockaddr_un addr;
    if (!FillAddress(path, &addr)) {
        error_ = "socket path too long: " + path;
        return false;
    }
    // A socket file left by a holder that died: we hold the lock now, so
    // nobody else is listening on it.
    unlink(path.c_str());
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        error_ = std::string("socket: ") + std::strerror(errno);
        return false;
    }
    // The folder is 0700 already, so nobody else can reach the socket in the
    // moment between bind and chmod.
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || chmod(path.c_str(), 0600) != 0 ||
        listen(fd, 8) != 0) {
        error_ = "cannot listen on " + path + ": " + std::strerror(errno);
        close(fd);
        unlink(path.c_str());
        return false;
    }
    listenFd_ = fd;
    return true;
}

bool SingleInstance::SendToFirst(uint32_t msg, uint32_t wParam, uint32_t lParam) {
    sockaddr_un addr;
    if (!FillAddress(SocketPath(), &addr)) return false;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kConnectRetryMs);
    int fd = -1;
    for (;;) {
        fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return false;
        if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0) break;
        int e = errno;
        close(fd);
        fd = -1;
        // The holder may have taken the lock but not yet bound its socket.
        bool transient = e == ENOENT || e == ECONNREFUSED || e == EAGAIN || e == EINTR;
        if (!transient || std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    unsigned char packet[kPacketSize];
    std::memcpy(packet, kTag, 4);
    PutWord(packet + 4, msg);
    PutWord(packet + 8, wParam);
    PutWord(packet + 12, lParam);
    bool ok = WriteFull(fd, packet, sizeof packet);
    unsigned char ack = 0;
    if (ok) ok = ReadFull(fd, &ack, 1, kAckTimeoutMs) && ack == kAck;
    close(fd);
    return ok;
}

void SingleInstance::ProcessPending(const InstanceMessageHandler& handler) {
    if (listenFd_ < 0) return;
    for (;;) {
        int c = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (c < 0) {
            if (errno == EINTR) continue;
            return;  // EAGAIN: nobody else is waiting
        }
        ucred cred{};
        socklen_t len = sizeof cred;
        bool sameUser = getsockopt(c, SOL_SOCKET, SO_PEERCRED, &cred, &len) == 0 && cred.uid == geteuid();
        unsigned char packet[kPacketSize];
        if (sameUser && ReadFull(c, packet, 4, kPeerReadTimeoutMs)) {
            if (std::memcmp(packet, kChangeRequestTag, 4) == 0) {
                ServeChangeRequest(c, requestHandler_);
            } else if (std::memcmp(packet, kTag, 4) == 0 && ReadFull(c, packet + 4, 12, kPeerReadTimeoutMs)) {
                if (handler) handler(GetWord(packet + 4), GetWord(packet + 8), GetWord(packet + 12));
                WriteFull(c, reinterpret_cast<const unsigned char*>(&kAck), 1);
            }
        }
        close(c);
    }
}

}  // namespace platform
