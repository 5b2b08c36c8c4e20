#pragma once
// The command line of tevlanctl: global options, the command and its own
// options, checked before anything touches a file or the mouse. A mistake
// here is a usage error (exit code 2) with a message that says what to type.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/cmdline/device_options.h"

// Exit codes; scripts depend on them.
enum CtlExit : int {
    kExitOk = 0,
    kExitBadFile = 1,   // an input file cannot be read or is not valid (or the output file cannot be written)
    kExitUsage = 2,
    kExitNoMouse = 3,
    kExitDeviceIo = 4,  // includes a permission error on the mouse's hidraw nodes
};

using CtlDevice = platform::DeviceChoice;

enum class CtlCommand { None, Help, Version, List, Status, Apply, Reset, ProfileShow, ProfileNew, MacrosShow, Words };

// The shared options (device, data folder, trace, simulated mouse) and tevlanctl's own.
struct CtlOptions : platform::DeviceOptions {
    bool json = false;

    // The simulated mouse's failures.
    int simFailWrites = 0;  // the next N feature writes fail
    int simFailReads = 0;   // the next N feature reads fail

    CtlCommand command = CtlCommand::None;
    std::string file;                 // apply (optional), profile show/new, macros show
    std::optional<uint16_t> sensor;   // apply, profile new, profile show
    std::optional<int> index;         // profile new
    bool force = false;               // profile new: replace an existing file
    std::string helpTopic;            // Help: the command it is about ("profile new"); empty: everything
    // Words: the commands on the data folder's profiles (ctl_change.h), as typed.
    std::vector<std::string> words;
    std::optional<int> profile;       // --profile N, 0-based
    std::optional<uint16_t> product;  // --product cable|receiver: only that one is used
    std::string simEvents;            // --sim-events: what the simulated mouse does during watch
};

struct CtlParseResult {
    CtlOptions options;
    std::string error;  // non-empty: a usage error, in words for the user
};

// args excludes the program name.
CtlParseResult ParseCtlArguments(const std::vector<std::string>& args);

// --help and the short reminder printed after a usage error.
std::string CtlHelpText();
// The help of one command ("status", "profile", "profile new"); empty for an unknown one.
std::string CtlCommandHelpText(const std::string& topic);
std::string CtlVersionText();

// A sensor identifier: hexadecimal with or without "0x" ("0x3325", "3325").
std::optional<uint16_t> ParseCtlSensor(const std::string& text);
