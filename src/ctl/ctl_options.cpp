#include "ctl/ctl_options.h"

#include "ctl/ctl_change.h"

#include <cctype>
#include <cstdlib>


namespace {

// Which commands take which of the command options; the rest is a usage error.
bool TakesSensor(CtlCommand c)
{
    return c == CtlCommand::Apply || c == CtlCommand::ProfileNew || c == CtlCommand::ProfileShow;
}

std::string CommandName(CtlCommand c)
{
    switch (c) {
    case CtlCommand::List: return "list";
    case CtlCommand::Status: return "status";
    case CtlCommand::Apply: return "apply";
    case CtlCommand::Reset: return "reset";
    case CtlCommand::ProfileShow: return "profile show";
    case CtlCommand::ProfileNew: return "profile new";
    case CtlCommand::MacrosShow: return "macros show";
    default: return "";
    }
}

bool EndsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Options that take their value as the next argument.
bool TakesValue(const std::string& arg)
{
    for (const char* name : {"--device", "--data-dir", "--sim-sensor", "--sim-battery", "--sim-charge",
                             "--sim-products", "--sim-fail-writes", "--sim-fail-reads", "--sensor", "--index",
                             "--profile", "--product", "--sim-events"})
        if (arg == name) return true;
    return false;
}

// The command a line that asks for help names, as its help topic: "--help"
// anywhere explains the command on the line, or everything when none is.
std::string HelpTopicOf(const std::vector<std::string>& args)
{
    std::vector<std::string> words;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--") break;
        if (args[i].empty() || args[i][0] != '-') words.push_back(args[i]);
        else if (TakesValue(args[i])) ++i;
    }
    if (!words.empty() && words[0] == "help") words.erase(words.begin());
    if (words.empty()) return {};
    if ((words[0] == "profile" || words[0] == "macros") && words.size() > 1 &&
        !CtlCommandHelpText(words[0] + " " + words[1]).empty())
        return words[0] + " " + words[1];
    return words[0];
}

}  // namespace

std::optional<uint16_t> ParseCtlSensor(const std::string& text)
{
    std::string digits = text;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X'))
        digits = digits.substr(2);
    if (digits.empty() || digits.size() > 4)
        return std::nullopt;
    for (char c : digits)
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
    return uint16_t(std::strtoul(digits.c_str(), nullptr, 16));
}

namespace {

// One option of the line, "--name value" or "--name=value"; argument i may
// move past the value. Returns a usage error, or empty.
std::string ParseOption(const std::vector<std::string>& args, size_t& i, const std::string& arg, CtlOptions& o)
{
    const platform::OptionArg option = platform::SplitOption(arg);
    const std::string& name = option.name;
    const bool hasValue = option.inlineValue.has_value();
    std::string value;
    auto needValue = [&]() { return platform::TakeOptionValue(option, args, i, value); };

    if (name == "--version" && !hasValue) {
        o.command = CtlCommand::Version;
    } else if (name == "--json" && !hasValue) {
        o.json = true;
    } else if (name == "--force" && !hasValue) {
        o.force = true;
    } else if (name == "--sim-fail-writes" || name == "--sim-fail-reads") {
        uint8_t n = 0;
        std::string error;
        if (platform::ParseByteOption(option, args, i, "how many", n, &error) == platform::OptionResult::Error)
            return error;
        (name == "--sim-fail-writes" ? o.simFailWrites : o.simFailReads) = n;
    } else if (name == "--sensor") {
        if (!needValue()) return "--sensor needs a sensor identifier, like 0x3325";
        std::optional<uint16_t> s = ParseCtlSensor(value);
        if (!s) return "--sensor takes a sensor identifier in hexadecimal, like 0x3325, not '" + value + "'";
        o.sensor = s;
    } else if (name == "--product") {
        if (!needValue() || (value != "cable" && value != "receiver")) return "--product takes cable or receiver";
        o.product = value == "cable" ? 0x5B2E : 0x5B2F;
    } else if (name == "--sim-events") {
        if (!needValue()) return "--sim-events needs a list like dpi@100,unplug@300,plug@500";
        o.simEvents = value;
    } else if (name == "--profile") {
        std::optional<long> v;
        if (!needValue() || !(v = platform::ParseWholeNumber(value)) || *v < 1 || *v > 5)
            return "--profile takes a profile number from 1 to 5";
        o.profile = int(*v) - 1;
    } else if (name == "--index") {
        if (!needValue()) return "--index needs a profile index from 0 to 4";
        std::optional<long> v = platform::ParseWholeNumber(value);
        if (!v || *v > 4) return "--index takes a profile index from 0 to 4, not '" + value + "'";
        o.index = int(*v);
    } else {
        std::string error;
        switch (platform::ParseDeviceOption(option, args, i, o, &error)) {
        case platform::OptionResult::Taken: break;
        case platform::OptionResult::Error: return error;
        case platform::OptionResult::NotShared: return "unknown option " + name;
        }
    }
    return {};
}

// The command the words name; argsFrom is set to its first argument. Returns
// a usage error, or empty.
std::string ParseCommandWords(const std::vector<std::string>& words, const std::vector<std::string>& args,
                              CtlOptions& o, size_t& argsFrom)
{
    const std::string& cmd = words[0];
    argsFrom = 1;
    if (o.profile) return "--profile belongs to get, set and button, not to '" + cmd + "'";
    if (cmd == "list") {
        o.command = CtlCommand::List;
    } else if (cmd == "status") {
        o.command = CtlCommand::Status;
    } else if (cmd == "apply") {
        o.command = CtlCommand::Apply;
    } else if (cmd == "reset") {
        o.command = CtlCommand::Reset;
    } else if (cmd == "help") {
        o.command = CtlCommand::Help;
        o.helpTopic = HelpTopicOf(args);
        if (!o.helpTopic.empty() && CtlCommandHelpText(o.helpTopic).empty())
            return "no help on '" + o.helpTopic + "': it is not a command";
    } else if (cmd == "profile" || cmd == "macros") {
        if (words.size() < 2)
            return cmd == "profile" ? "'profile' needs show or new, like: tevlanctl profile show FILE.psf"
                                    : "'macros' needs show, like: tevlanctl macros show FILE.mlf";
        const std::string& sub = words[1];
        argsFrom = 2;
        if (cmd == "profile" && sub == "show")
            o.command = CtlCommand::ProfileShow;
        else if (cmd == "profile" && sub == "new")
            o.command = CtlCommand::ProfileNew;
        else if (cmd == "macros" && sub == "show")
            o.command = CtlCommand::MacrosShow;
        else
            return "unknown command '" + cmd + " " + sub + "'";
    } else {
        return "unknown command '" + cmd + "'";
    }
    return {};
}

// The command's file and which of the command options it may take.
std::string CheckCommandArguments(const std::vector<std::string>& words, size_t argsFrom, CtlOptions& o)
{
    const size_t extra = words.size() - argsFrom;
    const bool needsFile = o.command == CtlCommand::ProfileShow || o.command == CtlCommand::ProfileNew ||
                           o.command == CtlCommand::MacrosShow;
    const bool mayTakeFile = needsFile || o.command == CtlCommand::Apply;
    const std::string name = CommandName(o.command);
    if (needsFile && extra == 0)
        return "'" + name + "' needs a file name, like: tevlanctl " + name +
               (o.command == CtlCommand::MacrosShow ? " FILE.mlf" : " FILE.psf");
    if (extra > (mayTakeFile ? 1u : 0u))
        return "too many arguments for '" + name + "': " + words[argsFrom + (mayTakeFile ? 1 : 0)];
    if (extra == 1) o.file = words[argsFrom];
    if (o.command == CtlCommand::ProfileNew && !EndsWith(o.file, ".psf"))
        return "'profile new' writes a profile file; give it a name ending in .psf";

    if (o.sensor && !TakesSensor(o.command))
        return "--sensor belongs to apply, profile show and profile new, not to '" + name + "'";
    if (o.index && o.command != CtlCommand::ProfileNew)
        return "--index belongs to 'profile new', not to '" + name + "'";
    if (o.force && o.command != CtlCommand::ProfileNew)
        return "--force belongs to 'profile new', not to '" + name + "'";
    return {};
}

}  // namespace

CtlParseResult ParseCtlArguments(const std::vector<std::string>& args)
{
    CtlParseResult r;
    CtlOptions& o = r.options;
    for (const std::string& arg : args) {
        if (arg == "--") break;
        if (arg == "--help" || arg == "-h") {
            o.command = CtlCommand::Help;  // help wins over everything else on the line
            o.helpTopic = HelpTopicOf(args);
            return r;
        }
    }

    std::vector<std::string> words;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        if (arg == "-V") arg = "--version";
        if (optionsEnded || arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
            if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
                r.error = "unknown option " + arg + " (options are spelled with two dashes, like --help)";
                return r;
            }
            words.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else if ((r.error = ParseOption(args, i, arg, o)).size() || o.command == CtlCommand::Version) {
            return r;
        }
    }

    if (words.empty()) {
        r.error = "no command given";
    } else if (IsCtlWordsCommand(words)) {
        o.command = CtlCommand::Words;
        o.words = words;
    } else if (size_t argsFrom = 1; (r.error = ParseCommandWords(words, args, o, argsFrom)).empty() &&
                                    o.command != CtlCommand::Help) {
        r.error = CheckCommandArguments(words, argsFrom, o);
    }
    return r;
}
