#include "persist/data_folders.h"

#include <cstdio>

#include "platform/fs/file_system.h"
#include "platform/fs/process_paths.h"

std::string g_programFolder;
std::string g_userDataFolder;

namespace {

std::string WithSlash(std::string folder)
{
    if (!folder.empty() && folder.back() != '/') folder.push_back('/');
    return folder;
}

// Creates every missing level of an absolute folder path.
void MakeFolders(const std::string& folder)
{
    if (folder.empty() || platform::DirectoryExists(folder)) return;
    for (size_t slash = folder.find('/', 1); slash != std::string::npos; slash = folder.find('/', slash + 1)) {
        std::string level = folder.substr(0, slash);
        if (!platform::DirectoryExists(level)) platform::MakeDirectory(level);
    }
    platform::MakeDirectory(folder);
}

}  // namespace

FolderEnvironment SystemFolderEnvironment()
{
    FolderEnvironment env;
    env.executablePath = platform::ExecutablePath().value_or(std::string());
    env.configHome = platform::EnvironmentValue("XDG_CONFIG_HOME");
    env.home = platform::HomeFolder();
    return env;
}

std::string ProgramFolderFor(const std::string& executablePath)
{
    size_t slash = executablePath.rfind('/');
    if (slash == std::string::npos) return {};
    std::string folder = executablePath.substr(0, slash + 1);
    if (platform::DirectoryExists(folder + "skins") || platform::DirectoryExists(folder + "config")) return folder;

    // An installed program lives in <prefix>/bin/ and its data in <prefix>/share/tevlan/.
    const std::string bin = "/bin/";
    if (folder.size() >= bin.size() && folder.compare(folder.size() - bin.size(), bin.size(), bin) == 0) {
        std::string shared = folder.substr(0, folder.size() - bin.size()) + "/share/tevlan/";
        if (platform::DirectoryExists(shared)) return shared;
    }
    return folder;
}

std::string UserDataFolderFor(const FolderEnvironment& env)
{
    // A relative XDG_CONFIG_HOME is invalid and is ignored, as the XDG rules say.
    std::string base;
    if (!env.configHome.empty() && env.configHome.front() == '/')
        base = env.configHome;
    else if (!env.home.empty())
        base = WithSlash(env.home) + ".config";
    else
        return {};  // no home: the files fall back to their defaults
    return WithSlash(base) + kDataFolderName + "/";
}

void InitDataFolders(const FolderEnvironment& env)
{
    g_programFolder = ProgramFolderFor(env.executablePath);
    g_userDataFolder = UserDataFolderFor(env);
    if (g_userDataFolder.empty()) return;
    if (const std::string problem = DataFolderProblem(g_userDataFolder); !problem.empty()) {
        // Nothing can be saved; the settings start from their defaults.
        std::fprintf(stderr, "tevlan: the data folder %s cannot be made: %s%s\n", g_userDataFolder.c_str(),
                     problem.c_str(), env.configHome.empty() ? "" : " (check XDG_CONFIG_HOME)");
        return;
    }
    MakeFolders(g_userDataFolder.substr(0, g_userDataFolder.size() - 1));
    std::string config = g_userDataFolder + "config";
    if (!platform::DirectoryExists(config)) platform::MakeDirectory(config);
}

void InitDataFolders()
{
    InitDataFolders(SystemFolderEnvironment());
}

void SetDataFolders(const std::string& programFolder, const std::string& userDataFolder)
{
    g_programFolder = WithSlash(programFolder);
    g_userDataFolder = WithSlash(userDataFolder);
}

std::string DataFolderProblem(const std::string& folder)
{
    // From the folder up to the first part that exists: that one must be a folder.
    std::string part = folder;
    while (part.size() > 1 && part.back() == '/') part.pop_back();
    while (!part.empty()) {
        if (platform::DirectoryExists(part)) return {};
        if (platform::PathExists(part)) return part + " is a file, not a folder";
        const size_t slash = part.rfind('/');
        if (slash == std::string::npos || slash == 0) return {};
        part.resize(slash);
    }
    return {};
}

std::string UserDataPath(const std::string& relative)
{
    return g_userDataFolder + relative;
}

std::string ProgramPath(const std::string& relative)
{
    return g_programFolder + relative;
}
