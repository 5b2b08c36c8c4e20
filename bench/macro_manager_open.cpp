// The time from clicking the macro button to the macro manager's first
// painted frame, on a library of 50 sets of 50 macros (40 actions each):
// reading the library file, making the controls and painting, on the
// headless host (the program's own painting, no window system).
//
//   bench_macro_manager_open [rounds]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_support.h"
#include "macros/macro_library_file.h"
#include "macros/ui/macro_manager_dlg.h"
#include "base/ui_text.h"
#include "platform/headless/headless_host.h"
#include "platform/shell/scripted_shell.h"
#include "ui/skin_image.h"
#include "ui/ui_scale.h"

namespace {

using Clock = std::chrono::steady_clock;

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const std::string dir = (std::filesystem::temp_directory_path() / "tevlan-bench-manager").string();
    std::filesystem::create_directories(dir);
    const std::string path = dir + "/MacroLibraryFile.mlf";
    if (!WriteMacroLibraryFile(bench::BigMacroLibrary(), path)) return 1;

    platform::HeadlessHost host;
    platform::ScriptedShell shell;
    platform::g_windowHost = &host;
    platform::g_shellServices = &shell;
    SetSkinProgramFolder(TEVLAN_BINARY_DIR);
    g_uiScale = 1.0f;
    g_lastMacroIndex = 30;  // a macro down the list: the list scrolls to it
    std::vector<double> ms, cpu;
    for (int i = 0; i < rounds; ++i) {
        MacroLibrary work;
        const auto t0 = Clock::now();
        const double c0 = bench::ThreadCpuMs();
        {
            CMacroManagerDlg dlg(1, 0, work, path);
            if (!dlg.Create(0)) return 1;
            if (!host.Snapshot(dlg.GetSafeHwnd())) return 1;
            ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
            cpu.push_back(bench::ThreadCpuMs() - c0);
            if (work.count() != 50 || !dlg.State().CurrentMacro()) return 1;
            dlg.DestroyWindow();
        }
        host.ProcessPending();
    }
    std::sort(ms.begin(), ms.end());
    std::sort(cpu.begin(), cpu.end());
    std::printf("open the macro manager on 50 x 50 macros to its first frame: best %.1f ms, median %.1f ms over %d "
                "rounds (goal < 100 ms)\n",
                ms.front(), ms[ms.size() / 2], rounds);
    std::printf("open the macro manager, CPU time: best %.1f ms, median %.1f ms\n", cpu.front(), cpu[cpu.size() / 2]);
    platform::g_windowHost = nullptr;
    platform::g_shellServices = nullptr;
    std::filesystem::remove_all(dir);
    return 0;
}
