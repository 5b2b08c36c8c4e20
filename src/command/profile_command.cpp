#include "command/profile_command.h"

#include <algorithm>
#include <cstdlib>

#include "base/text_codec.h"
#include "buttons/button_assignment.h"
#include "buttons/fire_input.h"
#include "buttons/function_names.h"
#include "command/set_command.h"
#include "games/game_binding.h"
#include "macros/macro_edit_values.h"
#include "macros/macro_library_edits.h"
#include "persist/profile_manager.h"
#include "persist/settings_file.h"

namespace {

bool SameWordAscii(const std::string& a, const char* b)
{
    const std::string other = b;
    return a.size() == other.size() && std::equal(a.begin(), a.end(), other.begin(), [](char x, char y) {
               return (x >= 'A' && x <= 'Z' ? char(x - 'A' + 'a') : x) == y;
           });
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
    CommandOutcome o = RefusedOutcome(r.text);
    o.message = r.Message();
    return o;
}

void SendAll(CommandOutcome& o) { o.send = {true, true, true, true}; }

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
    if (w.size() < 3 || !ParseWholeNumber(w[1], button) || button < 1 || button > kButtonCount)
        return UsageOutcome("button needs a button number from 1 to 8 and a function: tevlanctl button N FUNCTION");
    // Fire with two numbers is a fire function whatever the numbers: one the
    // mouse cannot take is refused with the fire dialog's own rule.
    if (w.size() == 5 && SameWordAscii(w[2], "fire")) {
        const FireConfirmation fire = ConfirmFire(Utf8ToU16(w[3]), Utf8ToU16(w[4]));
        if (fire.refusalText) return RefusedOutcome(fire.refusalText);
    }
    const std::u16string text = JoinFunctionWords(w, 2);
    const std::optional<ParsedButtonFunction> f = ParseButtonFunction(text, library);
    if (!f) return UsageOutcome("\"" + U16ToUtf8(text) + "\" names no button function (see tevlanctl button --help)");
    const AssignmentOutcome a = AssignButtonFunction(p, int(button) - 1, f->label, f->code, f->macro);
    if (a.warningText) return RefusedOutcome(a.warningText);
    CommandOutcome o;
    o.changed = a.stored;
    o.send[size_t(PendingGroup::Keys)] = a.sendButtons;
    return o;
}

bool ProfileNumber(const std::string& text, int& index)
{
    long n = 0;
    if (!ParseWholeNumber(text, n) || n < 1 || n > kProfileCount) return false;
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
        if (!needIndex(3)) return UsageOutcome("profile select needs a profile number from 1 to 5");
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
        if (w.size() != 3) return UsageOutcome("profile add needs the new profile's name");
        int added = -1;
        CommandOutcome o = FromProfileResult(AddProfile(Utf8ToU16(w[2]), &added));
        o.profile = added;
        if (o.kind == CommandOutcome::Done && added >= 0) o.message = Said(added, u"added", true);
        return o;
    }
    if (verb == "rename") {
        if (!needIndex(4)) return UsageOutcome("profile rename needs a profile number from 1 to 5 and the new name");
        CommandOutcome o = FromProfileResult(RenameProfile(index, Utf8ToU16(w[3])));
        if (o.kind == CommandOutcome::Done) o.message = Said(index, u"renamed", true);
        return o;
    }
    if (verb == "delete") {
        if (!needIndex(3)) return UsageOutcome("profile delete needs a profile number from 1 to 5");
        const std::u16string name = GetProfileName(g_profiles[size_t(index)]);
        CommandOutcome o = FromProfileResult(DeleteProfile(index));
        if (o.kind == CommandOutcome::Done) o.message = Said(index, u"deleted", false) + u": " + name;
        return o;
    }
    if (verb == "import") {
        if (!needIndex(4)) return UsageOutcome("profile import needs a profile number from 1 to 5 and a file");
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
            return UsageOutcome("profile games needs a profile number from 1 to 5, set, a game number from 1 to 3 and a name "
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
    return UsageOutcome("profile takes select, add, rename, delete, import or games here");
}

CommandOutcome FromMacroRefusal(const MacroRefusal& r)
{
    if (r.Refused()) return RefusedOutcome(r.text, r.path);
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
        if (!set) return RefusedOutcome(macro_text::kSetNameUnknown);
        r = CheckNewMacroName(*set, Utf8ToU16(w[3]));
        if (!r.Refused()) candidate.AppendMacro(*set, Utf8ToU16(w[3]));
        if (!r.Refused()) r = ExportMacroLibrary(candidate, macroPath);
        if (!r.Refused()) library = std::move(candidate);
    } else {
        return UsageOutcome("macros takes import FILE, add-set NAME, delete-set NAME or add SET NAME here");
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

CommandOutcome RunProfileCommand(const std::vector<std::string>& words, int profile, MacroLibrary& library,
                                 const std::string& macroPath)
{
    if (words.empty()) return UsageOutcome("no command given");
    const std::string& verb = words[0];
    if (verb == "profile") return RunProfile(words);
    if (verb == "macros") return RunMacros(words, library, macroPath);
    if (verb != "set" && verb != "button") return UsageOutcome("\"" + verb + "\" is not a change tevlanctl can make");

    const int active = GetCurrentProfile();
    const int index = profile < 0 ? active : profile;
    if (index < 0 || index >= kProfileCount) return UsageOutcome("--profile takes a profile number from 1 to 5");
    ProfileRecord& record = g_profiles[size_t(index)];
    // A refusal leaves the profile as it was, even where a rule put
    // something back on its way (the left button gets its own label again).
    const ProfileRecord before = record;
    CommandOutcome o = verb == "set" ? RunSetCommand(words, record) : RunButton(words, record, library);
    if (o.kind != CommandOutcome::Done) {
        record = before;
        return o;
    }
    o.profile = index;
    // What the setting or button holds now, as `get` shows it.
    if (verb == "set") {
        o.message = Utf8ToU16(SetResultText(words, record));
    } else {
        const ButtonSlot& b = record.buttons[size_t(std::strtol(words[1].c_str(), nullptr, 10) - 1)];
        o.message = u"button " + Utf8ToU16(words[1]) + u" " + FormatButtonFunction(b.label, b.code, library);
    }
    // Only the active profile is on the mouse; another one is only saved.
    if (index != active) o.send = {};
    return o;
}
