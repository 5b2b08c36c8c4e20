#include "settings/pointer_preferences.h"

#include <string>

#include "base/text_codec.h"

namespace {

SettingChange StoreSetting(ProfileRecord& profile, int position, int value, void (*set)(ProfileRecord&, int))
{
    const std::u16string before = profile.settings[size_t(position)].value;
    set(profile, value);
    return SettingChange::If(profile.settings[size_t(position)].value != before, PendingGroup::Windows);
}

bool Outside(int position, int count) { return position < 0 || position >= count; }

}  // namespace

std::u16string PositionCaption(int position) { return Ascii(std::to_string(position + 1)); }

SettingChange EditPointerSpeed(ProfileRecord& profile, int position)
{
    if (Outside(position, kPointerSpeedPositions)) return SettingChange::Refused(kTextValueOutOfRange);
    return StoreSetting(profile, kSetPointerSpeed, position, SetPointerSpeed);
}

SettingChange EditDoubleClickSpeed(ProfileRecord& profile, int position)
{
    if (Outside(position, kDoubleClickPositions)) return SettingChange::Refused(kTextValueOutOfRange);
    return StoreSetting(profile, kSetDoubleClickSpeed, position, SetDoubleClickSpeed);
}

SettingChange EditWheelLines(ProfileRecord& profile, int position)
{
    if (Outside(position, kWheelLinesPositions)) return SettingChange::Refused(kTextValueOutOfRange);
    const SettingChange tilt = StoreSetting(profile, kSetTiltSpeed, position, SetTiltSpeed);
    const SettingChange lines = StoreSetting(profile, kSetScrollWheelSpeed, position, SetScrollWheelSpeed);
    return lines.Changed() ? lines : tilt;
}

SettingChange EditWheelPageMode(ProfileRecord& profile, bool page)
{
    return StoreSetting(profile, kSetScrollWheelPageEnable, page ? 1 : 0, SetScrollWheelPageEnable);
}

SettingChange EditPointerPrecision(ProfileRecord& profile, bool on)
{
    return StoreSetting(profile, kSetAccelerationEnable, on ? 1 : 0, SetAccelerationEnable);
}

bool WheelLinesEditable(const ProfileRecord& profile) { return ProfileSettingInt(profile, kSetScrollWheelPageEnable) != 1; }
