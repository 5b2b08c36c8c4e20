#include "settings/sensor_settings.h"

#include <algorithm>
#include <string>

#include "base/text_codec.h"
#include "base/ui_text.h"

namespace {

// Writes a decimal setting through its setter; true when the text changed.
template <typename Setter>
bool StoreSetting(ProfileRecord& profile, int position, int value, Setter set)
{
    const std::u16string before = profile.settings[size_t(position)].value;
    set(profile, value);
    return profile.settings[size_t(position)].value != before;
}

}  // namespace

std::u16string PollingRateName(int code)
{
    switch (code) {
    case 0: return u"125HZ";
    case 1: return u"250HZ";
    case 2: return u"500HZ";
    default: return u"1000HZ";
    }
}

int PollingCaptionIndex(const ProfileRecord& profile)
{
    const int code = profile.PollingRateValue[0];
    return code <= 2 ? code : 3;
}

SettingChange EditPollingRate(ProfileRecord& profile, int code)
{
    if (code < 0 || code >= kPollingRateCount) return SettingChange::Refused(kTextValueOutOfRange);
    const std::array<uint8_t, 3> value{uint8_t(code), 0, 0};
    const std::u16string name = PollingRateName(code);
    const bool changed = profile.PollingRateValue != value || profile.PollingRateName != name;
    profile.PollingRateValue = value;
    profile.PollingRateName = name;
    return SettingChange::If(changed, PendingGroup::DpiAndMore);
}

SettingChange EditLiftOffDistance(ProfileRecord& profile, int choice)
{
    if (choice != 1 && choice != 2) return SettingChange::Refused(kTextValueOutOfRange);
    return SettingChange::If(StoreSetting(profile, kSetLiftDetectionHeight, choice, SetLiftDetectionHeight),
                             PendingGroup::DpiAndMore);
}

int DebouncePositionOfMs(int ms) { return std::clamp(ms / 2, 0, kDebouncePositions - 1); }

int DebounceMsOfPosition(int position) { return std::clamp(position, 0, kDebouncePositions - 1) * 2; }

std::u16string DebounceMsCaption(int position)
{
    return Ascii(std::to_string(DebounceMsOfPosition(position))) + u"ms";
}

SettingChange EditDebouncePosition(ProfileRecord& profile, int position)
{
    if (position < 0 || position >= kDebouncePositions) return SettingChange::Refused(kTextValueOutOfRange);
    return SettingChange::If(StoreSetting(profile, kSetKeyDebounce, position * 2, SetKeyDebounce),
                             PendingGroup::DpiAndMore);
}

SettingChange EditDebounceMs(ProfileRecord& profile, int ms)
{
    if (ms < 0 || ms % 2 != 0 || ms / 2 >= kDebouncePositions) return SettingChange::Refused(kTextValueOutOfRange);
    return EditDebouncePosition(profile, ms / 2);
}

std::u16string PowerSleepCaption(int minutes)
{
    return UiText(266) + Ascii(std::to_string(minutes)) + UiText(267);
}

SettingChange EditPowerDownTime(ProfileRecord& profile, int minutes)
{
    if (minutes < kPowerDownMinMinutes || minutes > kPowerDownMaxMinutes)
        return SettingChange::Refused(kTextValueOutOfRange);
    return SettingChange::If(StoreSetting(profile, kSetPowerDownTime, minutes, SetPowerDownTime), PendingGroup::Power);
}

SettingChange EditMoveLighting(ProfileRecord& profile, bool on)
{
    return SettingChange::If(StoreSetting(profile, kSetMoveLightingOnOffMode, on ? 1 : 0, SetMoveLightingOnOffMode),
                             PendingGroup::Power);
}

SettingChange EditMotionWakeup(ProfileRecord& profile, bool on)
{
    return SettingChange::If(StoreSetting(profile, kSetMotionWakeup, on ? 1 : 0, SetMotionWakeup), PendingGroup::Wake);
}
