#include "platform/shell/mouse_settings.h"

#include <algorithm>
#include <cctype>

#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

std::vector<std::string> Split(const std::string& s, char sep) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t end = s.find(sep, start);
        parts.push_back(s.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

std::string Lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool IsExecutableFile(const std::string& path) {
    struct stat st{};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

}  // namespace

const std::vector<MouseSettingsCandidate>& MouseSettingsCandidates() {
    static const std::vector<MouseSettingsCandidate> kCandidates = {
        {{"gnome-control-center", {"mouse"}, {}}, {"GNOME", "Unity", "Pantheon"}},
        {{"systemsettings", {"kcm_mouse"}, {}}, {"KDE"}},
        {{"kcmshell6", {"kcm_mouse"}, {}}, {"KDE"}},
        {{"kcmshell5", {"mouse"}, {}}, {"KDE"}},
        {{"xfce4-mouse-settings", {}, {}}, {"XFCE"}},
        {{"cinnamon-settings", {"mouse"}, {}}, {"X-Cinnamon", "Cinnamon"}},
        {{"mate-mouse-properties", {}, {}}, {"MATE"}},
        {{"budgie-control-center", {"mouse"}, {}}, {"Budgie"}},
        {{"lxqt-config-input", {}, {}}, {"LXQt"}},
        {{"lxinput", {}, {}}, {"LXDE"}},
    };
    return kCandidates;
}

std::optional<std::string> FindInPath(const std::string& program, const std::string& pathVar) {
    if (program.empty() || program.find('/') != std::string::npos) return std::nullopt;
    for (std::string dir : Split(pathVar, ':')) {
        if (dir.empty() || dir[0] != '/') continue;
        while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
        std::string full = (dir == "/" ? "" : dir) + "/" + program;
        if (IsExecutableFile(full)) return full;
    }
    return std::nullopt;
}

std::optional<SettingsCommand> FindMouseSettingsCommand(const std::string& pathVar,
                                                        const std::string& currentDesktop) {
    std::vector<std::string> running;
    for (const std::string& d : Split(currentDesktop, ':'))
        if (!d.empty()) running.push_back(Lower(d));
    auto ofRunningDesktop = [&](const MouseSettingsCandidate& c) {
        return std::any_of(c.desktops.begin(), c.desktops.end(), [&](const std::string& d) {
            return std::find(running.begin(), running.end(), Lower(d)) != running.end();
        });
    };
    // On a KDE machine that also has GNOME's tools, KDE's settings are the
    // ones the user knows; so the running desktop's programs go first.
    std::vector<const MouseSettingsCandidate*> order;
    for (const auto& c : MouseSettingsCandidates())
        if (ofRunningDesktop(c)) order.push_back(&c);
    for (const auto& c : MouseSettingsCandidates())
        if (!ofRunningDesktop(c)) order.push_back(&c);
    for (const MouseSettingsCandidate* c : order) {
        if (std::optional<std::string> found = FindInPath(c->command.program, pathVar)) {
            SettingsCommand cmd = c->command;
            cmd.path = *found;
            return cmd;
        }
    }
    return std::nullopt;
}

}  // namespace platform
