#include "device/udev_rule_hint.h"

#include <fstream>

#ifndef TEVLAN_UDEV_RULES_DIR
#define TEVLAN_UDEV_RULES_DIR ""
#endif

namespace {

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// The folders udev reads rules from; a rule anywhere else does nothing.
bool UdevReads(const std::string& folder)
{
    for (const char* d : {"/etc/udev/rules.d", "/usr/lib/udev/rules.d", "/lib/udev/rules.d", "/run/udev/rules.d"})
        if (folder == d) return true;
    return false;
}

std::string SourceFolderFromCache(const std::string& cachePath)
{
    std::ifstream f(cachePath);
    const std::string key = "CMAKE_HOME_DIRECTORY:INTERNAL=";
    for (std::string line; std::getline(f, line);)
        if (line.compare(0, key.size(), key) == 0) return line.substr(key.size());
    return {};
}

}  // namespace

ProgramLocation LocateProgram(const std::string& executablePath)
{
    ProgramLocation where;
    where.executablePath = executablePath;
    where.configuredRuleDir = TEVLAN_UDEV_RULES_DIR;
    if (!executablePath.empty())
        where.sourceFolder = SourceFolderFromCache(FolderOf(executablePath) + "/CMakeCache.txt");
    return where;
}

UdevRuleHint UdevRuleHintFor(const ProgramLocation& where)
{
    const std::string reload = "sudo udevadm control --reload && sudo udevadm trigger";
    UdevRuleHint hint;
    std::string folder;
    if (!where.sourceFolder.empty()) {
        folder = where.sourceFolder + "/data";
    } else {
        // <prefix>/bin/tevlan: the install step chose the folder by prefix.
        std::string prefix = FolderOf(FolderOf(where.executablePath));
        if (prefix.empty()) prefix = "/usr";
        const std::string& configured = where.configuredRuleDir;
        if (!configured.empty())
            folder = configured.front() == '/' ? configured : prefix + "/" + configured;
        else if (prefix == "/usr")
            folder = "/usr/lib/udev/rules.d";
        else if (prefix == "/usr/local")
            folder = "/etc/udev/rules.d";
        else
            folder = prefix + "/lib/udev/rules.d";
    }
    hint.rulePath = folder + "/" + kUdevRuleName;
    hint.needsCopy = !UdevReads(folder);
    hint.commands = hint.needsCopy ? "sudo cp " + hint.rulePath + " /etc/udev/rules.d/ && " + reload : reload;
    return hint;
}

std::string GroupRuleCommands(const std::string& group)
{
    // Numbered after the package's rule so that an administrator's copy of
    // it stays in charge of the seat access.
    return "printf '%s\\n' 'KERNEL==\"hidraw*\", SUBSYSTEM==\"hidraw\", KERNELS==\"0003:248A:5B2[EF].*\", GROUP=\"" +
           group + "\", MODE=\"0660\"' | sudo tee /etc/udev/rules.d/71-tevlan-group.rules >/dev/null && sudo usermod -aG " +
           group + " \"$USER\" && sudo udevadm control --reload && sudo udevadm trigger";
}
