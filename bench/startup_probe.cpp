// Start-up as a user sees it: the time from exec to the MapNotify of the
// program's first real window (at least 200 x 100), and to the first pixels
// the program puts into it (the first Damage event the X server reports),
// plus the resident memory a few seconds later. The program in-process
// first-frame mark cannot see what happens before its own paint or between
// that paint and the server, so this measures from outside.
//
//   bench_startup_probe SETTLE_MS PROGRAM [ARGS...]
//
// Prints "map-ms M frame-ms F rss-kb R" and ends the program with SIGTERM.
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <string>

namespace {

double NowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

long RssKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

bool Big(Display* dpy, Window w)
{
    XWindowAttributes a{};
    if (!XGetWindowAttributes(dpy, w, &a)) return false;
    return a.width >= 200 && a.height >= 100;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s SETTLE_MS PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    const int settleMs = std::atoi(argv[1]);
    Display* dpy = nullptr;
    // Xvfb may still be starting, and a busy server refuses now and then.
    for (int i = 0; i < 50 && !dpy; ++i) {
        dpy = XOpenDisplay(nullptr);
        if (!dpy) usleep(100000);
    }
    if (!dpy) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    int damageEvent = 0, damageError = 0;
    if (!XDamageQueryExtension(dpy, &damageEvent, &damageError)) {
        std::fprintf(stderr, "the X server has no DAMAGE extension\n");
        return 1;
    }
    const Window root = DefaultRootWindow(dpy);
    XSelectInput(dpy, root, SubstructureNotifyMask);
    XSync(dpy, False);

    const double start = NowMs();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    double mapMs = -1, frameMs = -1;
    std::set<Window> watched;  // top-level windows with a Damage object
    Window mapped = 0;
    const int fd = ConnectionNumber(dpy);
    while (frameMs < 0 && NowMs() - start < 10000) {
        if (!XPending(dpy)) {
            pollfd p{fd, POLLIN, 0};
            poll(&p, 1, 100);
            continue;
        }
        XEvent ev;
        XNextEvent(dpy, &ev);
        const double t = NowMs() - start;
        if (ev.type == CreateNotify) {
            // Watch every new top-level window from its creation, so that
            // pixels drawn right after the map are not missed.
            XDamageCreate(dpy, ev.xcreatewindow.window, XDamageReportNonEmpty);
            watched.insert(ev.xcreatewindow.window);
        } else if (ev.type == MapNotify && mapMs < 0 && Big(dpy, ev.xmap.window)) {
            mapMs = t;
            mapped = ev.xmap.window;
        } else if (ev.type == damageEvent + XDamageNotify) {
            auto* d = reinterpret_cast<XDamageNotifyEvent*>(&ev);
            if (mapped && d->drawable == mapped) frameMs = t;
        }
    }
    if (settleMs > 0) usleep(useconds_t(settleMs) * 1000);
    const long rss = RssKb(pid);
    kill(pid, SIGTERM);
    int status = 0;
    for (int i = 0; i < 50 && waitpid(pid, &status, WNOHANG) == 0; ++i) usleep(100000);
    if (waitpid(pid, &status, WNOHANG) == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    XCloseDisplay(dpy);
    std::printf("map-ms %.1f frame-ms %.1f rss-kb %ld\n", mapMs, frameMs, rss);
    return mapMs < 0 || frameMs < 0 ? 1 : 0;
}
