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

#include "bench_support.h"
#include "macros/macro_library_file.h"

namespace {

using Clock = std::chrono::steady_clock;

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const std::string dir = (std::filesystem::temp_directory_path() / "tevlan-bench-reread").string();
    std::filesystem::create_directories(dir);
    const std::string path = dir + "/MacroLibraryFile.mlf";
    const MacroLibrary big = bench::BigMacroLibrary();
    if (!WriteMacroLibraryFile(big, path)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }
    std::vector<double> ms, cpu;
    MacroLibrary lib;
    for (int i = 0; i < rounds; ++i) {
        const auto t0 = Clock::now();
        const double c0 = bench::ThreadCpuMs();
        lib.ClearLibrary();
        const bool ok = LoadApplicationMacroLibrary(lib, path);
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        cpu.push_back(bench::ThreadCpuMs() - c0);
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
