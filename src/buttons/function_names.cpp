#include "buttons/function_names.h"

#include <cstdio>
#include <vector>

#include "buttons/fire_input.h"
#include "buttons/function_catalogue.h"
#include "buttons/key_capture.h"
#include "base/text_codec.h"

namespace {

constexpr ButtonMenu kMenus[] = {ButtonMenu::Main,   ButtonMenu::Dpi,     ButtonMenu::Multimedia,
                                 ButtonMenu::Office, ButtonMenu::Windows, ButtonMenu::DpiLock};

char16_t Lower(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c - u'A' + u'a') : c; }

bool SameWord(const std::u16string& a, const std::u16string& b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

// Splits at spaces; "..." keeps spaces, \" and \\ inside quotes stand for
// themselves. Nothing for an unterminated quote.
std::optional<std::vector<std::u16string>> Words(const std::u16string& text)
{
    std::vector<std::u16string> words;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == u' ' || text[i] == u'\t') {
            ++i;
            continue;
        }
        std::u16string w;
        if (text[i] == u'"') {
            ++i;
            for (;;) {
                if (i >= text.size()) return std::nullopt;
                if (text[i] == u'"') break;
                if (text[i] == u'\\' && i + 1 < text.size()) ++i;
                w += text[i++];
            }
            ++i;
        } else {
            while (i < text.size() && text[i] != u' ' && text[i] != u'\t') w += text[i++];
        }
        words.push_back(std::move(w));
    }
    return words;
}

std::u16string Quoted(const std::u16string& s)
{
    bool plain = !s.empty();
    for (char16_t c : s)
        if (c == u' ' || c == u'\t' || c == u'"' || c == u'\\') plain = false;
    if (plain && s[0] != u'"') return s;
    std::u16string out = u"\"";
    for (char16_t c : s) {
        if (c == u'"' || c == u'\\') out += u'\\';
        out += c;
    }
    return out + u"\"";
}

std::optional<long long> Decimal(const std::u16string& w)
{
    if (w.empty() || w.size() > 6) return std::nullopt;
    long long v = 0;
    for (char16_t c : w) {
        if (c < u'0' || c > u'9') return std::nullopt;
        v = v * 10 + (c - u'0');
    }
    return v;
}

std::optional<uint8_t> HexByte(const std::u16string& w)
{
    if (w.empty() || w.size() > 2) return std::nullopt;
    int v = 0;
    for (char16_t c : w) {
        const char16_t l = Lower(c);
        int d = (l >= u'0' && l <= u'9') ? l - u'0' : (l >= u'a' && l <= u'f') ? l - u'a' + 10 : -1;
        if (d < 0) return std::nullopt;
        v = v * 16 + d;
    }
    return uint8_t(v);
}

struct Modifier {
    uint8_t bit;
    const char16_t* name;
};
constexpr Modifier kModifiers[] = {{kModCtrl, u"Ctrl"}, {kModShift, u"Shift"}, {kModAlt, u"Alt"}, {kModWin, u"Win"}};

// The captured key a name stands for: only keys the dialog could capture.
std::optional<CapturedKey> KeyNamed(const std::u16string& name)
{
    for (int exact = 1; exact >= 0; --exact)
        for (int vk = 0; vk < 256; ++vk) {
            std::optional<CapturedKey> key = CaptureKeyEvent(vk);
            if (!key || key->name == u"Undefined") continue;
            if (exact ? key->name == name : SameWord(key->name, name)) return key;
        }
    return std::nullopt;
}

std::optional<CapturedKey> KeyOfUsage(uint8_t usage)
{
    for (int vk = 0; vk < 256; ++vk) {
        std::optional<CapturedKey> key = CaptureKeyEvent(vk);
        if (key && key->usage == usage && key->name != u"Undefined") return key;
    }
    return std::nullopt;
}

std::optional<ParsedButtonFunction> ParseKeyCombination(const std::u16string& text)
{
    uint8_t modifiers = 0;
    std::optional<CapturedKey> key;
    size_t start = 0;
    for (;;) {
        const size_t plus = text.find(u'+', start);
        const std::u16string part = text.substr(start, plus == std::u16string::npos ? plus : plus - start);
        bool isModifier = false;
        for (const Modifier& m : kModifiers)
            if (SameWord(part, m.name)) {
                if (modifiers & m.bit) return std::nullopt;
                modifiers |= m.bit;
                isModifier = true;
            }
        if (!isModifier) {
            // The key comes last and only once.
            if (key || plus != std::u16string::npos) return std::nullopt;
            key = KeyNamed(part);
            if (!key) return std::nullopt;
        }
        if (plus == std::u16string::npos) break;
        start = plus + 1;
    }
    std::optional<KeyCombination> combo = ConfirmKeyCombination(modifiers, key);
    if (!combo) return std::nullopt;
    return ParsedButtonFunction{combo->caption, combo->code, nullptr};
}

std::u16string Hex(ButtonFunctionCode c)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "code %02X %02X %02X", c.type, c.param, c.extra);
    return Ascii(buf);
}

std::u16string Number(int v) { return Ascii(std::to_string(v)); }

}  // namespace

std::optional<ParsedButtonFunction> ParseButtonFunction(const std::u16string& text, const MacroLibrary& library)
{
    const std::optional<std::vector<std::u16string>> words = Words(text);
    if (!words || words->empty()) return std::nullopt;
    const std::vector<std::u16string>& w = *words;
    if (w.size() == 1) {
        for (ButtonMenu menu : kMenus)
            for (const CatalogueItem& item : GetMenuItems(menu))
                if (item.hasCode && SameWord(w[0], Ascii(item.name)))
                    return ParsedButtonFunction{ItemLabel(item), item.code, nullptr};
        return ParseKeyCombination(w[0]);
    }
    if (w.size() == 3 && SameWord(w[0], u"fire")) {
        const auto interval = Decimal(w[1]);
        const auto count = Decimal(w[2]);
        if (!interval || !count || *interval > 255 || *count > 255) return std::nullopt;
        const std::optional<ButtonFunctionCode> code = MakeFireCode(*interval, *count);
        if (!code) return std::nullopt;
        return ParsedButtonFunction{FireFunctionLabel(), *code, nullptr};
    }
    if (w.size() == 3 && SameWord(w[0], u"macro")) {
        int setIndex = 0;
        for (const MacroSet& set : library.sets()) {
            if (set.name == w[1]) {
                int macroIndex = 0;
                for (const MacroKey& m : set.macros) {
                    if (m.name == w[2]) {
                        const std::u16string label = MacroFunctionLabel(m.name);
                        return ParsedButtonFunction{label, {kFunctionMacro, uint8_t(setIndex), uint8_t(macroIndex)},
                                                    &m};
                    }
                    ++macroIndex;
                }
                return std::nullopt;
            }
            ++setIndex;
        }
        return std::nullopt;
    }
    if (w.size() == 4 && SameWord(w[0], u"code")) {
        const auto t = HexByte(w[1]), p = HexByte(w[2]), e = HexByte(w[3]);
        if (!t || !p || !e) return std::nullopt;
        const ButtonFunctionCode code{*t, *p, *e};
        // A known code takes its menu label, anything else is shown as its bytes.
        for (ButtonMenu menu : kMenus)
            for (const CatalogueItem& item : GetMenuItems(menu))
                if (item.hasCode && item.code == code) return ParsedButtonFunction{ItemLabel(item), code, nullptr};
        return ParsedButtonFunction{Hex(code).substr(5), code, nullptr};
    }
    return std::nullopt;
}

std::u16string FormatButtonFunction(const std::u16string& label, ButtonFunctionCode code, const MacroLibrary& library)
{
    const CatalogueItem* row = nullptr;
    for (ButtonMenu menu : kMenus)
        for (const CatalogueItem& item : GetMenuItems(menu))
            if (item.hasCode && item.code == code && !row) row = &item;
    if (row && ((code.type != kFunctionFire && code.type != kFunctionKey) || label == ItemLabel(*row)))
        return Ascii(row->name);
    switch (code.type) {
    case kFunctionFire:
        if (code.param >= kFireMinInterval)
            return u"fire " + Number(code.param) + u" " + Number(code.extra);
        break;
    case kFunctionKey: {
        if (code.param & 0xF0) break;
        std::u16string out;
        for (const Modifier& m : kModifiers)
            if (code.param & m.bit) out += std::u16string(m.name) + u"+";
        if (code.extra) {
            const std::optional<CapturedKey> key = KeyOfUsage(code.extra);
            if (!key) break;
            out += key->name;
        }
        if (out.empty()) break;
        if (out.back() == u'+') out.pop_back();
        return Quoted(out);
    }
    case kFunctionMacro: {
        const std::u16string name = MacroNameFromLabel(label);
        for (const MacroSet& set : library.sets())
            for (const MacroKey& m : set.macros)
                if (m.name == name) return u"macro " + Quoted(set.name) + u" " + Quoted(name);
        break;
    }
    default: break;
    }
    return Hex(code);
}
