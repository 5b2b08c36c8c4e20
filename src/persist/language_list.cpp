#include "persist/language_list.h"

const std::vector<LanguageInfo>& ShippedLanguages()
{
    static const std::vector<LanguageInfo> languages = {
        {u"EN", "config/Lan_EN.txt", u"English", ""},
        {u"CN", "config/Lan.txt", u"中文", "zh"},
        {u"DE", "config/Lan_DE.txt", u"Deutsch", "de"},
        {u"FR", "config/Lan_FR.txt", u"Français", "fr"},
        {u"ES", "config/Lan_ES.txt", u"Español", "es"},
        {u"PT_BR", "config/Lan_PT_BR.txt", u"Português (Brasil)", "pt"},
        {u"RU", "config/Lan_RU.txt", u"Русский", "ru"},
        {u"JA", "config/Lan_JA.txt", u"日本語", "ja"},
        {u"KO", "config/Lan_KO.txt", u"한국어", "ko"},
    };
    return languages;
}

const LanguageInfo& LanguageForCode(const std::u16string& code)
{
    for (const LanguageInfo& l : ShippedLanguages())
        if (l.code == code) return l;
    return ShippedLanguages()[1];
}
