#pragma once
// The desktop's autostart entry for this program: a desktop file in the
// user's autostart folder ($XDG_CONFIG_HOME/autostart, by default
// ~/.config/autostart) that starts it with --hidden, so that it waits in
// the tray. Standard C++; the desktop reads the file at the next login.
#include <string>

namespace platform {

// The entry's path; empty when neither XDG_CONFIG_HOME (absolute) nor a
// home folder is known.
std::string AutostartEntryPath(const std::string& xdgConfigHome, const std::string& home);

// What the entry starts: "tevlan" for the installed program (found on
// PATH), else the executable's full path (a build folder, another prefix).
std::string AutostartCommand(const std::string& executablePath);

// The entry's text, translated name and comment included.
std::string AutostartEntryText(const std::string& command);

// The entry is there and not switched off (Hidden=true or
// X-GNOME-Autostart-enabled=false in it, as desktops' own settings write).
bool IsAutostartOn(const std::string& path);

// Writes the entry (creating the folder) or removes it. Written beside the
// target and renamed over it, so the desktop never reads half a file. False
// with `error` set when it could not be done; nothing else is touched.
bool SetAutostart(const std::string& path, bool on, const std::string& command, std::string* error);

}  // namespace platform
