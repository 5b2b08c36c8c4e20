#pragma once
// The language files: which language the user chose, and the numbered texts
// of the user interface in that language.
//
// On disk (UTF-16LE with a byte-order mark, LF line ends, read through
// CStdioFileEx; the program only reads them, they are installed with it):
//
//   config/LanSetting.ini          config/Lan_EN.txt, config/Lan.txt
//     [ChangeLanguage]               [Setting]
//     Language=EN                    0=English
//                                    85=Profile 1
//                                    ...
//
// The code "EN" (exactly, case-sensitive) selects Lan_EN.txt, the codes of
// the later languages (language_list.h) their own Lan_<code>.txt; any other
// code, or no LanSetting.ini at all, selects Lan.txt. Each text line is a decimal
// number, '=', and the text to the end of the line (at least one character);
// lines come in any order and the last line for a number wins. Numbers
// outside 0..kUiTextCount-1 are skipped. The first line that is not of this
// form (no '=', '=' first, nothing after it, a blank line) ends the reading
// as a failure, keeping the texts read before it.
//
// LanSetting.ini is looked for in the data folder first and, when it cannot
// be read there, in the program folder's config/, where the installed copies
// live. The texts come from both: the program folder's file of the chosen
// language, then the data folder's over it, so a text the data folder's copy
// lacks keeps the installed wording.
#include <array>
#include <string>

#include "persist/stdio_file_ex.h"
#include "base/ui_text.h"

using UiTextTable = std::array<std::u16string, kUiTextCount>;

enum class LanguageParseResult {
    ReadToEnd,      // every line was good
    NoHeader,       // empty file or a first line other than "[Setting]"
    MalformedLine,  // stopped at a bad line; the texts before it are kept
};

// The language code from LanSetting.ini, read from an opened file; the code is
// the value after '=' on line 2, or the line itself when it has no proper
// '='. A first line other than "[ChangeLanguage]" is itself taken as the code.
std::u16string ParseLanguageSetting(CStdioFileEx& file);
// Reads the text lines of an opened language file into `texts`.
LanguageParseResult ParseLanguageFile(CStdioFileEx& file, UiTextTable& texts);
// The same on the bytes of a whole file (tests and fuzzing).
LanguageParseResult ParseLanguageBytes(std::string bytes, UiTextTable& texts);

// The language file a code selects: "config/Lan_EN.txt" for "EN",
// "config/Lan_DE.txt" and so on for the codes of language_list.h, and
// "config/Lan.txt" (Chinese) for any other code.
std::string LanguageFileFor(const std::u16string& code);

// The UI font for a language whose text 0 is `languageName`: "中文" gets the
// Chinese face at 12 pixels, everything else Tahoma at 16, both times the
// UI scale (truncated).
UiFontSettings ChooseUiFont(const std::u16string& languageName, double uiScale);

// Reads the chosen language into g_uiTexts and, when the file was read to its
// end, sets g_uiFont from text 0. Returns true exactly then. Folders are UTF-8
// with or without a trailing '/'. Called once at start-up on the window
// thread, before anything reads a text.
//
// The choice: the data folder's LanSetting.ini when it has one (the user's
// own choice); else the locale, when one is given: Chinese for zh_*, English
// for any other; else the program folder's LanSetting.ini.
bool LoadLanguage(const std::string& programFolder, const std::string& dataFolder, double uiScale,
                  const std::string& locale = {});
// The same with the process's folders (g_programFolder, g_userDataFolder of
// persist/data_folders.h), the process's locale and the UI scale chosen at
// start-up.
bool LoadLanguage(double uiScale);

// The language code a locale name selects ("zh_CN.UTF-8" -> "CN",
// "de_AT.UTF-8" -> "DE", one without a shipped language -> "EN"); empty for
// an empty locale.
std::u16string LanguageCodeForLocale(const std::string& locale);
// The code LoadLanguage goes by: the data folder's LanSetting.ini, else the
// locale's, else the program folder's LanSetting.ini.
std::u16string ChosenLanguageCode(const std::string& programFolder, const std::string& dataFolder,
                                  const std::string& locale);
// Writes the user's choice to the data folder's config/LanSetting.ini; it
// takes effect at the next start. False when it could not be written.
bool SaveLanguageSetting(const std::string& dataFolder, const std::u16string& code);
// The locale messages are shown in: LC_ALL, else LC_MESSAGES, else LANG (the
// first that is set and not empty); empty when none is.
std::string MessagesLocale();
