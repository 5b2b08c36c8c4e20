// How closely recorded pauses match the real gaps between key events.
// Run under an X server (Xvfb): 20 key events are sent through the XTEST
// extension at known gaps, measured on this side right before each one is
// sent, while the desktop's raw key source (the one the macro manager
// records from) feeds the recorder. Prints, per gap, the pause recorded from
// the events' own time stamps and, for comparison, the pause a recorder
// would get from the moment this program happened to read each event.
//
//   bench_macro_pause_accuracy
//
// A measuring tool, not part of the program: it talks to the X server
// directly. libXtst is opened at run time because only its run-time
// library is installed here.
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <dlfcn.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cmath>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "macros/macro_recorder.h"
#include "platform/keyboard/x11_raw_key_source.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Seen {
    uint32_t wParam, lParam;
    Clock::time_point readAt;
};

}  // namespace

int main()
{
    // 20 events: ten keys pressed and released, so no event repeats the one before.
    const int gaps[19] = {100, 200, 100, 37, 250, 63, 150, 20, 500, 80, 120, 45, 300, 90, 180, 30, 400, 70, 1000};

    Display* display = XOpenDisplay(nullptr);
    void* xtst = dlopen("libXtst.so.6", RTLD_NOW);
    using FakeKey = int (*)(Display*, unsigned, int, unsigned long);
    auto fakeKey = xtst ? reinterpret_cast<FakeKey>(dlsym(xtst, "XTestFakeKeyEvent")) : nullptr;
    if (!display || !fakeKey) {
        std::fprintf(stderr, "needs an X server (run under xvfb-run) and libXtst.so.6\n");
        return 1;
    }

    std::mutex lock;
    std::vector<Seen> seen;
    auto source = platform::CreateX11RawKeySource();
    if (!source->Start([&](uint32_t w, uint32_t l) {
            std::lock_guard<std::mutex> g(lock);
            seen.push_back({w, l, Clock::now()});
        })) {
        std::fprintf(stderr, "no XInput 2 on this server\n");
        return 1;
    }
    std::vector<Clock::time_point> sentAt;
    for (int i = 0; i < 20; ++i) {
        const KeyCode code = XKeysymToKeycode(display, XK_a + i / 2);
        sentAt.push_back(Clock::now());
        fakeKey(display, code, i % 2 == 0, CurrentTime);
        XFlush(display);
        if (i < 19) std::this_thread::sleep_until(sentAt.back() + std::chrono::milliseconds(gaps[i]));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    source->Stop();
    XCloseDisplay(display);
    auto ms = [](Clock::duration d) { return int(std::lround(std::chrono::duration<double, std::milli>(d).count())); };

    if (seen.size() != 20) {
        std::fprintf(stderr, "saw %zu key events, expected 20\n", seen.size());
        return 1;
    }
    MacroKey macro(u"bench");
    MacroRecorder recorder;
    recorder.Start(&macro);
    for (const Seen& s : seen) recorder.Feed(s.wParam, s.lParam, true);
    if (macro.actionNum != 39) {
        std::fprintf(stderr, "recorded %u actions, expected 39\n", macro.actionNum);
        return 1;
    }
    int worst = 0, worstRead = 0;
    double sum = 0, sumRead = 0;
    std::printf("real gap ms  recorded  error | read-time pause  error\n");
    for (int i = 0; i < 19; ++i) {
        const size_t k = size_t(i);
        const int real = ms(sentAt[k + 1] - sentAt[k]);
        const int recorded = int(macro.GetAction(2 * i + 1).PauseMs());
        const int read = ms(seen[k + 1].readAt - seen[k].readAt);
        const int err = std::abs(recorded - real);
        const int errRead = std::abs(read - real);
        worst = std::max(worst, err);
        worstRead = std::max(worstRead, errRead);
        sum += err;
        sumRead += errRead;
        std::printf("%11d  %8d  %5d | %15d  %5d\n", real, recorded, err, read, errRead);
    }
    std::printf("recorded pause error over 19 gaps: worst %d ms, mean %.1f ms (goal: every pause within 2 ms)\n",
                worst, sum / 19);
    std::printf("read-time pause error for comparison: worst %d ms, mean %.1f ms\n", worstRead, sumRead / 19);
    return worst <= 2 ? 0 : 2;
}
