#pragma once
// The command-line options tevlan and tevlanctl share: which mouse (the real
// one through hidraw or the simulated one), the data folder, the report trace
// and the simulated mouse's answers. Each program walks its own command line
// and hands every "--name" it does not know itself to ParseDeviceOption, so
// both spell, check and explain these options the same way.
//
// Plain C++: the parsing is tested without any backend.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

enum class DeviceChoice { Auto, Sim };

struct DeviceOptions {
    DeviceChoice device = DeviceChoice::Auto;
    std::optional<std::string> dataDir;
    bool trace = false;

    // The simulated mouse: its status answer and where it is plugged in.
    uint8_t simSensor = 0x25;
    uint8_t simBattery = 80;
    uint8_t simCharge = 0;
    bool simA = true;   // cable, product 5B2E
    bool simB = false;  // receiver, product 5B2F
};

// "--name=value" split at its first '='; "--name" alone has no inline value.
struct OptionArg {
    std::string name;
    std::optional<std::string> inlineValue;
};
OptionArg SplitOption(const std::string& arg);

// The option's value: the text after '=', else the next argument, which it
// consumes by advancing `i`. false when there is neither.
bool TakeOptionValue(const OptionArg& option, const std::vector<std::string>& args, size_t& i, std::string& value);

// "0x25" or "37": a whole number, decimal or hexadecimal after "0x", with no
// sign and no spaces; nullopt for anything else or on overflow. The caller
// checks the range.
std::optional<long> ParseWholeNumber(const std::string& text);

enum class OptionResult { NotShared, Taken, Error };

// An option whose value is a number from 0 to 255; `what` describes the value
// for the message when it is missing ("the battery percent, like 80").
// Taken or Error.
OptionResult ParseByteOption(const OptionArg& option, const std::vector<std::string>& args, size_t& i,
                             const char* what, uint8_t& into, std::string* error);

// Reads `option` (the argument at args[i]) into `into` when it is one of the
// shared options, taking its value as TakeOptionValue does. On Error, *error
// says what was wrong in words for the user.
OptionResult ParseDeviceOption(const OptionArg& option, const std::vector<std::string>& args, size_t& i,
                               DeviceOptions& into, std::string* error);

}  // namespace platform
