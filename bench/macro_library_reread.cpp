// The time the main window takes to reread the macro library when the macro
// manager closes, on a library of 50 sets of 50 macros with 40 actions each
// (a 13 MB file: every macro line carries all 336 slots).
//
//   bench_macro_library_reread [rounds]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <time.h>

#include "macros/macro_library_file.h"

namespace {

using Clock = std::chrono::steady_clock;

// The machine is shared: CPU time says how much of the wall time was ours.
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
                k.InsertAction(a, a % 2 ? MacroAction::Pause(uint32_t(20 + a)) : MacroAction::Key(uint8_t(0x41 + a % 26), a % 4 == 2));
            k.commandActionNum = 20;
        }
    }
    return lib;
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const std::string dir = (std::filesystem::temp_directory_path() / "tevlan-bench-reread").string();
    std::filesystem::create_directories(dir);
    const std::string path = dir + "/MacroLibraryFile.mlf";
    const MacroLibrary big = BigLibrary();
    if (!WriteMacroLibraryFile(big, path)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }
    std::vector<double> ms, cpu;
    MacroLibrary lib;
    for (int i = 0; i < rounds; ++i) {
        const auto t0 = Clock::now();
        const double c0 = CpuMs();
        lib.ClearLibrary();
        const bool ok = LoadApplicationMacroLibrary(lib, path);
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        cpu.push_back(CpuMs() - c0);
        if (!ok || !(lib == big)) {
            std::fprintf(stderr, "the library did not read back as written\n");
            return 1;
        }
    }
    std::sort(ms.begin(), ms.end());
    std::sort(cpu.begin(), cpu.end());
    std::printf("reread 50 x 50 library (%ju bytes): best %.1f ms, median %.1f ms over %d rounds (goal < 50 ms)\n",
                uintmax_t(std::filesystem::file_size(path)), ms.front(), ms[ms.size() / 2], rounds);
    std::printf("reread CPU time: best %.1f ms, median %.1f ms\n", cpu.front(), cpu[cpu.size() / 2]);
    std::filesystem::remove_all(dir);
    return 0;
}
