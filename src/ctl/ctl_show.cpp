#include "ctl/ctl_show.h"

#include <cstdio>

#include "buttons/key_names.h"
#include "ctl/json_writer.h"
#include "base/text_codec.h"
#include "settings/dpi_step_table.h"

namespace {

std::string Hex2(unsigned v)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02X", v & 0xFF);
    return buf;
}

std::string CodeText(const ButtonFunctionCode& c) { return Hex2(c.type) + " " + Hex2(c.param) + " " + Hex2(c.extra); }

const char* PollingName(int index)
{
    switch (index) {
    case 0: return "125 Hz";
    case 1: return "250 Hz";
    case 2: return "500 Hz";
    default: return "1000 Hz";
    }
}

void ByteArray(JsonWriter& j, const uint8_t* bytes, size_t n)
{
    j.BeginArray();
    for (size_t i = 0; i < n; ++i)
        j.Int(bytes[i]);
    j.EndArray();
}

template <size_t N>
void ByteArray(JsonWriter& j, const std::array<uint8_t, N>& a)
{
    ByteArray(j, a.data(), N);
}

template <size_t N>
void ColourArray(JsonWriter& j, const std::array<COLORREF, N>& a)
{
    j.BeginArray();
    for (COLORREF c : a)
        j.Utf8String(ColourText(c));
    j.EndArray();
}

void ActionArray(JsonWriter& j, const MacroKey& macro)
{
    j.BeginArray();
    for (int i = 0; i < macro.UsedActions(); ++i)
        j.Utf8String(ActionText(macro.actions[size_t(i)]));
    j.EndArray();
}

}  // namespace

std::string PrintableText(const std::u16string& text)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            out += U16ToUtf8(text.substr(i, 2));
            ++i;
        } else if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) {
            out += "\\x" + Hex2(c);  // a control character, such as ESC or CSI, must not drive the terminal
        } else if (c >= kUndecodableByteBase + 0x80 && c <= kUndecodableByteBase + 0xFF) {
            out += "\\x" + Hex2(c - kUndecodableByteBase);  // a byte of a name that is not UTF-8
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            out += "\\u" + Hex2(c >> 8) + Hex2(c);  // half of a character from a UTF-16 file
        } else {
            out += U16ToUtf8(std::u16string_view(&text[i], 1));
        }
    }
    return out;
}

std::string ColourText(COLORREF colour) { return Hex2(RedOf(colour)) + Hex2(GreenOf(colour)) + Hex2(BlueOf(colour)); }

std::string SensorIdText(uint16_t id) { return "0x" + Hex2(id >> 8) + Hex2(id); }

std::string ActionText(const MacroAction& a) { return Hex2(a.b0) + Hex2(a.b1) + Hex2(a.b2) + Hex2(a.b3); }

std::string DescribeMacroAction(const MacroAction& a)
{
    if (a.b0 <= 0x07) {
        if (a.IsPause())
            return "pause " + std::to_string(a.PauseMs()) + " ms";
        return "pause (code " + Hex2(a.b0) + ", not sent to the mouse)";
    }
    const char* verb = a.IsRelease() ? "release " : "press ";
    switch (a.b0) {
    case kMacroLeftButton: return std::string(verb) + "left button";
    case kMacroRightButton: return std::string(verb) + "right button";
    case kMacroMiddleButton: return std::string(verb) + "middle button";
    case kMacroButton4: return std::string(verb) + "button 4";
    case kMacroButton5: return std::string(verb) + "button 5";
    case kMacroMoveX:
        return a.Amount() < 0 ? "move left " + std::to_string(-a.Amount()) : "move right " + std::to_string(a.Amount());
    case kMacroMoveY:
        return a.Amount() < 0 ? "move up " + std::to_string(-a.Amount()) : "move down " + std::to_string(a.Amount());
    case kMacroWheel:
        return a.Amount() < 0 ? "wheel up " + std::to_string(-a.Amount()) : "wheel down " + std::to_string(a.Amount());
    default: return std::string(verb) + PrintableText(GetKeyName(a.b0)) + " (0x" + Hex2(a.b0) + ")";
    }
}

void PrintProfileText(std::ostream& out, const ProfileRecord& r, const std::string& path, uint16_t sensor)
{
    out << "Profile file " << PrintableText(Utf8ToU16(path)) << "\n";
    out << "Name: " << PrintableText(GetProfileName(r)) << "\n\n";

    out << "Settings:\n";
    for (const SettingPair& s : r.settings)
        out << "  " << PrintableText(s.key) << " = " << PrintableText(s.value) << "\n";

    out << "\nDPI levels (enable mask 0x" << Hex2(r.DPIOffOnFlagValue) << ", current level ordinal "
        << int(r.CurrentDPILevelValue) << "; DPI for sensor " << SensorIdText(sensor) << "):\n";
    for (int i = 0; i < kDpiLevelCount; ++i) {
        const bool on = (r.DPIOffOnFlagValue >> i) & 1;
        const int step = r.XYSettingValue[size_t(i)];
        char line[96];
        std::snprintf(line, sizeof line, "  level %d  %-3s  step %3d  %5d DPI  colour %s\n", i + 1, on ? "on" : "off",
                      step, DpiStepValue(step), ColourText(r.DPILevelIndication[size_t(i)]).c_str());
        out << line;
    }
    out << "  angle snap " << int(r.AngleSnapValue) << ", lift detection " << int(r.LiftDetectionValue) << "\n";

    out << "\nPolling rate: " << PrintableText(r.PollingRateName) << " (value " << Hex2(r.PollingRateValue[0]) << " "
        << Hex2(r.PollingRateValue[1]) << " " << Hex2(r.PollingRateValue[2]) << ", sent as "
        << PollingName(r.PollingRateValue[0]) << ")\n";

    const LightingSettings& l = r.lighting;
    const int m = l.Lighting1ModeValue[0];
    out << "\nLighting 1: " << PrintableText(l.Lighting1Name) << ", " << (l.Lighting1OffOn ? "on" : "off") << ", mode "
        << m;
    if (m < kLightingModeCount) {
        out << ", speed " << int(l.Lighting1Speed[size_t(m)]) << ", brightness " << int(l.Lighting1Brightness[size_t(m)])
            << ", direction " << int(l.Lighting1Direction[size_t(m)]) << "\n  colours of mode " << m << ":";
        for (int s = 0; s < kLightingColorSlots; ++s)
            out << " " << ColourText(l.Lighting1FixedColor[size_t(m)][size_t(s)])
                << (l.Lighting1ColorSelected[size_t(m)][size_t(s)] ? "*" : "");
        out << "  (* selected)";
    }
    out << "\nLighting 2: " << PrintableText(l.Lighting2Name) << ", " << (l.Lighting2OffOn ? "on" : "off") << ", mode "
        << int(l.Lighting2ModeValue[0]) << ", speed " << int(l.Lighting2Speed) << ", brightness "
        << int(l.Lighting2Brightness) << ", colour " << ColourText(l.Lighting2FixedColor) << "\n";

    out << "\nButtons:\n";
    for (int b = 0; b < kButtonCount; ++b) {
        const ButtonSlot& s = r.buttons[size_t(b)];
        out << "  " << b + 1 << "  " << CodeText(s.code) << "  " << PrintableText(s.label) << "\n";
        if (!s.macro.name.empty() || s.macro.actionNum != 0)
            out << "       its macro: " << PrintableText(s.macro.name) << ", " << s.macro.actionNum << " actions\n";
    }
}

namespace {

// "settings": the key and value pairs of the record, numbers as numbers.
void SettingsJson(JsonWriter& j, const ProfileRecord& r)
{
    j.Key("settings");
    j.BeginArray();
    for (size_t i = 0; i < r.settings.size(); ++i) {
        const SettingPair& s = r.settings[i];
        j.BeginObject();
        j.Member("key", s.key);
        // Numbers as numbers; the name and the game files are text whatever they hold.
        const bool number = i > kSetGameFile2 && !s.value.empty() && s.value.size() < 10 &&
                            s.value.find_first_not_of(u"0123456789") == std::u16string::npos;
        if (number)
            j.MemberInt("value", ParseDecimal(s.value));
        else
            j.Member("value", s.value);
        j.EndObject();
    }
    j.EndArray();
}

// "buttons": label, code and macro copy of each.
void ButtonsJson(JsonWriter& j, const ProfileRecord& r)
{
    j.Key("buttons");
    j.BeginArray();
    for (const ButtonSlot& s : r.buttons) {
        j.BeginObject();
        j.Member("label", s.label);
        j.Key("code");
        j.BeginArray();
        j.Int(s.code.type);
        j.Int(s.code.param);
        j.Int(s.code.extra);
        j.EndArray();
        j.Key("macro");
        j.BeginObject();
        j.Member("name", s.macro.name);
        j.MemberInt("actionNum", s.macro.actionNum);
        j.Key("actions");
        ActionArray(j, s.macro);
        j.EndObject();
        j.EndObject();
    }
    j.EndArray();
}

// "lighting": both groups, every per-mode value.
void LightingJson(JsonWriter& j, const LightingSettings& l)
{
    j.Key("lighting");
    j.BeginObject();
    j.MemberInt("lighting1OffOn", l.Lighting1OffOn);
    j.Member("lighting1Name", l.Lighting1Name);
    j.Key("lighting1ModeValue");
    ByteArray(j, l.Lighting1ModeValue);
    j.Key("lighting1Speed");
    ByteArray(j, l.Lighting1Speed);
    j.Key("lighting1Brightness");
    ByteArray(j, l.Lighting1Brightness);
    j.Key("lighting1ColorSelected");
    j.BeginArray();
    for (const auto& group : l.Lighting1ColorSelected)
        ByteArray(j, group);
    j.EndArray();
    j.Key("lighting1FixedColor");
    j.BeginArray();
    for (const auto& group : l.Lighting1FixedColor)
        ColourArray(j, group);
    j.EndArray();
    j.Key("lighting1Direction");
    ByteArray(j, l.Lighting1Direction);
    j.MemberInt("lighting2OffOn", l.Lighting2OffOn);
    j.Member("lighting2Name", l.Lighting2Name);
    j.Key("lighting2ModeValue");
    ByteArray(j, l.Lighting2ModeValue);
    j.MemberInt("lighting2Speed", l.Lighting2Speed);
    j.MemberInt("lighting2Brightness", l.Lighting2Brightness);
    j.MemberUtf8("lighting2FixedColor", ColourText(l.Lighting2FixedColor));
    j.EndObject();
}

// The DPI levels: steps, their DPI on the sensor in use, the current level and colours.
void DpiJson(JsonWriter& j, const ProfileRecord& r)
{
    j.MemberInt("dpiOffOnFlagValue", r.DPIOffOnFlagValue);
    j.Key("xySettingValue");
    j.BeginArray();
    for (uint16_t v : r.XYSettingValue)
        j.Int(v);
    j.EndArray();
    // The DPI each step stands for on the sensor in use, for scripts.
    j.Key("dpiValues");
    j.BeginArray();
    for (uint16_t v : r.XYSettingValue)
        j.Int(DpiStepValue(v));
    j.EndArray();
    j.MemberInt("currentDpiLevelValue", r.CurrentDPILevelValue);
    j.Key("dpiLevelIndication");
    ColourArray(j, r.DPILevelIndication);
    j.MemberInt("angleSnapValue", r.AngleSnapValue);
    j.MemberInt("liftDetectionValue", r.LiftDetectionValue);
}

}  // namespace

std::string ProfileJson(const ProfileRecord& r)
{
    JsonWriter j;
    j.BeginObject();
    j.MemberInt("version", 1);
    SettingsJson(j, r);
    ButtonsJson(j, r);
    j.Member("pollingRateName", r.PollingRateName);
    j.Key("pollingRateValue");
    ByteArray(j, r.PollingRateValue);
    LightingJson(j, r.lighting);
    DpiJson(j, r);
    j.EndObject();
    return j.Text();
}

void PrintMacroLibraryText(std::ostream& out, const MacroLibrary& library, const std::string& path)
{
    out << "Macro library " << PrintableText(Utf8ToU16(path)) << ": " << library.count()
        << (library.count() == 1 ? " set" : " sets") << "\n";
    int setNumber = 0;
    for (const MacroSet& set : library.sets()) {
        ++setNumber;
        out << "\nSet " << setNumber << ": " << PrintableText(set.name) << " (" << set.macroNum()
            << (set.macroNum() == 1 ? " macro" : " macros") << (setNumber == 1 ? "; the set that reaches the mouse" : "")
            << ")\n";
        for (const MacroKey& m : set.macros) {
            out << "  " << PrintableText(m.name) << ": loop type " << int(m.loopType) << ", loop count "
                << int(m.loopNum) << ", " << m.actionNum << " actions, " << int(m.commandActionNum)
                << " device steps\n";
            for (int i = 0; i < m.UsedActions(); ++i)
                out << "    " << i + 1 << "  " << ActionText(m.actions[size_t(i)]) << "  "
                    << DescribeMacroAction(m.actions[size_t(i)]) << "\n";
        }
    }
}

std::string MacroLibraryJson(const MacroLibrary& library)
{
    JsonWriter j;
    j.BeginObject();
    j.MemberInt("version", 1);
    j.Key("sets");
    j.BeginArray();
    for (const MacroSet& set : library.sets()) {
        j.BeginObject();
        j.Member("name", set.name);
        j.Key("macros");
        j.BeginArray();
        for (const MacroKey& m : set.macros) {
            j.BeginObject();
            j.Member("name", m.name);
            j.MemberInt("loopType", m.loopType);
            j.MemberInt("loopNum", m.loopNum);
            j.MemberInt("actionNum", m.actionNum);
            j.MemberInt("commandActionNum", m.commandActionNum);
            j.Key("actions");
            ActionArray(j, m);
            j.EndObject();
        }
        j.EndArray();
        j.EndObject();
    }
    j.EndArray();
    j.EndObject();
    return j.Text();
}
