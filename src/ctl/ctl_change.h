#pragma once
// tevlanctl's commands on the profiles of the data folder:
//
//   get [NAME [N]]                  settings of a profile (--profile N, else the active one)
//   set NAME [N] VALUE              one setting
//   button N FUNCTION...            one button
//   profile list | select N | add NAME | rename N NAME | delete N
//   profile import N FILE | export N FILE
//   macros list | import FILE | export FILE | add-set NAME | delete-set NAME | add SET NAME
//
// A change goes to the running window when there is one for this data
// folder (it applies, sends and saves it as if the user had made it);
// otherwise tevlanctl loads the folder as the window would, makes the change
// through the same core function, sends what changed to the mouse and saves.
#include <ostream>
#include <string>
#include <vector>

#include "ctl/ctl_data.h"
#include "ctl/ctl_options.h"

// Whether the words are one of the commands above (for the option parser).
bool IsCtlWordsCommand(const std::vector<std::string>& words);

int RunCtlWords(const CtlOptions& options, const CtlFolders& folders, std::ostream& out, std::ostream& err);
