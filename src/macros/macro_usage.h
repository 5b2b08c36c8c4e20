#pragma once
// Which buttons play a macro. A button names its macro by the label after
// the macro prefix (text 190); deleting that macro leaves the button naming
// nothing, and the next apply turns it off. The manager asks here first so
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
// by profile, button by button. `labelPrefix` is what the labels carry
// before the name.
std::vector<MacroUse> ButtonsUsingMacro(const ProfileTable& profiles, const std::u16string& name,
                                        const std::u16string& labelPrefix);
// The same on the program's profiles and label prefix.
std::vector<MacroUse> ButtonsUsingMacro(const std::u16string& name);

// One line per use, "<profile name>: button <n>" (text 485, buttons counted
// from 1 as the button list shows them).
std::u16string DescribeMacroUses(const ProfileTable& profiles, const std::vector<MacroUse>& uses);
