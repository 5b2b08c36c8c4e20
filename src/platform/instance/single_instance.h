#pragma once
// One Tevlan per user session. The first start takes an exclusive flock on a
// lock file and listens on a local socket beside it; a later start finds the
// lock taken, sends message 2999 to the first over the socket and exits
// without showing anything.
//
// The kernel drops the flock when its holder dies, however it dies, so a
// crash never blocks the next start: the lock holder alone may (re)create the
// socket, and it removes a socket file a dead holder left behind.
//
// Both files live in $XDG_RUNTIME_DIR/tevlan/ (or /tmp/tevlan-<uid>/ when the
// session has no runtime folder). The folder is 0700 and must belong to us;
// the socket is 0600, and a connecting peer of another user is dropped.
//
// Pure POSIX. The first instance watches ListenFd() in its event loop and
// calls ProcessPending() on its window thread when it becomes readable, so the
// message arrives where the window lives (instance_notifier_qt.h does this
// for the Qt loop).
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace platform {

// The message a second start sends to the first one's main window.
constexpr uint32_t kSecondInstanceMessage = 2999;

// The names the program is known by to a later start of itself.
inline constexpr const char* kInstanceMutexName = "20210610 Mouse 33XX";
inline constexpr const char* kMainWindowClassName = "Tevlan_Ozk";

// $XDG_RUNTIME_DIR/tevlan when that variable names an absolute path, else
// /tmp/tevlan-<uid>.
std::string DefaultInstanceFolder();

enum class InstanceRole {
    First,   // we hold the lock and listen for later starts
    Second,  // another instance runs; it was told (if it could be reached)
    Failed,  // the folder is unsafe or unusable: single-instance cannot be kept
};

using InstanceMessageHandler = std::function<void(uint32_t msg, uint32_t wParam, uint32_t lParam)>;

class SingleInstance {
public:
    explicit SingleInstance(std::string folder = DefaultInstanceFolder());
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Takes the lock, or, when another process holds it, delivers `msg` to it
    // (waiting at most about a second for it to take the message) and returns
    // Second. Call once.
    InstanceRole Acquire(uint32_t msg = kSecondInstanceMessage, uint32_t wParam = 0, uint32_t lParam = 0);

    // The listening socket of the first instance (-1 otherwise). Readable when
    // a later start is waiting.
    int ListenFd() const { return listenFd_; }

    // Accepts every waiting connection and hands each well-formed message to
    // the handler, on the calling thread. Never blocks for long: a peer that
    // connects and says nothing is dropped after a short wait.
    void ProcessPending(const InstanceMessageHandler& handler);
    // Answers tevlanctl's change requests (change_channel.h) from then on;
    // without a handler they are dropped unanswered.
    void SetRequestHandler(std::function<std::string(std::string_view)> handler) { requestHandler_ = std::move(handler); }

    const std::string& Folder() const { return folder_; }
    std::string LockPath() const;
    std::string SocketPath() const;
    // Why Acquire returned Failed, in words for a developer.
    const std::string& LastError() const { return error_; }

private:
    bool PrepareFolder();
    bool Listen();
    bool SendToFirst(uint32_t msg, uint32_t wParam, uint32_t lParam);

    std::string folder_;
    std::string error_;
    int lockFd_ = -1;
    int listenFd_ = -1;
    std::function<std::string(std::string_view)> requestHandler_;
};

}  // namespace platform
