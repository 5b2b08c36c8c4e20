#pragma once
// The two folders every path of the program is relative to, as UTF-8 with
// '/' and a trailing '/':
//   g_programFolder   holds skins/ and the shipped config/ language files:
//                     the executable's folder (the build output folder), or
//                     <prefix>/share/tevlan/ for an executable installed in
//                     <prefix>/bin/;
//   g_userDataFolder  $XDG_CONFIG_HOME/TevlanData20230427A/ (or
//                     ~/.config/TevlanData20230427A/), with its config/.
// Relative paths below them use '/' ("config/default0.psf").
//
// Owner: the window thread sets both once at start-up, before anything reads
// a file; they are read-only afterwards. Tests set them to a temporary folder
// with SetDataFolders.
#include <string>

extern std::string g_programFolder;
extern std::string g_userDataFolder;

constexpr const char* kDataFolderName = "TevlanData20230427A";

// What the folders are derived from, so that tests can supply their own.
struct FolderEnvironment {
    std::string executablePath;  // full path of the program file; may be empty
    std::string configHome;      // $XDG_CONFIG_HOME; ignored unless absolute
    std::string home;            // the user's home folder
};

// The running process's environment (executable path, XDG_CONFIG_HOME, HOME).
FolderEnvironment SystemFolderEnvironment();

// The program folder for an executable path: see above. An empty path or one
// without '/' gives an empty folder.
std::string ProgramFolderFor(const std::string& executablePath);
// The data folder for an environment, with its trailing '/'; nothing created.
std::string UserDataFolderFor(const FolderEnvironment& env);

// Sets both folders and creates the data folder (with missing parents) and
// its config/ when they do not exist. Failures to create are ignored: later
// file operations then fail and fall back to their defaults.
void InitDataFolders(const FolderEnvironment& env);
void InitDataFolders();

// Sets the folders as given (a trailing '/' is added when missing) without
// creating anything.
void SetDataFolders(const std::string& programFolder, const std::string& userDataFolder);

// Why a data folder cannot be used, naming the part of its path at fault
// ("/home/u/cfg is a file, not a folder"); empty when it is a folder or
// every part of it that exists is one (the rest can be made).
std::string DataFolderProblem(const std::string& folder);

// g_userDataFolder / g_programFolder followed by a relative path.
std::string UserDataPath(const std::string& relative);
std::string ProgramPath(const std::string& relative);
