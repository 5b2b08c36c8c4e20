#pragma once
// The user's own running programs, by what a game binding can match: the
// executable's path and the first command-line argument (a Wine game or a
// script shows its own name only in the latter).
#include <string>
#include <vector>

namespace platform {

struct ProcessNames {
    std::string exe;    // /proc/PID/exe's target without " (deleted)", empty when unreadable
    std::string argv0;  // the first command-line argument
    bool operator==(const ProcessNames&) const = default;
};

// Reads the listing once, without a cache (the games dialog's list).
std::vector<ProcessNames> ListOwnProcesses();

}  // namespace platform
