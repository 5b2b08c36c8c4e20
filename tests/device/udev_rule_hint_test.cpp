// The access hint names the rule where this very program can find it.
#include "device/udev_rule_hint.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_folder.h"

namespace {

const std::string kReload = "sudo udevadm control --reload && sudo udevadm trigger";

TEST(UdevRuleHint, InstalledProgramsNameTheInstalledRuleAndBuildFoldersTheSourceTree)
{
    struct Case {
        ProgramLocation where;
        std::string rulePath;
        bool needsCopy;
    };
    const Case cases[] = {
        // The package and `cmake --install` for /usr and the default /usr/local.
        {{"/usr/bin/tevlan", "", ""}, "/usr/lib/udev/rules.d/70-tevlan.rules", false},
        {{"/usr/local/bin/tevlanctl", "", ""}, "/etc/udev/rules.d/70-tevlan.rules", false},
        // Another prefix keeps the rule where udev does not look.
        {{"/opt/tv/bin/tevlan", "", ""}, "/opt/tv/lib/udev/rules.d/70-tevlan.rules", true},
        // A rule folder chosen when building, absolute or under the prefix.
        {{"/opt/tv/bin/tevlan", "", "/etc/udev/rules.d"}, "/etc/udev/rules.d/70-tevlan.rules", false},
        {{"/opt/tv/bin/tevlan", "", "rules"}, "/opt/tv/rules/70-tevlan.rules", true},
        // Run from a build folder: the source tree's copy, whatever the prefix.
        {{"/home/u/tevlan/build/tevlan", "/home/u/tevlan", ""}, "/home/u/tevlan/data/70-tevlan.rules", true},
    };
    for (const Case& c : cases) {
        const UdevRuleHint hint = UdevRuleHintFor(c.where);
        EXPECT_EQ(hint.rulePath, c.rulePath) << c.where.executablePath;
        EXPECT_EQ(hint.needsCopy, c.needsCopy) << c.where.executablePath;
        EXPECT_EQ(hint.commands, c.needsCopy ? "sudo cp " + c.rulePath + " /etc/udev/rules.d/ && " + kReload : kReload)
            << c.where.executablePath;
    }
}

TEST(UdevRuleHint, BuildFolderIsKnownByItsCMakeCache)
{
    TempFolder build("tvl-hint-");
    const std::string exe = build.Path().string() + "/tevlan";
    EXPECT_EQ(LocateProgram(exe).sourceFolder, "");  // no cache: an installed copy
    std::ofstream(build.Path() / "CMakeCache.txt") << "CMAKE_BUILD_TYPE:STRING=Debug\n"
                                                     "CMAKE_HOME_DIRECTORY:INTERNAL=/src/tevlan\n";
    EXPECT_EQ(LocateProgram(exe).sourceFolder, "/src/tevlan");
    EXPECT_EQ(UdevRuleHintFor(LocateProgram(exe)).rulePath, "/src/tevlan/data/70-tevlan.rules");
}

}  // namespace
