#include "app/app_options.h"

#include "tevlan_version.h"

AppParseResult ParseAppArguments(const std::vector<std::string>& args)
{
    AppParseResult r;
    AppOptions& o = r.options;
    auto fail = [&r](std::string message) {
        r.error = std::move(message);
        return r;
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const platform::OptionArg option = platform::SplitOption(args[i]);
        if (option.name == "--help" || option.name == "-h") {
            o.help = true;
        } else if (option.name == "--version" || option.name == "-V") {
            o.version = true;
        } else if (option.name == "--hidden") {
            if (option.inlineValue) return fail("--hidden takes no value");
            o.hidden = true;
        } else if (option.name == "--bench-first-frame") {
            if (option.inlineValue) return fail("--bench-first-frame takes no value");
            o.benchFirstFrame = true;
        } else {
            std::string error;
            switch (platform::ParseDeviceOption(option, args, i, o, &error)) {
            case platform::OptionResult::Taken:
                break;
            case platform::OptionResult::Error:
                return fail(error);
            case platform::OptionResult::NotShared:
                return fail("unknown option '" + args[i] + "' (try --help)");
            }
            // The window shows only the three charge states the mouse reports.
            if (option.name == "--sim-charge" && o.simCharge > 2)
                return fail("--sim-charge takes 0 (not charging), 1 (charging) or 2 (full)");
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
  --hidden               start with only the tray icon (the window opens from
                         it); where the desktop has no tray the window shows
  -h, --help             this text
  -V, --version          the program's version

With --device sim the main window (and the tray menu) also offers:
  F9   press the simulated mouse's DPI button (shows the on-screen display)
  F10  unplug / plug in the cable (product 5B2E)
  F11  unplug / plug in the receiver (product 5B2F)
Unplugging the last connection ends the program, as with a real mouse.
)";
}

std::string AppVersionText() { return std::string("tevlan ") + kTevlanVersion + "\n"; }
