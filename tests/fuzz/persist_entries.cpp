// Fuzz entries for the files: profile, settings, language, macro library and
// the UTF-16LE text file underneath them all.
#include <sstream>
#include <string>

#include "ctl/ctl_show.h"
#include "device/device_reports.h"
#include "fuzz_entries.h"
#include "macros/macro_library_file.h"
#include "macros/macro_upload.h"
#include "persist/language_file.h"
#include "persist/language_list.h"
#include "persist/profile_file.h"
#include "persist/settings_file.h"
#include "persist/stdio_file_ex.h"
#include "base/text_codec.h"
#include "platform/sim/sim_mouse.h"
#include "profile/profile_record.h"
#include "settings/dpi_step_table.h"

namespace {

std::string Bytes(const uint8_t* data, size_t size) { return std::string(reinterpret_cast<const char*>(data), size); }

bool WellFramed(const FeatureReport& r) { return platform::CheckFeatureFraming(r.data(), r.size()).empty(); }

// Every command the device link builds from a record, as it would go out:
// whatever a profile file held, the mouse must get well-framed reports.
void CheckReportsOf(const ProfileRecord& r)
{
    const KeyImage keys = BuildKeyImage(r);
    for (int i = 0; i < kButtonCount; ++i) FUZZ_CHECK(WellFramed(BuildKeyReport(i, &keys[2 + 3 * i])));
    FUZZ_CHECK(WellFramed(BuildDpiReport(BuildDpiImage(r))));
    FUZZ_CHECK(WellFramed(BuildDpiColourReport(BuildDpiColourImage(r))));
    FUZZ_CHECK(WellFramed(BuildOneByteReport(kCmdPollingRate, BuildPollingByte(r))));
    FUZZ_CHECK(WellFramed(BuildLiftOffReport(BuildLiftOffByte(r))));
    FUZZ_CHECK(WellFramed(BuildOneByteReport(kCmdDebounce, BuildDebounceByte(r))));
    FUZZ_CHECK(WellFramed(BuildPowerReport(BuildPowerBytes(r))));
    FUZZ_CHECK(WellFramed(BuildOneByteReport(kCmdWakeUp, BuildWakeByte(r))));
    FUZZ_CHECK(WellFramed(BuildLightingReport(BuildLightingImage(r, true))));
    (void)BuildLightingImage(r, false);
    // The button's macro copies reach the mouse the same way library macros do.
    for (int i = 0; i < kButtonCount; ++i) {
        const MacroKey& m = r.buttons[size_t(i)].macro;
        const uint8_t index = uint8_t(i + 1);
        for (const MacroPacket& p : BuildMacroPackets(BuildMacroImage(m, index), index, m.commandActionNum))
            FUZZ_CHECK(WellFramed(p));
    }
    // What the window shows for the current level.
    const int level = LevelFromOrdinal(r.DPIOffOnFlagValue, r.CurrentDPILevelValue);
    FUZZ_CHECK(level >= 0 && level < kDpiLevelCount);
    (void)DpiStepValue(r.XYSettingValue[size_t(level)]);
}

const ProfileRecord& BaseRecord()
{
    static const ProfileRecord base = [] {
        g_sensorId = kDefaultSensorId;
        BuildDpiStepTable(kDefaultSensorId);
        ProfileRecord r;
        ResetProfileToDefaults(r, 0);
        r.buttons[2].macro.loopType = 4;  // a field the file does not carry, which must survive
        return r;
    }();
    return base;
}

// The units of a UTF-16 text after a trip through UTF-8: a lone surrogate
// cannot be written as UTF-8 and comes back as U+FFFD; everything else comes
// back as it was.
std::u16string WithoutLoneSurrogates(const std::u16string& s)
{
    std::u16string out;
    for (size_t i = 0; i < s.size(); ++i) {
        const char16_t c = s[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
            out.push_back(c);
            out.push_back(s[++i]);
        } else {
            out.push_back(c >= 0xD800 && c <= 0xDFFF ? u'\uFFFD' : c);
        }
    }
    return out;
}

bool IsValidUtf8(const std::string& s)
{
    for (size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        char32_t cp = n == 1 ? c : n == 2 ? (c & 0x1F) : n == 3 ? (c & 0x0F) : (c & 0x07);
        for (size_t k = 1; k < n; ++k) {
            const unsigned char d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        const char32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < minimum[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += n;
    }
    return true;
}

// Paths and names cross into UTF-8 at the platform edge.
void CheckUtf8Trip(const std::u16string& text)
{
    const std::string utf8 = U16ToUtf8(text);
    FUZZ_CHECK(IsValidUtf8(utf8));
    FUZZ_CHECK(Utf8ToU16(utf8) == WithoutLoneSurrogates(text));
}

// What tevlanctl shows of a file goes to a terminal or a script: valid UTF-8,
// no control characters but its own line ends (a crafted name must not drive
// the terminal), and in the JSON none at all.
void CheckShownSafely(const std::string& shown, bool lineEnds)
{
    FUZZ_CHECK(IsValidUtf8(shown));
    for (size_t i = 0; i < shown.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(shown[i]);
        FUZZ_CHECK((c >= 0x20 && c != 0x7F) || (lineEnds && c == '\n'));
        if (c == 0xC2 && i + 1 < shown.size()) {
            const unsigned char d = static_cast<unsigned char>(shown[i + 1]);
            FUZZ_CHECK(d < 0x80 || d > 0x9F);  // C1 controls such as CSI
        }
    }
}

}  // namespace

extern "C" int FuzzProfileFile(const uint8_t* data, size_t size)
{
    const ProfileRecord& base = BaseRecord();
    CStdioFileEx file;
    file.OpenBytes(Bytes(data, size));
    ProfileRecord r = base;
    if (!ParseProfileFile(file, r)) {
        FUZZ_CHECK(r == base);  // a failed parse leaves the record alone
        return 0;
    }
    for (const ButtonSlot& b : r.buttons) FUZZ_CHECK(b.macro.actionNum <= uint32_t(kMacroActionSlots));
    FUZZ_CHECK(r.buttons[2].macro.loopType == base.buttons[2].macro.loopType);

    const std::u16string text = FormatProfileFile(r);
    CStdioFileEx again;
    again.OpenBytes(EncodeUtf16LeFile(text));
    ProfileRecord r2 = base;
    FUZZ_CHECK(ParseProfileFile(again, r2));
    FUZZ_CHECK(r2 == r);
    FUZZ_CHECK(FormatProfileFile(r2) == text);

    CheckReportsOf(r);

    std::ostringstream shown;
    PrintProfileText(shown, r, "fuzz.psf", g_sensorId);
    CheckShownSafely(shown.str(), true);
    CheckShownSafely(ProfileJson(r), false);
    return 0;
}

extern "C" int FuzzSettingsFile(const uint8_t* data, size_t size)
{
    static const std::array<SettingPair, kSettingsCount> defaults = [] {
        SetSettingsDefaults("/nonexistent/fuzz/");
        return g_settings;
    }();
    CStdioFileEx file;
    file.OpenBytes(Bytes(data, size));
    auto table = defaults;
    if (!ParseSettingsFile(file, table)) {
        FUZZ_CHECK(table == defaults);
        return 0;
    }
    const std::u16string text = FormatSettingsFile(table);
    CStdioFileEx again;
    again.OpenBytes(EncodeUtf16LeFile(text));
    auto table2 = defaults;
    FUZZ_CHECK(ParseSettingsFile(again, table2));
    FUZZ_CHECK(table2 == table);

    // What start-up makes of the values: always a usable profile index,
    // slot count and order, and slot paths whose bytes survive being written
    // to the file and read again (a folder name need not be UTF-8).
    g_settings = table;
    const int current = GetCurrentProfile();
    FUZZ_CHECK(current >= 0 && current < kProfileCount);
    const int shown = GetProfileShowCount();
    FUZZ_CHECK(shown >= 1 && shown <= kProfileCount);
    for (int i = 0; i < kProfileCount; ++i) {
        const int index = GetProfileShowList(i);
        FUZZ_CHECK(index >= 0 && index < kProfileCount);
        const std::string slot = ProfileSlotPath(i);
        FUZZ_CHECK(TextToPath(PathToText(slot)) == slot);
    }
    const uint16_t sensor = GetSensorSetting();
    FUZZ_CHECK(ParseHex16(FormatSensorValue(sensor)) == sensor);
    (void)GetPreviousSensorSetting();
    g_settings = defaults;
    return 0;
}

extern "C" int FuzzLanguageFile(const uint8_t* data, size_t size)
{
    const std::string bytes = Bytes(data, size);
    // The same bytes as a LanSetting.ini: any code picks one of the shipped files.
    {
        CStdioFileEx setting;
        setting.OpenBytes(bytes);
        const std::string chosen = LanguageFileFor(ParseLanguageSetting(setting));
        bool shipped = false;
        for (const LanguageInfo& l : ShippedLanguages()) shipped = shipped || chosen == l.file;
        FUZZ_CHECK(shipped);
    }
    UiTextTable texts{};
    const LanguageParseResult result = ParseLanguageBytes(bytes, texts);
    if (result == LanguageParseResult::NoHeader) {
        for (const auto& t : texts) FUZZ_CHECK(t.empty());
        return 0;
    }
    // What was read, written as a language file and read again, is the same table.
    std::u16string text = u"[Setting]\n";
    for (int n = 0; n < kUiTextCount; ++n) {
        const std::u16string& t = texts[size_t(n)];
        if (t.empty()) continue;
        FUZZ_CHECK(t.find(u'\n') == std::u16string::npos);
        text += Utf8ToU16(std::to_string(n)) + u"=" + t + u"\n";
    }
    UiTextTable again{};
    FUZZ_CHECK(ParseLanguageBytes(EncodeUtf16LeFile(text), again) == LanguageParseResult::ReadToEnd);
    FUZZ_CHECK(again == texts);
    const UiFontSettings font = ChooseUiFont(texts[0], 2.0);
    FUZZ_CHECK(font.height == 24 || font.height == 32);
    return 0;
}

extern "C" int FuzzTextFile(const uint8_t* data, size_t size)
{
    const std::string bytes = Bytes(data, size);
    // The units after the byte-order mark, as the reader should see them.
    std::u16string units;
    for (size_t i = 2; i + 1 < size; i += 2) units.push_back(char16_t(data[i] | (data[i + 1] << 8)));

    CStdioFileEx file;
    file.OpenBytes(bytes);
    std::u16string line;
    size_t consumedUnits = 0;
    size_t lastPos = 0;
    while (file.ReadString(line)) {
        FUZZ_CHECK(!line.empty());
        const size_t pos = file.GetPosition();
        FUZZ_CHECK(pos > lastPos && pos <= size);
        lastPos = pos;
        // Each line is exactly the units it consumed, less the line feed that ended it.
        const size_t endUnit = pos >= 2 ? (pos - 2) / 2 : 0;
        FUZZ_CHECK(endUnit >= consumedUnits && endUnit <= units.size());
        const std::u16string consumed = units.substr(consumedUnits, endUnit - consumedUnits);
        FUZZ_CHECK(consumed == line || consumed == line + u"\n");
        FUZZ_CHECK(line == u"\n" || line.find(u'\n') == std::u16string::npos);
        consumedUnits = endUnit;
        CheckUtf8Trip(line);
    }
    FUZZ_CHECK(line.empty());
    FUZZ_CHECK(consumedUnits == units.size());
    FUZZ_CHECK(file.GetPosition() == size);
    // Text arriving as UTF-8 (paths, names from the desktop) converts without
    // harm, and its conversion is stable from then on.
    const std::u16string decoded = Utf8ToU16(bytes);
    CheckUtf8Trip(decoded);
    return 0;
}

extern "C" int FuzzMacroLibrary(const uint8_t* data, size_t size)
{
    MacroLibrary library;
    library.AppendSet(u"left over");  // the parse must clear what was there
    if (!ParseMacroLibrary(std::string_view(reinterpret_cast<const char*>(data), size), library)) {
        FUZZ_CHECK(library.count() == 0);
        return 0;
    }
    for (const MacroSet& set : library.sets()) {
        FUZZ_CHECK(!set.name.empty());
        for (const MacroKey& m : set.macros) {
            FUZZ_CHECK(!m.name.empty());
            FUZZ_CHECK(m.actionNum <= uint32_t(kMacroActionSlots));
        }
    }
    std::ostringstream shown;
    PrintMacroLibraryText(shown, library, "fuzz.mlf");
    CheckShownSafely(shown.str(), true);
    CheckShownSafely(MacroLibraryJson(library), false);

    MacroLibrary again;
    FUZZ_CHECK(ParseMacroLibrary(EncodeUtf16LeFile(FormatMacroLibrary(library)), again));
    FUZZ_CHECK(again == library);

    // The first set is what reaches the mouse: the slot pass and the upload
    // encoding take any macro the file held.
    if (const MacroSet* first = library.SetAt(0)) {
        ProfileRecord profile = BaseRecord();
        std::vector<int32_t> slots;
        int i = 0;
        for (const MacroKey& m : first->macros) {
            if (i >= kButtonCount) break;
            profile.buttons[size_t(i)].code = MacroButtonCode(i, m);
            profile.buttons[size_t(i)].label = u"M:" + m.name;
            profile.buttons[size_t(i)].macro.name = m.name;
            ++i;
        }
        AssignMacroSlots(profile, first, slots, u"Disabled");
        i = 0;
        for (const MacroKey& m : first->macros) {
            const int32_t slot = i < int(slots.size()) ? slots[size_t(i)] : -1;
            ++i;
            if (slot < 0) continue;
            FUZZ_CHECK(slot < kMacroDeviceIndexes);
            const uint8_t index = uint8_t(slot + 1);
            for (const MacroPacket& p : BuildMacroPackets(BuildMacroImage(m, index), index, m.commandActionNum))
                FUZZ_CHECK(WellFramed(p));
        }
    }
    return 0;
}
