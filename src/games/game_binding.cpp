#include "games/game_binding.h"

#include <algorithm>

#include "base/text_codec.h"

bool GameBindings::Any() const
{
    return std::any_of(names.begin(), names.end(), [](const auto& list) { return !list.empty(); });
}

std::vector<std::string> GameBindings::AllNames() const
{
    std::vector<std::string> all;
    for (const auto& list : names) all.insert(all.end(), list.begin(), list.end());
    std::sort(all.begin(), all.end());
    all.erase(std::unique(all.begin(), all.end()), all.end());
    return all;
}

std::u16string GetGameFile(const ProfileRecord& record, int slot)
{
    if (slot < 0 || slot >= kGameSlotCount) return {};
    return record.settings[kSetGameFile0 + slot].value;
}

void SetGameFile(ProfileRecord& record, int slot, const std::u16string& name)
{
    if (slot < 0 || slot >= kGameSlotCount) return;
    record.settings[kSetGameFile0 + slot].value = name;
}

GameBindings ReadGameBindings(const ProfileTable& profiles, const ProfileSlots& slots)
{
    GameBindings bindings;
    for (int p = 0; p < kProfileCount; ++p) {
        if (!slots.IsShown(p)) continue;
        for (int s = 0; s < kGameSlotCount; ++s) {
            const std::u16string name = GetGameFile(profiles[p], s);
            if (!name.empty()) bindings.names[p].push_back(U16ToUtf8(name));
        }
    }
    return bindings;
}

namespace {

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool EqualsIgnoringAsciiCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

bool EndsWithExe(const std::string& name)
{
    return name.size() >= 4 && EqualsIgnoringAsciiCase(name.substr(name.size() - 4), ".exe");
}

}  // namespace

std::string LastPathComponent(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::vector<std::string> ProcessGameNames(const platform::ProcessNames& process)
{
    std::vector<std::string> names;
    for (const std::string* path : {&process.exe, &process.argv0}) {
        std::string name = LastPathComponent(*path);
        if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
    }
    return names;
}

std::u16string GameNameFromInput(const std::u16string& typed)
{
    std::u16string name;
    for (char16_t c : typed)
        if (c != u'\r' && c != u'\n') name += c;
    const size_t slash = name.find_last_of(u"/\\");
    if (slash != std::u16string::npos) name.erase(0, slash + 1);
    const size_t first = name.find_first_not_of(u" \t");
    if (first == std::u16string::npos) return {};
    const size_t last = name.find_last_not_of(u" \t");
    return name.substr(first, last - first + 1);
}

std::vector<std::u16string> RunningProgramNames(const std::vector<platform::ProcessNames>& processes)
{
    std::vector<std::string> names;
    for (const auto& process : processes)
        for (std::string& name : ProcessGameNames(process)) names.push_back(std::move(name));
    // Alphabetical as a person reads it: "Xvfb" among the x's, not before "bash".
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const auto lower = [](const std::string& s) {
            std::string l = s;
            for (char& c : l) c = AsciiLower(c);
            return l;
        };
        const std::string la = lower(a), lb = lower(b);
        return la != lb ? la < lb : a < b;
    });
    names.erase(std::unique(names.begin(), names.end()), names.end());
    std::vector<std::u16string> result;
    for (const std::string& name : names) result.push_back(Utf8ToU16(name));
    return result;
}

bool GameNameMatches(const std::string& bound, const std::string& name)
{
    if (bound.empty() || name.empty()) return false;
    return EndsWithExe(bound) ? EqualsIgnoringAsciiCase(bound, name) : bound == name;
}

bool ProcessRunsGame(const platform::ProcessNames& process, const std::string& bound)
{
    return GameNameMatches(bound, LastPathComponent(process.exe)) ||
           GameNameMatches(bound, LastPathComponent(process.argv0));
}

std::vector<std::string> RunningGames(const std::vector<platform::ProcessNames>& processes,
                                      const std::vector<std::string>& boundNames)
{
    std::vector<std::string> running;
    for (const std::string& bound : boundNames) {
        if (std::any_of(processes.begin(), processes.end(),
                        [&](const platform::ProcessNames& p) { return ProcessRunsGame(p, bound); }))
            running.push_back(bound);
    }
    std::sort(running.begin(), running.end());
    return running;
}

uint32_t RunningGamesMask(const platform::ProcessNames& process, const std::vector<std::string>& boundNames)
{
    const std::string exe = LastPathComponent(process.exe), argv0 = LastPathComponent(process.argv0);
    uint32_t mask = 0;
    for (size_t i = 0; i < boundNames.size() && i < 32; ++i)
        if (GameNameMatches(boundNames[i], exe) || GameNameMatches(boundNames[i], argv0)) mask |= 1u << i;
    return mask;
}

std::vector<int> ProfilesWithRunningGames(const GameBindings& bindings, const std::vector<std::string>& running)
{
    std::vector<int> profiles;
    for (int p = 0; p < kProfileCount; ++p) {
        for (const std::string& name : bindings.names[p]) {
            if (std::find(running.begin(), running.end(), name) != running.end()) {
                profiles.push_back(p);
                break;
            }
        }
    }
    return profiles;
}
