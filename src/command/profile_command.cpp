#include "command/profile_command.h"

#include <algorithm>
#include <cstdlib>

#include "buttons/button_assignment.h"
#include "buttons/fire_input.h"
#include "buttons/function_names.h"
#include "games/game_binding.h"
#include "macros/macro_edit_values.h"
#include "macros/macro_library_edits.h"
#include "persist/profile_manager.h"
#include "persist/settings_file.h"
#include "base/text_codec.h"
#include "base/ui_text.h"
#include "profile/pending_group.h"
#include "settings/dpi_current_level.h"
#include "settings/dpi_levels.h"
#include "settings/dpi_step_table.h"
#include "settings/lighting_settings.h"
#include "settings/pointer_preferences.h"
#include "settings/sensor_settings.h"

namespace {

// What a refused value is followed by: the values the setting takes, as a
// list (%2 "125, 250, 500, 1000") or as a range (%2 "0-30 (ms, even)").
constexpr int kTextAllowedList = 487;
constexpr int kTextAllowedRange = 488;

bool SameWordAscii(const std::string& a, const char* b)
{
    const std::string other = b;
    return a.size() == other.size() && std::equal(a.begin(), a.end(), other.begin(), [](char x, char y) {
               return (x >= 'A' && x <= 'Z' ? char(x - 'A' + 'a') : x) == y;
           });
}

// Mode byte -> the word for it; the order of the modes' numbers.
constexpr const char* kModeNames[kLightingModeCount] = {"off",     "wave",       "breathing", "steady", "neon",
                                                        "rainbow", "multicolour", "mode7",     "mode8",  "flow"};

const std::vector<SettingName> kNames = {
    {"dpi", kDpiLevelCount, "DPI"},
    {"dpi-enabled", kDpiLevelCount, "on|off"},
    {"dpi-colour", kDpiLevelCount, "#RRGGBB"},
    {"dpi-level", 0, "1-8 (an enabled level)"},
    {"polling", 0, "125|250|500|1000"},
    {"lift-off", 0, "low|high"},
    {"debounce", 0, "0-30 (ms, even)"},
    {"sleep", 0, "3-10 (minutes)"},
    {"move-lighting", 0, "on|off"},
    {"motion-wake", 0, "on|off"},
    {"lighting", 0, "off|wave|breathing|steady|neon|rainbow|multicolour|flow"},
    {"lighting-speed", 0, "1-3"},
    {"brightness", 0, "25|50|75|100"},
    {"direction", 0, "1|2"},
    {"lighting-colour", kLightingColorSlots, "#RRGGBB"},
    {"lighting-colour-on", kLightingColorSlots, "on|off"},
    {"pointer-speed", 0, "1-11"},
    {"pointer-precision", 0, "on|off"},
    {"wheel-lines", 0, "1-10"},
    {"wheel-page", 0, "on|off"},
    {"double-click", 0, "1-11"},
};

const SettingName* FindName(const std::string& name)
{
    for (const SettingName& n : kNames)
        if (name == n.name) return &n;
    return nullptr;
}

bool ParseInt(const std::string& text, long& value)
{
    if (text.empty() || text.size() > 9) return false;
    size_t i = text[0] == '-' ? 1 : 0;
    if (i == text.size()) return false;
    for (size_t k = i; k < text.size(); ++k)
        if (text[k] < '0' || text[k] > '9') return false;
    value = std::strtol(text.c_str(), nullptr, 10);
    return true;
}

bool ParseSwitch(const std::string& text, bool& on)
{
    if (text == "on" || text == "1" || text == "yes" || text == "true") return on = true, true;
    if (text == "off" || text == "0" || text == "no" || text == "false") return on = false, true;
    return false;
}

bool ParseColour(std::string text, COLORREF& colour)
{
    if (!text.empty() && text[0] == '#') text.erase(0, 1);
    if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) return false;
    const unsigned long v = std::strtoul(text.c_str(), nullptr, 16);
    colour = Rgb(uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v));
    return true;
}

std::string ColourText(COLORREF c)
{
    char s[8];
    std::snprintf(s, sizeof s, "#%02X%02X%02X", RedOf(c), GreenOf(c), BlueOf(c));
    return s;
}

int ModeOfName(const std::string& name)
{
    for (int m = 0; m < kLightingModeCount; ++m)
        if (name == kModeNames[m]) return m;
    return -1;
}

CommandOutcome Usage(std::string text)
{
    CommandOutcome o;
    o.kind = CommandOutcome::Usage;
    o.message = Utf8ToU16(text);
    return o;
}

CommandOutcome RefusedText(int text, const std::string& path = {})
{
    CommandOutcome o;
    o.kind = CommandOutcome::Refused;
    o.message = UiText(text);
    if (!path.empty()) {
        const size_t at = o.message.find(u"%1");
        if (at != std::u16string::npos)
            o.message.replace(at, 2, Utf8ToU16(path));
        else
            o.message += u" " + Utf8ToU16(path);
    }
    if (o.message.empty()) o.message = u"refused (language text " + Ascii(std::to_string(text)) + u")";
    return o;
}

CommandOutcome FromProfileResult(const ProfileResult& r)
{
    if (r.text == kTextProfilesNotSaved || r.Done()) {
        CommandOutcome o;
        o.changed = r.changed;
        o.profilesSaved = r.changed;
        if (!r.Done()) o.kind = CommandOutcome::Refused, o.message = r.Message();
        return o;
    }
    CommandOutcome o = RefusedText(r.text);
    o.message = r.Message();
    return o;
}

void SendGroup(CommandOutcome& o, PendingGroup g)
{
    switch (g) {
    case PendingGroup::DpiAndMore: o.send[size_t(PendingGroup::DpiAndMore)] = true; break;
    case PendingGroup::Power: o.send[size_t(PendingGroup::Power)] = true; break;
    case PendingGroup::Wake: o.send[size_t(PendingGroup::Wake)] = true; break;
    default: break;  // the pointer preferences are stored, never sent
    }
}

void SendAll(CommandOutcome& o) { o.send = {true, true, true, true}; }

// "polling is one of 125, 250, 500, 1000.": what a setting takes, in the
// language's words, for a refusal to end with.
std::u16string AllowedValues(const SettingName& n)
{
    std::string values = n.values;
    if (std::string(n.name) == "dpi" && DpiStepCount() > 0)
        values = std::to_string(DpiStepValue(0)) + "-" + std::to_string(DpiStepValue(DpiStepCount() - 1));
    const bool list = values.find('|') != std::string::npos;
    std::u16string shown;
    for (char ch : values) shown += ch == '|' ? std::u16string(u", ") : std::u16string(1, char16_t(ch));
    std::u16string s = UiText(list ? kTextAllowedList : kTextAllowedRange);
    if (s.empty()) return {};
    if (auto at = s.find(u"%1"); at != std::u16string::npos) s.replace(at, 2, Utf8ToU16(n.name));
    if (auto at = s.find(u"%2"); at != std::u16string::npos) s.replace(at, 2, shown);
    return s;
}

// The window's refusal for a value the setting does not take, followed by
// what it does take: the command line has no slider to show the range.
CommandOutcome OutOfRange(const SettingName& n)
{
    CommandOutcome o = RefusedText(kTextValueOutOfRange);
    if (const std::u16string allowed = AllowedValues(n); !allowed.empty()) o.message += u" " + allowed;
    return o;
}

// A number in [lo, hi] or the refusal the window gives for a value the setting does not take.
bool NumberIn(const std::string& text, long lo, long hi, long& value, CommandOutcome& fail, const SettingName& n)
{
    if (!ParseInt(text, value)) {
        fail = Usage(std::string("the value of ") + n.name + " is a number, not \"" + text + "\"");
        return false;
    }
    if (value < lo || value > hi) {
        fail = OutOfRange(n);
        return false;
    }
    return true;
}

CommandOutcome RunSet(const std::vector<std::string>& w, ProfileRecord& p)
{
    if (w.size() < 3) return Usage("set needs a setting and a value: tevlanctl set NAME [N] VALUE");
    const std::string& name = w[1];
    const SettingName* n = FindName(name);
    if (!n) return Usage("there is no setting named \"" + name + "\" (tevlanctl get lists them)");
    long index = -1;
    size_t at = 2;
    if (n->indexCount) {
        if (w.size() < 4 || !ParseInt(w[2], index) || index < 1 || index > n->indexCount)
            return Usage(name + " needs a number from 1 to " + std::to_string(n->indexCount) + " and a value");
        --index;
        at = 3;
    }
    if (w.size() != at + 1) return Usage("set " + name + " takes one value: " + n->values);
    const std::string& v = w[at];
    const int level = int(index);

    CommandOutcome fail;
    long num = 0;
    bool on = false;
    COLORREF colour = 0;
    SettingChange c;
    auto needSwitch = [&]() {
        if (ParseSwitch(v, on)) return true;
        fail = Usage(name + " is on or off, not \"" + v + "\"");
        return false;
    };
    auto needColour = [&]() {
        if (ParseColour(v, colour)) return true;
        fail = Usage(name + " is a colour like #FF8000, not \"" + v + "\"");
        return false;
    };

    if (name == "dpi") {
        if (!NumberIn(v, 1, 1000000, num, fail, *n)) return fail;
        c = EditDpiLevelStep(p, level, DpiStepAtLeast(num));
    } else if (name == "dpi-enabled") {
        if (!needSwitch()) return fail;
        int ordinal = p.CurrentDPILevelValue;
        c = EditDpiLevelEnabled(p, ordinal, level, on);
    } else if (name == "dpi-colour") {
        if (!needColour()) return fail;
        c = EditDpiLevelColour(p, level, colour);
    } else if (name == "dpi-level") {
        if (!NumberIn(v, 1, kDpiLevelCount, num, fail, *n)) return fail;
        c = EditCurrentDpiLevel(p, int(num) - 1);
    } else if (name == "polling") {
        if (!NumberIn(v, 125, 1000, num, fail, *n)) return fail;
        const int code = num == 125 ? 0 : num == 250 ? 1 : num == 500 ? 2 : num == 1000 ? 3 : -1;
        c = EditPollingRate(p, code);
    } else if (name == "lift-off") {
        if (v != "low" && v != "high") return Usage("lift-off is low or high, not \"" + v + "\"");
        c = EditLiftOffDistance(p, v == "low" ? 1 : 2);
    } else if (name == "debounce") {
        if (!NumberIn(v, 0, 30, num, fail, *n)) return fail;
        c = EditDebounceMs(p, int(num));
    } else if (name == "sleep") {
        if (!NumberIn(v, kPowerDownMinMinutes, kPowerDownMaxMinutes, num, fail, *n)) return fail;
        c = EditPowerDownTime(p, int(num));
    } else if (name == "move-lighting") {
        if (!needSwitch()) return fail;
        c = EditMoveLighting(p, on);
    } else if (name == "motion-wake") {
        if (!needSwitch()) return fail;
        c = EditMotionWakeup(p, on);
    } else if (name == "lighting") {
        const int mode = ModeOfName(v);
        if (mode < 0) return Usage(std::string("lighting is one of ") + n->values + ", not \"" + v + "\"");
        c = EditLightingMode(p, mode);
    } else if (name == "lighting-speed") {
        if (!NumberIn(v, 1, kLightingSpeedPositions, num, fail, *n)) return fail;
        c = EditLightingSpeed(p, int(num) - 1);
    } else if (name == "brightness") {
        if (!NumberIn(v, 25, 100, num, fail, *n)) return fail;
        c = num % 25 ? SettingChange::Refused(kTextValueOutOfRange) : EditLightingBrightness(p, int(num) / 25 - 1);
    } else if (name == "direction") {
        if (!NumberIn(v, 1, 2, num, fail, *n)) return fail;
        c = EditLightingDirection(p, num == 1);
    } else if (name == "lighting-colour") {
        if (!needColour()) return fail;
        c = EditLightingColour(p, CurrentLightingMode(p), level, colour);
    } else if (name == "lighting-colour-on") {
        if (!needSwitch()) return fail;
        c = EditLightingColourSelected(p, level, on);
    } else if (name == "pointer-speed") {
        if (!NumberIn(v, 1, kPointerSpeedPositions, num, fail, *n)) return fail;
        c = EditPointerSpeed(p, int(num) - 1);
    } else if (name == "pointer-precision") {
        if (!needSwitch()) return fail;
        c = EditPointerPrecision(p, on);
    } else if (name == "wheel-lines") {
        if (!NumberIn(v, 1, kWheelLinesPositions, num, fail, *n)) return fail;
        c = EditWheelLines(p, int(num) - 1);
    } else if (name == "wheel-page") {
        if (!needSwitch()) return fail;
        c = EditWheelPageMode(p, on);
    } else if (name == "double-click") {
        if (!NumberIn(v, 1, kDoubleClickPositions, num, fail, *n)) return fail;
        c = EditDoubleClickSpeed(p, int(num) - 1);
    }
    if (c.refused && (!c.refusalText || c.refusalText == kTextValueOutOfRange)) return OutOfRange(*n);
    if (c.refused) return RefusedText(c.refusalText);
    CommandOutcome o;
    o.changed = c.Changed();
    SendGroup(o, c.group);
    return o;
}

// Words back into one text for the function parser; words with spaces were
// one quoted word on the command line and are quoted again.
std::u16string JoinFunctionWords(const std::vector<std::string>& w, size_t from)
{
    std::u16string text;
    for (size_t i = from; i < w.size(); ++i) {
        if (!text.empty()) text += u' ';
        if (w[i].find_first_of(" \"\\") == std::string::npos && !w[i].empty()) {
            text += Utf8ToU16(w[i]);
            continue;
        }
        text += u'"';
        for (char16_t ch : Utf8ToU16(w[i])) {
            if (ch == u'"' || ch == u'\\') text += u'\\';
            text += ch;
        }
        text += u'"';
    }
    return text;
}

CommandOutcome RunButton(const std::vector<std::string>& w, ProfileRecord& p, const MacroLibrary& library)
{
    long button = 0;
    if (w.size() < 3 || !ParseInt(w[1], button) || button < 1 || button > kButtonCount)
        return Usage("button needs a button number from 1 to 8 and a function: tevlanctl button N FUNCTION");
    // Fire with two numbers is a fire function whatever the numbers: one the
    // mouse cannot take is refused with the fire dialog's own rule.
    if (w.size() == 5 && SameWordAscii(w[2], "fire")) {
        const FireConfirmation fire = ConfirmFire(Utf8ToU16(w[3]), Utf8ToU16(w[4]));
        if (fire.refusalText) return RefusedText(fire.refusalText);
    }
    const std::u16string text = JoinFunctionWords(w, 2);
    const std::optional<ParsedButtonFunction> f = ParseButtonFunction(text, library);
    if (!f) return Usage("\"" + U16ToUtf8(text) + "\" names no button function (see tevlanctl button --help)");
    const AssignmentOutcome a =
        AssignButtonFunction(p, kFirstButtonCombo + int(button) - 1, f->label, f->code, f->macro);
    if (a.warningText) return RefusedText(a.warningText);
    CommandOutcome o;
    o.changed = a.stored;
    o.send[size_t(PendingGroup::Keys)] = a.sendButtons;
    return o;
}

bool ProfileNumber(const std::string& text, int& index)
{
    long n = 0;
    if (!ParseInt(text, n) || n < 1 || n > kProfileCount) return false;
    index = int(n) - 1;
    return true;
}

// "profile 2 selected: Work": what a profile command did, for its output.
std::u16string Said(int index, const std::u16string& what, bool withName)
{
    std::u16string s = u"profile " + Ascii(std::to_string(index + 1)) + u" " + what;
    if (withName) s += u": " + GetProfileName(g_profiles[size_t(index)]);
    return s;
}

CommandOutcome RunProfile(const std::vector<std::string>& w)
{
    const std::string verb = w.size() > 1 ? w[1] : "";
    int index = -1;
    auto needIndex = [&](size_t words) {
        return w.size() == words && ProfileNumber(w[2], index);
    };
    if (verb == "select") {
        if (!needIndex(3)) return Usage("profile select needs a profile number from 1 to 5");
        const int before = GetCurrentProfile();
        ProfileResult r = SelectProfile(index);
        if (!r.Done()) return FromProfileResult(r);
        CommandOutcome o;
        o.changed = before != index;
        o.profile = index;
        if (o.changed) SendAll(o);
        o.message = Said(index, u"selected", true);
        return o;
    }
    if (verb == "add") {
        if (w.size() != 3) return Usage("profile add needs the new profile's name");
        int added = -1;
        CommandOutcome o = FromProfileResult(AddProfile(Utf8ToU16(w[2]), &added));
        o.profile = added;
        if (o.kind == CommandOutcome::Done && added >= 0) o.message = Said(added, u"added", true);
        return o;
    }
    if (verb == "rename") {
        if (!needIndex(4)) return Usage("profile rename needs a profile number from 1 to 5 and the new name");
        CommandOutcome o = FromProfileResult(RenameProfile(index, Utf8ToU16(w[3])));
        if (o.kind == CommandOutcome::Done) o.message = Said(index, u"renamed", true);
        return o;
    }
    if (verb == "delete") {
        if (!needIndex(3)) return Usage("profile delete needs a profile number from 1 to 5");
        const std::u16string name = GetProfileName(g_profiles[size_t(index)]);
        CommandOutcome o = FromProfileResult(DeleteProfile(index));
        if (o.kind == CommandOutcome::Done) o.message = Said(index, u"deleted", false) + u": " + name;
        return o;
    }
    if (verb == "import") {
        if (!needIndex(4)) return Usage("profile import needs a profile number from 1 to 5 and a file");
        CommandOutcome o = FromProfileResult(ImportProfile(index, w[3]));
        o.profile = index;
        if (o.kind == CommandOutcome::Done && index == GetCurrentProfile()) SendAll(o);
        if (o.kind == CommandOutcome::Done) o.message = Said(index, u"imported from " + Utf8ToU16(w[3]), true);
        return o;
    }
    if (verb == "games") {
        // profile games N set K NAME: the K-th game of profile N; "" clears it.
        char* end = nullptr;
        const long k = w.size() == 6 ? std::strtol(w[4].c_str(), &end, 10) : 0;
        if (w.size() != 6 || w[3] != "set" || !ProfileNumber(w[2], index) || *end || k < 1 || k > 3)
            return Usage("profile games needs a profile number from 1 to 5, set, a game number from 1 to 3 and a name "
                         "(\"\" clears it)");
        // Typed like the window's dialog: a path is cut to its file name.
        const std::u16string name = GameNameFromInput(Utf8ToU16(w[5]));
        CommandOutcome o;
        o.changed = GetGameFile(g_profiles[size_t(index)], int(k) - 1) != name;
        SetGameFile(g_profiles[size_t(index)], int(k) - 1, name);
        o.profile = index;
        o.message = u"game " + Utf8ToU16(w[4]) + u" " + name;
        return o;
    }
    return Usage("profile takes select, add, rename, delete, import or games here");
}

CommandOutcome FromMacroRefusal(const MacroRefusal& r)
{
    if (r.Refused()) return RefusedText(r.text, r.path);
    CommandOutcome o;
    o.changed = o.macrosChanged = true;
    return o;
}

CommandOutcome RunMacros(const std::vector<std::string>& w, MacroLibrary& library, const std::string& macroPath)
{
    const std::string verb = w.size() > 1 ? w[1] : "";
    MacroRefusal r;
    if (verb == "import" && w.size() == 3) {
        MacroLibrary candidate = library;
        r = ImportMacroLibrary(candidate, w[2]);
        if (!r.Refused()) r = ExportMacroLibrary(candidate, macroPath);
        if (!r.Refused()) library = std::move(candidate);
    } else if (verb == "add-set" && w.size() == 3) {
        MacroLibrary candidate = library;
        r = AddMacroSet(candidate, Utf8ToU16(w[2]));
        if (!r.Refused()) r = ExportMacroLibrary(candidate, macroPath);
        if (!r.Refused()) library = std::move(candidate);
    } else if (verb == "delete-set" && w.size() == 3) {
        MacroLibrary candidate = library;
        r = DeleteMacroSet(candidate, Utf8ToU16(w[2]));
        if (!r.Refused()) r = ExportMacroLibrary(candidate, macroPath);
        if (!r.Refused()) library = std::move(candidate);
    } else if (verb == "add" && w.size() == 4) {
        MacroLibrary candidate = library;
        MacroSet* set = nullptr;
        for (int i = 0; i < int(candidate.count()); ++i)
            if (MacroSet* s = candidate.SetAt(i); s && s->name == Utf8ToU16(w[2])) set = s;
        if (!set) return RefusedText(macro_text::kSetNameUnknown);
        r = CheckNewMacroName(*set, Utf8ToU16(w[3]));
        if (!r.Refused()) candidate.AppendMacro(*set, Utf8ToU16(w[3]));
        if (!r.Refused()) r = ExportMacroLibrary(candidate, macroPath);
        if (!r.Refused()) library = std::move(candidate);
    } else {
        return Usage("macros takes import FILE, add-set NAME, delete-set NAME or add SET NAME here");
    }
    CommandOutcome o = FromMacroRefusal(r);
    if (o.kind == CommandOutcome::Done) {
        const std::u16string arg = Utf8ToU16(w[2]);
        o.message = verb == "import"       ? u"macros imported from " + arg
                    : verb == "add-set"    ? u"macro set added: " + arg
                    : verb == "delete-set" ? u"macro set deleted: " + arg
                                           : u"macro added to " + arg + u": " + Utf8ToU16(w[3]);
    }
    return o;
}

}  // namespace

const std::vector<SettingName>& SettingNames() { return kNames; }

std::string LightingModeName(int mode)
{
    return mode >= 0 && mode < kLightingModeCount ? kModeNames[mode] : "off";
}

bool SettingValueIsNumber(const std::string& name)
{
    static const char* const numbers[] = {"dpi",        "dpi-level", "polling",   "debounce",      "sleep",
                                          "lighting-speed", "brightness", "direction", "pointer-speed", "wheel-lines",
                                          "double-click"};
    return std::any_of(std::begin(numbers), std::end(numbers), [&](const char* n) { return name == n; });
}

std::string SettingValueText(const ProfileRecord& p, const std::string& name, int i)
{
    const int mode = CurrentLightingMode(p);
    const auto& l = p.lighting;
    auto onOff = [](bool on) { return std::string(on ? "on" : "off"); };
    auto setting = [&](int position) { return ProfileSettingInt(p, position); };
    const size_t si = size_t(std::clamp(i, 0, kLightingColorSlots - 1));
    const size_t di = size_t(std::clamp(i, 0, kDpiLevelCount - 1));
    if (name == "dpi") return std::to_string(DpiStepValue(p.XYSettingValue[di]));
    if (name == "dpi-enabled") return onOff(p.DPIOffOnFlagValue & (1u << di));
    if (name == "dpi-colour") return ColourText(p.DPILevelIndication[di]);
    if (name == "dpi-level") return std::to_string(CurrentDpiLevel(p) + 1);
    if (name == "polling") return std::to_string(125 << PollingCaptionIndex(p));
    if (name == "lift-off") return setting(kSetLiftDetectionHeight) == 2 ? "high" : "low";
    if (name == "debounce") return std::to_string(DebounceMsOfPosition(DebouncePositionOfMs(setting(kSetKeyDebounce))));
    if (name == "sleep") return std::to_string(setting(kSetPowerDownTime));
    if (name == "move-lighting") return onOff(setting(kSetMoveLightingOnOffMode) > 0);
    if (name == "motion-wake") return onOff(setting(kSetMotionWakeup) > 0);
    if (name == "lighting") return LightingModeName(mode);
    if (name == "lighting-speed") return std::to_string(std::min<int>(l.Lighting1Speed[size_t(mode)], 2) + 1);
    if (name == "brightness") return std::to_string((std::min<int>(l.Lighting1Brightness[size_t(mode)], 3) + 1) * 25);
    if (name == "direction") return l.Lighting1Direction[size_t(mode)] ? "1" : "2";
    if (name == "lighting-colour") return ColourText(l.Lighting1FixedColor[size_t(mode)][si]);
    if (name == "lighting-colour-on") return onOff(l.Lighting1ColorSelected[size_t(mode)][si] != 0);
    if (name == "pointer-speed") return std::to_string(setting(kSetPointerSpeed) + 1);
    if (name == "pointer-precision") return onOff(setting(kSetAccelerationEnable) == 1);
    if (name == "wheel-lines") return std::to_string(setting(kSetScrollWheelSpeed) + 1);
    if (name == "wheel-page") return onOff(setting(kSetScrollWheelPageEnable) == 1);
    if (name == "double-click") return std::to_string(setting(kSetDoubleClickSpeed) + 1);
    return {};
}

CommandOutcome RunProfileCommand(const std::vector<std::string>& words, int profile, MacroLibrary& library,
                                 const std::string& macroPath)
{
    if (words.empty()) return Usage("no command given");
    const std::string& verb = words[0];
    if (verb == "profile") return RunProfile(words);
    if (verb == "macros") return RunMacros(words, library, macroPath);
    if (verb != "set" && verb != "button") return Usage("\"" + verb + "\" is not a change tevlanctl can make");

    const int active = GetCurrentProfile();
    const int index = profile < 0 ? active : profile;
    if (index < 0 || index >= kProfileCount) return Usage("--profile takes a profile number from 1 to 5");
    ProfileRecord& record = g_profiles[size_t(index)];
    // A refusal leaves the profile as it was, even where a rule put
    // something back on its way (the left button gets its own label again).
    const ProfileRecord before = record;
    CommandOutcome o = verb == "set" ? RunSet(words, record) : RunButton(words, record, library);
    if (o.kind != CommandOutcome::Done) {
        record = before;
        return o;
    }
    o.profile = index;
    // What the setting or button holds now, as `get` shows it.
    if (verb == "set") {
        const SettingName* n = FindName(words[1]);
        const int at = n && n->indexCount ? int(std::strtol(words[2].c_str(), nullptr, 10)) - 1 : 0;
        o.message = Utf8ToU16(words[1] + (n && n->indexCount ? " " + words[2] : "") + " " +
                              SettingValueText(record, words[1], at));
    } else {
        const ButtonSlot& b = record.buttons[size_t(std::strtol(words[1].c_str(), nullptr, 10) - 1)];
        o.message = u"button " + Utf8ToU16(words[1]) + u" " + FormatButtonFunction(b.label, b.code, library);
    }
    // Only the active profile is on the mouse; another one is only saved.
    if (index != active) o.send = {};
    return o;
}
