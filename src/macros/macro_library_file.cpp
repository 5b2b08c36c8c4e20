#include "macros/macro_library_file.h"

#include <cstdint>
#include <optional>
#include <string>

#include "persist/data_folders.h"
#include "persist/stdio_file_ex.h"

MacroLibrary g_macroLibrary;
MacroLibrary g_macroWorkLibrary;

namespace {
// Whether g_macroLibrary holds the file (or its replacement). Owner: the
// window thread, like g_macroLibrary.
bool g_macroLibraryRead = false;
}  // namespace

namespace {

constexpr char16_t kHeader[] = u"[MacroLibrary]";
constexpr size_t kActionLineDigits = static_cast<size_t>(kMacroActionSlots) * 8;  // 2,688

void AppendDecimal(std::u16string& out, uint64_t v)
{
    char16_t buf[24];
    int n = 0;
    do {
        buf[n++] = static_cast<char16_t>(u'0' + v % 10);
        v /= 10;
    } while (v != 0);
    while (n > 0) out.push_back(buf[--n]);
}

void AppendHexByte(std::u16string& out, uint8_t b)
{
    constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    out.push_back(kDigits[b >> 4]);
    out.push_back(kDigits[b & 0x0F]);
}

void AppendLine(std::u16string& out, const char16_t* keyBefore, std::optional<uint64_t> index,
                const char16_t* keyAfter, const std::u16string& value)
{
    out += keyBefore;
    if (index) AppendDecimal(out, *index);
    out += keyAfter;
    out += u'=';
    out += value;
    out += u'\n';
}

std::u16string Decimal(uint64_t v)
{
    std::u16string s;
    AppendDecimal(s, v);
    return s;
}

// A decimal number as the files have always been read: optional sign, then
// the leading digits; no digits gives 0. Saturates instead of overflowing.
int64_t ReadDecimal(const std::u16string& s)
{
    constexpr int64_t kCap = int64_t{1} << 40;
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == u'-' || s[i] == u'+')) negative = s[i++] == u'-';
    int64_t v = 0;
    for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i) {
        v = v * 10 + (s[i] - u'0');
        if (v > kCap) v = kCap;
    }
    return negative ? -v : v;
}

// Loop type, loop count and step count keep the low byte of what was written.
uint8_t LowByte(int64_t v) { return static_cast<uint8_t>(static_cast<uint64_t>(v) & 0xFF); }

int HexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    return -1;
}

// Two characters read as hexadecimal: the value of the valid leading digits, or 0.
uint8_t ReadHexField(char16_t hi, char16_t lo)
{
    const int h = HexDigit(hi);
    if (h < 0) return 0;
    const int l = HexDigit(lo);
    if (l < 0) return static_cast<uint8_t>(h);
    return static_cast<uint8_t>(h * 16 + l);
}

// Reads the lines of a library file by position.
class LineReader {
public:
    LineReader(CStdioFileEx& file, ParseError* error) : file_(file), error_(error) {}

    bool Header()
    {
        std::u16string line;
        if (!Read(line)) return false;
        return line == kHeader || Reject("the first line is not [MacroLibrary]");
    }

    // The value of the next line: after its first "=", never empty.
    std::optional<std::u16string> Value()
    {
        std::u16string line;
        if (!Read(line)) return std::nullopt;  // the file ended early
        const size_t eq = line.find(u'=');
        if (eq == std::u16string::npos) return Reject("no '=' in the line"), std::nullopt;
        if (eq + 1 == line.size()) return Reject("no value after the '='"), std::nullopt;
        return line.substr(eq + 1);
    }

    std::optional<int64_t> Number()
    {
        auto v = Value();
        if (!v) return std::nullopt;
        return ReadDecimal(*v);
    }

    // Fails at the line just read.
    bool Reject(std::string why) { return RejectLine(error_, line_, std::move(why)); }

private:
    bool Read(std::u16string& line)
    {
        if (!file_.ReadString(line)) return RejectLine(error_, line_ + 1, "the file ends before this line");
        ++line_;
        return true;
    }

    CStdioFileEx& file_;
    ParseError* error_;
    int line_ = 0;
};

bool ReadMacro(LineReader& in, MacroKey& macro)
{
    auto loopType = in.Number();
    if (!loopType) return false;
    auto loopNum = in.Number();
    if (!loopNum) return false;
    auto actionNum = in.Number();
    if (!actionNum) return false;
    auto steps = in.Number();
    if (!steps) return false;
    auto actions = in.Value();
    if (!actions) return false;
    if (actions->size() != kActionLineDigits)
        return in.Reject("the actions have " + std::to_string(actions->size()) + " characters instead of 2688");

    macro.loopType = LowByte(*loopType);
    macro.loopNum = LowByte(*loopNum);
    // Every consumer loops over the slots with this count; one beyond the
    // 336 slots would read past the macro, and a negative one means nothing.
    macro.actionNum = static_cast<uint32_t>(*actionNum < 0 ? 0
                                            : *actionNum > kMacroActionSlots ? kMacroActionSlots
                                                                             : *actionNum);
    macro.commandActionNum = LowByte(*steps);
    const std::u16string& a = *actions;
    for (size_t k = 0; k < static_cast<size_t>(kMacroActionSlots); ++k) {
        const size_t p = k * 8;
        macro.actions[k] = {ReadHexField(a[p], a[p + 1]), ReadHexField(a[p + 2], a[p + 3]),
                            ReadHexField(a[p + 4], a[p + 5]), ReadHexField(a[p + 6], a[p + 7])};
    }
    return true;
}

bool ReadLibrary(CStdioFileEx& file, MacroLibrary& library, ParseError* error)
{
    LineReader in(file, error);
    if (!in.Header()) return false;
    auto sets = in.Number();
    if (!sets) return false;
    for (int64_t i = 0; i < *sets; ++i) {
        auto setName = in.Value();
        if (!setName) return false;
        library.AppendSet(*setName);
        MacroSet& set = library.sets().back();
        auto macros = in.Number();
        if (!macros) return false;
        for (int64_t j = 0; j < *macros; ++j) {
            auto macroName = in.Value();
            if (!macroName) return false;
            library.AppendMacro(set, *macroName);
            if (!ReadMacro(in, set.macros.back())) return false;
        }
    }
    return true;
}

bool ReadOpenedFile(CStdioFileEx& file, MacroLibrary& library, ParseError* error)
{
    library.ClearLibrary();
    if (ReadLibrary(file, library, error)) return true;
    library.ClearLibrary();
    return false;
}

}  // namespace

std::u16string FormatMacroLibrary(const MacroLibrary& library)
{
    std::u16string out;
    out += kHeader;
    out += u'\n';
    AppendLine(out, u"MacroSetNum", std::nullopt, u"", Decimal(library.count()));
    uint64_t i = 0;
    for (const MacroSet& set : library.sets()) {
        AppendLine(out, u"\tMacroSet", i++, u"Name", set.name);
        AppendLine(out, u"\t\tMacroKeyNum", std::nullopt, u"", Decimal(set.macroNum()));
        uint64_t j = 0;
        for (const MacroKey& m : set.macros) {
            AppendLine(out, u"\t\tMacroKey", j, u"Name", m.name);
            AppendLine(out, u"\t\t\tMacroKey", j, u"LoopType", Decimal(m.loopType));
            AppendLine(out, u"\t\t\tMacroKey", j, u"LoopNum", Decimal(m.loopNum));
            AppendLine(out, u"\t\t\tMacroActionNum", std::nullopt, u"", Decimal(m.actionNum));
            AppendLine(out, u"\t\t\tMacroCommandActionNum", std::nullopt, u"", Decimal(m.commandActionNum));
            // All 336 slots, used or not: the line's length is part of the format.
            std::u16string actions;
            actions.reserve(kActionLineDigits);
            for (const MacroAction& a : m.actions) {
                AppendHexByte(actions, a.b0);
                AppendHexByte(actions, a.b1);
                AppendHexByte(actions, a.b2);
                AppendHexByte(actions, a.b3);
            }
            AppendLine(out, u"\t\t\tAllAction", std::nullopt, u"", actions);
            ++j;
        }
    }
    return out;
}

bool ParseMacroLibrary(std::string_view fileBytes, MacroLibrary& library, ParseError* error)
{
    CStdioFileEx file;
    file.OpenBytes(std::string(fileBytes));
    return ReadOpenedFile(file, library, error);
}

bool WriteMacroLibraryFile(const MacroLibrary& library, const std::string& path)
{
    CStdioFileEx file;
    if (!file.Open(path, CStdioFileEx::modeWrite)) return false;
    file.WriteString(FormatMacroLibrary(library));
    return file.Close();
}

bool ReadMacroLibraryFile(MacroLibrary& library, const std::string& path, ParseError* error)
{
    library.ClearLibrary();
    CStdioFileEx file;
    if (!file.Open(path, CStdioFileEx::modeRead)) return RejectLine(error, 0, "the file cannot be read");
    return ReadOpenedFile(file, library, error);
}

bool LoadApplicationMacroLibrary(MacroLibrary& library, const std::string& path)
{
    if (ReadMacroLibraryFile(library, path)) return true;
    library.ClearLibrary();
    library.AppendSet(kDefaultMacroSetName);
    WriteMacroLibraryFile(library, path);
    return false;
}

std::string MacroLibraryPath() { return UserDataPath(kMacroLibraryRelativePath); }

bool LoadApplicationMacroLibrary()
{
    g_macroLibraryRead = true;
    return LoadApplicationMacroLibrary(g_macroLibrary, MacroLibraryPath());
}

void EnsureApplicationMacroLibrary()
{
    if (!g_macroLibraryRead) LoadApplicationMacroLibrary();
}

void ForgetApplicationMacroLibrary()
{
    g_macroLibrary.ClearLibrary();
    g_macroLibraryRead = false;
}

bool ApplicationMacroLibraryRead() { return g_macroLibraryRead; }

bool LoadWorkingMacroLibrary() { return ReadMacroLibraryFile(g_macroWorkLibrary, MacroLibraryPath()); }
