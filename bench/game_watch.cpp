// CPU used by the game watch: with one game bound and about 300 of the
// user's processes running, over a measured time (60 s by default), and with
// no game bound (no thread at all). Run:
//   bench_game_watch [seconds] [processes] [warm-up seconds]
// The processes this starts are young at first, and the watch rereads young
// processes on every scan (they may still execute a game). A desktop's
// processes are mostly old, so the bound measurement starts only once the
// children are older than a minute; the first scan, which reads every
// process in full, is reported on its own.
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "app/game_switcher.h"
#include "profile/profile_record.h"

namespace {

double CpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

int Threads()
{
    int n = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator("/proc/self/task")) ++n;
    return n;
}

int CountOwnProcesses()
{
    int n = 0;
    for (auto& e : std::filesystem::directory_iterator("/proc")) {
        const std::string name = e.path().filename().string();
        if (!name.empty() && name[0] >= '1' && name[0] <= '9') ++n;
    }
    return n;
}

// One measured run: the switcher with or without a bound game.
void Measure(const char* what, bool bound, int seconds, int warmUp)
{
    for (auto& p : g_profiles)
        for (int s = 0; s < kGameSlotCount; ++s) SetGameFile(p, s, u"");
    if (bound) SetGameFile(g_profiles[0], 0, u"no-such-game-running");  // the first profile is always shown
    int reports = 0;
    CGameSwitcher::Hooks hooks;
    hooks.postToWindow = [&](std::function<void()> task) { ++reports; (void)task; };
    const double start = CpuSeconds();
    CGameSwitcher switcher(hooks);
    switcher.Rebind();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));  // the first scan
    if (bound) std::printf("first scan (every process read): cpu=%.4f s\n", CpuSeconds() - start);
    std::this_thread::sleep_for(std::chrono::seconds(warmUp));
    const double before = CpuSeconds();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const double used = CpuSeconds() - before;
    const int threads = Threads();
    std::printf("%-28s watching=%d threads=%d cpu=%.4f s in %d s = %.4f %% of a core, reports=%d\n", what,
                switcher.Watching() ? 1 : 0, threads, used, seconds, 100.0 * used / seconds, reports);
}

}  // namespace

int main(int argc, char** argv)
{
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    const int extra = argc > 2 ? std::atoi(argv[2]) : 300;
    const int warmUp = argc > 3 ? std::atoi(argv[3]) : 0;
    std::vector<pid_t> children;
    for (int i = 0; i < extra; ++i) {
        const pid_t pid = fork();
        if (pid == 0) {
            execlp("sleep", "sleep", "100000", static_cast<char*>(nullptr));
            _exit(127);
        }
        if (pid > 0) children.push_back(pid);
    }
    const auto started = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    std::printf("processes in /proc: %d (%d started here)\n", CountOwnProcesses(), extra);
    Measure("no game bound:", false, seconds, warmUp);
    std::this_thread::sleep_until(started + std::chrono::seconds(62));  // the children are old now
    Measure("one game bound:", true, seconds, warmUp);
    for (pid_t pid : children) kill(pid, SIGKILL);
    for (pid_t pid : children) waitpid(pid, nullptr, 0);
    return 0;
}
