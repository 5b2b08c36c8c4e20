#include "device/battery_marks.h"

#include <cstddef>

namespace {
int Clamp(int level) { return level < 0 || level > 100 ? 0 : level; }
}  // namespace

int CBatteryMarks::Update(int level, bool charging)
{
    level = Clamp(level);
    int passed = 0;
    for (std::size_t i = 0; i < kBatteryMarks.size(); ++i) {
        const int mark = kBatteryMarks[i];
        if (!seen_) {
            armed_[i] = level > mark;
            continue;
        }
        if (level > mark + kBatteryRearmMargin) {
            armed_[i] = true;
        } else if (level <= mark && armed_[i]) {
            // Charging at the mark uses it up as well: unplugging the cable
            // a moment later is no new fall.
            armed_[i] = false;
            if (!charging) passed = mark;  // the marks run downwards: the lowest wins
        }
    }
    seen_ = true;
    return passed;
}

int BatteryBars(int level)
{
    level = Clamp(level);
    if (level >= 88) return 4;
    if (level >= 63) return 3;
    if (level >= 38) return 2;
    if (level >= 13) return 1;
    return 0;
}

bool BatteryWarns(int level, bool charging) { return !charging && Clamp(level) < kBatteryWarningLevel; }
