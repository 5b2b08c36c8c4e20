#pragma once
// `set NAME [N] VALUE` on one profile record, through the setting's
// descriptor (setting_table.h): the value is parsed as the setting is typed,
// changed by the core's edit rule, and a refusal ends with what the setting
// takes, since the command line has no slider to show the range.
#include <string>
#include <vector>

#include "command/command_outcome.h"
#include "profile/profile_record.h"

// words: "set", NAME, [N,] VALUE. The profile may be half changed when the
// outcome is not Done; the caller puts it back.
CommandOutcome RunSetCommand(const std::vector<std::string>& words, ProfileRecord& profile);

// "dpi 3 2000": what a done set says, the setting as get shows it now.
std::string SetResultText(const std::vector<std::string>& words, const ProfileRecord& profile);
