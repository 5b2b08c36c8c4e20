#include "bench_support.h"

#include <algorithm>

#include <time.h>

namespace bench {

double ThreadCpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

MacroLibrary BigMacroLibrary()
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

}  // namespace bench
