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

#include <time.h>

#include "macros/macro_library_file.h"
#include "macros/ui/macro_manager_dlg.h"
#include "persist/ui_text.h"
#include "platform/headless/headless_host.h"
#include "platform/shell/scripted_shell.h"
#include "ui/skin_image.h"
#include "ui/ui_scale.h"

namespace {

using Clock = std::chrono::steady_clock;

double CpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

MacroLibrary BigLibrary()
{
    MacroLibrary lib;
    for (int s = 0; s < 50; ++s) {
        lib.AppendSet(u"Set " + std::u16string(1, char16_t(u'A' + s % 26)) + char16_t(u'0' + s / 26));
        MacroSet& set = lib.sets().back();
        for (int m = 0; m < 50; ++m) {
            lib.AppendMacro(set, u"Macro " + std::u16string(1, char16_t(u'a' + m % 26)) + char16_t(u'0' + m / 26));
            MacroKey& k = set.macros.back();
            for (int a = 0; a < 40; ++a)
                k.InsertAction(a, a % 2 ? MacroAction::Pause(uint32_t(20 + a))
                                        : MacroAction::Key(uint8_t(0x41 + a % 26), a % 4 == 2));
            k.commandActionNum = 20;
        }
    }
    return lib;
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const std::string dir = (std::filesystem::temp_directory_path() / "tevlan-bench-manager").string();
    std::filesystem::create_directories(dir);
    const std::string path = dir + "/MacroLibraryFile.mlf";
    if (!WriteMacroLibraryFile(BigLibrary(), path)) return 1;

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
        const double c0 = CpuMs();
        {
            CMacroManagerDlg dlg(1, 0, work, path);
            if (!dlg.Create(0)) return 1;
            if (!host.Snapshot(dlg.GetSafeHwnd())) return 1;
            ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
            cpu.push_back(CpuMs() - c0);
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
