#include "ctl/ctl_run.h"

#include <algorithm>
#include <sstream>

#include "ctl/ctl_change.h"
#include "ctl/ctl_data.h"
#include "ctl/ctl_device.h"
#include "ctl/ctl_options.h"
#include "ctl/ctl_show.h"
#include "ctl/ctl_window.h"
#include "ctl/json_writer.h"
#include "device/udev_rule_hint.h"
#include "persist/data_folders.h"
#include "persist/language_file.h"
#include "persist/profile_file.h"
#include "base/text_codec.h"
#include "platform/fs/file_system.h"
#include "platform/shell/session_seat.h"
#include "settings/dpi_step_table.h"

namespace {

struct Ctl {
    const CtlOptions& o;
    std::ostream& out;
    std::ostream& err;
    CtlFolders folders;
    std::string executablePath;

    int Fail(int code, const std::string& message)
    {
        err << "tevlanctl: " << message << "\n";
        if (o.json)
            out << JsonErrorText(message, code) << "\n";
        return code;
    }
    void Note(const std::string& note)
    {
        if (!note.empty())
            err << "tevlanctl: " << note << "\n";
    }

    // Profile names, button labels and the macro label prefix come from the
    // language, read as the program reads it.
    void LoadTexts()
    {
        if (!LoadLanguage(folders.programFolder, folders.dataFolder, 1.0, MessagesLocale()))
            Note("warning: no complete language file was found in " + folders.dataFolder + "config/ or " +
                 folders.programFolder + "config/; names from the language files stay empty");
    }

    // A device I/O problem after the fact: the link never reports failed
    // writes, so the counts do.
    int CheckWrites(CtlDeviceSession& session)
    {
        const CtlIoCounts c = session.Counts();
        if (c.failedWrites == 0)
            return kExitOk;
        return Fail(kExitDeviceIo, std::to_string(c.failedWrites) + " of " + std::to_string(c.writes) +
                                       " reports could not be written to the mouse: " +
                                       (c.lastError.empty() ? "the write failed" : c.lastError));
    }

    // What the user can do about the interface that could not be opened, as
    // further lines after the reason; empty when there is nothing to do.
    std::string Advice(const CtlDeviceSession& session) const
    {
        switch (session.OpenProblem()) {
        case platform::HidOpenProblem::NoPermission: {
            const platform::SessionPlace place = platform::ClassifySession(platform::CurrentSessionFacts());
            if (place == platform::SessionPlace::Remote || place == platform::SessionPlace::NoSeat)
                return "\nThis session is remote or not at a local seat, and the udev rule gives the mouse only to "
                       "the user at a local seat. Give it to a group you belong to with a rule of your own, then "
                       "log in again:\n  " + GroupRuleCommands() +
                       "\nor, until it is unplugged, grant the node named above to yourself:\n"
                       "  sudo setfacl -m u:$USER:rw /dev/hidrawN";
            const UdevRuleHint hint = UdevRuleHintFor(LocateProgram(executablePath));
            return hint.needsCopy ? "\nInstall the udev rule that gives the user at the desk access to the mouse, then "
                                    "plug it in again:\n  " + hint.commands
                                  : "\nThe udev rule " + hint.rulePath + " is installed but not applied yet. Let udev "
                                    "apply it, then plug the mouse in again:\n  " + hint.commands;
        }
        case platform::HidOpenProblem::Busy:
            return "\nClose the program that uses it, then plug the mouse in again.";
        default: return {};
        }
    }

    // apply and reset run in a window of the data folder when one runs:
    // the window's progress and images stay the truth. Sets *code and gives
    // true when the window took the command (or could not be asked).
    bool ByWindow(const char* verb, int* code)
    {
        const WindowAnswer window = AskWindow(folders, -1, {verb});
        if (window.kind == WindowAnswer::NoWindow) return false;
        *code = window.kind == WindowAnswer::Failed ? Fail(kExitDeviceIo, window.error)
                                                    : ReportCommandOutcome(window.reply, "window", o.json, out, err);
        return true;
    }

    int List();
    int Status();
    int Apply();
    int Reset();
    int ProfileShow();
    int ProfileNew();
    int MacrosShow();
};

std::string ProductText(uint16_t product)
{
    return product == kMouseProductA ? "0x5B2E (cable)" : product == kMouseProductB ? "0x5B2F (receiver)" : "?";
}

std::string Padded(std::string s, size_t width)
{
    if (s.size() < width)
        s.append(width - s.size(), ' ');
    return s;
}

int Ctl::List()
{
    CtlDeviceSession session(o, err);
    std::string message;
    if (int rc = session.Connect(&message, false); rc != kExitOk)
        return Fail(rc, message + Advice(session));
    DeviceLink& link = session.Link();
    auto role = [&link](const std::string& path) -> const char* {
        for (ProductSlot p : {kProductA, kProductB}) {
            if (path == link.Product(p).featurePath && link.Product(p).present)
                return "feature";
            if (path == link.Product(p).inputPath)
                return "input";
        }
        return "ignored";
    };
    if (o.json) {
        JsonWriter j;
        j.BeginObject();
        j.MemberInt("version", 1);
        j.Key("interfaces");
        j.BeginArray();
        for (const platform::HidInterfaceInfo& i : session.MouseInterfaces()) {
            j.BeginObject();
            j.MemberUtf8("path", i.path);
            j.MemberUtf8("product", SensorIdText(i.productId));
            j.MemberInt("inputReportLength", i.inputReportLength);
            j.MemberInt("featureReportLength", i.featureReportLength);
            j.MemberUtf8("role", role(i.path));
            j.EndObject();
        }
        j.EndArray();
        j.EndObject();
        out << j.Text() << "\n";
    } else {
        size_t width = 4;
        for (const platform::HidInterfaceInfo& i : session.MouseInterfaces())
            width = std::max(width, i.path.size());
        out << Padded("PATH", width) << "  PRODUCT            INPUT  FEATURE  ROLE\n";
        for (const platform::HidInterfaceInfo& i : session.MouseInterfaces()) {
            char lengths[32];
            std::snprintf(lengths, sizeof lengths, "%5u  %7u", unsigned(i.inputReportLength),
                          unsigned(i.featureReportLength));
            out << Padded(PrintableText(Utf8ToU16(i.path)), width) << "  " << Padded(ProductText(i.productId), 17)
                << "  " << lengths << "  " << role(i.path) << "\n";
        }
    }
    for (const std::string& e : session.OpenErrors())
        Note(e);
    if (const std::string advice = Advice(session); !advice.empty())
        err << advice.substr(1) << "\n";
    if (!link.anyPresent && !session.OpenErrors().empty())
        return kExitDeviceIo;
    return kExitOk;
}

int Ctl::Status()
{
    CtlDeviceSession session(o, err);
    std::string message;
    if (int rc = session.Connect(&message); rc != kExitOk)
        return Fail(rc, message + Advice(session));
    DeviceLink& link = session.Link();
    link.QueryDeviceStatus();
    session.Settle();

    const CtlIoCounts c = session.Counts();
    if (c.failedWrites || c.failedReads)
        return Fail(kExitDeviceIo, "the status request failed: " + (c.lastError.empty() ? "no answer" : c.lastError));
    FeatureReport answer{};
    if (c.lastRead.size() != answer.size())
        return Fail(kExitDeviceIo, "the mouse did not answer the status request");
    std::copy(c.lastRead.begin(), c.lastRead.end(), answer.begin());
    if (!StatusAnswerHasData(answer))
        return Fail(kExitDeviceIo, "the mouse answered the status request twice without data; try again");
    if (!ParseStatusAnswer(answer))
        return Fail(kExitDeviceIo, "the mouse's answer is not a status answer (byte 2 is 0x" + SensorIdText(answer[2]).substr(4) +
                                       ", byte 3 is 0x" + SensorIdText(answer[3]).substr(4) + ")");

    // The program's own rules: full means 100 %, and a level above 100 shows as 0.
    const int battery = link.batteryLevel > 100 ? 0 : link.batteryLevel;
    const char* charge = link.chargeState == 1 ? "charging" : link.chargeState == 2 ? "full" : "none";
    const uint16_t sensor = SensorIdOfCode(uint8_t(link.sensorCode));
    // The link talks through the cable when both are there (or --product chose one).
    const char* product = link.Product(kProductA).handle ? "cable" : "receiver";
    if (o.json) {
        JsonWriter j;
        j.BeginObject();
        j.MemberInt("version", 1);
        if (sensor)
            j.MemberUtf8("sensor", SensorIdText(sensor));
        else
            j.Key("sensor"), j.Null();
        j.MemberInt("sensorCode", link.sensorCode);
        j.MemberInt("battery", battery);
        j.MemberUtf8("charge", charge);
        j.MemberUtf8("product", product);
        j.EndObject();
        out << j.Text() << "\n";
    } else {
        char code[8];
        std::snprintf(code, sizeof code, "0x%02X", unsigned(link.sensorCode));
        out << "sensor:  " << (sensor ? SensorIdText(sensor) : std::string("unknown")) << " (code " << code << ")\n"
            << "battery: " << battery << "%\n"
            << "charge:  " << charge << "\n"
            << "product: " << product << "\n";
    }
    return kExitOk;
}

int Ctl::Apply()
{
    // A file or a sensor of its own is not the folder's profile: that apply
    // is tevlanctl's alone.
    if (int code = 0; o.file.empty() && !o.sensor && ByWindow("apply", &code)) return code;
    std::string message, note, source;
    uint16_t sensor = 0;
    if (int rc = ChooseCtlSensor(folders, o.sensor, &sensor, &message); rc != kExitOk)
        return Fail(rc, message);
    LoadTexts();

    ProfileRecord record;
    int index = 0;
    if (!o.file.empty()) {
        source = o.file;
        if (int rc = ReadCtlProfile(o.file, &record, &message); rc != kExitOk)
            return Fail(rc, message);
    } else if (int rc = ReadCtlActiveProfile(folders, o.sensor.has_value(), &record, &index, &source, &message, &note);
               rc != kExitOk) {
        return Fail(rc, message);
    }
    Note(note);

    CtlDeviceSession session(o, err);
    if (int rc = ReadCtlMacroLibrary(folders, &session.Library(), &message); rc != kExitOk)
        return Fail(rc, message);
    g_profiles[size_t(index)] = record;
    session.Host().profileIndex = index;

    if (int rc = session.Connect(&message); rc != kExitOk)
        return Fail(rc, message + Advice(session));
    DeviceLink& link = session.Link();
    // A full apply: every image is still unknown to this fresh link, so with
    // every group pending each command goes out once, in the program's order
    // and with its pacing.
    for (PendingGroup g : {PendingGroup::Keys, PendingGroup::DpiAndMore, PendingGroup::Power, PendingGroup::Wake})
        link.Schedule(g);
    link.ApplyToDevice();
    session.Settle();
    if (int rc = CheckWrites(session); rc != kExitOk)
        return rc;

    const ProfileRecord& sent = g_profiles[size_t(index)];
    const int reports = session.Counts().writes;
    std::vector<std::pair<std::u16string, int>> macros;  // name, device macro index
    if (const MacroSet* set = session.Library().SetAt(0)) {
        int i = 0;
        for (const MacroKey& m : set->macros) {
            if (i < int(link.macroSlotOf.size()) && link.macroSlotOf[size_t(i)] >= 0)
                macros.emplace_back(m.name, link.macroSlotOf[size_t(i)] + 1);
            ++i;
        }
    }
    if (o.json) {
        JsonWriter j;
        j.BeginObject();
        j.MemberInt("version", 1);
        j.Member("profile", GetProfileName(sent));
        j.MemberUtf8("source", source);
        j.MemberUtf8("sensor", SensorIdText(sensor));
        j.MemberInt("reports", reports);
        j.Key("macros");
        j.BeginArray();
        for (const auto& [name, deviceIndex] : macros) {
            j.BeginObject();
            j.Member("name", name);
            j.MemberInt("index", deviceIndex);
            j.EndObject();
        }
        j.EndArray();
        j.EndObject();
        out << j.Text() << "\n";
    } else {
        out << "Applied profile " << PrintableText(GetProfileName(sent)) << " (" << PrintableText(Utf8ToU16(source))
            << ") for sensor " << SensorIdText(sensor) << ": " << reports << " reports written.\n";
        for (const auto& [name, deviceIndex] : macros)
            out << "  macro " << PrintableText(name) << " as device macro " << deviceIndex << "\n";
    }
    return kExitOk;
}

int Ctl::Reset()
{
    if (int code = 0; ByWindow("reset", &code)) return code;
    CtlDeviceSession session(o, err);
    std::string message;
    if (int rc = session.Connect(&message); rc != kExitOk)
        return Fail(rc, message + Advice(session));
    session.Link().SendFactoryReset();
    session.Settle();
    if (int rc = CheckWrites(session); rc != kExitOk)
        return rc;
    if (o.json)
        out << "{\"version\":1,\"reset\":true}\n";
    else
        out << "The mouse was reset to its factory settings. No file was changed; run 'tevlanctl apply' to write "
               "the active profile again.\n";
    return kExitOk;
}

int Ctl::ProfileShow()
{
    std::string message;
    uint16_t sensor = kDefaultSensorId;
    // The sensor only labels the DPI values: a broken settings file must not
    // stop a profile from being shown.
    if (ChooseCtlSensor(folders, o.sensor, &sensor, &message) != kExitOk) {
        if (o.sensor)
            return Fail(kExitUsage, message);
        sensor = kDefaultSensorId;
        g_sensorId = sensor;
        BuildDpiStepTable(sensor);
    }
    ProfileRecord record;
    if (int rc = ReadCtlProfile(o.file, &record, &message); rc != kExitOk)
        return Fail(rc, message);
    if (o.json)
        out << ProfileJson(record) << "\n";
    else
        PrintProfileText(out, record, o.file, sensor);
    return kExitOk;
}

int Ctl::ProfileNew()
{
    std::string message;
    uint16_t sensor = 0;
    if (int rc = ChooseCtlSensor(folders, o.sensor, &sensor, &message); rc != kExitOk)
        return Fail(rc, message);
    if (platform::DirectoryExists(o.file))
        return Fail(kExitBadFile, o.file + " is a folder");
    if (platform::FileExists(o.file) && !o.force)
        return Fail(kExitBadFile, o.file + " exists already; add --force to replace it");
    LoadTexts();
    const int index = o.index.value_or(0);
    ProfileRecord record;
    ResetProfileToDefaults(record, index);
    if (!WriteProfileRecord(record, o.file))
        return Fail(kExitBadFile, "cannot write " + o.file + " (does its folder exist, and may you write there?)");
    if (o.json) {
        JsonWriter j;
        j.BeginObject();
        j.MemberInt("version", 1);
        j.MemberUtf8("file", o.file);
        j.Member("profile", GetProfileName(record));
        j.MemberInt("index", index);
        j.MemberUtf8("sensor", SensorIdText(sensor));
        j.EndObject();
        out << j.Text() << "\n";
    } else {
        out << "Wrote " << PrintableText(Utf8ToU16(o.file)) << ": profile " << PrintableText(GetProfileName(record))
            << " (index " << index << ") at its reset values for sensor " << SensorIdText(sensor) << ".\n";
    }
    return kExitOk;
}

int Ctl::MacrosShow()
{
    std::string message;
    MacroLibrary library;
    if (int rc = ReadCtlMacroFile(o.file, &library, &message); rc != kExitOk)
        return Fail(rc, message);
    if (o.json)
        out << MacroLibraryJson(library) << "\n";
    else
        PrintMacroLibraryText(out, library, o.file);
    return kExitOk;
}

}  // namespace

int RunCtl(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const std::string& executablePath)
{
    const CtlParseResult parsed = ParseCtlArguments(args);
    if (!parsed.error.empty()) {
        err << "tevlanctl: " << parsed.error << "\nTry 'tevlanctl --help' for the commands and options.\n";
        // The options did not parse, so --json is looked for as given.
        if (std::find(args.begin(), args.end(), "--json") != args.end())
            out << JsonErrorText(parsed.error, kExitUsage) << "\n";
        return kExitUsage;
    }
    const CtlOptions& o = parsed.options;
    if (o.command == CtlCommand::Help) {
        const std::string topic = o.helpTopic.empty() ? std::string() : CtlCommandHelpText(o.helpTopic);
        if (!o.helpTopic.empty() && topic.empty()) {
            err << "tevlanctl: unknown command '" << o.helpTopic << "'\n";
            out << CtlHelpText();
            return kExitUsage;
        }
        out << (topic.empty() ? CtlHelpText() : topic);
        return kExitOk;
    }
    if (o.command == CtlCommand::Version) {
        out << CtlVersionText();
        return kExitOk;
    }

    Ctl ctl{o, out, err, {}, executablePath};
    ctl.folders.programFolder = ProgramFolderFor(executablePath);
    if (o.dataDir) {
        ctl.folders.dataFolder = *o.dataDir;
    } else {
        ctl.folders.dataFolder = UserDataFolderFor(SystemFolderEnvironment());
        if (ctl.folders.dataFolder.empty())
            return ctl.Fail(kExitUsage, "no home folder is known; give the data folder with --data-dir DIR");
    }
    if (ctl.folders.dataFolder.back() != '/')
        ctl.folders.dataFolder.push_back('/');
    // Nothing is created: the folders are only read from.
    SetDataFolders(ctl.folders.programFolder, ctl.folders.dataFolder);

    switch (o.command) {
    case CtlCommand::List: return ctl.List();
    case CtlCommand::Status: return ctl.Status();
    case CtlCommand::Apply: return ctl.Apply();
    case CtlCommand::Reset: return ctl.Reset();
    case CtlCommand::ProfileShow: return ctl.ProfileShow();
    case CtlCommand::ProfileNew: return ctl.ProfileNew();
    case CtlCommand::MacrosShow: return ctl.MacrosShow();
    case CtlCommand::Words: return RunCtlWords(o, ctl.folders, out, err);
    default: return ctl.Fail(kExitUsage, "no command given");
    }
}
