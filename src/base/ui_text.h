#pragma once
// The numbered texts of the user interface and the UI font, filled once at
// start-up by LoadLanguage (language_file.h) and read-only afterwards.
// Owner: the window thread writes them before any other thread starts.
// What each number is for: the comments of data/lang/en.po.
#include <array>
#include <string>

constexpr int kUiTextCount = 600;

struct UiFontSettings {
    std::u16string face = u"宋体";
    int charset = 134;  // GB2312 until a language file says otherwise
    int height = 12;
};

extern std::array<std::u16string, kUiTextCount> g_uiTexts;
extern UiFontSettings g_uiFont;

// The text of number n; an empty string for numbers outside the table.
const std::u16string& UiText(int n);

// Back to the state before any language file was read (tests use it).
void ClearUiTexts();
