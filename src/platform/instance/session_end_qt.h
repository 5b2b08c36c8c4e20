#pragma once
// The desktop ending the session: SIGTERM (logout, shutdown, systemd), SIGHUP
// (the terminal or session going away) and SIGINT (Ctrl+C). Left to their
// default the program would die with a save still pending; instead each
// signal reaches the handler on the Qt event loop of the window thread,
// which closes the main window the normal way.
//
// The signal handler only writes the signal number to a pipe; a
// QSocketNotifier reads it on the window thread, so the handler runs no code
// that is unsafe in a signal.
#include <functional>
#include <memory>

class QSocketNotifier;

namespace platform {

// Returns false when there is nothing to close yet: the process then ends
// as the signal's default would have ended it.
using SessionEndHandler = std::function<bool(int signalNumber)>;

class SessionEndNotifierQt {
public:
    // One at a time in a process. A second signal, once the first was
    // handled, ends the process at once (a close that hangs stays killable).
    explicit SessionEndNotifierQt(SessionEndHandler handler);
    ~SessionEndNotifierQt();
    SessionEndNotifierQt(const SessionEndNotifierQt&) = delete;
    SessionEndNotifierQt& operator=(const SessionEndNotifierQt&) = delete;

private:
    void OnReadable();

    SessionEndHandler handler_;
    int readFd_ = -1;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace platform
