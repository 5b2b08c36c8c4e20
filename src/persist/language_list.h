#pragma once
// The languages the program ships, each with its code in LanSetting.ini,
// its file and its own name for the language menu.
//
// The codes of the original program keep their meaning: "EN" selects
// Lan_EN.txt, and every code that is not in this list selects Lan.txt
// (Chinese), as any code but "EN" always did. The later languages each have
// a code of their own and a file Lan_<code>.txt beside the others.
#include <string>
#include <vector>

struct LanguageInfo {
    std::u16string code;        // as LanSetting.ini writes it: "EN", "DE", "PT_BR"
    std::string file;           // relative to the program or data folder
    std::u16string nativeName;  // the language's name in itself
    std::string localePrefix;   // the locales that pick it ("de", "pt"); empty: none
};

// English first, then Chinese, then the others; the order of the menu.
const std::vector<LanguageInfo>& ShippedLanguages();

// The entry of a code from LanSetting.ini: the exact code, else Chinese.
const LanguageInfo& LanguageForCode(const std::u16string& code);
