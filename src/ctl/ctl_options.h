#pragma once
// The command line of tevlanctl: global options, the command and its own
// options, checked before anything touches a file or the mouse. A mistake
// here is a usage error (exit code 2) with a message that says what to type.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Exit codes; scripts depend on them.
enum CtlExit : int {
    kExitOk = 0,
    kExitBadFile = 1,   // an input file cannot be read or is not valid (or the output file cannot be written)
    kExitUsage = 2,
    kExitNoMouse = 3,
    kExitDeviceIo = 4,  // includes a permission error on the mouse's hidraw nodes
};

enum class CtlDevice { Auto, Sim };

enum class CtlCommand { None, Help, Version, List, Status, Apply, Reset, ProfileShow, ProfileNew, MacrosShow };

struct CtlOptions {
    CtlDevice device = CtlDevice::Auto;
    std::optional<std::string> dataDir;
    bool trace = false;
    bool json = false;

    // The simulated mouse.
    uint8_t simSensor = 0x25;
    uint8_t simBattery = 80;
    uint8_t simCharge = 0;
    bool simA = true;
    bool simB = false;
    int simFailWrites = 0;  // the next N feature writes fail
    int simFailReads = 0;   // the next N feature reads fail

    CtlCommand command = CtlCommand::None;
    std::string file;                 // apply (optional), profile show/new, macros show
    std::optional<uint16_t> sensor;   // apply, profile new, profile show
    std::optional<int> index;         // profile new
    bool force = false;               // profile new: replace an existing file
};

struct CtlParseResult {
    CtlOptions options;
    std::string error;  // non-empty: a usage error, in words for the user
};

// args excludes the program name.
CtlParseResult ParseCtlArguments(const std::vector<std::string>& args);

// --help and the short reminder printed after a usage error.
std::string CtlHelpText();
std::string CtlVersionText();

// Number parsing shared with the commands: "0x25" or "37" (range checked by
// the caller); nullopt when the text is not a whole number.
std::optional<long> ParseCtlNumber(const std::string& text);
// A sensor identifier: hexadecimal with or without "0x" ("0x3325", "3325").
std::optional<uint16_t> ParseCtlSensor(const std::string& text);
