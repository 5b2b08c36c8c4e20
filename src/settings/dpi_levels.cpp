#include "settings/dpi_levels.h"

#include <algorithm>
#include <bit>

#include "settings/dpi_step_table.h"

DpiEnableResult ChangeDpiLevelEnabled(uint8_t mask, int ordinal, int level, bool enable)
{
    DpiEnableResult r{false, mask, ordinal};
    if (level < 0 || level >= kDpiLevelCount) {
        r.refused = true;
        return r;
    }
    const uint8_t bit = uint8_t(1u << level);
    const bool wasEnabled = (mask & bit) != 0;
    if (wasEnabled == enable) return r;
    if (!enable && mask == bit) {
        r.refused = true;
        return r;
    }
    // LevelFromOrdinal answers level 0 for an ordinal it cannot place, which
    // may be a disabled level; pull such an ordinal back to the highest
    // enabled level first so that the comparisons below mean something.
    const int enabledCount = std::popcount(unsigned(mask));
    int o = std::clamp(ordinal, 0, std::max(0, enabledCount - 1));
    const int current = LevelFromOrdinal(mask, o);
    if (enable) {
        if (current > level) ++o;
        r.mask = uint8_t(mask | bit);
    } else {
        if (current == level) {
            if (o > 0) --o;
        } else if (current > level) {
            --o;
        }
        r.mask = uint8_t(mask & ~bit);
    }
    r.ordinal = o;
    return r;
}

SettingChange EditDpiLevelEnabled(ProfileRecord& profile, int& workingOrdinal, int level, bool enable)
{
    if (level < 0 || level >= kDpiLevelCount) return SettingChange::Refused(kTextValueOutOfRange);
    const DpiEnableResult r = ChangeDpiLevelEnabled(profile.DPIOffOnFlagValue, workingOrdinal, level, enable);
    if (r.refused) return SettingChange::Refused(kTextKeepOneDpiLevel);
    const bool changed = r.mask != profile.DPIOffOnFlagValue || r.ordinal != profile.CurrentDPILevelValue;
    profile.DPIOffOnFlagValue = r.mask;
    profile.CurrentDPILevelValue = uint8_t(r.ordinal);
    workingOrdinal = r.ordinal;
    return SettingChange::If(changed, PendingGroup::DpiAndMore);
}

int DpiStepAtLeast(long long dpi)
{
    const int count = DpiStepCount();
    if (count <= 0) return 0;
    for (int i = 0; i < count; ++i)
        if (DpiStepValue(i) >= dpi) return i;
    return count - 1;
}

int DpiStepForText(const std::u16string& text) { return DpiStepAtLeast(ParseDecimal(text)); }

SettingChange EditDpiLevelStep(ProfileRecord& profile, int level, int step)
{
    if (level < 0 || level >= kDpiLevelCount) return SettingChange::Refused(kTextValueOutOfRange);
    const int count = DpiStepCount();
    step = std::clamp(step, 0, std::max(0, count - 1));
    uint16_t& stored = profile.XYSettingValue[size_t(level)];
    const bool changed = stored != step;
    stored = uint16_t(step);
    return SettingChange::If(changed, PendingGroup::DpiAndMore);
}

SettingChange EditDpiLevelColour(ProfileRecord& profile, int level, COLORREF colour)
{
    if (level < 0 || level >= kDpiLevelCount) return SettingChange::Refused(kTextValueOutOfRange);
    colour &= 0x00FFFFFF;
    COLORREF& stored = profile.DPILevelIndication[size_t(level)];
    const bool changed = stored != colour;
    stored = colour;
    return SettingChange::If(changed, PendingGroup::DpiAndMore);
}
