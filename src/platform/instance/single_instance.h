#pragma once
// One Tevlan per user session. The first start takes an exclusive flock on a
// lock file and listens on a local socket beside it; a later start finds the
// lock taken, asks the first over the socket to come to the front and exits
// without showing anything.
//
// The kernel drops the flock when its holder dies, however it dies, so a
// crash never blocks the next start: the lock holder alone may (re)create the
// socket, and it removes a socket file a dead holder left behind.
//
// Both files live in $XDG_RUNTIME_DIR/tevlan/ (or /tmp/tevlan-<uid>/ when the
// session has no runtime folder). The folder must be ours, 0700 and no link
// (runtime_folder.h), or Acquire fails and says why; the socket is 0600, and
// each end checks that the other runs as our user.
//
// What the socket carries is instance_packet.h; instance_server.h reads and
// answers it off the window thread. The first instance watches ReadyFd() in
// its event loop and calls ProcessPending() on its window thread when it
// becomes readable, so the handlers run where the window lives
// (instance_notifier_qt.h does this for the Qt loop). Pure POSIX.
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/instance/instance_server.h"

namespace platform {

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

class SingleInstance {
public:
    explicit SingleInstance(std::string folder = DefaultInstanceFolder());
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Takes the lock, or, when another process holds it, asks it to come to
    // the front (waiting at most about a second for it to take the request)
    // and returns Second. Call once. `log` gets the lines of the socket's
    // dropped connections (empty: standard error).
    InstanceRole Acquire(InstanceLog log = {});

    // Readable while later starts or requests wait for ProcessPending (-1
    // when this is not the listening first instance).
    int ReadyFd() const { return server_ ? server_->ReadyFd() : -1; }

    // Hands each whole packet that has arrived to its handler, on the calling
    // thread: an activation to `onActivation`, a tevlanctl request to the
    // request handler. Never waits on a peer.
    void ProcessPending(const ActivationHandler& onActivation);
    // Answers tevlanctl's requests (change_channel.h) from then on; without a
    // handler they are dropped unanswered.
    void SetRequestHandler(RequestHandler handler) { requestHandler_ = std::move(handler); }

    const std::string& Folder() const { return folder_; }
    std::string LockPath() const;
    std::string SocketPath() const;
    // Why Acquire returned Failed (or why the socket could not be made), in
    // words for the user.
    const std::string& LastError() const { return error_; }

private:
    bool Listen(InstanceLog log);
    bool SendToFirst();

    std::string folder_;
    std::string error_;
    int lockFd_ = -1;
    std::unique_ptr<InstanceServer> server_;
    RequestHandler requestHandler_;
};

}  // namespace platform
