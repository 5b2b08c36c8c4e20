#include "platform/shell/autostart.h"

#include "platform/fs/file_system.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

bool Fail(std::string* error, const std::string& what)
{
    if (error) *error = what + ": " + std::strerror(errno);
    return false;
}

// Every missing level of the entry's folder, as mkdir -p.
bool MakeFolders(const std::string& folder, std::string* error)
{
    for (size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const std::string level = folder.substr(0, slash);
        if (!level.empty() && ::mkdir(level.c_str(), 0755) != 0 && errno != EEXIST) return Fail(error, level);
        if (slash == std::string::npos) return true;
    }
}

// A command line as the desktop entry format wants it: an argument with a
// blank or a quote goes in double quotes, with its quotes, backslashes and
// dollar signs escaped.
std::string QuoteExecArgument(const std::string& arg)
{
    if (arg.find_first_of(" \t\"'\\$`") == std::string::npos) return arg;
    std::string quoted = "\"";
    for (char c : arg) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

}  // namespace

std::string AutostartEntryPath(const std::string& xdgConfigHome, const std::string& home)
{
    // A relative XDG_CONFIG_HOME is invalid and to be ignored.
    if (!xdgConfigHome.empty() && xdgConfigHome.front() == '/') return xdgConfigHome + "/autostart/tevlan.desktop";
    if (home.empty()) return {};
    return home + "/.config/autostart/tevlan.desktop";
}

std::string AutostartCommand(const std::string& executablePath)
{
    // Installed programs stay findable by name across upgrades and prefixes.
    if (executablePath == "/usr/bin/tevlan" || executablePath == "/usr/local/bin/tevlan" || executablePath.empty())
        return "tevlan";
    return QuoteExecArgument(executablePath);
}

std::string AutostartEntryText(const std::string& command)
{
    std::ostringstream t;
    t << "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=Tevlan\n"
         "Name[zh_CN]=Tevlan 鼠标设置\n"
         "Comment=Keep the mouse settings at hand in the tray\n"
         "Comment[zh_CN]=在托盘中随时打开鼠标设置\n"
      << "Exec=" << command << " --hidden\n"
      << "Icon=tevlan\n"
         "Terminal=false\n"
         "NoDisplay=true\n"
         "X-GNOME-Autostart-enabled=true\n";
    return t.str();
}

bool IsAutostartOn(const std::string& path)
{
    std::ifstream in(path);
    if (!in) return false;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line == "Hidden=true" || line == "X-GNOME-Autostart-enabled=false") return false;
    }
    return true;
}

bool SetAutostart(const std::string& path, bool on, const std::string& command, std::string* error)
{
    if (path.empty()) {
        if (error) *error = "no home folder";
        return false;
    }
    if (!on) {
        if (::unlink(path.c_str()) != 0 && errno != ENOENT) return Fail(error, path);
        return true;
    }
    if (!MakeFolders(path.substr(0, path.rfind('/')), error)) return false;
    // Atomic like every file the program writes: a half-written entry would
    // start nothing, or the wrong thing, at the next login.
    errno = 0;
    if (!WriteFileAtomic(path, AutostartEntryText(command))) return Fail(error, path);
    return true;
}

}  // namespace platform
