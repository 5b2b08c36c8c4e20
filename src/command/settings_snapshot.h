#pragma once
// The settings `tevlanctl get` prints, as a running window sends them: the
// window's own state, with what its controls hold, rather than what its
// files held at the last save. Text, one setting entry a line:
//   "profile\t<1-5>" first, then "<name>\t<index>\t<value>" for every
//   entry of SettingTable (index 0 for a setting without one, else 1-based).
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "profile/profile_record.h"

struct SettingsSnapshot {
    int profile = 0;                                            // 0-based
    std::map<std::pair<std::string, int>, std::string> values;  // (name, 0-based index) -> value

    // The value as the descriptor's text gives it; empty when the window did not send it.
    std::string Value(const std::string& name, int index) const;
};

// `profile` is 0-based.
std::string EncodeSettingsSnapshot(int profile, const ProfileRecord& record);
std::optional<SettingsSnapshot> DecodeSettingsSnapshot(std::string_view text);
