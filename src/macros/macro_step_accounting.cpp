#include "macros/macro_step_accounting.h"

namespace macro_steps {

int ForPauseEdit(uint32_t oldMs, uint32_t newMs)
{
    const bool wasLong = oldMs > kShortPauseMaxMs;
    const bool isLong = newMs > kShortPauseMaxMs;
    if (!wasLong && isLong) return 1;
    if (wasLong && !isLong) return -1;
    return 0;
}

int ForDeletedAction(const MacroAction& action) { return IsPauseCode(action.b0) ? 0 : -1; }

bool Fit(const MacroKey& macro, int added) { return int(macro.commandActionNum) + added <= kMacroMaxDeviceSteps; }

void Add(MacroKey& macro, int delta)
{
    int v = int(macro.commandActionNum) + delta;
    macro.commandActionNum = uint8_t(v < 0 ? 0 : v > 255 ? 255 : v);
}

}  // namespace macro_steps
