#include "app/app_options.h"

#include <cerrno>
#include <cstdlib>

namespace {

// "0x25", "37": a whole number in 0..255.
std::optional<uint8_t> ParseByte(const std::string& text)
{
    if (text.empty()) return std::nullopt;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* begin = text.c_str() + (hex ? 2 : 0);
    if (*begin == '\0' || *begin == '-' || *begin == '+' || *begin == ' ') return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const unsigned long v = std::strtoul(begin, &end, hex ? 16 : 10);
    if (errno != 0 || *end != '\0' || v > 255) return std::nullopt;
    return static_cast<uint8_t>(v);
}

}  // namespace

AppParseResult ParseAppArguments(const std::vector<std::string>& args)
{
    AppParseResult r;
    AppOptions& o = r.options;
    auto fail = [&r](std::string message) {
        r.error = std::move(message);
        return r;
    };
    for (size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> inlineValue;
        if (name.rfind("--", 0) == 0) {
            if (size_t eq = name.find('='); eq != std::string::npos) {
                inlineValue = name.substr(eq + 1);
                name.resize(eq);
            }
        }
        std::string value;
        auto needValue = [&]() {
            if (inlineValue) {
                value = *inlineValue;
                return true;
            }
            if (i + 1 >= args.size()) return false;
            value = args[++i];
            return true;
        };
        auto noValue = [&]() { return !inlineValue; };

        if (name == "--help" || name == "-h") {
            o.help = true;
        } else if (name == "--trace") {
            if (!noValue()) return fail("--trace takes no value");
            o.trace = true;
        } else if (name == "--bench-first-frame") {
            if (!noValue()) return fail("--bench-first-frame takes no value");
            o.benchFirstFrame = true;
        } else if (name == "--device") {
            if (!needValue()) return fail("--device needs a value: auto or sim");
            if (value == "auto")
                o.device = AppDevice::Auto;
            else if (value == "sim")
                o.device = AppDevice::Sim;
            else
                return fail("--device takes auto (the real mouse) or sim (the simulated one), not '" + value + "'");
        } else if (name == "--data-dir") {
            if (!needValue() || value.empty()) return fail("--data-dir needs a folder");
            o.dataDir = value;
        } else if (name == "--sim-sensor" || name == "--sim-battery" || name == "--sim-charge") {
            if (!needValue()) return fail(name + " needs a number");
            std::optional<uint8_t> b = ParseByte(value);
            if (!b) return fail(name + " takes a number from 0 to 255 (decimal or 0x..), not '" + value + "'");
            if (name == "--sim-sensor") {
                o.simSensor = *b;
            } else if (name == "--sim-battery") {
                o.simBattery = *b;
            } else {
                if (*b > 2) return fail("--sim-charge takes 0 (not charging), 1 (charging) or 2 (full)");
                o.simCharge = *b;
            }
        } else if (name == "--sim-products") {
            if (!needValue()) return fail("--sim-products needs a value: A, B, AB or none");
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
        } else {
            return fail("unknown option '" + args[i] + "' (try --help)");
        }
    }
    return r;
}

std::string AppHelpText()
{
    return R"(usage: tevlan [options]

Configures the mouse's profiles, buttons, DPI levels, sensor, lighting and macros.

  --device auto|sim      the real mouse (auto, the default) or a simulated one
  --data-dir DIR         keep the configuration files in DIR instead of
                         ~/.config/TevlanData20230427A
  --trace                print every HID report on standard error
  --sim-sensor CODE      simulated mouse: sensor code of its status answer (0x25)
  --sim-battery N        simulated mouse: battery percent (80)
  --sim-charge N         simulated mouse: 0 not charging, 1 charging, 2 full (0)
  --sim-products A|B|AB|none
                         simulated mouse: plugged in by cable (A, the default),
                         through its receiver (B), both (AB) or not at all (none)
  --help

With --device sim the main window (and the tray menu) also offers:
  F9   press the simulated mouse's DPI button (shows the on-screen display)
  F10  unplug / plug in the cable (product 5B2E)
  F11  unplug / plug in the receiver (product 5B2F)
Unplugging the last connection ends the program, as with a real mouse.
)";
}
