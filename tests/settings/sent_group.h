#pragma once
// The group an edit asks to send, or nothing when it changed nothing.
#include <optional>

#include "settings/setting_change.h"

inline std::optional<PendingGroup> Sent(const SettingChange& c)
{
    return c.Changed() ? std::optional<PendingGroup>(c.group) : std::nullopt;
}
