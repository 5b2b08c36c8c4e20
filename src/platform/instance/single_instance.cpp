#include "platform/instance/single_instance.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/instance/instance_client.h"
#include "platform/instance/instance_packet.h"
#include "platform/instance/runtime_folder.h"

namespace platform {
namespace {

// The later start gives the first instance this long to take the activation.
constexpr int kAnswerTimeoutMs = 1000;

}  // namespace

std::string DefaultInstanceFolder()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/') return std::string(runtime) + "/tevlan";
    return "/tmp/tevlan-" + std::to_string(getuid());
}

SingleInstance::SingleInstance(std::string folder) : folder_(std::move(folder))
{
    while (folder_.size() > 1 && folder_.back() == '/') folder_.pop_back();
}

SingleInstance::~SingleInstance()
{
    if (server_) {
        server_.reset();  // closes the listening socket
        // Only the lock holder ever owns the socket file, so removing it here
        // cannot pull it from under a newer instance.
        unlink(SocketPath().c_str());
    }
    if (lockFd_ >= 0) close(lockFd_);  // releases the flock
}

std::string SingleInstance::LockPath() const { return folder_ + "/" + kInstanceMutexName + ".lock"; }
std::string SingleInstance::SocketPath() const { return folder_ + "/" + kMainWindowClassName + ".sock"; }

InstanceRole SingleInstance::Acquire(InstanceLog log)
{
    if (lockFd_ >= 0) return InstanceRole::First;
    if (std::string why = PrepareRuntimeFolder(folder_); !why.empty()) {
        error_ = why;
        return InstanceRole::Failed;
    }
    const int fd = open(LockPath().c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        error_ = "cannot open " + LockPath() + ": " + std::strerror(errno);
        return InstanceRole::Failed;
    }
    int r;
    do r = flock(fd, LOCK_EX | LOCK_NB);
    while (r != 0 && errno == EINTR);
    if (r != 0) {
        const int e = errno;
        close(fd);
        if (e != EWOULDBLOCK) {
            error_ = "cannot lock " + LockPath() + ": " + std::strerror(e);
            return InstanceRole::Failed;
        }
        // Whether or not the first instance could be reached, this start ends
        // quietly: two windows on one mouse would fight over its settings.
        SendToFirst();
        return InstanceRole::Second;
    }
    lockFd_ = fd;
    // Without a socket we are still the only instance; later starts then
    // just cannot bring us to the front (LastError says why).
    Listen(std::move(log));
    return InstanceRole::First;
}

bool SingleInstance::Listen(InstanceLog log)
{
    const std::string path = SocketPath();
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    if (path.size() >= sizeof addr.sun_path) {
        error_ = "socket path too long: " + path;
        return false;
    }
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    // A socket file left by a holder that died: we hold the lock now, so
    // nobody else is listening on it.
    unlink(path.c_str());
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) {
        error_ = std::string("socket: ") + std::strerror(errno);
        return false;
    }
    // The folder is 0700 already, so nobody else can reach the socket in the
    // moment between bind and chmod.
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || chmod(path.c_str(), 0600) != 0 ||
        listen(fd, 64) != 0) {
        error_ = "cannot listen on " + path + ": " + std::strerror(errno);
        close(fd);
        unlink(path.c_str());
        return false;
    }
    server_ = std::make_unique<InstanceServer>(fd, std::move(log));
    if (!server_->Running()) {
        error_ = "cannot start the socket's thread";
        server_.reset();
        unlink(path.c_str());
        return false;
    }
    return true;
}

bool SingleInstance::SendToFirst()
{
    const InstanceConnection c = ConnectToFirstInstance(folder_, SocketPath(), LockPath());
    if (c.kind != InstanceConnection::Connected) {
        error_ = c.error;
        return false;
    }
    char answer = 0;
    const bool ok = SendWhole(c.fd, EncodeActivationPacket()) && ReceiveWhole(c.fd, &answer, 1, kAnswerTimeoutMs) &&
                    answer == kActivationAnswer;
    close(c.fd);
    return ok;
}

void SingleInstance::ProcessPending(const ActivationHandler& onActivation)
{
    if (server_) server_->ProcessPending(onActivation, requestHandler_);
}

}  // namespace platform
