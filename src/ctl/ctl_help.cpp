#include "ctl/ctl_options.h"

#include <algorithm>

#include "command/setting_table.h"
#include "tevlan_version.h"

namespace {

// A help text with its "{settings}" line filled in: one line per setting of
// the table, its name and what it takes.
std::string WithSettingsList(std::string text)
{
    const size_t at = text.find("{settings}");
    if (at == std::string::npos) return text;
    constexpr size_t kColumn = 23, kWidth = 79;
    std::string list;
    for (const SettingDescriptor& d : SettingTable()) {
        std::string line = "  " + SettingSynopsis(d);
        line.resize(std::max(line.size() + 1, kColumn), ' ');
        // Long lines break at a space and go on under the help column.
        for (std::string help = SettingHelpLine(d);;) {
            const size_t room = kWidth - line.size();
            const size_t cut = help.size() <= room ? std::string::npos : help.rfind(' ', room);
            line += help.substr(0, cut);
            list += line + "\n";
            if (cut == std::string::npos) break;
            help.erase(0, cut + 1);
            line.assign(kColumn, ' ');
        }
    }
    return text.replace(at, 10, list);
}

}  // namespace

std::string CtlVersionText() { return std::string("tevlanctl ") + kTevlanVersion + "\n"; }

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
                         Without FILE and --sensor, a running window of the
                         data folder does it, with its own progress.
  reset                  factory reset of the mouse; no file is touched. A running
                         window of the data folder does it and also sets its
                         active profile back to its defaults, as its button does
  profile show FILE.psf  decode a profile file
  profile new FILE.psf   write a profile file at its reset values. Options:
                         --index N (0-4, whose profile name it gets; default 0),
                         --sensor 0xNNNN, --force (replace an existing file)
  macros show FILE.mlf   decode a macro library file
  get [NAME [N]]         settings of a profile (man tevlanctl lists the names); with
                         a running window of the data folder, what the window holds
  set NAME [N] VALUE     one setting, with the window's rules: set dpi 2 1600,
                         set polling 500, set lighting breathing, ...
  button N FUNCTION      bind button 1-8: left, dpi-up, fire 50 3, Ctrl+Shift+A,
                         play-pause, macro SET NAME, disabled, ...
  profile list|select N|add NAME|rename N NAME|delete N|import N FILE|export N FILE
  macros list|import FILE|export FILE|add-set NAME|delete-set NAME|add SET NAME
                         changes go to a running window of the same data folder,
                         else tevlanctl changes the files and sends what changed
  watch                  print the mouse's events (DPI, polling, arrival, removal,
                         battery below 20/10/5 %) with the time until interrupted

Options (before the command):
  --device auto|sim      the real mouse (auto, the default) or the simulated one
  --data-dir DIR         the data folder (default: $XDG_CONFIG_HOME/TevlanData20230427A,
                         else ~/.config/TevlanData20230427A)
  --trace                print every HID report on standard error: "W" and the 33
                         bytes of a feature report written, "R" and the 33 bytes
                         of a feature report read, "I" and an input report
  --json                 print one JSON document on standard output; on failure
                         {"error":"...","exitCode":N}, the message also on standard error
  --profile N            get, set, button: profile N (1-5) instead of the active one
  --product cable|receiver
                         with both present, use only the cable or the receiver
  --sim-events LIST      watch with the simulated mouse: dpi@MS, polling=N@MS,
                         unplug@MS, plug@MS, battery=N@MS, stop@MS
  --sim-sensor CODE      simulated mouse: sensor code of its status answer (0x25)
  --sim-battery N        simulated mouse: battery percent (80)
  --sim-charge N         simulated mouse: charge state, 0 none, 1 charging, 2 full (0)
  --sim-products A|B|AB|none
                         simulated mouse: plugged in by cable (A, the default), through
                         its receiver (B), both (AB), or not at all (none)
  --sim-fail-writes N, --sim-fail-reads N
                         simulated mouse: the next N feature reports written (read) fail
  -h, --help             this text; after a command, that command's help
  -V, --version          the version

Only set, button and the changing profile and macros commands write to the data
folder, as the program would; the others never repair or rewrite it (profile
new, profile export and macros export write only the file they name). Texts
such as profile names come from the language files, as in the program.

Exit codes:
  0  done
  1  an input file cannot be read or is not valid, a file cannot be written, or
     a change was refused
  2  usage error
  3  no mouse found
  4  device I/O error, including no permission to open the mouse; or standard
     output cannot be written; or the running window could not be reached, or
     its socket folder or the process serving it is not the user's own (nothing
     is sent then)

The mouse's hidraw nodes need the udev rule 70-tevlan.rules. When it is missing
or not applied yet, the error says what to run: for an installed tevlanctl,
sudo udevadm control --reload && sudo udevadm trigger

'tevlanctl COMMAND --help' explains one command; man tevlanctl explains all.

Examples:
  tevlanctl status
  tevlanctl --trace apply ~/my.psf
  tevlanctl --device sim --sim-charge 1 --json status
)";
}

std::string CtlCommandHelpText(const std::string& topic)
{
    static const char* const kExits = R"(
Exit codes: 0 done, 1 bad input file or refused change, 2 usage error,
3 no mouse found, 4 device I/O error or no permission to open the mouse.
)";
    struct Entry {
        const char* topic;
        const char* text;
    };
    static const Entry kEntries[] = {
        {"list", R"(Usage: tevlanctl [--json] list

Shows the mouse's HID interfaces: path, product (0x5B2E cable, 0x5B2F
receiver), input and feature report lengths, and the role the program gives
each one (input, feature or ignored). Interfaces that cannot be opened are
named on standard error with what to do.
JSON: {"interfaces":[{"path","product","inputReportLength",
"featureReportLength","role"}]}
)"},
        {"status", R"(Usage: tevlanctl [--json] status

Asks the mouse for its sensor, battery percent and charge state.
JSON: {"sensor":"0x3325" or null,"sensorCode":N,"battery":N,
"charge":"none"|"charging"|"full"}
)"},
        {"apply", R"(Usage: tevlanctl [--json] apply [--sensor 0xNNNN] [FILE.psf]

Writes a profile to the mouse: every setting, every button and the macros the
buttons name, each sent once. Without FILE, the active profile of the data
folder. --sensor chooses the DPI scale (else the data folder's sensor, else
0x3325). Macros come from the data folder's macro library.
JSON: {"profile","source","sensor","reports":N,"macros":[{"name","index"}]}
Without FILE and --sensor, a running window of the same data folder applies
its active profile, with its own progress; JSON then:
{"version":1,"changed":false,"result","by":"window"}
)"},
        {"reset", R"(Usage: tevlanctl [--json] reset

Factory reset of the mouse; no file is touched.
JSON: {"reset":true}
A running window of the same data folder does the reset as its button does:
it also sets its active profile back to its defaults and saves it. JSON then:
{"version":1,"changed":true,"result","by":"window"}
)"},
        {"profile show", R"(Usage: tevlanctl [--json] profile show [--sensor 0xNNNN] FILE.psf

Decodes a profile file: settings, DPI levels, polling rate, lighting and
buttons. --sensor only labels the DPI values.
JSON: {"settings":[{"key","value"}],"buttons":[{"label","code":[3 bytes],
"macro":{"name","actionNum","actions"}}],"PollingRateName",
"PollingRateValue", "lighting":{...}, and the DPI fields}
)"},
        {"profile new", R"(Usage: tevlanctl [--json] profile new [--index N] [--sensor 0xNNNN] [--force] FILE.psf

Writes a profile file at its reset values. --index N (0-4) chooses whose
profile name it gets (default 0); --force replaces an existing file.
JSON: {"file","profile","index":N,"sensor"}
)"},
        {"macros show", R"(Usage: tevlanctl [--json] macros show FILE.mlf

Decodes a macro library file: its sets, macros and their actions.
)"},
        {"get", R"(Usage: tevlanctl [--json] [--profile N] get [NAME [N]]

Prints the settings of the active profile (--profile N: profile N, 1-5), one
per line, or only the setting NAME, or only its entry N. Values are printed
as set takes them. With a running window of the same data folder, the values
are the window's, saved or not yet. The names and the values set takes:
{settings}JSON: {"version":1,"profile":N,"by":"window"|"files","settings":{"dpi":[8
numbers],"dpiLevel":N,"polling":N,"lighting":"breathing",...}}
)"},
        {"set", R"(Usage: tevlanctl [--json] [--profile N] set NAME [N] VALUE

Changes one setting of the active profile (--profile N: profile N, 1-5) with
the program's rules, like: set dpi 2 1600 (the nearest step at or above),
set dpi-enabled 3 off, set dpi-colour 1 #FF8000, set dpi-level 2,
set polling 500, set lift-off low, set debounce 8, set sleep 5,
set lighting breathing, set brightness 75, set wheel-lines 3.
'tevlanctl get --help' lists the names. With a running window of the same
data folder the window makes the change; else tevlanctl changes the files and
sends what changed to the mouse. A refused change prints the program's message,
exits 1 and changes nothing.
JSON: {"version":1,"changed":true|false,"result","by":"window"|"files"}
)"},
        {"button", R"(Usage: tevlanctl [--json] [--profile N] button N FUNCTION

Binds button N (1-8) of the active profile (--profile N: profile N) to a
function: left, right, middle, forward, back, triple-click, profile-switch,
disabled, dpi-up, dpi-down, dpi-cycle, dpi-lock-200 ... dpi-lock-1200,
media-player, previous-track, next-track, stop, play-pause, mute, volume-up,
volume-down, email, calculator, copy, paste, cut, select-all, new, save, print,
file-manager, undo, computer, close-window, show-desktop, run,
minimize-window, maximize-window; fire INTERVAL COUNT (5-255, 0-255);
a key combination like Ctrl+Shift+A (Ctrl, Shift, Alt, Win); macro SET NAME;
code TT PP EE (three bytes in hex). Quote names with spaces. Goes through a
running window as set does.
JSON: {"version":1,"changed":true|false,"result","by":"window"|"files"}
)"},
        {"profile list", R"(Usage: tevlanctl [--json] profile list

Lists the profiles by number (1-5) and name; * marks the active one.
JSON: {"version":1,"active":N,
"profiles":[{"number":N,"name","active":true|false}]}
)"},
        {"profile select", R"(Usage: tevlanctl [--json] profile select N

Makes profile N (1-5) the active one and sends it to the mouse. With a running
window of the same data folder the window switches.
JSON: {"version":1,"changed":true|false,"result","by":"window"|"files"}
)"},
        {"profile add", R"(Usage: tevlanctl [--json] profile add NAME

Adds a profile named NAME at its reset values, in the first free place (five
at most).
JSON: {"version":1,"changed":true|false,"result","by":"window"|"files"}
)"},
        {"profile rename", R"(Usage: tevlanctl [--json] profile rename N NAME

Renames profile N (1-5).
JSON: {"version":1,"changed":true|false,"result","by":"window"|"files"}
)"},
        {"profile delete", R"(Usage: tevlanctl [--json] profile delete N

Deletes profile N (1-5), with the program's rules.
JSON: {"version":1,"changed":true|false,"result","by":"window"|"files"}
)"},
        {"profile import", R"(Usage: tevlanctl [--json] profile import N FILE.psf

Replaces profile N (1-5) with a profile file; when it is the active profile,
it is sent to the mouse.
JSON: {"version":1,"changed":true|false,"result","by":"window"|"files"}
)"},
        {"profile export", R"(Usage: tevlanctl profile export N FILE.psf

Writes profile N (1-5) of the data folder to FILE.psf. Changes nothing else.
)"},
        {"profile games", R"(Usage: tevlanctl [--json] profile games N
       tevlanctl [--json] profile games N set K NAME

Shows the three programs that select profile N (1-5) while they run, or binds
NAME as game K (1-3): an executable's file name, a path cut to its last part,
"" to clear it. Names ending in .exe match in any case, others exactly.
JSON: {"version":1,"profile":N,"games":[names]}; set: as profile rename
)"},
        {"macros list", R"(Usage: tevlanctl [--json] macros list

Lists the sets of the data folder's macro library and their macros.
JSON: {"version":1,"sets":[{"name","macros":[names]}]}
)"},
        {"macros import", R"(Usage: tevlanctl [--json] macros import FILE.mlf

Replaces the data folder's macro library with a macro library file; a file
that cannot be read changes nothing.
JSON: {"version":1,"changed":true|false,"result","by":"window"|"files"}
)"},
        {"macros export", R"(Usage: tevlanctl macros export FILE.mlf

Writes the data folder's macro library to FILE.mlf. Changes nothing else.
)"},
        {"macros add-set", R"(Usage: tevlanctl [--json] macros add-set NAME

Adds an empty macro set named NAME to the library.
JSON: {"version":1,"changed":true|false,"result","by":"window"|"files"}
)"},
        {"macros delete-set", R"(Usage: tevlanctl [--json] macros delete-set NAME

Deletes the macro set named NAME from the library.
JSON: {"version":1,"changed":true|false,"result","by":"window"|"files"}
)"},
        {"macros add", R"(Usage: tevlanctl [--json] macros add SET NAME

Adds an empty macro named NAME (up to 24 characters) to the set SET.
JSON: {"version":1,"changed":true|false,"result","by":"window"|"files"}
)"},
        {"watch", R"(Usage: tevlanctl [--json] [--product cable|receiver] watch

Prints the mouse's own events with the UTC time, one line each, until
interrupted (Ctrl+C or SIGTERM); waits through an unplugged mouse:
  dpi level=N dpi=N          the DPI button changed the level
  polling rateHz=N           the polling rate changed
  arrived PRODUCT, removed PRODUCT   (cable or receiver)
  battery percent=N below=M  the battery fell below 20, 10 or 5 %
With --device sim, --sim-events dpi@MS,polling=N@MS,unplug@MS,plug@MS,
battery=N@MS,stop@MS scripts the simulated mouse (MS: milliseconds after the
start; polling=N: the interval in ms; stop ends the watch).
JSON, one object per line: {"version":1,"time","event","product",
"level","dpi","rateHz","percent","below"} (the members of that event)
)"},
    };
    std::string text;
    for (const Entry& e : kEntries) {
        const std::string t = e.topic;
        // "profile" alone explains both of its commands.
        if (t == topic || (t.size() > topic.size() && t.compare(0, topic.size() + 1, topic + " ") == 0))
            text += (text.empty() ? "" : "\n") + WithSettingsList(e.text);
    }
    return text.empty() ? text : text + kExits;
}
