#include "persist/profile_file.h"

#include "persist/settings_file.h"
#include "base/text_codec.h"

namespace {

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";
constexpr size_t kAllActionChars = size_t(kMacroActionSlots) * 8;  // 2,688

void Hex2(std::u16string& out, uint8_t v)
{
    out.push_back(kHexDigits[v >> 4]);
    out.push_back(kHexDigits[v & 0xF]);
}

void Hex4(std::u16string& out, uint16_t v)
{
    Hex2(out, uint8_t(v >> 8));
    Hex2(out, uint8_t(v));
}

void Rgb6(std::u16string& out, COLORREF c)
{
    Hex2(out, RedOf(c));
    Hex2(out, GreenOf(c));
    Hex2(out, BlueOf(c));
}

void Line(std::u16string& out, const char* key, const std::u16string& value)
{
    out += Ascii(key);
    out += value;
    out.push_back(u'\n');
}

std::u16string HexByte(uint8_t v)
{
    std::u16string s;
    Hex2(s, v);
    return s;
}

std::u16string Bytes3(const std::array<uint8_t, 3>& b)
{
    std::u16string s;
    for (uint8_t v : b) Hex2(s, v);
    return s;
}

std::u16string TenValues(const std::array<uint8_t, kLightingModeCount>& v)
{
    std::u16string s;
    for (size_t j = 0; j < v.size(); ++j) {
        Hex2(s, v[j]);
        if (j + 1 < v.size()) s.push_back(u'|');
    }
    return s;
}

std::u16string Num(long long v)
{
    return DecimalText(v);
}

// ---- reading ----

int HexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    return -1;
}

// The value part of a split line.
struct Split {
    std::u16string line;
    long p = -1;  // first '=', or -1

    std::u16string Value() const { return p < 0 ? std::u16string() : line.substr(size_t(p) + 1); }
    std::u16string Key() const { return p < 0 ? std::u16string() : line.substr(0, size_t(p)); }
    // The w characters at offset o of the value (fewer when the line is
    // shorter), read as hexadecimal up to the first non-digit.
    uint32_t Hex(size_t o, size_t w) const
    {
        size_t start = size_t(p) + 1 + o;
        uint32_t v = 0;
        for (size_t i = start; i < start + w && i < line.size(); ++i) {
            int d = HexDigit(line[i]);
            if (d < 0) break;
            v = (v << 4) | uint32_t(d);
        }
        return v;
    }
    uint8_t Byte(size_t o) const { return uint8_t(Hex(o, 2)); }
    COLORREF Colour(size_t o) const { return Rgb(Byte(o), Byte(o + 2), Byte(o + 4)); }
};

class LineReader {
public:
    LineReader(CStdioFileEx& f, ParseError* error) : file_(f), error_(error) {}

    // The next line, or false at the end of the file.
    bool Next(Split& s)
    {
        if (!file_.ReadString(s.line)) return RejectLine(error_, line_ + 1, "the file ends before this line");
        ++line_;
        size_t eq = s.line.find(u'=');
        s.p = eq == std::u16string::npos ? -1 : long(eq);
        return true;
    }
    // A line with '=' (its key may be empty).
    bool WithEquals(Split& s) { return Next(s) && (s.p >= 0 || Reject("no '=' in the line")); }
    // A line with a non-empty key: '=' at position 1 or later.
    bool Pair(Split& s) { return WithEquals(s) && (s.p >= 1 || Reject("no name before the '='")); }
    // Fails at the line just read.
    bool Reject(std::string why) { return RejectLine(error_, line_, std::move(why)); }

private:
    CStdioFileEx& file_;
    ParseError* error_;
    int line_ = 0;
};

// Three bytes "XX|XX|XX" and ten "XX|" values of the line just read.
void Bytes3Of(const Split& s, std::array<uint8_t, 3>& b)
{
    for (size_t i = 0; i < 3; ++i) b[i] = s.Byte(2 * i);
}
void TenOf(const Split& s, std::array<uint8_t, kLightingModeCount>& v)
{
    for (size_t j = 0; j < v.size(); ++j) v[j] = s.Byte(3 * j);
}

// The DPI levels, angle snap and lift detection lines.
bool ParseDpi(LineReader& in, Split& s, ProfileRecord& r)
{
    if (!in.Pair(s)) return false;
    r.DPIOffOnFlagValue = s.Byte(0);
    for (auto& step : r.XYSettingValue) {
        if (!in.Pair(s)) return false;
        step = uint16_t(s.Hex(0, 4));
    }
    if (!in.Pair(s)) return false;
    r.CurrentDPILevelValue = s.Byte(0);
    for (auto& colour : r.DPILevelIndication) {
        if (!in.Pair(s)) return false;
        colour = s.Colour(0);
    }
    if (!in.Pair(s)) return false;
    r.AngleSnapValue = s.Byte(0);
    if (!in.Pair(s)) return false;
    r.LiftDetectionValue = s.Byte(0);
    return true;
}

// Both lighting groups.
bool ParseLighting(LineReader& in, Split& s, LightingSettings& l)
{
    if (!in.Pair(s)) return false;
    l.Lighting1Name = s.Value();
    if (!in.Pair(s)) return false;
    Bytes3Of(s, l.Lighting1ModeValue);
    if (!in.Pair(s)) return false;
    l.Lighting1OffOn = s.Byte(0);
    if (!in.Pair(s)) return false;
    TenOf(s, l.Lighting1Speed);
    if (!in.Pair(s)) return false;
    TenOf(s, l.Lighting1Brightness);
    if (!in.Pair(s)) return false;
    for (size_t k = 0; k < 100; ++k) l.Lighting1ColorSelected[k / 10][k % 10] = s.Byte(3 * k);
    if (!in.Pair(s)) return false;
    for (size_t k = 0; k < 100; ++k) l.Lighting1FixedColor[k / 10][k % 10] = s.Colour(7 * k);
    if (!in.Pair(s)) return false;
    TenOf(s, l.Lighting1Direction);

    if (!in.Pair(s)) return false;
    l.Lighting2Name = s.Value();
    if (!in.Pair(s)) return false;
    Bytes3Of(s, l.Lighting2ModeValue);
    if (!in.Pair(s)) return false;
    l.Lighting2OffOn = s.Byte(0);
    if (!in.Pair(s)) return false;
    l.Lighting2Speed = s.Byte(0);
    if (!in.Pair(s)) return false;
    l.Lighting2Brightness = s.Byte(0);
    if (!in.Pair(s)) return false;
    l.Lighting2FixedColor = s.Colour(0);
    return true;
}

// One button: label, code and its macro copy.
bool ParseButton(LineReader& in, Split& s, ButtonSlot& button)
{
    if (!in.Pair(s)) return false;
    button.label = s.Value();
    if (!in.Pair(s)) return false;
    button.code = {s.Byte(0), s.Byte(2), s.Byte(4)};

    // The macro name may be empty and its line may even lack a key.
    if (!in.WithEquals(s)) return false;
    button.macro.name = s.Value();

    if (!in.WithEquals(s)) return false;
    if (size_t(s.p) + 1 >= s.line.size()) return in.Reject("no value after the '='");
    // A count beyond the slots that exist would let later code read past
    // the actions; it is limited to 336 (and a negative one to 0).
    long long count = ParseDecimal(s.Value());
    if (count < 0) count = 0;
    if (count > kMacroActionSlots) count = kMacroActionSlots;
    button.macro.actionNum = uint32_t(count);

    if (!in.WithEquals(s)) return false;
    if (const size_t n = s.line.size() - size_t(s.p) - 1; n != kAllActionChars)
        return in.Reject("the actions have " + std::to_string(n) + " characters instead of 2688");
    for (size_t k = 0; k < size_t(kMacroActionSlots); ++k) {
        button.macro.actions[k] = {s.Byte(8 * k), s.Byte(8 * k + 2), s.Byte(8 * k + 4), s.Byte(8 * k + 6)};
    }
    return true;
}

bool ParseInto(CStdioFileEx& file, ProfileRecord& r, ParseError* error)
{
    LineReader in(file, error);
    Split s;
    if (!in.Next(s)) return false;
    if (s.line != u"[Setting]") return in.Reject("the first line is not [Setting]");

    for (auto& pair : r.settings) {
        if (!in.Pair(s)) return false;
        pair.key = s.Key();
        pair.value = s.Value();
    }
    if (!ParseDpi(in, s, r)) return false;
    if (!in.Pair(s)) return false;
    r.PollingRateName = s.Value();
    if (!in.Pair(s)) return false;
    Bytes3Of(s, r.PollingRateValue);
    if (!ParseLighting(in, s, r.lighting)) return false;
    for (auto& button : r.buttons)
        if (!ParseButton(in, s, button)) return false;
    return true;
}

}  // namespace

namespace {

// Both lighting groups' lines.
void FormatLighting(std::u16string& out, const LightingSettings& l)
{
    Line(out, "Lighting1Name=", l.Lighting1Name);
    Line(out, "\tLighting1ModeValue=", Bytes3(l.Lighting1ModeValue));
    Line(out, "\tLighting1OffOn=", HexByte(l.Lighting1OffOn));
    Line(out, "\tLighting1Speed=", TenValues(l.Lighting1Speed));
    Line(out, "\tLighting1Brightness=", TenValues(l.Lighting1Brightness));
    out += u"\tLighting1ColorSelected=";
    for (const auto& group : l.Lighting1ColorSelected) {
        for (size_t j = 0; j < group.size(); ++j) {
            Hex2(out, group[j]);
            out.push_back(j + 1 < group.size() ? u'|' : u';');
        }
    }
    out.push_back(u'\n');
    out += u"\tLighting1FixedColor=";
    for (const auto& group : l.Lighting1FixedColor) {
        for (size_t j = 0; j < group.size(); ++j) {
            Rgb6(out, group[j]);
            out.push_back(j + 1 < group.size() ? u'|' : u';');
        }
    }
    out.push_back(u'\n');
    Line(out, "\tLighting1Direction=", TenValues(l.Lighting1Direction));
    Line(out, "Lighting2Name=", l.Lighting2Name);
    Line(out, "\tLighting2ModeValue=", Bytes3(l.Lighting2ModeValue));
    Line(out, "\tLighting2OffOn=", HexByte(l.Lighting2OffOn));
    Line(out, "\tLighting2Speed=", HexByte(l.Lighting2Speed));
    Line(out, "\tLighting2Brightness=", HexByte(l.Lighting2Brightness));
    out += u"\tLighting2FixedColor=";
    Rgb6(out, l.Lighting2FixedColor);
    out.push_back(u'\n');
}

// Button b's label, code and macro copy.
void FormatButton(std::u16string& out, int b, const ButtonSlot& slot)
{
    const std::u16string n = Num(b);
    out += u"Key" + n + u"Name=" + slot.label + u"\n";
    out += u"\tKey" + n + u"Value=";
    Hex2(out, slot.code.type);
    Hex2(out, slot.code.param);
    Hex2(out, slot.code.extra);
    out.push_back(u'\n');
    out += u"\tMacroKey" + n + u"Name=" + slot.macro.name + u"\n";
    out += u"\t\tMacroActionNum=" + Num(slot.macro.actionNum) + u"\n";
    out += u"\t\tAllAction=";
    for (const MacroAction& a : slot.macro.actions) {
        Hex2(out, a.b0);
        Hex2(out, a.b1);
        Hex2(out, a.b2);
        Hex2(out, a.b3);
    }
    out.push_back(u'\n');
}

}  // namespace

std::u16string FormatProfileFile(const ProfileRecord& r)
{
    std::u16string out;
    out.reserve(8 * 2800 + 4000);
    out += u"[Setting]\n";
    for (const auto& pair : r.settings) {
        out += pair.key;
        out.push_back(u'=');
        out += pair.value;
        out.push_back(u'\n');
    }
    Line(out, "DPIOffOnFlagValue=", HexByte(r.DPIOffOnFlagValue));
    for (int i = 0; i < kDpiLevelCount; ++i) {
        out += u"\tXYSetting" + Num(i + 1) + u"Value=";
        Hex4(out, r.XYSettingValue[size_t(i)]);
        out.push_back(u'\n');
    }
    Line(out, "\tCurrentDPILevelValue=", HexByte(r.CurrentDPILevelValue));
    for (int i = 0; i < kDpiLevelCount; ++i) {
        out += u"\tDPILevelIndication" + Num(i) + u"Valuer=";
        Rgb6(out, r.DPILevelIndication[size_t(i)]);
        out.push_back(u'\n');
    }
    Line(out, "\tAngleSnapValue=", HexByte(r.AngleSnapValue));
    Line(out, "\tLiftDetectionValue=", HexByte(r.LiftDetectionValue));
    Line(out, "PollingRateName=", r.PollingRateName);
    Line(out, "\tPollingRateValue=", Bytes3(r.PollingRateValue));

    FormatLighting(out, r.lighting);
    for (int b = 0; b < kButtonCount; ++b) FormatButton(out, b, r.buttons[size_t(b)]);
    return out;
}

bool WriteProfileRecord(const ProfileRecord& record, const std::string& path)
{
    CStdioFileEx file;
    if (!file.Open(path, CStdioFileEx::modeWrite)) return false;
    file.WriteString(FormatProfileFile(record));
    return file.Close();
}

bool WriteProfileFile(int index, const std::string& path)
{
    if (index < 0 || index >= kProfileCount) return false;
    return WriteProfileRecord(g_profiles[size_t(index)], path);
}

bool ParseProfileFile(CStdioFileEx& file, ProfileRecord& record, ParseError* error)
{
    // Fields the file does not carry (the macro loop settings) keep their values.
    ProfileRecord scratch = record;
    if (!ParseInto(file, scratch, error)) return false;
    record = std::move(scratch);
    return true;
}

bool ReadProfileRecord(ProfileRecord& record, const std::string& path, ParseError* error)
{
    CStdioFileEx file;
    if (!file.Open(path, CStdioFileEx::modeRead)) {
        if (error && file.ReadFailed()) error->unreadable = true;
        return RejectLine(error, 0, "the file cannot be read");
    }
    return ParseProfileFile(file, record, error);
}

bool ReadProfileFile(int index, const std::string& path, bool mayWrite)
{
    if (index < 0 || index >= kProfileCount) return false;
    ProfileRecord& record = g_profiles[size_t(index)];
    ParseError error;
    if (ReadProfileRecord(record, path, &error)) return true;
    ResetProfileToDefaults(record, index);
    // A file that could not be read may be good: the defaults stay in memory.
    if (mayWrite && !error.unreadable) WriteProfileFile(index, ProfileSlotPath(index));
    return false;
}

std::string ProfileSlotPath(int index)
{
    if (index < 0 || index >= kProfileCount) return {};
    return TextToPath(GetSetting(kSettingProfileSlot0URL + index, 1));
}

bool SaveAllProfileFiles()
{
    bool all = true;
    for (int i = 0; i < kProfileCount; ++i) all = WriteProfileFile(i, ProfileSlotPath(i)) && all;
    return all;
}
