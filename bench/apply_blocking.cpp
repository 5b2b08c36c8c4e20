// How long the window thread is kept busy by a full apply: eight changed
// buttons (one of them a macro), every sensor setting, power and wake-up.
// The main window runs on the headless host; the simulated mouse and the
// device I/O thread run in real time, so the paced writes take as long as on
// a real mouse while the window thread is timed on every turn of its loop.
//
//   bench_apply_blocking [rounds]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "app/tevlan_dlg.h"
#include "bench_support.h"
#include "headless_stage.h"
#include "macros/macro_library_file.h"
#include "base/ui_text.h"
#include "profile/profile_record.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void ChangeEverything(ProfileRecord& p, int round)
{
    const uint8_t k = static_cast<uint8_t>(round & 1);
    for (int i = 0; i < 7; ++i) p.buttons[i].code = {0x01, static_cast<uint8_t>(0xF0 + ((i + k) % 8)), 0x00};
    p.buttons[7].label = UiText(190) + u"bench";
    p.buttons[7].code = {0x90, 0x01, static_cast<uint8_t>(1 + k)};
    for (int i = 0; i < 8; ++i) {
        p.XYSettingValue[i] = static_cast<uint16_t>(4 + i * 3 + k);
        p.DPILevelIndication[i] = RGB(10 * i + k, 200 - 10 * i, 40 + k);
    }
    p.PollingRateValue[0] = static_cast<uint8_t>(k ? 2 : 3);
    SetLiftDetectionHeight(p, k ? 1 : 2);
    SetKeyDebounce(p, k ? 4 : 8);
    p.lighting.Lighting1ModeValue[0] = static_cast<uint8_t>(k ? 2 : 3);
    SetPowerDownTime(p, k ? 5 : 7);
    SetMoveLightingOnOffMode(p, k);
    SetMotionWakeup(p, 1 - k);
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    // --quiet: without the progress dialog, to see what the dialog costs.
    const bool quiet = argc > 2 && std::string(argv[2]) == "--quiet";
    bench::HeadlessStage stage("apply");
    auto& [host, shell, clock, sim, startup, data] = stage;
    double worstMs = 0, worstApplyMs = 0, worstPaintMs = 0, transferMs = 0;
    double worstApplyCpuMs = 0, worstPaintCpuMs = 0;
    size_t reports = 0;
    {
        CTevlanDlg dlg(startup, {&sim, &clock, &sim, false});
        if (!dlg.Create(0)) return 1;
        auto drain = [&](double* worst) {
            // Every turn of the loop until the I/O thread has nothing left
            // and everything it posted back has been handled.
            for (;;) {
                const auto t0 = Clock::now();
                host.ProcessPending();
                *worst = std::max(*worst, Ms(Clock::now() - t0));
                if (dlg.Link()->PendingDeviceIo() == 0) {
                    dlg.Link()->WaitForDeviceIo();
                    host.ProcessPending();
                    return;
                }
                std::this_thread::yield();
            }
        };
        double ignored = 0;
        host.Advance(30);
        drain(&ignored);

        MacroSet* set = g_macroLibrary.SetAt(0);
        if (!set) return 1;
        g_macroLibrary.AppendMacro(*set, u"bench");
        MacroKey& macro = *g_macroLibrary.MacroAt(*set, int(set->macros.size()) - 1);
        for (int i = 0; i < 60; ++i) {
            macro.InsertAction(2 * i, MacroAction::Key(static_cast<uint8_t>(0x41 + i % 26), false));
            macro.InsertAction(2 * i + 1, MacroAction::Key(static_cast<uint8_t>(0x41 + i % 26), true));
        }

        for (int round = 0; round < rounds; ++round) {
            sim.ClearTrace();
            ChangeEverything(g_profiles[dlg.CurrentProfileIndex()], round);
            for (PendingGroup g : {PendingGroup::Keys, PendingGroup::DpiAndMore, PendingGroup::Power,
                                   PendingGroup::Wake})
                dlg.ScheduleApply(g);
            if (quiet) dlg.Link()->suppressProgress = true;
            host.Advance(19);
            // Timer 30's work, timed on its own, then the repaint it asked for.
            dlg.StopTimer(kTimerApply);
            const auto start = Clock::now();
            const double cpu0 = bench::ThreadCpuMs();
            dlg.Link()->ApplyToDevice();
            const double applyMs = Ms(Clock::now() - start);
            const double cpu1 = bench::ThreadCpuMs();
            const auto paintStart = Clock::now();
            host.ProcessPending();
            const double paintMs = Ms(Clock::now() - paintStart);
            worstApplyCpuMs = std::max(worstApplyCpuMs, cpu1 - cpu0);
            worstPaintCpuMs = std::max(worstPaintCpuMs, bench::ThreadCpuMs() - cpu1);
            worstApplyMs = std::max(worstApplyMs, applyMs);
            worstPaintMs = std::max(worstPaintMs, paintMs);
            worstMs = std::max(worstMs, std::max(applyMs, paintMs));
            drain(&worstMs);
            transferMs = std::max(transferMs, Ms(Clock::now() - start));
            reports = std::max(reports, sim.AcceptedWrites().size());
        }
        dlg.DestroyWindow();
    }
    std::printf("apply-rounds %d\n", rounds);
    std::printf("apply-reports-per-round %zu\n", reports);
    std::printf("apply-transfer-ms %.1f\n", transferMs);
    std::printf("apply-call-max-ms %.3f\n", worstApplyMs);
    std::printf("repaint-after-apply-max-ms %.3f\n", worstPaintMs);
    std::printf("apply-call-max-cpu-ms %.3f\n", worstApplyCpuMs);
    std::printf("repaint-after-apply-max-cpu-ms %.3f\n", worstPaintCpuMs);
    std::printf("window-thread-blocked-max-ms %.3f\n", worstMs);
    return 0;
}
