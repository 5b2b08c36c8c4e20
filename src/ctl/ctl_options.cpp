#include "ctl/ctl_options.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

#ifndef TEVLAN_VERSION
#define TEVLAN_VERSION "unknown"
#endif

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

}  // namespace

std::optional<long> ParseCtlNumber(const std::string& text)
{
    if (text.empty() || text[0] == '-' || text[0] == '+' || text[0] == ' ')
        return std::nullopt;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    errno = 0;
    char* end = nullptr;
    const long v = std::strtol(text.c_str() + (hex ? 2 : 0), &end, hex ? 16 : 10);
    if (errno != 0 || end == text.c_str() + (hex ? 2 : 0) || *end != '\0')
        return std::nullopt;
    return v;
}

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

CtlParseResult ParseCtlArguments(const std::vector<std::string>& args)
{
    CtlParseResult r;
    CtlOptions& o = r.options;
    std::vector<std::string> words;
    bool optionsEnded = false;

    auto fail = [&r](std::string message) {
        r.error = std::move(message);
        return r;
    };

    for (size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
            if (!optionsEnded && arg.size() > 1 && arg[0] == '-')
                return fail("unknown option " + arg + " (options are spelled with two dashes, like --help)");
            words.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        // "--name value" and "--name=value" are both accepted.
        std::string name = arg, value;
        bool hasValue = false;
        if (size_t eq = arg.find('='); eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
            hasValue = true;
        }
        auto needValue = [&](const char* what) -> bool {
            if (hasValue)
                return true;
            if (i + 1 >= args.size())
                return false;
            value = args[++i];
            (void)what;
            return true;
        };
        auto byteValue = [&](const char* what, uint8_t& into) -> std::string {
            if (!needValue(what))
                return name + " needs a value: " + what;
            std::optional<long> v = ParseCtlNumber(value);
            if (!v || *v < 0 || *v > 255)
                return name + " takes a number from 0 to 255 (decimal, or hexadecimal with 0x), not '" + value + "'";
            into = uint8_t(*v);
            return {};
        };

        if (name == "--help" && !hasValue) {
            o.command = CtlCommand::Help;
            return r;  // help wins over everything else on the line
        } else if (name == "--version" && !hasValue) {
            o.command = CtlCommand::Version;
            return r;
        } else if (name == "--trace" && !hasValue) {
            o.trace = true;
        } else if (name == "--json" && !hasValue) {
            o.json = true;
        } else if (name == "--force" && !hasValue) {
            o.force = true;
        } else if (name == "--device") {
            if (!needValue("auto or sim"))
                return fail("--device needs a value: auto or sim");
            if (value == "auto")
                o.device = CtlDevice::Auto;
            else if (value == "sim")
                o.device = CtlDevice::Sim;
            else
                return fail("--device takes auto (the real mouse) or sim (the simulated mouse), not '" + value + "'");
        } else if (name == "--data-dir") {
            if (!needValue("a folder") || value.empty())
                return fail("--data-dir needs a folder");
            o.dataDir = value;
        } else if (name == "--sim-sensor") {
            if (std::string e = byteValue("the sensor code, like 0x25", o.simSensor); !e.empty())
                return fail(e);
        } else if (name == "--sim-battery") {
            if (std::string e = byteValue("the battery percent, like 80", o.simBattery); !e.empty())
                return fail(e);
        } else if (name == "--sim-charge") {
            if (std::string e = byteValue("the charge state: 0 none, 1 charging, 2 full", o.simCharge); !e.empty())
                return fail(e);
        } else if (name == "--sim-products") {
            if (!needValue("A, B, AB or none"))
                return fail("--sim-products needs a value: A, B, AB or none");
            if (value == "A" || value == "a") {
                o.simA = true, o.simB = false;
            } else if (value == "B" || value == "b") {
                o.simA = false, o.simB = true;
            } else if (value == "AB" || value == "ab" || value == "BA" || value == "ba") {
                o.simA = o.simB = true;
            } else if (value == "none") {
                o.simA = o.simB = false;
            } else {
                return fail("--sim-products takes A (cable), B (receiver), AB (both) or none, not '" + value + "'");
            }
        } else if (name == "--sim-fail-writes" || name == "--sim-fail-reads") {
            uint8_t n = 0;
            if (std::string e = byteValue("how many", n); !e.empty())
                return fail(e);
            (name == "--sim-fail-writes" ? o.simFailWrites : o.simFailReads) = n;
        } else if (name == "--sensor") {
            if (!needValue("a sensor identifier"))
                return fail("--sensor needs a sensor identifier, like 0x3325");
            std::optional<uint16_t> s = ParseCtlSensor(value);
            if (!s)
                return fail("--sensor takes a sensor identifier in hexadecimal, like 0x3325, not '" + value + "'");
            o.sensor = s;
        } else if (name == "--index") {
            if (!needValue("a profile index"))
                return fail("--index needs a profile index from 0 to 4");
            std::optional<long> v = ParseCtlNumber(value);
            if (!v || *v > 4)
                return fail("--index takes a profile index from 0 to 4, not '" + value + "'");
            o.index = int(*v);
        } else {
            return fail("unknown option " + name);
        }
    }

    if (words.empty())
        return fail("no command given");
    const std::string& cmd = words[0];
    size_t argsFrom = 1;
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
        return r;
    } else if (cmd == "profile" || cmd == "macros") {
        if (words.size() < 2)
            return fail(cmd == "profile" ? "'profile' needs show or new, like: tevlanctl profile show FILE.psf"
                                         : "'macros' needs show, like: tevlanctl macros show FILE.mlf");
        const std::string& sub = words[1];
        argsFrom = 2;
        if (cmd == "profile" && sub == "show")
            o.command = CtlCommand::ProfileShow;
        else if (cmd == "profile" && sub == "new")
            o.command = CtlCommand::ProfileNew;
        else if (cmd == "macros" && sub == "show")
            o.command = CtlCommand::MacrosShow;
        else
            return fail("unknown command '" + cmd + " " + sub + "'");
    } else {
        return fail("unknown command '" + cmd + "'");
    }

    const size_t extra = words.size() - argsFrom;
    const bool needsFile = o.command == CtlCommand::ProfileShow || o.command == CtlCommand::ProfileNew ||
                           o.command == CtlCommand::MacrosShow;
    const bool mayTakeFile = needsFile || o.command == CtlCommand::Apply;
    const std::string name = CommandName(o.command);
    if (needsFile && extra == 0)
        return fail("'" + name + "' needs a file name, like: tevlanctl " + name +
                    (o.command == CtlCommand::MacrosShow ? " FILE.mlf" : " FILE.psf"));
    if (extra > (mayTakeFile ? 1u : 0u))
        return fail("too many arguments for '" + name + "': " + words[argsFrom + (mayTakeFile ? 1 : 0)]);
    if (extra == 1)
        o.file = words[argsFrom];
    if (o.command == CtlCommand::ProfileNew && !EndsWith(o.file, ".psf"))
        return fail("'profile new' writes a profile file; give it a name ending in .psf");

    if (o.sensor && !TakesSensor(o.command))
        return fail("--sensor belongs to apply, profile show and profile new, not to '" + name + "'");
    if (o.index && o.command != CtlCommand::ProfileNew)
        return fail("--index belongs to 'profile new', not to '" + name + "'");
    if (o.force && o.command != CtlCommand::ProfileNew)
        return fail("--force belongs to 'profile new', not to '" + name + "'");
    return r;
}

std::string CtlVersionText() { return std::string("tevlanctl ") + TEVLAN_VERSION + "\n"; }

std::string CtlHelpText()
{
    return R"(tevlanctl - check and set up the Tevlan mouse from the command line

Usage: tevlanctl [OPTIONS] COMMAND [ARGS]

Commands:
  list                   show the mouse's HID interfaces: path, product, input and
                         feature report lengths, and the role the program gives
                         each one (input, feature or ignored)
  status                 ask the mouse for its sensor, battery percent and charge
                         state (none, charging, full)
  apply [FILE.psf]       write a profile to the mouse: every setting, every button
                         and the macros the buttons name, each sent once, paced as
                         the program paces them. Without FILE, the active profile
                         of the data folder. Option: --sensor 0xNNNN chooses the
                         DPI scale (else the data folder's sensor, else 0x3325).
                         Macros come from the data folder's macro library.
  reset                  factory reset of the mouse; no file is touched
  profile show FILE.psf  decode a profile file
  profile new FILE.psf   write a profile file at its reset values. Options:
                         --index N (0-4, whose profile name it gets; default 0),
                         --sensor 0xNNNN, --force (replace an existing file)
  macros show FILE.mlf   decode a macro library file

Options (before the command):
  --device auto|sim      the real mouse (auto, the default) or the simulated one
  --data-dir DIR         the data folder (default: $XDG_CONFIG_HOME/TevlanData20230427A,
                         else ~/.config/TevlanData20230427A)
  --trace                print every HID report on standard error: "W" and the 33
                         bytes of a feature report written, "R" and the 33 bytes
                         of a feature report read, "I" and an input report
  --json                 print one JSON document on standard output
  --sim-sensor CODE      simulated mouse: sensor code of its status answer (0x25)
  --sim-battery N        simulated mouse: battery percent (80)
  --sim-charge N         simulated mouse: charge state, 0 none, 1 charging, 2 full (0)
  --sim-products A|B|AB|none
                         simulated mouse: plugged in by cable (A, the default), through
                         its receiver (B), both (AB), or not at all (none)
  --sim-fail-writes N, --sim-fail-reads N
                         simulated mouse: the next N feature reports written (read) fail
  --help, --version

tevlanctl reads the data folder but never repairs or rewrites it; the only file
it writes is the one 'profile new' names. Texts such as profile names come from
the language files, as in the program.

Exit codes:
  0  done
  1  an input file cannot be read or is not valid, or the new file cannot be written
  2  usage error
  3  no mouse found
  4  device I/O error, including no permission to open the mouse

The mouse's hidraw nodes need the udev rule 70-tevlan.rules (installed by
'sudo cmake --install build'), then: sudo udevadm control --reload && sudo udevadm trigger

Examples:
  tevlanctl status
  tevlanctl --trace apply ~/my.psf
  tevlanctl --device sim --sim-charge 1 --json status
)";
}
