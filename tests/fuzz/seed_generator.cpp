// Writes the fuzzers' seed corpus: the files and reports the program itself
// writes or reads, one folder per fuzz entry, below the folder given.
//
//   fuzz_seed_generator <corpus folder> <folder holding config/ language files>
//
// The files come from the program's own writers, so the corpus follows the
// formats as they change; nothing binary is kept in the source tree.
#include <cstdio>
#include <string>
#include <vector>

#include "device/device_reports.h"
#include "macros/macro_library_file.h"
#include "persist/change_request.h"
#include "platform/instance/instance_packet.h"
#include "macros/macro_upload.h"
#include "persist/profile_file.h"
#include "persist/settings_file.h"
#include "persist/stdio_file_ex.h"
#include "platform/fs/file_system.h"
#include "platform/sim/sim_protocol.h"
#include "profile/profile_record.h"
#include "settings/dpi_step_table.h"

namespace {

std::string g_out;
bool g_ok = true;

std::string Folder(const std::string& entry)
{
    const std::string path = g_out + "/" + entry;
    platform::MakeDirectory(g_out);
    platform::MakeDirectory(path);
    return path + "/";
}

void Put(const std::string& entry, const std::string& name, const std::string& bytes)
{
    if (!platform::WriteFileAtomic(Folder(entry) + name, bytes)) {
        std::fprintf(stderr, "cannot write %s/%s\n", entry.c_str(), name.c_str());
        g_ok = false;
    }
}

void Check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "cannot write %s\n", what);
        g_ok = false;
    }
}

std::string Read(const std::string& path)
{
    auto bytes = platform::ReadWholeFile(path);
    if (!bytes) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        g_ok = false;
        return {};
    }
    return *bytes;
}

template <typename Bytes>
void Append(std::string& out, const Bytes& b)
{
    out.append(reinterpret_cast<const char*>(b.data()), b.size());
}

MacroKey SampleMacro(const std::u16string& name, int keys, uint8_t loopType)
{
    MacroKey m(name);
    m.loopType = loopType;
    m.loopNum = 3;
    for (int i = 0; i < keys; ++i) {
        m.InsertAction(int(m.actionNum), MacroAction::Key(uint8_t(0x41 + i), false));
        m.InsertAction(int(m.actionNum), MacroAction::Pause(uint32_t(20 + 10 * i)));
        m.InsertAction(int(m.actionNum), MacroAction::Key(uint8_t(0x41 + i), true));
        m.commandActionNum = uint8_t(m.commandActionNum + 2);
    }
    m.InsertAction(int(m.actionNum), MacroAction::Key(kMacroLeftButton, false));
    m.InsertAction(int(m.actionNum), MacroAction::Pause(5000));
    m.InsertAction(int(m.actionNum), MacroAction::Key(kMacroLeftButton, true));
    m.InsertAction(int(m.actionNum), MacroAction::Move(kMacroMoveX, -12));
    m.InsertAction(int(m.actionNum), MacroAction::Move(kMacroWheel, 3));
    m.commandActionNum = uint8_t(m.commandActionNum + 4);
    return m;
}

void Profiles()
{
    const std::string dir = Folder("profile_file");
    for (int i = 0; i < kProfileCount; ++i) {
        ProfileRecord r;
        ResetProfileToDefaults(r, i);
        Check(WriteProfileRecord(r, dir + "default" + std::to_string(i) + ".psf"), "a default profile");
    }
    // One edited the way a user would: a macro on a button, another
    // language's name, an effect with colours, odd DPI levels.
    ProfileRecord r;
    ResetProfileToDefaults(r, 1);
    r.settings[kSetProfileName].value = u"游戏 = Spiel";
    r.buttons[3].macro = SampleMacro(u"Combo", 6, 2);
    r.buttons[3].code = MacroButtonCode(0, r.buttons[3].macro);
    r.buttons[3].label = u"Macro:Combo";
    r.lighting.Lighting1ModeValue = {2, 0, 0};
    r.lighting.Lighting1ColorSelected[2] = {1, 1, 0, 1, 1, 1, 1, 0, 0, 0};
    r.lighting.Lighting1FixedColor[2][1] = Rgb(0x35, 0xA0, 0xDE);
    r.DPIOffOnFlagValue = 0x25;
    r.CurrentDPILevelValue = 2;
    r.PollingRateValue = {1, 0, 0};
    r.PollingRateName = u"250Hz";
    Check(WriteProfileRecord(r, dir + "edited.psf"), "the edited profile");
}

void Settings()
{
    SetSettingsDefaults("/home/user/.config/TevlanData20230427A/");
    Put("settings_file", "config.ini", EncodeUtf16LeFile(FormatSettingsFile(g_settings)));
    SetCurrentProfile(3);
    SetProfileShowCount(5);
    SetProfileShowList(0, 4);
    g_sensorId = 0x3389;
    SetSensorSetting();
    SetPreviousSensorSetting(uint16_t(~0x3389));
    Put("settings_file", "config_changed.ini", EncodeUtf16LeFile(FormatSettingsFile(g_settings)));
    g_sensorId = kDefaultSensorId;
}

void Languages(const std::string& programFolder)
{
    for (const char* name : {"LanSetting.ini", "Lan_EN.txt", "Lan.txt"})
        Put("language_file", name, Read(programFolder + "/config/" + name));
}

MacroLibrary SampleLibrary()
{
    MacroLibrary library;
    library.AppendSet(kDefaultMacroSetName);
    library.AppendSet(u"Second set");
    library.AppendSet(u"Empty");
    MacroSet& first = *library.SetAt(0);
    first.macros.push_back(SampleMacro(u"Combo", 6, 2));
    first.macros.push_back(SampleMacro(u"Hold", 1, 4));
    first.macros.push_back(MacroKey(u"Nothing yet"));
    library.SetAt(1)->macros.push_back(SampleMacro(u"Longer one with = sign", 40, 1));
    return library;
}

void Macros()
{
    const std::string dir = Folder("macro_library");
    MacroLibrary empty;
    empty.AppendSet(kDefaultMacroSetName);
    Check(WriteMacroLibraryFile(empty, dir + "default.mlf"), "the default macro library");
    Check(WriteMacroLibraryFile(SampleLibrary(), dir + "sample.mlf"), "the sample macro library");
}

void ChangeRequests()
{
    Put("change_request", "set.bin",
        EncodeChangeRequest({-1, "/home/user/.config/data/", {"set", "dpi", "2", "1600"}}));
    Put("change_request", "button.bin", EncodeChangeRequest({1, "/d/", {"button", "3", "macro", "Set one", "Hold"}}));
    Put("change_request", "reply.bin", EncodeChangeReply({ChangeReply::Refused, false, "One button must stay"}));
    Put("instance_packet", "activation.bin", platform::EncodeActivationPacket());
    Put("instance_packet", "request.bin",
        platform::EncodeRequestPacket(EncodeChangeRequest({-1, "/d/", {"set", "polling", "500"}})));
}

void TextFiles(const std::string& programFolder)
{
    // The text file class reads every file above; a few small ones will do.
    Put("text_file", "LanSetting.ini", Read(programFolder + "/config/LanSetting.ini"));
    SetSettingsDefaults("/data/");
    Put("text_file", "config.ini", EncodeUtf16LeFile(FormatSettingsFile(g_settings)));
    Put("text_file", "blank_lines.txt", EncodeUtf16LeFile(u"[Setting]\n\n\r\nend"));
}

void StatusAnswers()
{
    struct Case { const char* name; platform::SimStatus status; bool empty; };
    const Case cases[] = {
        {"cable", {0x25, 100, 0}, false},     {"charging", {0x89, 40, 1}, false},
        {"full", {0x95, 97, 2}, false},       {"unknown_sensor", {0x42, 15, 0}, false},
        {"empty_then_data", {0x04, 60, 0}, true},
    };
    for (const Case& c : cases) {
        std::string bytes;
        if (c.empty) Append(bytes, platform::BuildStatusAnswer(c.status, 7, false));
        Append(bytes, platform::BuildStatusAnswer(c.status, 8, true));
        Put("status_answer", c.name, bytes);
    }
}

void InputReports()
{
    // Enable mask, then each report with its length in front.
    auto reports = [](uint8_t mask, std::initializer_list<std::pair<uint8_t, uint8_t>> changes) {
        std::string bytes(1, char(mask));
        for (const auto& [interval, ordinal] : changes) {
            const std::vector<uint8_t> r = platform::BuildDeviceChangeReport(interval, ordinal);
            bytes.push_back(char(r.size()));
            Append(bytes, r);
        }
        return bytes;
    };
    Put("input_report", "dpi_button", reports(0x7F, {{1, 2}, {1, 3}, {1, 4}}));
    Put("input_report", "polling_button", reports(0x7F, {{8, 1}, {4, 1}, {2, 1}, {1, 1}}));
    Put("input_report", "three_levels", reports(0x0B, {{1, 3}, {1, 1}}));
    // The boot mouse's short reports share the buffer with the long ones.
    std::string mixed = reports(0xFF, {{1, 8}});
    mixed += std::string("\x05\x01\x02\x03\x04\x05", 6);
    Put("input_report", "mixed", mixed);
}

void Descriptors()
{
    // The mouse's boot-mouse and vendor collections as its descriptor gives them.
    const std::vector<uint8_t> bootMouse = {
        0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09, 0x19, 0x01, 0x29, 0x05,
        0x15, 0x00, 0x25, 0x01, 0x95, 0x05, 0x75, 0x01, 0x81, 0x02, 0x95, 0x01, 0x75, 0x03, 0x81, 0x01,
        0x05, 0x01, 0x09, 0x30, 0x09, 0x31, 0x09, 0x38, 0x15, 0x81, 0x25, 0x7F, 0x75, 0x08, 0x95, 0x03,
        0x81, 0x06, 0xC0, 0xC0};
    const std::vector<uint8_t> vendor = {
        0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x05, 0x09, 0x02, 0x15, 0x00, 0x26, 0xFF, 0x00,
        0x75, 0x08, 0x95, 0x20, 0x81, 0x02, 0x85, 0x0C, 0x09, 0x03, 0x75, 0x08, 0x95, 0x20, 0xB1, 0x02,
        0xC0};
    std::string b, v;
    Append(b, bootMouse);
    Append(v, vendor);
    Put("hid_descriptor", "boot_mouse", b);
    Put("hid_descriptor", "vendor", v);
    Put("hid_descriptor", "both", b + v);
}

void DeviceWrites()
{
    // What the device link writes for a full apply of a profile with a macro.
    ProfileRecord r;
    ResetProfileToDefaults(r, 0);
    std::string bytes;
    uint8_t seq = 1;
    auto add = [&bytes, &seq](FeatureReport report) {
        report[4] = seq++;
        Append(bytes, report);
    };
    const KeyImage keys = BuildKeyImage(r);
    for (int i = 0; i < kButtonCount; ++i) add(BuildKeyReport(i, &keys[2 + 3 * i]));
    add(BuildDpiReport(BuildDpiImage(r)));
    add(BuildDpiColourReport(BuildDpiColourImage(r)));
    add(BuildOneByteReport(kCmdPollingRate, BuildPollingByte(r)));
    add(BuildLiftOffReport(BuildLiftOffByte(r)));
    add(BuildOneByteReport(kCmdDebounce, BuildDebounceByte(r)));
    add(BuildPowerReport(BuildPowerBytes(r)));
    add(BuildOneByteReport(kCmdWakeUp, BuildWakeByte(r)));
    add(BuildLightingReport(BuildLightingImage(r, true)));
    const MacroKey macro = SampleMacro(u"Combo", 12, 2);
    for (const MacroPacket& p : BuildMacroPackets(BuildMacroImage(macro, 1), 1, macro.commandActionNum)) {
        FeatureReport report;
        std::copy(p.begin(), p.end(), report.begin());
        add(report);
    }
    add(BuildStatusRequest());
    Put("sim_protocol", "apply", bytes);
    std::string reset;
    FeatureReport f = BuildFactoryResetReport();
    f[4] = 9;
    Append(reset, f);
    Put("sim_protocol", "factory_reset", reset);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <corpus folder> <program folder>\n", argv[0]);
        return 2;
    }
    g_out = argv[1];
    const std::string programFolder = argv[2];
    g_sensorId = kDefaultSensorId;
    BuildDpiStepTable(kDefaultSensorId);

    Profiles();
    Settings();
    Languages(programFolder);
    Macros();
    ChangeRequests();
    TextFiles(programFolder);
    StatusAnswers();
    InputReports();
    Descriptors();
    DeviceWrites();
    return g_ok ? 0 : 1;
}
