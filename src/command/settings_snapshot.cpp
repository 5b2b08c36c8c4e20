#include "command/settings_snapshot.h"

#include <cstdlib>

#include "command/setting_table.h"

std::string SettingsSnapshot::Value(const std::string& name, int index) const
{
    const auto it = values.find({name, index});
    return it == values.end() ? std::string() : it->second;
}

std::string EncodeSettingsSnapshot(int profile, const ProfileRecord& record)
{
    std::string out = "profile\t" + std::to_string(profile + 1) + "\n";
    for (const SettingDescriptor& s : SettingTable()) {
        const int count = s.indexCount > 0 ? s.indexCount : 1;
        for (int i = 0; i < count; ++i)
            out += std::string(s.name) + "\t" + std::to_string(s.indexCount > 0 ? i + 1 : 0) + "\t" +
                   s.text(record, i) + "\n";
    }
    return out;
}

std::optional<SettingsSnapshot> DecodeSettingsSnapshot(std::string_view text)
{
    SettingsSnapshot snapshot;
    bool sawProfile = false;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        if (end == std::string_view::npos) return std::nullopt;
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        const size_t tab = line.find('\t');
        if (tab == std::string_view::npos) return std::nullopt;
        const std::string name(line.substr(0, tab));
        std::string_view rest = line.substr(tab + 1);
        if (!sawProfile) {
            const int p = std::atoi(std::string(rest).c_str());
            if (name != "profile" || p < 1 || p > kProfileCount) return std::nullopt;
            snapshot.profile = p - 1;
            sawProfile = true;
            continue;
        }
        const size_t tab2 = rest.find('\t');
        if (tab2 == std::string_view::npos) return std::nullopt;
        const int index = std::atoi(std::string(rest.substr(0, tab2)).c_str());
        snapshot.values[{name, index > 0 ? index - 1 : 0}] = std::string(rest.substr(tab2 + 1));
    }
    if (!sawProfile) return std::nullopt;
    return snapshot;
}
