#include "ctl/ctl_change.h"

#include <filesystem>
#include <functional>
#include <optional>

#include "buttons/function_names.h"
#include "ctl/ctl_device.h"
#include "ctl/ctl_show.h"
#include "ctl/ctl_watch.h"
#include "ctl/ctl_window.h"
#include "ctl/json_writer.h"
#include "games/game_binding.h"
#include "macros/macro_library_edits.h"
#include "macros/macro_library_file.h"
#include "base/ui_text.h"
#include "persist/change_request.h"
#include "persist/data_folders.h"
#include "persist/language_file.h"
#include "command/profile_command.h"
#include "command/setting_table.h"
#include "persist/profile_manager.h"
#include "persist/profile_slots.h"
#include "persist/settings_file.h"
#include "base/text_codec.h"
#include "command/settings_snapshot.h"
#include "persist/unreadable_files.h"
#include "platform/fs/file_system.h"
#include "settings/dpi_step_table.h"

namespace {

// The language text of a change that could not be saved and so was not sent.
constexpr int kTextNotSavedNotSent = 440;

bool Is(const std::vector<std::string>& w, const char* a, const char* b = nullptr)
{
    return !w.empty() && w[0] == a && (!b || (w.size() > 1 && w[1] == b));
}

bool IsReadOnly(const std::vector<std::string>& w)
{
    return Is(w, "get") || Is(w, "profile", "list") || Is(w, "profile", "export") || Is(w, "macros", "list") ||
           (Is(w, "profile", "games") && w.size() == 3) ||
           Is(w, "macros", "export");
}

// get --json: {"version":1,"profile":N,"by":...,"settings":{member: value or [values]}};
// numbers as numbers, the rest as the text set takes.
std::string SettingsJson(int profile, const char* by,
                         const std::vector<std::pair<const SettingDescriptor*, int>>& wanted,
                         const std::function<std::string(const std::string&, int)>& valueOf)
{
    JsonWriter j;
    j.BeginObject();
    j.MemberInt("version", 1);
    j.MemberInt("profile", profile + 1);
    j.MemberUtf8("by", by);
    j.Key("settings");
    j.BeginObject();
    for (const auto& [d, index] : wanted) {
        auto value = [&, d = d](int i) {
            const std::string v = valueOf(d->name, i);
            if (d->kind == SettingKind::Number)
                j.Int(std::strtol(v.c_str(), nullptr, 10));
            else
                j.Utf8String(v);
        };
        j.Key(d->jsonName);
        if (d->indexCount && index < 0) {
            j.BeginArray();
            for (int i = 0; i < d->indexCount; ++i) value(i);
            j.EndArray();
        } else {
            value(std::max(index, 0));
        }
    }
    j.EndObject();
    j.EndObject();
    return j.Text();
}

struct Run {
    const CtlOptions& o;
    const CtlFolders& folders;
    std::ostream& out;
    std::ostream& err;

    int Fail(int code, const std::string& message)
    {
        err << "tevlanctl: " << message << "\n";
        if (o.json) out << JsonErrorText(message, code) << "\n";
        return code;
    }

    // The data folder as the window loads it at start-up, so that what is
    // saved afterwards is what the window would save. A settings file that
    // is there but broken is reported and left alone; the window would
    // replace it with the defaults.
    int Load(bool mayWrite)
    {
        LoadLanguage(folders.programFolder, folders.dataFolder, 1.0);
        CtlSettings strict;
        std::string message;
        if (int rc = ReadCtlSettings(folders, &strict, &message); rc != kExitOk)
            return Fail(rc, message);
        if (!strict.present && !mayWrite) {
            // Nothing to read and nothing may be written: the start values.
            SetSettingsDefaults(folders.dataFolder);
            g_sensorId = kDefaultSensorId;
            BuildDpiStepTable(g_sensorId);
            for (int i = 0; i < kProfileCount; ++i) {
                ResetProfileToDefaults(g_profiles[size_t(i)], i);
                ApplySensorDpiDefaults(g_profiles[size_t(i)]);
            }
        } else {
            if (const std::string problem = DataFolderProblem(folders.dataFolder); mayWrite && !problem.empty())
                return Fail(kExitBadFile, "the data folder " + folders.dataFolder + " cannot be made: " + problem +
                                              (o.dataDir ? "" : " (the folder comes from XDG_CONFIG_HOME or HOME)"));
            std::error_code ec;
            if (mayWrite) std::filesystem::create_directories(folders.dataFolder + "config", ec);
            // A read-only command repairs nothing: it shows what the window would.
            LoadSettingsAndProfiles(mayWrite);
            BuildDpiStepTable(g_sensorId);
            if (const std::vector<UnreadableFile> bad = UnreadableFiles(); !bad.empty())
                return Fail(kExitBadFile, bad.front().second + "; tevlanctl leaves it as it is");
        }
        if (mayWrite)
            LoadApplicationMacroLibrary();  // as the window starts: a missing library is written
        else if (int rc = ReadCtlMacroLibrary(folders, &g_macroLibrary, &message); rc != kExitOk)
            return Fail(rc, message);
        g_workingProfile = GetCurrentProfile();
        return kExitOk;
    }

    int ProfileIndex() const { return o.profile.value_or(GetCurrentProfile()); }

    // One setting entry's value: (name, 0-based index) -> what set takes back.
    using SettingValue = std::function<std::string(const std::string& name, int index)>;
    int Get();
    int PrintSettings(int profile, const SettingValue& valueOf, const char* by);
    int ProfileList();
    int ProfileGames();
    int MacrosList();
    int ReadOnly();
    int Change();
    int ChangeHere(const std::vector<std::string>& words);
    int Report(ChangeReply::Status status, bool changed, const std::u16string& message, const char* via);
};

// The window's state when a window runs for the folder (what it shows may
// not be saved yet), else the files'.
int Run::Get()
{
    const WindowAnswer window = AskWindow(folders, o.profile.value_or(-1), {"get"});
    if (window.kind == WindowAnswer::Failed) return Fail(kExitDeviceIo, window.error);
    if (window.kind == WindowAnswer::Answered) {
        if (window.reply.status != ChangeReply::Done)
            return Report(window.reply.status, false, Utf8ToU16(window.reply.message), "window");
        const std::optional<SettingsSnapshot> snapshot = DecodeSettingsSnapshot(window.reply.message);
        if (!snapshot) return Fail(kExitDeviceIo, "the running window's settings were not understood");
        const auto fromWindow = [&](const std::string& name, int i) { return snapshot->Value(name, i); };
        return PrintSettings(snapshot->profile, fromWindow, "window");
    }
    if (int rc = Load(false); rc != kExitOk) return rc;
    const ProfileRecord& p = g_profiles[size_t(ProfileIndex())];
    const auto fromFiles = [&](const std::string& name, int i) { return FindSetting(name)->text(p, i); };
    return PrintSettings(ProfileIndex(), fromFiles, "files");
}

int Run::PrintSettings(int profile, const SettingValue& valueOf, const char* by)
{
    const std::vector<std::string>& w = o.words;
    std::vector<std::pair<const SettingDescriptor*, int>> wanted;  // setting, index (-1: all of them)
    if (w.size() > 1) {
        const SettingDescriptor* d = FindSetting(w[1]);
        if (!d) return Fail(kExitUsage, "there is no setting named \"" + w[1] + "\"");
        long index = -1;
        if (w.size() > 2) {
            if (!d->indexCount || w.size() > 3) return Fail(kExitUsage, "too many words for get " + w[1]);
            char* end = nullptr;
            index = std::strtol(w[2].c_str(), &end, 10);
            if (*end || index < 1 || index > d->indexCount)
                return Fail(kExitUsage, w[1] + " takes a number from 1 to " + std::to_string(d->indexCount));
            --index;
        }
        wanted.emplace_back(d, int(index));
    } else {
        for (const SettingDescriptor& d : SettingTable()) wanted.emplace_back(&d, -1);
    }
    if (o.json) {
        out << SettingsJson(profile, by, wanted, valueOf) << "\n";
        return kExitOk;
    }
    for (const auto& [d, index] : wanted) {
        if (d->indexCount && index < 0) {
            for (int i = 0; i < d->indexCount; ++i) out << d->name << " " << i + 1 << " " << valueOf(d->name, i) << "\n";
        } else if (d->indexCount) {
            out << d->name << " " << index + 1 << " " << valueOf(d->name, index) << "\n";
        } else {
            out << d->name << " " << valueOf(d->name, 0) << "\n";
        }
    }
    return kExitOk;
}

int Run::ProfileGames()
{
    char* end = nullptr;
    const long n = std::strtol(o.words[2].c_str(), &end, 10);
    if (*end || n < 1 || n > kProfileCount) return Fail(kExitUsage, "profile games needs a profile number from 1 to 5");
    const ProfileRecord& record = g_profiles[size_t(n - 1)];
    JsonWriter j;
    if (o.json) {
        j.BeginObject();
        j.MemberInt("version", 1);
        j.MemberInt("profile", n);
        j.Key("games");
        j.BeginArray();
    }
    for (int k = 0; k < 3; ++k) {
        if (o.json)
            j.String(GetGameFile(record, k));
        else
            out << k + 1 << "  " << PrintableText(GetGameFile(record, k)) << "\n";
    }
    if (o.json) {
        j.EndArray();
        j.EndObject();
        out << j.Text() << "\n";
    }
    return kExitOk;
}

int Run::ProfileList()
{
    const ProfileSlots slots = ReadProfileSlots();
    JsonWriter j;
    if (o.json) {
        j.BeginObject();
        j.MemberInt("version", 1);
        j.MemberInt("active", slots.current + 1);
        j.Key("profiles");
        j.BeginArray();
    }
    for (int pos = 0; pos < slots.count; ++pos) {
        const int i = slots.list[size_t(pos)];
        const std::u16string name = GetProfileName(g_profiles[size_t(i)]);
        if (o.json) {
            j.BeginObject();
            j.MemberInt("number", i + 1);
            j.Member("name", name);
            j.Key("active");
            j.Bool(i == slots.current);
            j.EndObject();
        } else {
            out << (i == slots.current ? "* " : "  ") << i + 1 << "  " << PrintableText(name) << "\n";
        }
    }
    if (o.json) {
        j.EndArray();
        j.EndObject();
        out << j.Text() << "\n";
    }
    return kExitOk;
}

int Run::MacrosList()
{
    JsonWriter j;
    if (o.json) {
        j.BeginObject();
        j.MemberInt("version", 1);
        j.Key("sets");
        j.BeginArray();
    }
    for (int s = 0; s < int(g_macroLibrary.count()); ++s) {
        const MacroSet* set = g_macroLibrary.SetAt(s);
        if (o.json) {
            j.BeginObject();
            j.Member("name", set->name);
            j.Key("macros");
            j.BeginArray();
            for (const MacroKey& m : set->macros) j.String(m.name);
            j.EndArray();
            j.EndObject();
        } else {
            out << PrintableText(set->name) << "\n";
            for (const MacroKey& m : set->macros) out << "  " << PrintableText(m.name) << "\n";
        }
    }
    if (o.json) {
        j.EndArray();
        j.EndObject();
        out << j.Text() << "\n";
    }
    return kExitOk;
}

int Run::ReadOnly()
{
    const std::vector<std::string>& w = o.words;
    if (Is(w, "get")) return Get();
    if (int rc = Load(false); rc != kExitOk) return rc;
    if (Is(w, "profile", "list")) return w.size() == 2 ? ProfileList() : Fail(kExitUsage, "profile list takes nothing more");
    if (Is(w, "macros", "list")) return w.size() == 2 ? MacrosList() : Fail(kExitUsage, "macros list takes nothing more");
    if (Is(w, "profile", "games")) return ProfileGames();
    if (Is(w, "profile", "export")) {
        char* end = nullptr;
        const long n = w.size() == 4 ? std::strtol(w[2].c_str(), &end, 10) : 0;
        if (w.size() != 4 || *end || n < 1 || n > kProfileCount)
            return Fail(kExitUsage, "profile export needs a profile number from 1 to 5 and a file");
        const ProfileResult r = ExportProfile(int(n) - 1, w[3]);
        return r.Done() ? kExitOk : Fail(kExitBadFile, U16ToUtf8(r.Message()));
    }
    if (w.size() != 3) return Fail(kExitUsage, "macros export needs a file");
    const MacroRefusal r = ExportMacroLibrary(g_macroLibrary, w[2]);
    return r.Refused() ? Fail(kExitBadFile, U16ToUtf8(UiText(r.text)) + " " + r.path) : kExitOk;
}

int Run::Report(ChangeReply::Status status, bool changed, const std::u16string& message, const char* via)
{
    return ReportCommandOutcome({status, changed, U16ToUtf8(message)}, via, o.json, out, err);
}

// No window owns the folder: the change is made here and saved, and only
// then is what changed sent, in the order the window's apply sends it. What
// could not be saved is not sent: the mouse never holds what the files lack.
int Run::ChangeHere(const std::vector<std::string>& words)
{
    if (int rc = Load(true); rc != kExitOk) return rc;
    const ProfileTable profilesBefore = g_profiles;
    const auto settingsBefore = g_settings;
    const CommandOutcome c = RunProfileCommand(words, o.profile.value_or(-1), g_macroLibrary, MacroLibraryPath());
    // Changed but refused: the core function's own save failed.
    if (c.kind == CommandOutcome::Refused && c.changed)
        return Fail(kExitBadFile, U16ToUtf8(UiText(kTextNotSavedNotSent)));
    if (c.kind != CommandOutcome::Done)
        return Report(c.kind == CommandOutcome::Usage ? ChangeReply::NotUnderstood : ChangeReply::Refused, false,
                      c.message, "files");
    if (c.changed && !c.profilesSaved && !c.macrosChanged && !CommitProfiles())
        return Fail(kExitBadFile, U16ToUtf8(UiText(kTextNotSavedNotSent)));
    if (!c.SendsAnything()) return Report(ChangeReply::Done, c.changed, c.message, "files");

    const ProfileTable profilesAfter = g_profiles;
    const auto settingsAfter = g_settings;
    g_profiles = profilesBefore;
    g_settings = settingsBefore;
    CtlDeviceSession session(o, err);
    session.Library() = g_macroLibrary;
    session.Host().profileIndex = GetCurrentProfile();
    std::string message;
    if (session.Connect(&message) == kExitOk) {
        // The mouse holds the profile as it was; only what differs goes out.
        DeviceLink& link = session.Link();
        session.Settle();
        link.ClearSchedule();
        link.PrimeSentImages();
        g_profiles = profilesAfter;
        g_settings = settingsAfter;
        session.Host().profileIndex = GetCurrentProfile();
        for (size_t g = 0; g < c.send.size(); ++g)
            if (c.send[g]) link.Schedule(PendingGroup(g));
        link.ApplyToDevice();
        session.Settle();
    } else {
        err << "tevlanctl: " << message << "; the change is saved and reaches the mouse with the next apply\n";
    }
    return Report(ChangeReply::Done, c.changed, c.message, "files");
}

int Run::Change()
{
    std::vector<std::string> words = o.words;
    // The window has its own working folder: files go to it by full path.
    const bool fileLast = Is(words, "profile", "import") || Is(words, "macros", "import");
    if (fileLast && words.size() >= 3 && !words.back().empty())
        words.back() = std::filesystem::absolute(words.back()).lexically_normal().string();

    // Names and values are text; only a file name may hold other bytes.
    for (size_t i = 0; i < words.size(); ++i)
        if (!IsUtf8(words[i]) && !IsChangeRequestPathWord(words, i))
            return Fail(kExitUsage, "\"" + PrintableText(Utf8ToU16(words[i])) + "\" is not UTF-8 text");

    const WindowAnswer window = AskWindow(folders, o.profile.value_or(-1), words);
    if (window.kind == WindowAnswer::Failed) return Fail(kExitDeviceIo, window.error);
    if (window.kind == WindowAnswer::Answered)
        return Report(window.reply.status, window.reply.changed, Utf8ToU16(window.reply.message), "window");
    return ChangeHere(words);
}

}  // namespace

bool IsCtlWordsCommand(const std::vector<std::string>& w)
{
    if (w.empty()) return false;
    if (w[0] == "get" || w[0] == "set" || w[0] == "button" || w[0] == "watch") return true;
    if (w.size() < 2) return false;
    static const char* const profileVerbs[] = {"list", "select", "add", "rename", "delete", "import", "export", "games"};
    static const char* const macroVerbs[] = {"list", "import", "export", "add-set", "delete-set", "add"};
    if (w[0] == "profile")
        for (const char* v : profileVerbs)
            if (w[1] == v) return true;
    if (w[0] == "macros")
        for (const char* v : macroVerbs)
            if (w[1] == v) return true;
    return false;
}

int RunCtlWords(const CtlOptions& options, const CtlFolders& folders, std::ostream& out, std::ostream& err)
{
    if (options.words[0] == "watch") {
        if (options.words.size() > 1) {
            err << "tevlanctl: watch takes no arguments\n";
            if (options.json) out << JsonErrorText("watch takes no arguments", kExitUsage) << "\n";
            return kExitUsage;
        }
        return RunCtlWatch(options, folders, out, err);
    }
    Run run{options, folders, out, err};
    return IsReadOnly(options.words) ? run.ReadOnly() : run.Change();
}
