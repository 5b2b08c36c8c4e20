#pragma once
// What several benchmarks share: the CPU clock of the calling thread, a
// median and the large macro library.
#include <vector>

#include "profile/macro_model.h"

namespace bench {

// CPU time of the calling thread: on a busy machine the wall-clock time of a
// step also counts the time other processes had the core.
double ThreadCpuMs();

double Median(std::vector<double> v);

// 50 sets of 50 macros with 40 actions each (a 13 MB file: every macro line
// carries all 336 slots).
MacroLibrary BigMacroLibrary();

}  // namespace bench
