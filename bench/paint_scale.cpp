// What smooth scaling costs when the main window paints itself whole: the
// window at 1.0 (pictures copied pixel for pixel), 1.25 and 1.5 (pictures
// filtered to a fraction of their size) and 2.0 (doubled pictures, copied
// again), on the headless host with the program's own canvas, so the figure
// is the painting alone, without a window system. Each scale runs in a
// process of its own: the skin cache and the layout are made once per scale,
// as in the program.
//
//   bench_paint_scale [rounds]
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "app/tevlan_dlg.h"
#include "bench_support.h"
#include "headless_stage.h"
#include "ui/ui_scale.h"

namespace {

using Clock = std::chrono::steady_clock;

// CPU time of the whole process: the toolkit may filter pictures on helper
// threads, which the calling thread's clock would not see.
double ProcessCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

struct Figures {
    double wallMs = 0, cpuMs = 0;
    int width = 0, height = 0;
};

// Paints the started window whole, round after round; the medians.
bool Measure(float scale, int rounds, Figures& out)
{
    // The window takes its scale from the work area, as on a desktop: wider
    // than 2500 pixels asks for 2, and the height then holds it to the scale
    // wanted (a short screen shrinks the window to fit).
    bench::HeadlessStage stage("paint");
    const int height = int(std::ceil(740 * scale));
    stage.shell.screen.workArea = scale == 1.0f ? Rect{0, 0, 1920, 1040} : Rect{0, 0, 2600, height};
    stage.shell.screen.screen = stage.shell.screen.workArea;
    CTevlanDlg dlg(stage.startup, {&stage.sim, &stage.clock, &stage.sim, false});
    if (!dlg.Create(0)) return false;
    const HWND w = dlg.GetSafeHwnd();
    stage.host.Advance(30);
    dlg.Link()->WaitForDeviceIo();
    stage.host.ProcessPending();
    const platform::IImage* first = stage.host.Snapshot(w);
    if (!first) return false;
    if (std::abs(g_uiScale - scale) > 0.001f) {
        std::fprintf(stderr, "bench_paint_scale: the window chose scale %.3f, not %.3f\n", g_uiScale, scale);
        return false;
    }
    out.width = first->Width();
    out.height = first->Height();
    std::vector<double> wall, cpu;
    for (int i = 0; i < rounds; ++i) {
        stage.host.ProcessPending();
        stage.host.Invalidate(w);
        const auto t0 = Clock::now();
        const double c0 = ProcessCpuMs();
        if (!stage.host.Snapshot(w)) return false;
        wall.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        cpu.push_back(ProcessCpuMs() - c0);
    }
    dlg.DestroyWindow();
    stage.host.ProcessPending();
    out.wallMs = bench::Median(wall);
    out.cpuMs = bench::Median(cpu);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    const float scales[] = {1.0f, 1.25f, 1.5f, 2.0f};
    std::vector<Figures> results;
    for (float scale : scales) {
        int fds[2];
        if (pipe(fds) != 0) return 1;
        const pid_t child = fork();
        if (child < 0) return 1;
        if (child == 0) {
            close(fds[0]);
            Figures f;
            const bool ok = Measure(scale, rounds, f);
            if (ok) {
                const ssize_t n = write(fds[1], &f, sizeof f);
                (void)n;
            }
            _exit(ok ? 0 : 1);
        }
        close(fds[1]);
        Figures f;
        const bool got = read(fds[0], &f, sizeof f) == ssize_t(sizeof f);
        close(fds[0]);
        int status = 0;
        waitpid(child, &status, 0);
        if (!got || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "bench_paint_scale: the window did not paint at scale %.2f\n", scale);
            return 1;
        }
        results.push_back(f);
    }
    const Figures& base = results.front();
    for (size_t i = 0; i < results.size(); ++i) {
        const Figures& f = results[i];
        std::printf("paint the main window whole at scale %.2f (%d x %d): median %.1f ms wall, %.1f ms CPU "
                    "(%.2f x the 1.0 CPU time) over %d rounds\n",
                    scales[i], f.width, f.height, f.wallMs, f.cpuMs, f.cpuMs / std::max(base.cpuMs, 0.001),
                    rounds);
    }
    std::printf("load average while measuring: ");
    if (FILE* load = std::fopen("/proc/loadavg", "r")) {
        double a = 0, b = 0, c = 0;
        if (std::fscanf(load, "%lf %lf %lf", &a, &b, &c) == 3) std::printf("%.2f %.2f %.2f", a, b, c);
        std::fclose(load);
    }
    std::printf("\n");
    return 0;
}
