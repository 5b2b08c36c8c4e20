#pragma once
// The command line of the tevlan program. The desktop program needs none of
// it; the options exist for development and for trying it without a mouse:
//
//   --device auto|sim     the real mouse (hidraw, the default) or the simulated one
//   --data-dir DIR        the data folder itself instead of ~/.config/TevlanData20230427A
//   --trace               every HID report on standard error (the tevlanctl format)
//   --sim-sensor CODE     simulated mouse: sensor code of its status answer (0x25)
//   --sim-battery N       simulated mouse: battery percent (80)
//   --sim-charge N        simulated mouse: 0 not charging, 1 charging, 2 full (0)
//   --sim-products A|B|AB|none   simulated mouse: cable, receiver, both or unplugged (A)
//   --bench-first-frame   print the wall-clock time of the first painted frame and quit
//   --hidden              start with only the tray icon (the autostart entry uses it)
//   --help/-h, --version/-V
//
// Options take their value as the next argument or after '=' (--device=sim).
#include <string>
#include <vector>

#include "platform/cmdline/device_options.h"

using AppDevice = platform::DeviceChoice;

// The shared options (device, data folder, trace, simulated mouse) and the
// program's own.
struct AppOptions : platform::DeviceOptions {
    bool benchFirstFrame = false;
    bool help = false;
    bool version = false;
    bool hidden = false;  // start in the tray
};

struct AppParseResult {
    AppOptions options;
    std::string error;  // non-empty: what was wrong, in words for the user
};

// args excludes the program name.
AppParseResult ParseAppArguments(const std::vector<std::string>& args);
std::string AppHelpText();
std::string AppVersionText();
