#include "base/ui_text.h"

std::array<std::u16string, kUiTextCount> g_uiTexts;
UiFontSettings g_uiFont;

const std::u16string& UiText(int n)
{
    static const std::u16string empty;
    if (n < 0 || n >= kUiTextCount) return empty;
    return g_uiTexts[static_cast<size_t>(n)];
}

void ClearUiTexts()
{
    for (auto& t : g_uiTexts) t.clear();
    g_uiFont = UiFontSettings{};
}
