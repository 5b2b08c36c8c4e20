#pragma once
// Which buttons play a macro. A button names its macro by its own macro
// copy's name, as the slot pass reads it; deleting that macro leaves the
// button naming nothing, and the next apply turns it off. The manager asks here first so
// that the user learns which buttons would stop working before anything is
// deleted.
#include <string>
#include <vector>

#include "profile/profile_record.h"

struct MacroUse {
    int profile = 0;  // 0..4
    int button = 0;   // record button 0..7
};

// The buttons of `profiles` whose function is a macro named `name`, profile
// by profile, button by button.
std::vector<MacroUse> ButtonsUsingMacro(const ProfileTable& profiles, const std::u16string& name);
// The same on the program's profiles.
std::vector<MacroUse> ButtonsUsingMacro(const std::u16string& name);

// One line per use, "<profile name>: button <n>" (text 485, buttons counted
// from 1 as the button list shows them).
std::u16string DescribeMacroUses(const ProfileTable& profiles, const std::vector<MacroUse>& uses);
