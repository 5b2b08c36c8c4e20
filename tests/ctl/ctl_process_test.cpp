// tevlanctl driven as a process against the simulated mouse, each test in
// its own temporary data folder: exit codes, the reports on the wire (from
// the --trace lines), the JSON documents, and that no input file is changed.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support/temp_folder.h"
#include "support/child_environment.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ctl/json_writer.h"
#include "macros/macro_library_file.h"
#include "persist/language_file.h"
#include "persist/profile_file.h"
#include "persist/settings_file.h"
#include "persist/stdio_file_ex.h"
#include "platform/fs/file_system.h"
#include "profile/profile_record.h"

namespace fs = std::filesystem;

namespace {

struct CtlRun {
    int exit = -1;
    std::string out;
    std::string err;

    // The feature reports written, in order, from the trace.
    std::vector<std::vector<uint8_t>> Writes() const { return Lines('W'); }
    std::vector<std::vector<uint8_t>> Reads() const { return Lines('R'); }

    std::vector<std::vector<uint8_t>> Lines(char kind) const
    {
        std::vector<std::vector<uint8_t>> reports;
        std::istringstream in(err);
        std::string line;
        while (std::getline(in, line)) {
            if (line.size() < 2 || line[0] != kind || line[1] != ' ')
                continue;
            std::vector<uint8_t> bytes;
            std::istringstream hex(line.substr(2));
            std::string b;
            while (hex >> b)
                bytes.push_back(uint8_t(std::stoul(b, nullptr, 16)));
            reports.push_back(bytes);
        }
        return reports;
    }
};

std::string ReadFile(const fs::path& p)
{
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

void WriteFile(const fs::path& p, const std::string& bytes)
{
    std::ofstream f(p, std::ios::binary);
    f << bytes;
}

// Bytes from "0C 01 04".
std::vector<uint8_t> Bytes(const std::string& hex)
{
    std::vector<uint8_t> v;
    std::istringstream in(hex);
    std::string b;
    while (in >> b)
        v.push_back(uint8_t(std::stoul(b, nullptr, 16)));
    return v;
}

std::vector<uint8_t> Slice(const std::vector<uint8_t>& v, size_t from, size_t to)
{
    return std::vector<uint8_t>(v.begin() + long(from), v.begin() + long(std::min(to + 1, v.size())));
}

class CtlProcess : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(tmp_.Path().empty());
        root_ = tmp_.Path();
        data_ = root_ / "data";
        fs::create_directories(data_ / "config");
        // The same texts tevlanctl loads, so that reset records built here match its own.
        LoadLanguage(TEVLAN_BINARY_DIR, data_.string(), 1.0);
        g_sensorId = kDefaultSensorId;
    }

    // tevlanctl --device sim --data-dir <data> args..., with XDG_CONFIG_HOME
    // pointed into the test folder so a default data folder is never the user's.
    // stdoutFd: where its standard output goes instead of a file (the child's copy).
    CtlRun Ctl(std::vector<std::string> args, bool simAndData = true, int stdoutFd = -1)
    {
        if (simAndData)
            args.insert(args.begin(), {"--device", "sim", "--data-dir", data_.string()});
        const fs::path outPath = root_ / "stdout", errPath = root_ / "stderr";
        std::vector<std::string> argv{TEVLANCTL_PATH};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<std::string> envStrings =
            WithSanitizerSettings({"XDG_CONFIG_HOME=" + (root_ / "xdg").string(), "HOME=" + root_.string()});
        pid_t pid = fork();
        if (pid == 0) {
            int o = stdoutFd >= 0 ? stdoutFd : open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            int e = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(o, 1);
            dup2(e, 2);
            std::vector<char*> cargv;
            for (std::string& a : argv)
                cargv.push_back(a.data());
            cargv.push_back(nullptr);
            std::vector<char*> env;
            for (std::string& v : envStrings)
                env.push_back(v.data());
            env.push_back(nullptr);
            execve(cargv[0], cargv.data(), env.data());
            _exit(127);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        CtlRun r;
        r.exit = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        if (stdoutFd < 0) r.out = ReadFile(outPath);
        r.err = ReadFile(errPath);
        return r;
    }

    fs::path Config(const std::string& name) const { return data_ / "config" / name; }

    // config.ini with the given current profile and sensor (PreST its complement).
    void WriteSettings(int currentProfile, uint16_t sensor = kDefaultSensorId)
    {
        const auto saved = g_settings;
        SetSettingsDefaults(data_.string() + "/");
        g_settings[kSettingCurrentProfile].value = DecimalText(currentProfile);
        g_sensorId = sensor;
        SetSensorSetting();
        SetPreviousSensorSetting(uint16_t(~sensor));
        g_sensorId = kDefaultSensorId;
        WriteFile(Config("config.ini"), EncodeUtf16LeFile(FormatSettingsFile(g_settings)));
        g_settings = saved;
    }

    ProfileRecord ResetRecord(int index)
    {
        ProfileRecord r;
        ResetProfileToDefaults(r, index);
        return r;
    }

    std::vector<std::string> DataFolderFiles() const
    {
        std::vector<std::string> names;
        for (const auto& e : fs::recursive_directory_iterator(data_))
            names.push_back(e.path().lexically_relative(data_).string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempFolder tmp_{"tevlanctl-test-"};
    fs::path root_, data_;
};

// --- status -------------------------------------------------------------------

TEST_F(CtlProcess, StatusReportsEachChargeStateWithTheProgramsBatteryRules)
{
    struct Case {
        int charge, battery;
        const char* json;
    } cases[] = {
        {0, 40, R"({"version":1,"sensor":"0x3325","sensorCode":37,"battery":40,"charge":"none","product":"cable"})"},
        {1, 40, R"({"version":1,"sensor":"0x3325","sensorCode":37,"battery":40,"charge":"charging","product":"cable"})"},
        // Full forces 100 %, whatever the mouse says.
        {2, 40, R"({"version":1,"sensor":"0x3325","sensorCode":37,"battery":100,"charge":"full","product":"cable"})"},
        // Any other state is not charging.
        {7, 55, R"({"version":1,"sensor":"0x3325","sensorCode":37,"battery":55,"charge":"none","product":"cable"})"},
        // A level above 100 shows as 0.
        {0, 150, R"({"version":1,"sensor":"0x3325","sensorCode":37,"battery":0,"charge":"none","product":"cable"})"},
    };
    for (const Case& c : cases) {
        CtlRun r = Ctl({"--sim-charge", std::to_string(c.charge), "--sim-battery", std::to_string(c.battery), "--json",
                     "status"});
        EXPECT_EQ(r.exit, 0) << r.err;
        EXPECT_EQ(r.out, std::string(c.json) + "\n") << "charge " << c.charge;
    }
    CtlRun text = Ctl({"--sim-charge", "1", "status"});
    EXPECT_EQ(text.exit, 0);
    EXPECT_NE(text.out.find("charging"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("0x3325"), std::string::npos) << text.out;
}

TEST_F(CtlProcess, StatusNamesTheSensorOfEveryKnownCodeAndNoneForAnOtherCode)
{
    CtlRun known = Ctl({"--sim-sensor", "0x60", "--json", "status"});
    EXPECT_EQ(known.exit, 0);
    EXPECT_EQ(known.out, "{\"version\":1,\"sensor\":\"0x3360\",\"sensorCode\":96,\"battery\":80,\"charge\":\"none\",\"product\":\"cable\"}\n");

    CtlRun odd = Ctl({"--sim-sensor", "0x42", "--json", "status"});
    EXPECT_EQ(odd.exit, 0) << odd.err;
    EXPECT_EQ(odd.out, "{\"version\":1,\"sensor\":null,\"sensorCode\":66,\"battery\":80,\"charge\":\"none\",\"product\":\"cable\"}\n");
    CtlRun oddText = Ctl({"--sim-sensor", "66", "status"});
    EXPECT_NE(oddText.out.find("unknown (code 0x42)"), std::string::npos) << oddText.out;
    // Asking about the sensor never prepares or writes anything.
    EXPECT_EQ(DataFolderFiles(), std::vector<std::string>{"config"});
}

TEST_F(CtlProcess, StatusRequestIsTheFirstReportOfTheRunThroughTheReceiverToo)
{
    CtlRun r = Ctl({"--sim-products", "B", "--trace", "status"});
    ASSERT_EQ(r.exit, 0) << r.err;
    ASSERT_EQ(r.Writes().size(), 1u);
    std::vector<uint8_t> request(33, 0);
    request[0] = 0x0C, request[1] = 0x01, request[2] = 0x20, request[4] = 0x01;  // sequence 1, byte 5 = 0
    EXPECT_EQ(r.Writes()[0], request);
    ASSERT_EQ(r.Reads().size(), 1u);
    EXPECT_EQ(r.Reads()[0][15], 0x25);
    EXPECT_EQ(r.Reads()[0][18], 80);
}

// --- apply --------------------------------------------------------------------

TEST_F(CtlProcess, ApplyOfAResetProfileSendsEveryCommandOnceWithTheProgramsBytes)
{
    const fs::path file = root_ / "reset.psf";
    ASSERT_TRUE(WriteProfileRecord(ResetRecord(0), file.string()));
    const std::string before = ReadFile(file);

    CtlRun r = Ctl({"--trace", "apply", file.string()});
    ASSERT_EQ(r.exit, 0) << r.err;
    const auto w = r.Writes();
    // Eight key reports, DPI, colours, polling, lift-off, debounce, lighting, power, wake-up.
    const std::vector<uint8_t> order{4, 4, 4, 4, 4, 4, 4, 4, 5, 6, 7, 9, 0x0A, 8, 0x0B, 0x0C};
    ASSERT_EQ(w.size(), order.size()) << r.err;
    for (size_t i = 0; i < w.size(); ++i) {
        ASSERT_EQ(w[i].size(), 33u);
        EXPECT_EQ(w[i][2], order[i]) << "report " << i;
        EXPECT_EQ(w[i][4], i + 1) << "sequence numbers start at 1 in every run";
    }
    std::vector<uint8_t> key0 = Bytes("0C 01 04 00 01 01 04 00 10 01 00");
    key0.resize(33, 0);
    EXPECT_EQ(w[0], key0);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(w[size_t(i)][7], i) << "device button index";
    EXPECT_EQ(Slice(w[8], 6, 20), Bytes("12 26 3F 07 00 0F 00 17 00 1F 00 34 00 3B 00"));
    EXPECT_EQ(Slice(w[9], 7, 30), Bytes("FF 00 00 00 00 FF 00 FF 00 FF FF 00 00 FF FF FF 00 FF FF FF FF FF FF FF"));
    EXPECT_EQ(Slice(w[13], 6, 9), Bytes("03 01 22 01"));
    EXPECT_EQ(ReadFile(file), before);
    EXPECT_EQ(DataFolderFiles(), std::vector<std::string>{"config"}) << "apply writes no file";
}

TEST_F(CtlProcess, ApplyWithoutAFileSendsTheDataFoldersActiveProfileForItsSensor)
{
    // Profile 2 is active; its first DPI colour differs from the reset one.
    WriteSettings(2, 0x3360);
    g_sensorId = 0x3360;
    ProfileRecord p = ResetRecord(2);
    g_sensorId = kDefaultSensorId;
    p.DPILevelIndication[0] = Rgb(0x12, 0x34, 0x56);
    ASSERT_TRUE(WriteProfileRecord(p, Config("default2.psf").string()));
    const std::string settingsBefore = ReadFile(Config("config.ini"));
    const std::string profileBefore = ReadFile(Config("default2.psf"));

    CtlRun r = Ctl({"--trace", "--json", "apply"});
    ASSERT_EQ(r.exit, 0) << r.err;
    const auto w = r.Writes();
    ASSERT_EQ(w.size(), 16u);
    EXPECT_EQ(Slice(w[9], 7, 9), Bytes("12 34 56"));
    // The step codes come from the 0x3360 table the settings name, not the default sensor's.
    CtlRun other = Ctl({"--trace", "apply", "--sensor", "0x3325"});
    ASSERT_EQ(other.exit, 0) << other.err;
    EXPECT_NE(Slice(w[8], 9, 20), Slice(other.Writes()[8], 9, 20));
    EXPECT_NE(r.out.find("\"profile\":\"Profile 3\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"sensor\":\"0x3360\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"reports\":16"), std::string::npos) << r.out;
    EXPECT_EQ(ReadFile(Config("config.ini")), settingsBefore);
    EXPECT_EQ(ReadFile(Config("default2.psf")), profileBefore);
}

TEST_F(CtlProcess, ApplyUploadsTheMacrosTheButtonsNameAfterTheSettings)
{
    MacroLibrary library;
    library.AppendSet(u"Mouse Macro Set");
    MacroSet& set = *library.SetAt(0);
    library.AppendMacro(set, u"Unused");
    library.AppendMacro(set, u"Copy");
    MacroKey& copy = *library.MacroAt(set, 1);
    copy.InsertAction(0, MacroAction::Key(0x41, false));
    copy.InsertAction(1, MacroAction::Pause(50));
    copy.InsertAction(2, MacroAction::Key(0x41, true));
    copy.commandActionNum = 2;
    copy.loopNum = 3;
    ASSERT_TRUE(WriteMacroLibraryFile(library, Config("MacroLibraryFile.mlf").string()));
    const std::string libraryBefore = ReadFile(Config("MacroLibraryFile.mlf"));

    ProfileRecord p = ResetRecord(0);
    p.buttons[4].label = u"Macro:Copy";  // record button 4 is device index 3
    p.buttons[4].macro.name = u"Copy";
    p.buttons[4].code = {0x90, 0x00, 0x00};
    p.buttons[6].label = u"Macro:Gone";  // names no macro of the set: disabled
    p.buttons[6].macro.name = u"Gone";
    p.buttons[6].code = {0x90, 0x00, 0x00};
    const fs::path file = root_ / "macro.psf";
    ASSERT_TRUE(WriteProfileRecord(p, file.string()));
    const std::string profileBefore = ReadFile(file);

    CtlRun r = Ctl({"--trace", "apply", file.string()});
    ASSERT_EQ(r.exit, 0) << r.err;
    const auto w = r.Writes();
    ASSERT_EQ(w.size(), 17u) << r.err;
    // The slot pass rewrote the codes: device macro 1, loop type 2, loop count 3.
    EXPECT_EQ(Slice(w[3], 7, 10), Bytes("03 90 21 03"));
    EXPECT_EQ(Slice(w[6], 7, 10), Bytes("06 00 00 00"));
    // The macro goes last, in one packet: A press with its 50 ms pause, A release.
    std::vector<uint8_t> packet = Bytes("0C 01 0E 00 11 01 07 01 30 32 04 B0 00 04");
    packet.resize(33, 0);
    EXPECT_EQ(w[16], packet);
    EXPECT_NE(r.out.find("device macro 1"), std::string::npos) << r.out;
    EXPECT_EQ(ReadFile(file), profileBefore);
    EXPECT_EQ(ReadFile(Config("MacroLibraryFile.mlf")), libraryBefore);
}

TEST_F(CtlProcess, ApplyRefusesInvalidInputsBeforeTouchingTheMouseAndLeavesThemAsTheyAre)
{
    // A profile with one line too few.
    std::u16string text = FormatProfileFile(ResetRecord(0));
    text.erase(text.rfind(u"\t\tAllAction="));
    const fs::path bad = root_ / "bad.psf";
    WriteFile(bad, EncodeUtf16LeFile(text));
    const std::string badBefore = ReadFile(bad);
    CtlRun r = Ctl({"--trace", "apply", bad.string()});
    EXPECT_EQ(r.exit, 1);
    EXPECT_TRUE(r.Writes().empty()) << r.err;
    EXPECT_NE(r.err.find("bad.psf"), std::string::npos) << r.err;
    EXPECT_EQ(ReadFile(bad), badBefore);

    // A broken slot file, settings file or macro library is reported, not repaired.
    WriteSettings(0);
    const std::string crlf = EncodeUtf16LeFile(u"[Setting]\r\n");
    WriteFile(Config("default0.psf"), crlf);
    CtlRun slot = Ctl({"--trace", "apply"});
    EXPECT_EQ(slot.exit, 1);
    EXPECT_TRUE(slot.Writes().empty());
    EXPECT_NE(slot.err.find("CR LF"), std::string::npos) << slot.err;
    EXPECT_EQ(ReadFile(Config("default0.psf")), crlf);

    ASSERT_TRUE(WriteProfileRecord(ResetRecord(0), Config("default0.psf").string()));
    const std::string shortLibrary = EncodeUtf16LeFile(u"[MacroLibrary]\nMacroSetNum=1\n");
    WriteFile(Config("MacroLibraryFile.mlf"), shortLibrary);
    CtlRun lib = Ctl({"--trace", "apply"});
    EXPECT_EQ(lib.exit, 1);
    EXPECT_NE(lib.err.find("MacroLibraryFile.mlf is not valid at line 3: the file ends before this line"),
              std::string::npos) << lib.err;
    EXPECT_TRUE(lib.Writes().empty());
    EXPECT_EQ(ReadFile(Config("MacroLibraryFile.mlf")), shortLibrary);
    fs::remove(Config("MacroLibraryFile.mlf"));

    const std::string badSettings = EncodeUtf16LeFile(u"[Setting]\nSensor=\n");
    WriteFile(Config("config.ini"), badSettings);
    CtlRun settings = Ctl({"--trace", "apply"});
    EXPECT_EQ(settings.exit, 1);
    EXPECT_NE(settings.err.find("config.ini is not valid at line 2: no value after the '='"), std::string::npos)
        << settings.err;
    EXPECT_TRUE(settings.Writes().empty());
    EXPECT_EQ(ReadFile(Config("config.ini")), badSettings);
    EXPECT_EQ(DataFolderFiles(), (std::vector<std::string>{"config", "config/config.ini", "config/default0.psf"}));
}

TEST_F(CtlProcess, ApplyGivesProfilesPreparedForAnotherSensorThatSensorsDefaultsInMemoryOnly)
{
    // Sensor was changed to 0x3360 by hand; PreST still names 0x3325.
    WriteSettings(0, 0x3360);
    std::u16string settings = FormatSettingsFile([&] {
        CStdioFileEx f;
        f.Open(Config("config.ini").string(), CStdioFileEx::modeRead);
        auto table = g_settings;
        ParseSettingsFile(f, table);
        table[kSettingPreST].value = u"0xCCDA";
        return table;
    }());
    WriteFile(Config("config.ini"), EncodeUtf16LeFile(settings));
    ProfileRecord p = ResetRecord(0);
    p.XYSettingValue = {1, 2, 3, 4, 5, 6, 7, 8};
    ASSERT_TRUE(WriteProfileRecord(p, Config("default0.psf").string()));
    const std::string before = ReadFile(Config("default0.psf"));

    CtlRun r = Ctl({"--trace", "apply"});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_NE(r.err.find("prepared for another sensor"), std::string::npos) << r.err;
    g_sensorId = 0x3360;
    ProfileRecord prepared = p;
    ApplySensorDpiDefaults(prepared);
    CtlRun expected = Ctl({"--trace", "apply", "--sensor", "0x3360", [&] {
                               const fs::path f = root_ / "prepared.psf";
                               WriteProfileRecord(prepared, f.string());
                               return f.string();
                           }()});
    ASSERT_EQ(expected.exit, 0) << expected.err;
    EXPECT_EQ(r.Writes()[8], expected.Writes()[8]);
    EXPECT_EQ(ReadFile(Config("default0.psf")), before) << "the program saves the prepared profiles; we don't";
}

TEST_F(CtlProcess, DeviceIoFailuresAreExitCodeFourWithTheReason)
{
    CtlRun apply = Ctl({"--sim-fail-writes", "3", "--trace", "apply"});
    EXPECT_EQ(apply.exit, 4);
    EXPECT_NE(apply.err.find("3 of 16 reports could not be written"), std::string::npos) << apply.err;
    EXPECT_NE(apply.err.find("E write failed"), std::string::npos) << "the trace shows the failed writes";
    EXPECT_TRUE(apply.out.empty());

    CtlRun read = Ctl({"--sim-fail-reads", "1", "status"});
    EXPECT_EQ(read.exit, 4);
    EXPECT_NE(read.err.find("status request failed"), std::string::npos) << read.err;
    EXPECT_EQ(Ctl({"--sim-fail-writes", "1", "status"}).exit, 4);
    EXPECT_EQ(Ctl({"--sim-fail-writes", "1", "reset"}).exit, 4);
}

// --- reset ----------------------------------------------------------------------

TEST_F(CtlProcess, ResetSendsTheFactoryResetCommandAndTouchesNoFile)
{
    WriteSettings(0);
    ASSERT_TRUE(WriteProfileRecord(ResetRecord(0), Config("default0.psf").string()));
    const std::string before = ReadFile(Config("default0.psf"));
    CtlRun r = Ctl({"--trace", "reset"});
    ASSERT_EQ(r.exit, 0) << r.err;
    std::vector<uint8_t> reset = Bytes("0C 01 0F 00 01 01 01 FF");
    reset.resize(33, 0);
    ASSERT_EQ(r.Writes().size(), 1u);
    EXPECT_EQ(r.Writes()[0], reset);
    EXPECT_EQ(ReadFile(Config("default0.psf")), before);
}

// --- profile and macro files ------------------------------------------------------

TEST_F(CtlProcess, ProfileShowDecodesAValidFileAndRejectsAnInvalidOneUntouched)
{
    ProfileRecord p = ResetRecord(1);
    p.settings[kSetProfileName].value = u"Mine \"1\"\x1B[2J";
    p.buttons[0].macro.name = u"M";
    p.buttons[0].macro.actionNum = 2;
    p.buttons[0].macro.actions[0] = MacroAction::Key(0x41, false);
    p.buttons[0].macro.actions[1] = MacroAction::Pause(0x012345);
    p.lighting.Lighting1FixedColor[3][0] = Rgb(0xAB, 0xCD, 0xEF);
    const fs::path file = root_ / "show.psf";
    ASSERT_TRUE(WriteProfileRecord(p, file.string()));

    CtlRun json = Ctl({"--json", "profile", "show", file.string()});
    ASSERT_EQ(json.exit, 0) << json.err;
    const std::string& j = json.out;
    EXPECT_EQ(j.rfind("{\"version\":1,\"settings\":[{\"key\":\"ProfileName\",\"value\":\"Mine \\\"1\\\"\\u001b[2J\"}", 0), 0u) << j;
    EXPECT_NE(j.find("\"buttons\":[{\"label\":\"Left button\",\"code\":[16,1,0],\"macro\":{\"name\":\"M\","
                     "\"actionNum\":2,\"actions\":[\"41000000\",\"03012345\"]}}"),
              std::string::npos)
        << j;
    EXPECT_NE(j.find("\"pollingRateValue\":[3,0,0]"), std::string::npos);
    EXPECT_NE(j.find("\"lighting1FixedColor\":[[\"000000\""), std::string::npos);
    EXPECT_NE(j.find("[\"ABCDEF\",\"000000\""), std::string::npos) << "colours are RRGGBB in file order";
    EXPECT_NE(j.find("\"dpiLevelIndication\":[\"FF0000\",\"0000FF\""), std::string::npos);
    EXPECT_NE(j.find("\"xySettingValue\":[6,14,22,30,51,58,58,50],\"dpiValues\":[800,1600,2400,3200,6400,10000,10000,6000]"), std::string::npos) << j;
    EXPECT_NE(j.find("\"liftDetectionValue\":2}"), std::string::npos);

    // The text form never hands a control character from the file to the terminal.
    CtlRun text = Ctl({"profile", "show", file.string()});
    ASSERT_EQ(text.exit, 0);
    EXPECT_EQ(text.out.find('\x1B'), std::string::npos);
    EXPECT_NE(text.out.find("Mine \"1\"\\x1B[2J"), std::string::npos) << text.out;

    std::string bytes = ReadFile(file);
    bytes[bytes.size() - 4] = 'Z';  // the last AllAction line gets a bad digit...
    bytes.erase(bytes.size() - 4, 2);  // ...and one character too few
    WriteFile(file, bytes);
    CtlRun bad = Ctl({"profile", "show", file.string()});
    EXPECT_EQ(bad.exit, 1);
    EXPECT_TRUE(bad.out.empty());
    EXPECT_NE(bad.err.find("show.psf is not valid at line 97: the actions have 2687 characters instead of 2688"),
              std::string::npos)
        << bad.err;
    EXPECT_EQ(ReadFile(file), bytes);

    EXPECT_EQ(Ctl({"profile", "show", (root_ / "missing.psf").string()}).exit, 1);
}

TEST_F(CtlProcess, ProfileNewWritesTheResetRecordOfTheIndexAndNeverOverwritesUnasked)
{
    const fs::path file = root_ / "new.psf";
    CtlRun r = Ctl({"profile", "new", file.string(), "--index", "3"});
    ASSERT_EQ(r.exit, 0) << r.err;
    ProfileRecord read;
    ASSERT_TRUE(ReadProfileRecord(read, file.string()));
    EXPECT_EQ(read, ResetRecord(3));
    EXPECT_EQ(GetProfileName(read), u"Profile 4");

    const std::string before = ReadFile(file);
    EXPECT_EQ(Ctl({"profile", "new", file.string()}).exit, 1);
    EXPECT_EQ(ReadFile(file), before);
    ASSERT_EQ(Ctl({"profile", "new", file.string(), "--force", "--sensor", "0x3360"}).exit, 0);
    g_sensorId = 0x3360;
    ProfileRecord expected = ResetRecord(0);
    ASSERT_TRUE(ReadProfileRecord(read, file.string()));
    EXPECT_EQ(read, expected);

    EXPECT_EQ(Ctl({"profile", "new", (root_ / "no-such-folder" / "x.psf").string()}).exit, 1);
}

TEST_F(CtlProcess, MacrosShowDecodesEverySetAndRejectsABrokenFile)
{
    MacroLibrary library;
    library.AppendSet(u"First");
    library.AppendSet(u"Second");
    library.AppendMacro(*library.SetAt(1), u"Wave");
    MacroKey& m = *library.MacroAt(*library.SetAt(1), 0);
    m.InsertAction(0, MacroAction::Move(kMacroMoveX, -5));
    m.loopType = 4;
    m.commandActionNum = 1;
    const fs::path file = root_ / "lib.mlf";
    ASSERT_TRUE(WriteMacroLibraryFile(library, file.string()));
    CtlRun r = Ctl({"--json", "macros", "show", file.string()});
    ASSERT_EQ(r.exit, 0) << r.err;
    EXPECT_EQ(r.out, "{\"version\":1,\"sets\":[{\"name\":\"First\",\"macros\":[]},{\"name\":\"Second\",\"macros\":[{\"name\":"
                     "\"Wave\",\"loopType\":4,\"loopNum\":1,\"actionNum\":1,\"commandActionNum\":1,\"actions\":"
                     "[\"E50000FB\"]}]}]}\n");
    CtlRun text = Ctl({"macros", "show", file.string()});
    EXPECT_NE(text.out.find("move left 5"), std::string::npos) << text.out;

    std::string bytes = ReadFile(file);
    WriteFile(file, bytes.substr(2));  // without its byte-order mark
    CtlRun bad = Ctl({"macros", "show", file.string()});
    EXPECT_EQ(bad.exit, 1);
    EXPECT_NE(bad.err.find("byte-order mark"), std::string::npos) << bad.err;
    EXPECT_EQ(ReadFile(file), bytes.substr(2));
}

// --- discovery, usage, no mouse ------------------------------------------------------

TEST_F(CtlProcess, ListShowsTheRoleDiscoveryGivesEachInterface)
{
    CtlRun r = Ctl({"--sim-products", "AB", "--json", "list"});
    ASSERT_EQ(r.exit, 0) << r.err;
    std::string expected = "{\"version\":1,\"interfaces\":[";
    for (const char* p : {"A", "B"}) {
        const std::string product = *p == 'A' ? "0x5B2E" : "0x5B2F";
        if (*p == 'B')
            expected += ",";
        expected += "{\"path\":\"sim:" + std::string(p) + ":mouse\",\"product\":\"" + product +
                    "\",\"inputReportLength\":5,\"featureReportLength\":0,\"role\":\"ignored\"},"
                    "{\"path\":\"sim:" + p + ":input\",\"product\":\"" + product +
                    "\",\"inputReportLength\":33,\"featureReportLength\":0,\"role\":\"input\"},"
                    "{\"path\":\"sim:" + p + ":feature\",\"product\":\"" + product +
                    "\",\"inputReportLength\":0,\"featureReportLength\":33,\"role\":\"feature\"}";
    }
    expected += "]}\n";
    EXPECT_EQ(r.out, expected);
    CtlRun text = Ctl({"list"});
    EXPECT_NE(text.out.find("sim:A:feature"), std::string::npos);
    EXPECT_EQ(text.out.find("sim:B"), std::string::npos);
}

TEST_F(CtlProcess, NoMouseIsExitCodeThreeForEveryDeviceCommand)
{
    for (const char* command : {"list", "status", "apply", "reset"}) {
        CtlRun r = Ctl({"--sim-products", "none", "--trace", command});
        EXPECT_EQ(r.exit, 3) << command << ": " << r.err;
        EXPECT_NE(r.err.find("no mouse found"), std::string::npos) << r.err;
        EXPECT_TRUE(r.Writes().empty());
    }
}

TEST_F(CtlProcess, EveryFailureWithJsonPrintsTheErrorAsAnObjectOnStandardOutputToo)
{
    const struct {
        std::vector<std::string> args;
        int exit;
    } cases[] = {
        {{"--sim-products", "none", "--json", "status"}, 3},
        {{"--json", "profile", "show", (root_ / "missing.psf").string()}, 1},
        {{"--json", "frobnicate"}, 2},
        {{"--sim-fail-writes", "3", "--json", "apply"}, 4},
    };
    for (const auto& c : cases) {
        CtlRun r = Ctl(c.args);
        SCOPED_TRACE(c.args.back());
        EXPECT_EQ(r.exit, c.exit);
        // One message on standard error is the error member, word for word.
        bool found = false;
        std::istringstream lines(r.err);
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("tevlanctl: ", 0) == 0)
                found |= r.out == "{\"error\":" + JsonQuote(line.substr(11)) + ",\"exitCode\":" +
                                      std::to_string(c.exit) + "}\n";
        }
        EXPECT_TRUE(found) << r.out << r.err;
    }
}

TEST_F(CtlProcess, UsageErrorsAreExitCodeTwoWithAPointerToHelp)
{
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"frobnicate"},
        {"profile"},
        {"profile", "show"},
        {"profile", "edit", "x.psf"},
        {"macros", "show"},
        {"status", "extra"},
        {"--device", "usb", "status"},
        {"--sim-battery", "300", "status"},
        {"--sim-products", "C", "status"},
        {"--sim-sensor"},
        {"--index", "1", "status"},
        {"profile", "new", "x.psf", "--index", "5"},
        {"profile", "new", "x.psf", "--index", "0x-1"},
        {"profile", "new", "x.txt"},
        {"apply", "--sensor", "0x1234"},
        {"apply", "--sensor", "fast"},
        {"-v", "status"},
        {"--colour", "status"},
    };
    for (const auto& args : bad) {
        CtlRun r = Ctl(args);
        std::string line;
        for (const std::string& a : args)
            line += a + " ";
        EXPECT_EQ(r.exit, 2) << line << "-> " << r.err;
        EXPECT_NE(r.err.find("tevlanctl: "), std::string::npos) << line;
        EXPECT_TRUE(r.out.empty()) << line;
    }
    EXPECT_NE(Ctl({"frobnicate"}).err.find("--help"), std::string::npos);
}

TEST_F(CtlProcess, HelpAndVersionNeedNoMouseAndNoDataFolder)
{
    CtlRun help = Ctl({"--help"}, false);
    EXPECT_EQ(help.exit, 0);
    for (const char* word : {"list", "status", "apply", "reset", "profile show", "profile new", "macros show",
                             "--sim-products", "Exit codes", "udevadm"})
        EXPECT_NE(help.out.find(word), std::string::npos) << word;
    CtlRun version = Ctl({"--version"}, false);
    EXPECT_EQ(version.exit, 0);
    EXPECT_EQ(version.out.rfind("tevlanctl ", 0), 0u);
    // Without --data-dir the data folder is the one under XDG_CONFIG_HOME, and it is not created.
    CtlRun show = Ctl({"--device", "sim", "status"}, false);
    EXPECT_EQ(show.exit, 0) << show.err;
    EXPECT_FALSE(fs::exists(root_ / "xdg"));
}

TEST_F(CtlProcess, AConfigHomeThatIsAFileIsNamedAsTheReasonNothingCanBeSaved)
{
    WriteFile(root_ / "xdg", "not a folder");
    const CtlRun r = Ctl({"--device", "sim", "set", "wheel-page", "off"}, false);
    EXPECT_EQ(r.exit, 1);
    EXPECT_NE(r.err.find((root_ / "xdg").string() + " is a file, not a folder"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("XDG_CONFIG_HOME"), std::string::npos) << r.err;
}

TEST_F(CtlProcess, StandardOutputThatCannotBeWrittenIsExitCodeFourButAClosedPipeIsQuiet)
{
    // A full disk: nothing arrived, so the script must not read success.
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--json", "status"}, {"--help"}}) {
        const int full = open("/dev/full", O_WRONLY);
        ASSERT_GE(full, 0);
        CtlRun r = Ctl(args, true, full);
        close(full);
        EXPECT_EQ(r.exit, 4) << args.back();
        EXPECT_NE(r.err.find("cannot write to standard output"), std::string::npos) << r.err;
    }
    // A reader that has gone (`| head -c1` done): no complaint, by signal or not.
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    close(fds[0]);
    CtlRun r = Ctl({"--help"}, false, fds[1]);
    close(fds[1]);
    EXPECT_TRUE(r.exit == 0 || r.exit == 128 + SIGPIPE) << r.exit;
    EXPECT_EQ(r.err, "");
}

TEST_F(CtlProcess, NamesThatAreNotUtf8AreShownByteForByteAsEscapes)
{
    const std::string name = (root_ / "caf\xE9\x1B.psf").string();
    CtlRun made = Ctl({"profile", "new", name});
    ASSERT_EQ(made.exit, 0) << made.err;
    EXPECT_NE(made.out.find("caf\\xE9\\x1B.psf: profile"), std::string::npos) << made.out;
    CtlRun shown = Ctl({"profile", "show", name});
    EXPECT_NE(shown.out.find("caf\\xE9\\x1B.psf\n"), std::string::npos) << shown.out;
}

TEST_F(CtlProcess, CommandHelpExplainsThatCommandAlone)
{
    CtlRun status = Ctl({"status", "--help"}, false);
    EXPECT_EQ(status.exit, 0);
    EXPECT_NE(status.out.find("tevlanctl [--json] status"), std::string::npos) << status.out;
    EXPECT_EQ(status.out.find("profile new"), std::string::npos);
    CtlRun profile = Ctl({"-h", "profile"}, false);
    EXPECT_NE(profile.out.find("profile show"), std::string::npos);
    EXPECT_NE(profile.out.find("profile new"), std::string::npos);
    // An option's value before the command is not taken for the command.
    const std::pair<std::vector<std::string>, std::string> kOne[] = {
        {{"--profile", "2", "set", "--help"}, "] set NAME"},
        {{"--product", "cable", "watch", "-h"}, "] watch"},
        {{"help", "profile", "select"}, "] profile select N"},
    };
    for (const auto& [args, usage] : kOne) {
        CtlRun one = Ctl(args, false);
        EXPECT_EQ(one.exit, 0) << usage;
        EXPECT_NE(one.out.find(usage), std::string::npos) << one.out;
        EXPECT_EQ(one.out.find("profile new"), std::string::npos) << one.out;
    }
    EXPECT_EQ(Ctl({"-V"}, false).out, Ctl({"--version"}, false).out);
}

}  // namespace
