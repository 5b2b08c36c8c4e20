#include "platform/cmdline/device_options.h"

#include <cerrno>
#include <cstdlib>

namespace platform {

OptionArg SplitOption(const std::string& arg)
{
    OptionArg option;
    if (size_t eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
        option.name = arg.substr(0, eq);
        option.inlineValue = arg.substr(eq + 1);
    } else {
        option.name = arg;
    }
    return option;
}

bool TakeOptionValue(const OptionArg& option, const std::vector<std::string>& args, size_t& i, std::string& value)
{
    if (option.inlineValue) {
        value = *option.inlineValue;
        return true;
    }
    if (i + 1 >= args.size())
        return false;
    value = args[++i];
    return true;
}

std::optional<long> ParseWholeNumber(const std::string& text)
{
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* begin = text.c_str() + (hex ? 2 : 0);
    // strtol would accept a sign or leading blanks, also after "0x".
    if (*begin == '\0' || *begin == '-' || *begin == '+' || *begin == ' ')
        return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(begin, &end, hex ? 16 : 10);
    if (errno != 0 || end == begin || *end != '\0')
        return std::nullopt;
    return v;
}

OptionResult ParseByteOption(const OptionArg& option, const std::vector<std::string>& args, size_t& i,
                             const char* what, uint8_t& into, std::string* error)
{
    std::string value;
    if (!TakeOptionValue(option, args, i, value)) {
        *error = option.name + " needs a value: " + what;
        return OptionResult::Error;
    }
    std::optional<long> v = ParseWholeNumber(value);
    if (!v || *v > 255) {
        *error = option.name + " takes a number from 0 to 255 (decimal, or hexadecimal with 0x), not '" + value + "'";
        return OptionResult::Error;
    }
    into = uint8_t(*v);
    return OptionResult::Taken;
}

OptionResult ParseDeviceOption(const OptionArg& option, const std::vector<std::string>& args, size_t& i,
                               DeviceOptions& into, std::string* error)
{
    const std::string& name = option.name;
    std::string value;
    auto fail = [error](std::string message) {
        *error = std::move(message);
        return OptionResult::Error;
    };
    auto byteValue = [&](const char* what, uint8_t& out) { return ParseByteOption(option, args, i, what, out, error); };

    if (name == "--trace") {
        if (option.inlineValue)
            return fail("--trace takes no value");
        into.trace = true;
        return OptionResult::Taken;
    }
    if (name == "--device") {
        if (!TakeOptionValue(option, args, i, value))
            return fail("--device needs a value: auto or sim");
        if (value == "auto")
            into.device = DeviceChoice::Auto;
        else if (value == "sim")
            into.device = DeviceChoice::Sim;
        else
            return fail("--device takes auto (the real mouse) or sim (the simulated mouse), not '" + value + "'");
        return OptionResult::Taken;
    }
    if (name == "--data-dir") {
        if (!TakeOptionValue(option, args, i, value) || value.empty())
            return fail("--data-dir needs a folder");
        into.dataDir = value;
        return OptionResult::Taken;
    }
    if (name == "--sim-sensor")
        return byteValue("the sensor code, like 0x25", into.simSensor);
    if (name == "--sim-battery")
        return byteValue("the battery percent, like 80", into.simBattery);
    if (name == "--sim-charge")
        return byteValue("the charge state: 0 none, 1 charging, 2 full", into.simCharge);
    if (name == "--sim-products") {
        if (!TakeOptionValue(option, args, i, value))
            return fail("--sim-products needs a value: A, B, AB or none");
        if (value == "A" || value == "a") {
            into.simA = true, into.simB = false;
        } else if (value == "B" || value == "b") {
            into.simA = false, into.simB = true;
        } else if (value == "AB" || value == "ab" || value == "BA" || value == "ba") {
            into.simA = into.simB = true;
        } else if (value == "none") {
            into.simA = into.simB = false;
        } else {
            return fail("--sim-products takes A (cable), B (receiver), AB (both) or none, not '" + value + "'");
        }
        return OptionResult::Taken;
    }
    return OptionResult::NotShared;
}

}  // namespace platform
