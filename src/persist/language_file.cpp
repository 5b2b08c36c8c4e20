#include "persist/language_file.h"

#include <cstdint>
#include <cstdlib>

#include "persist/data_folders.h"
#include "persist/language_list.h"

namespace {

const std::u16string kSettingHeader = u"[ChangeLanguage]";
const std::u16string kTextsHeader = u"[Setting]";

bool IsBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

// The number before the '=' the way the C library reads it: leading blanks, an
// optional sign, then digits up to the first non-digit; no digits gives 0.
// Large values saturate so that a long run of digits cannot wrap round into
// the table's range.
int64_t ParseTextNumber(std::u16string_view s)
{
    size_t i = 0;
    while (i < s.size() && IsBlank(s[i])) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
        negative = s[i] == u'-';
        ++i;
    }
    constexpr int64_t kCap = INT64_C(1) << 40;
    int64_t value = 0;
    for (; i < s.size() && s[i] >= u'0' && s[i] <= u'9'; ++i) {
        if (value < kCap) value = value * 10 + (s[i] - u'0');
    }
    return negative ? -value : value;
}

// A line holds a key and a value when its first '=' has at least one unit
// before it and at least one after it.
bool SplitLine(const std::u16string& line, size_t& eq)
{
    eq = line.find(u'=');
    return eq != std::u16string::npos && eq >= 1 && eq + 1 < line.size();
}

std::string InFolder(const std::string& folder, const std::string& relative)
{
    if (folder.empty() || folder.back() == '/') return folder + relative;
    return folder + "/" + relative;
}

}  // namespace

std::u16string ParseLanguageSetting(CStdioFileEx& file)
{
    std::u16string line;
    file.ReadString(line);
    if (line != kSettingHeader) return line;
    file.ReadString(line);
    size_t eq = 0;
    if (SplitLine(line, eq)) return line.substr(eq + 1);
    return line;
}

LanguageParseResult ParseLanguageFile(CStdioFileEx& file, UiTextTable& texts)
{
    std::u16string line;
    if (!file.ReadString(line) || line != kTextsHeader) return LanguageParseResult::NoHeader;
    while (file.ReadString(line)) {
        size_t eq = 0;
        if (!SplitLine(line, eq)) return LanguageParseResult::MalformedLine;
        int64_t n = ParseTextNumber(std::u16string_view(line).substr(0, eq));
        // A number the table has no room for is skipped, not stored elsewhere
        // and not a reason to drop the rest of the file.
        if (n < 0 || n >= kUiTextCount) continue;
        texts[static_cast<size_t>(n)] = line.substr(eq + 1);
    }
    return LanguageParseResult::ReadToEnd;
}

LanguageParseResult ParseLanguageBytes(std::string bytes, UiTextTable& texts)
{
    CStdioFileEx file;
    file.OpenBytes(std::move(bytes));
    return ParseLanguageFile(file, texts);
}

std::string LanguageFileFor(const std::u16string& code) { return LanguageForCode(code).file; }

UiFontSettings ChooseUiFont(const std::u16string& languageName, double uiScale)
{
    UiFontSettings font;
    if (languageName == u"中文") {
        font.face = u"宋体";
        font.charset = 134;
        font.height = static_cast<int>(uiScale * 12);
    } else {
        font.face = u"Tahoma";
        font.charset = 1;
        font.height = static_cast<int>(uiScale * 16);
    }
    return font;
}

std::u16string LanguageCodeForLocale(const std::string& locale)
{
    if (locale.empty()) return {};
    // "zh", "zh_CN.UTF-8", "zh_TW", "zh@variant"; not "zhx".
    for (const LanguageInfo& l : ShippedLanguages()) {
        const size_t n = l.localePrefix.size();
        if (n && locale.compare(0, n, l.localePrefix) == 0 &&
            (locale.size() == n || locale[n] == '_' || locale[n] == '.' || locale[n] == '@'))
            return l.code;
    }
    return u"EN";
}

std::string MessagesLocale()
{
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"})
        if (const char* value = std::getenv(name); value && *value) return value;
    return {};
}

std::u16string ChosenLanguageCode(const std::string& programFolder, const std::string& dataFolder,
                                  const std::string& locale)
{
    CStdioFileEx setting;
    if (setting.Open(InFolder(dataFolder, "config/LanSetting.ini"), CStdioFileEx::modeRead))
        return ParseLanguageSetting(setting);
    if (!locale.empty()) return LanguageCodeForLocale(locale);
    if (setting.Open(InFolder(programFolder, "config/LanSetting.ini"), CStdioFileEx::modeRead))
        return ParseLanguageSetting(setting);
    return {};
}

bool SaveLanguageSetting(const std::string& dataFolder, const std::u16string& code)
{
    CStdioFileEx file;
    file.Open(InFolder(dataFolder, "config/LanSetting.ini"), CStdioFileEx::modeWrite);
    file.WriteString(kSettingHeader + u"\n" + u"Language=" + code + u"\n");
    return file.Close();
}

bool LoadLanguage(const std::string& programFolder, const std::string& dataFolder, double uiScale,
                  const std::string& locale)
{
    const std::u16string code = ChosenLanguageCode(programFolder, dataFolder, locale);

    // The program's own file first, then the data folder's over it: a copy
    // there that lacks newer texts (an older file, or one from elsewhere)
    // keeps the program's wording for those instead of showing nothing.
    const std::string relative = LanguageFileFor(code);
    CStdioFileEx own;
    const bool haveOwn = own.Open(InFolder(programFolder, relative), CStdioFileEx::modeRead);
    const bool ownRead = haveOwn && ParseLanguageFile(own, g_uiTexts) == LanguageParseResult::ReadToEnd;
    CStdioFileEx user;
    const bool read = user.Open(InFolder(dataFolder, relative), CStdioFileEx::modeRead)
                          ? ParseLanguageFile(user, g_uiTexts) == LanguageParseResult::ReadToEnd
                          : ownRead;
    if (!read) return false;
    g_uiFont = ChooseUiFont(g_uiTexts[0], uiScale);
    return true;
}

bool LoadLanguage(double uiScale)
{
    return LoadLanguage(g_programFolder, g_userDataFolder, uiScale, MessagesLocale());
}
