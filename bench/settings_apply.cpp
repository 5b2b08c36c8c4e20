// What a settings change costs on its way to the mouse, in the main window on
// the headless host with the simulated mouse in real time:
//   - change-to-report: from the moment the apply timer fires (the window's
//     20 ms delay after the last change is by design and is added to the
//     figure) until the changed report has left the device I/O thread;
//   - reports per drag: a slider dragged to and fro for 2 s (a move every
//     16 ms of the window's clock) and released outside the window; the goal
//     is no report while dragging and one batched apply after it.
//
//   bench_settings_apply [rounds]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "app/main_layout.h"
#include "app/tevlan_dlg.h"
#include "headless_stage.h"
#include "settings/ui/settings_ids.h"
#include "ui/check_button.h"
#include "ui/slider_control.h"

namespace {

Point Centre(const Rect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    bench::HeadlessStage stage("settings");
    auto& [host, shell, clock, sim, startup, data] = stage;
    std::vector<double> latencies;
    size_t duringDrag = 0, afterDrag = 0;
    int dragMoves = 0;
    {
        CTevlanDlg dlg(startup, {&sim, &clock, &sim, false});
        if (!dlg.Create(0)) return 1;
        const HWND w = dlg.GetSafeHwnd();
        auto settle = [&] {
            dlg.Link()->WaitForDeviceIo();
            host.ProcessPending();
        };
        host.Advance(30);
        settle();

        // 1. One click on a DPI level's check, round after round.
        auto* check = dlg.Find<CCheckButton>(settings_ids::kFirstDpiCheck + 5);
        if (!check) return 1;
        for (int round = 0; round < rounds; ++round) {
            sim.ClearTrace();
            host.Click(w, Centre(check->GetRect()));
            host.Advance(19);  // still inside the apply delay
            // The simulated mouse stamps each report with this clock as it
            // takes it from the I/O thread; the window thread meanwhile goes
            // on with the rest of the apply (progress, repaint).
            const int64_t fired = clock.NowMs();
            host.Advance(1);  // timer 30 runs ApplyToDevice here
            settle();
            for (const platform::SimTraceEntry& e : sim.Trace())
                if (e.kind == platform::SimTraceEntry::Kind::FeatureWrite && e.valid && !e.failed) {
                    latencies.push_back(double(e.timeMs - fired));
                    break;
                }
            host.Advance(1000);  // past the progress dialog's run
            settle();
        }

        // 2. A 2 s drag of the debounce slider, released outside the window.
        dlg.Layout().SetSectionOpen(MainSection::Debounce, true);
        dlg.Layout().ApplySectionVisibility();
        dlg.RefreshFromProfile();
        dlg.Layout().PlaceMovableControls();
        auto* slider = dlg.Find<CSliderControl>(settings_ids::kDebounce);
        if (!slider) return 1;
        const Rect thumb = slider->ThumbRect();
        const int y = (thumb.top + thumb.bottom) / 2;
        host.Advance(11000);  // the start-up's deferred save out of the way
        settle();
        sim.ClearTrace();
        host.MoveMouseTo(w, Centre(thumb));
        host.PressButton();
        const auto& table = slider->Table();
        for (int t = 0; t < 2000; t += 16, ++dragMoves) {
            const size_t i = size_t(dragMoves) % (2 * table.size());
            const int x = table[i < table.size() ? i : 2 * table.size() - 1 - i];
            host.MoveMouseTo(w, {x, y});
            host.Advance(16);
        }
        settle();
        duringDrag = sim.AcceptedWrites().size();
        host.MoveMouseTo(w, {dlg.windowWidth + 50, y});
        host.ReleaseButton();
        host.Advance(30);
        settle();
        afterDrag = sim.AcceptedWrites().size() - duringDrag;
        dlg.DestroyWindow();
    }
    std::sort(latencies.begin(), latencies.end());
    std::printf("change-to-report rounds %zu\n", latencies.size());
    std::printf("change-to-report timer-to-report-ms median %.0f max %.0f (1 ms resolution; plus the 20 ms apply delay)\n",
                latencies[latencies.size() / 2], latencies.back());
    std::printf("drag-2s moves %d reports-while-dragging %zu reports-after-release %zu\n", dragMoves, duringDrag,
                afterDrag);
    return 0;
}
