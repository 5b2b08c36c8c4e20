#include "settings/palette_cursor.h"

#include <algorithm>
#include <cstdio>

#include "base/text_codec.h"
#include "base/ui_text.h"

PaletteCell StepPaletteCell(const PaletteGrid& grid, PaletteCell cell, int dx, int dy)
{
    if (!cell.Valid()) return {0, 0};
    return {std::clamp(cell.column + dx, 0, grid.columns - 1), std::clamp(cell.row + dy, 0, grid.rows - 1)};
}

PaletteCell PaletteRowEnd(const PaletteGrid& grid, PaletteCell cell, bool last)
{
    return {last ? grid.columns - 1 : 0, cell.Valid() ? cell.row : 0};
}

void PaletteCellCentre(const PaletteGrid& grid, PaletteCell cell, int* x, int* y)
{
    const PaletteArea& a = grid.area;
    const int c = std::clamp(cell.column, 0, grid.columns - 1), r = std::clamp(cell.row, 0, grid.rows - 1);
    if (x) *x = a.left + (2 * c + 1) * (a.right - a.left) / (2 * grid.columns);
    if (y) *y = a.top + (2 * r + 1) * (a.bottom - a.top) / (2 * grid.rows);
}

PaletteCell PaletteCellAt(const PaletteGrid& grid, int x, int y)
{
    const PaletteArea& a = grid.area;
    if (x < a.left || x >= a.right || y < a.top || y >= a.bottom) return {};
    return {(x - a.left) * grid.columns / (a.right - a.left), (y - a.top) * grid.rows / (a.bottom - a.top)};
}

std::u16string SpokenColour(COLORREF c)
{
    std::u16string text = UiText(536);
    if (text.empty()) text = u"red %1, green %2, blue %3";
    const int values[3] = {RedOf(c), GreenOf(c), BlueOf(c)};
    for (int i = 0; i < 3; ++i) {
        const std::u16string mark = {u'%', char16_t(u'1' + i)};
        if (const size_t at = text.find(mark); at != std::u16string::npos)
            text.replace(at, 2, Ascii(std::to_string(values[i])));
    }
    return text;
}

std::u16string HexColour(COLORREF c)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", RedOf(c), GreenOf(c), BlueOf(c));
    return Ascii(buf);
}

std::optional<int> ParseColourChannel(const std::u16string& text)
{
    int v = 0;
    for (char16_t ch : text) {
        if (ch < u'0' || ch > u'9') return std::nullopt;
        v = std::min(255, v * 10 + (ch - u'0'));
    }
    return v;
}
