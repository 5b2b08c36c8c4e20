// A change on its way to the mouse and to the disk, timed as a user meets it:
// the main window runs on the headless host, its clock kept in step with
// real time, while the simulated mouse and the device I/O thread run in real
// time with their real pacing. Prints each figure next to its goal.
//
//   bench_change_latency [rounds]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/tevlan_dlg.h"
#include "bench_support.h"
#include "headless_stage.h"
#include "macros/macro_library_file.h"
#include "persist/ui/profile_ids.h"
#include "base/ui_text.h"
#include "profile/profile_record.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// The window thread's loop: the host's clock follows real time, and every
// turn is timed.
struct Loop {
    platform::HeadlessHost& host;
    Clock::time_point last = Clock::now();
    double longestTurnMs = 0;
    double longestTurnCpuMs = 0;  // the same turns in CPU time: a busy machine adds its waits to the wall time

    void Turn()
    {
        const auto start = Clock::now();
        const double cpu = bench::ThreadCpuMs();
        const int ms = static_cast<int>(Ms(start - last));
        if (ms > 0) {
            last += std::chrono::milliseconds(ms);
            host.Advance(ms);
        }
        host.ProcessPending();
        longestTurnMs = std::max(longestTurnMs, Ms(Clock::now() - start));
        longestTurnCpuMs = std::max(longestTurnCpuMs, bench::ThreadCpuMs() - cpu);
    }
    // Turns until done() holds (false after 10 s).
    bool Until(const std::function<bool()>& done)
    {
        const auto deadline = Clock::now() + std::chrono::seconds(10);
        while (Clock::now() < deadline) {
            Turn();
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::microseconds(300));
        }
        return false;
    }
    void Idle(int ms)
    {
        const auto end = Clock::now() + std::chrono::milliseconds(ms);
        Until([&] { return Clock::now() >= end; });
    }
};

int64_t LastWriteMs(const platform::SimMouse& sim)
{
    int64_t t = -1;
    for (const auto& e : sim.Trace())
        if (e.kind == platform::SimTraceEntry::Kind::FeatureWrite && !e.failed) t = e.timeMs;
    return t;
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    bench::HeadlessStage stage("latency");
    auto& [host, shell, clock, sim, startup, data] = stage;
    std::vector<double> buttonMs[8], switchMs, fileMs;
    std::vector<size_t> switchReports;
    double applyLongestTurnMs = 0;
    {
        CTevlanDlg dlg(startup, {&sim, &clock, &sim, true});
        if (!dlg.Create(0)) return 1;
        Loop loop{host};
        DeviceLink* link = dlg.Link();
        auto idleLink = [&] { return link->PendingDeviceIo() == 0 && !link->Writing() && !link->ApplyWaiting(); };
        loop.Until(idleLink);
        loop.Idle(1500);

        for (int round = 0; round < rounds; ++round) {
            // 1. One button's function changed: change -> its report leaves
            //    the I/O thread (the 20 ms batching included).
            for (int b = 0; b < 8; ++b) {
                loop.Idle(100);
                sim.ClearTrace();
                ProfileRecord& p = g_profiles[dlg.CurrentProfileIndex()];
                p.buttons[b].code = {0x01, static_cast<uint8_t>(0xF0 + (round + b) % 8), 0x00};
                const int64_t t0 = clock.NowMs();
                dlg.ScheduleApply(PendingGroup::Keys);
                loop.Until([&] { return LastWriteMs(sim) >= 0; });
                buttonMs[b].push_back(double(LastWriteMs(sim) - t0));
            }
            // 2. A profile tab clicked: click -> the last report of the
            //    switch, against 25 ms + 60 ms per report that differs.
            loop.Until(idleLink);
            loop.Idle(300);
            const int target = dlg.CurrentProfileIndex() == 1 ? 2 : 1;
            ProfileRecord& q = g_profiles[target];
            q.PollingRateValue[0] = static_cast<uint8_t>(round % 4);
            q.DPILevelIndication[0] = RGB(round, 7, target);
            q.buttons[1].code = {0x01, static_cast<uint8_t>(0xF1 + round % 6), 0x00};
            sim.ClearTrace();
            const Rect r = dlg.FindControl(profile_ids::kFirstTab + UINT(target))->GetRect();
            const int64_t t0 = clock.NowMs();
            host.Click(dlg.GetSafeHwnd(), {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
            loop.Until([&] { return LastWriteMs(sim) >= 0 && idleLink(); });
            const size_t reports = sim.AcceptedWrites().size();
            switchMs.push_back(double(LastWriteMs(sim) - t0));
            switchReports.push_back(reports);

            // 3. change -> file on disk.
            loop.Idle(1500);
            const std::string path = data + "/config/default" + std::to_string(dlg.CurrentProfileIndex()) + ".psf";
            const auto before = std::filesystem::last_write_time(path);
            g_profiles[dlg.CurrentProfileIndex()].PollingRateValue[0] = static_cast<uint8_t>((round + 1) % 4);
            const auto c0 = Clock::now();
            dlg.ScheduleApply(PendingGroup::DpiAndMore);
            loop.Until([&] { return std::filesystem::last_write_time(path) != before; });
            fileMs.push_back(Ms(Clock::now() - c0));
        }

        // 4. The window thread during an apply with macros: the Apply button
        //    sends everything, a long macro on every button.
        EnsureApplicationMacroLibrary();
        MacroSet* set = g_macroLibrary.SetAt(0);
        if (!set) return 1;
        ProfileRecord& p = g_profiles[dlg.CurrentProfileIndex()];
        for (int m = 0; m < 4; ++m) {
            const std::u16string name = u"bench" + std::u16string(1, char16_t(u'A' + m));
            g_macroLibrary.AppendMacro(*set, name);
            MacroKey& macro = *g_macroLibrary.MacroAt(*set, int(set->macros.size()) - 1);
            for (int i = 0; i < 60; ++i) {
                macro.InsertAction(2 * i, MacroAction::Key(static_cast<uint8_t>(0x41 + i % 26), false));
                macro.InsertAction(2 * i + 1, MacroAction::Key(static_cast<uint8_t>(0x41 + i % 26), true));
            }
            macro.commandActionNum = 120;
            p.buttons[4 + m].label = UiText(190) + name;
            p.buttons[4 + m].code = {0x90, 0x01, 0x01};
        }
        loop.Idle(300);
        sim.ClearTrace();
        const auto a0 = Clock::now();
        const double cpu0 = bench::ThreadCpuMs();
        dlg.ApplyAll();
        const double applyCallMs = Ms(Clock::now() - a0);
        const double applyCallCpuMs = bench::ThreadCpuMs() - cpu0;
        loop.longestTurnMs = loop.longestTurnCpuMs = 0;
        loop.Until(idleLink);
        const double transferMs = Ms(Clock::now() - a0);
        applyLongestTurnMs = std::max(applyCallMs, loop.longestTurnMs);
        const size_t applyReports = sim.AcceptedWrites().size();
        std::printf("apply with macros: %zu reports in %.0f ms; the Apply click's handler %.2f ms (%.2f ms CPU), "
                    "the longest turn of the window thread's loop while they went out %.2f ms (%.2f ms CPU); "
                    "longest block %.2f ms (goal <= 5 ms)\n",
                    applyReports, transferMs, applyCallMs, applyCallCpuMs, loop.longestTurnMs, loop.longestTurnCpuMs,
                    applyLongestTurnMs);
        dlg.DestroyWindow();
    }
    for (int b = 0; b < 8; ++b)
        std::printf("button %d: click -> report leaves the I/O thread: median %.0f ms, worst %.0f ms (goal <= 25 ms)\n",
                    b + 1, bench::Median(buttonMs[b]), *std::max_element(buttonMs[b].begin(), buttonMs[b].end()));
    for (size_t i = 0; i < switchMs.size(); ++i)
        std::printf("profile switch %zu: click -> last report %.0f ms for %zu reports that differ (goal <= %zu ms)\n",
                    i + 1, switchMs[i], switchReports[i], 25 + 60 * switchReports[i]);
    std::printf("change -> file on disk: median %.0f ms, worst %.0f ms (goal <= 1000 ms)\n", bench::Median(fileMs),
                *std::max_element(fileMs.begin(), fileMs.end()));
    return 0;
}
