#pragma once
// Which games are bound to which profile, and which of them run. A profile
// binds up to three games by their executable's file name (GameFile0..2).
// Names are compared exactly, except names ending in ".exe", which Windows
// programs under Wine spell in any case and so compare case-insensitively.
// Only shown profiles bind: a hidden (deleted) profile's games are ignored.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "persist/profile_slots.h"
#include "platform/procs/process_list.h"
#include "profile/profile_record.h"

constexpr int kGameSlotCount = 3;

// The UTF-8 names bound to each shown profile; empty entries left out.
struct GameBindings {
    std::array<std::vector<std::string>, kProfileCount> names;

    bool operator==(const GameBindings&) const = default;
    bool Any() const;
    // Every bound name once, sorted.
    std::vector<std::string> AllNames() const;
};

GameBindings ReadGameBindings(const ProfileTable& profiles, const ProfileSlots& slots);

// The game's name in slot 0..2 of a profile, and storing one.
std::u16string GetGameFile(const ProfileRecord& record, int slot);
void SetGameFile(ProfileRecord& record, int slot, const std::u16string& name);

// What follows the last '/' or '\' (Wine writes Windows paths into argv[0]).
std::string LastPathComponent(const std::string& path);
// The names a process shows: its executable's, then its first argument's
// when that differs (either may be empty).
std::vector<std::string> ProcessGameNames(const platform::ProcessNames& process);

// What a typed or pasted entry binds: surrounding blanks and line breaks
// removed (a line break would split the profile file's line), and a whole
// path reduced to its file name, which is all the match looks at.
std::u16string GameNameFromInput(const std::u16string& typed);
// The names of the running programs a user can choose from, each once, in
// alphabetical order regardless of case.
std::vector<std::u16string> RunningProgramNames(const std::vector<platform::ProcessNames>& processes);

bool GameNameMatches(const std::string& bound, const std::string& name);
// By the last component of the executable's path or of the first argument.
bool ProcessRunsGame(const platform::ProcessNames& process, const std::string& bound);

// The bound names (from boundNames, sorted) that some process runs.
std::vector<std::string> RunningGames(const std::vector<platform::ProcessNames>& processes,
                                      const std::vector<std::string>& boundNames);
// Bit i set when the process runs boundNames[i] (the first 32 names).
uint32_t RunningGamesMask(const platform::ProcessNames& process, const std::vector<std::string>& boundNames);
// The profiles, ascending, that bind one of the running names.
std::vector<int> ProfilesWithRunningGames(const GameBindings& bindings, const std::vector<std::string>& running);
