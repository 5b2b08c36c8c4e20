#pragma once
// Finding the desktop's own mouse settings program. Every desktop has its
// own; we try the known ones, those of the running desktop first, and take
// the first that is installed. Finding none is not an error: the button then
// simply does nothing.
#include <optional>
#include <string>
#include <vector>

namespace platform {

struct SettingsCommand {
    std::string program;            // as named in the table
    std::vector<std::string> args;
    std::string path;               // where it was found (filled by the search)
};

struct MouseSettingsCandidate {
    SettingsCommand command;
    // XDG_CURRENT_DESKTOP names this program belongs to.
    std::vector<std::string> desktops;
};

// The known programs in the order they are tried when the desktop is unknown.
const std::vector<MouseSettingsCandidate>& MouseSettingsCandidates();

// The absolute path of an executable file called `program` in one of the
// folders of pathVar (':'-separated). Empty and relative entries are
// skipped: a settings button must not run whatever lies in the current folder.
std::optional<std::string> FindInPath(const std::string& program, const std::string& pathVar);

// The first installed candidate. currentDesktop is XDG_CURRENT_DESKTOP
// (':'-separated, compared without regard to case).
std::optional<SettingsCommand> FindMouseSettingsCommand(const std::string& pathVar,
                                                        const std::string& currentDesktop);

}  // namespace platform
