#pragma once
// `tevlanctl watch`: one line (or JSON object) per thing the mouse reports,
// with the time: a DPI level change with its value, a polling-rate change,
// the mouse arriving or going, the battery falling below 20, 10 and 5 %.
// Runs until interrupted (SIGINT or SIGTERM); an unplugged mouse is waited for.
#include <ostream>

#include "ctl/ctl_data.h"
#include "ctl/ctl_options.h"

int RunCtlWatch(const CtlOptions& options, const CtlFolders& folders, std::ostream& out, std::ostream& err);
