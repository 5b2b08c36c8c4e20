#pragma once
// What a user who may not open the mouse has to run, with the paths of this
// very program: the installed rule when the program is installed, the source
// tree's rule when it runs from a build folder.
#include <string>

inline constexpr const char* kUdevRuleName = "70-tevlan.rules";

// Where the program runs from.
struct ProgramLocation {
    std::string executablePath;     // full path of the running program
    std::string sourceFolder;       // non-empty: a build folder of this source tree
    std::string configuredRuleDir;  // the rule folder chosen when building; empty: by install prefix
};

struct UdevRuleHint {
    std::string rulePath;  // the rule file to use
    bool needsCopy;        // the rule is not where udev reads rules: copy it first
    std::string commands;  // one shell line that does all of it
};

// The build folder is recognised by CMakeCache.txt next to the program,
// whose CMAKE_HOME_DIRECTORY names the source tree.
ProgramLocation LocateProgram(const std::string& executablePath);

UdevRuleHint UdevRuleHintFor(const ProgramLocation& where);

// For a session that the rule's seat access never reaches (a remote login,
// a session without a seat): one shell line that installs a rule of the
// user's own giving the mouse to the group `group`, adds the user to it and
// lets udev apply it. The group takes effect at the next login.
std::string GroupRuleCommands(const std::string& group = "plugdev");
