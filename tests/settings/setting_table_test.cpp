// The table of settings against the rules it names: what get prints, set
// reads back and it changes nothing (an entry the rule does not let set
// change may be refused), and a change makes due the report the descriptor
// names (a wrong group would leave the change off the mouse).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "command/set_command.h"
#include "command/setting_table.h"
#include "settings/dpi_step_table.h"

namespace {

// Values a setting might be typed as, to find one that changes it.
std::vector<long> Candidates(const SettingDescriptor& d)
{
    switch (d.kind) {
    case SettingKind::Number: return {d.min, d.max, (d.min + d.max) / 2, d.min + 1, 500};
    case SettingKind::Switch: return {0, 1};
    case SettingKind::Colour: return {0x123456, 0};
    case SettingKind::Word: return {0, 1, 2, 3};
    }
    return {};
}

class SettingTableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        BuildDpiStepTable(0x3325);
        ResetProfileToDefaults(profile, 0);
        ApplySensorDpiDefaults(profile);
    }
    ProfileRecord profile;
};

TEST_F(SettingTableTest, WhatGetPrintsSetReadsBackAndChangesNothing)
{
    for (const SettingDescriptor& d : SettingTable()) {
        for (int i = 0; i < std::max(d.indexCount, 1); ++i) {
            std::vector<std::string> words = {"set", d.name};
            if (d.indexCount) words.push_back(std::to_string(i + 1));
            words.push_back(d.text(profile, i));
            const ProfileRecord before = profile;
            const CommandOutcome o = RunSetCommand(words, profile);
            EXPECT_NE(o.kind, CommandOutcome::Usage) << d.name << " " << words.back();
            EXPECT_FALSE(o.changed) << d.name << " " << words.back();
            EXPECT_EQ(profile, before) << d.name;
        }
    }
}

TEST_F(SettingTableTest, AChangeMakesDueTheReportItsDescriptorNames)
{
    for (const SettingDescriptor& d : SettingTable()) {
        bool changed = false;
        for (long v : Candidates(d)) {
            ProfileRecord p = profile;
            const SettingChange c = d.edit(p, d.indexCount ? 1 : 0, v);
            if (!c.Changed()) continue;
            changed = true;
            EXPECT_EQ(c.group, d.group) << d.name;
            break;
        }
        EXPECT_TRUE(changed) << d.name << ": no value changed it";
    }
}

}  // namespace
