#pragma once
// One change to the loaded profiles, settings table or macro library, given
// as the words a person types after `tevlanctl`:
//
//   set NAME [N] VALUE        one setting of a profile (see setting_table.h)
//   button N FUNCTION...      button 1..8 of a profile
//   profile select|add|rename|delete|import N ...
//   macros import FILE | add-set NAME | delete-set NAME | add SET NAME
//
// Both owners of the data folder run a change through here: the window when
// a request reaches it over the instance socket, tevlanctl when no window
// runs. Each then sends the groups named in the outcome and saves, so the
// files and the reports come out the same either way. Nothing is shown and
// nothing is written to disk here, except by the profile list operations and
// the macro library edits, whose core functions save themselves.
//
// Window thread (or tevlanctl's only thread): g_profiles, g_settings, g_macroLibrary.
#include <string>
#include <vector>

#include "command/command_outcome.h"
#include "profile/macro_model.h"

// `profile` is the 0-based index the change applies to (-1: the active one).
// `macroPath` is where the library is saved after a macro edit.
CommandOutcome RunProfileCommand(const std::vector<std::string>& words, int profile, MacroLibrary& library,
                                 const std::string& macroPath);
