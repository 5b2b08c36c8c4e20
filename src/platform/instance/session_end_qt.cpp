#include "platform/instance/session_end_qt.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

volatile sig_atomic_t g_writeFd = -1;

void OnSignal(int signalNumber)
{
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    if (g_writeFd >= 0) {
        // A full pipe already holds a wake-up; losing this byte is harmless.
        [[maybe_unused]] ssize_t n = write(g_writeFd, &byte, 1);
    }
    errno = savedErrno;
}

void SetHandler(int signalNumber, void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signalNumber, &action, nullptr);
}

[[noreturn]] void EndAsDefault(int signalNumber)
{
    SetHandler(signalNumber, SIG_DFL);
    raise(signalNumber);
    _exit(128 + signalNumber);
}

}  // namespace

SessionEndNotifierQt::SessionEndNotifierQt(SessionEndHandler handler) : handler_(std::move(handler))
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return;  // the signals keep their default
    readFd_ = fds[0];
    g_writeFd = fds[1];
    notifier_ = std::make_unique<QSocketNotifier>(readFd_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { OnReadable(); });
    for (int s : kSignals) SetHandler(s, OnSignal);
}

SessionEndNotifierQt::~SessionEndNotifierQt()
{
    if (readFd_ < 0) return;
    for (int s : kSignals) SetHandler(s, SIG_DFL);
    notifier_.reset();
    const int writeFd = g_writeFd;
    g_writeFd = -1;
    close(writeFd);
    close(readFd_);
}

void SessionEndNotifierQt::OnReadable()
{
    unsigned char byte = 0;
    while (read(readFd_, &byte, 1) == 1) {
        const int signalNumber = byte;
        // From here on the same signal ends the process at once.
        SetHandler(signalNumber, SIG_DFL);
        if (!handler_ || !handler_(signalNumber)) EndAsDefault(signalNumber);
    }
}

}  // namespace platform
