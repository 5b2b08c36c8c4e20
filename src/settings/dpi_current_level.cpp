#include "settings/dpi_current_level.h"

#include "settings/dpi_step_table.h"

int CurrentDpiLevel(const ProfileRecord& profile)
{
    return LevelFromOrdinal(profile.DPIOffOnFlagValue, profile.CurrentDPILevelValue);
}

SettingChange EditCurrentDpiLevel(ProfileRecord& profile, int level)
{
    if (level < 0 || level >= kDpiLevelCount || !(profile.DPIOffOnFlagValue & (1u << level)))
        return SettingChange::Refused(kTextValueOutOfRange);
    int ordinal = 0;
    for (int i = 0; i < level; ++i)
        if (profile.DPIOffOnFlagValue & (1u << i))
            ++ordinal;
    const bool changed = profile.CurrentDPILevelValue != ordinal;
    profile.CurrentDPILevelValue = uint8_t(ordinal);
    return SettingChange::If(changed, PendingGroup::DpiAndMore);
}
