#pragma once
// The keyboard's way over the colour palette: each of the picture's two
// areas is a grid of cells, a cursor steps over them with the arrow keys,
// and a cell gives the colour a click at its centre would. Also how a
// colour is said to a screen reader and how a typed channel is read.
#include <optional>
#include <string>

#include "settings/colour_palette.h"

struct PaletteGrid {
    PaletteArea area;
    int columns;
    int rows;
};
// The hue/lightness field in cells of 4 x 4 units, and the 8 x 6 ready
// colours, one cell a swatch.
inline constexpr PaletteGrid kPaletteGrids[2] = {{kPaletteAreas[0], 51, 61}, {kPaletteAreas[1], 8, 6}};

struct PaletteCell {
    int column = -1;
    int row = -1;
    bool Valid() const { return column >= 0 && row >= 0; }
    bool operator==(const PaletteCell&) const = default;
};

// One step of the cursor: dx, dy of -1, 0 or 1 cells, clamped to the grid
// (no wrapping: the edge is where the area ends). From no cell, any step
// lands on the top-left cell.
PaletteCell StepPaletteCell(const PaletteGrid& grid, PaletteCell cell, int dx, int dy);
// The first or last cell of the cursor's row (Home, End).
PaletteCell PaletteRowEnd(const PaletteGrid& grid, PaletteCell cell, bool last);
// The centre of a cell in base units of the picture: where its colour is.
void PaletteCellCentre(const PaletteGrid& grid, PaletteCell cell, int* x, int* y);
// The cell a point of the picture (base units) lies in; none outside.
PaletteCell PaletteCellAt(const PaletteGrid& grid, int x, int y);

// "red 255, green 128, blue 0" in the user's language, and "#FF8000".
std::u16string SpokenColour(COLORREF c);
std::u16string HexColour(COLORREF c);
// A colour channel typed into its box: 0 .. 255 (a larger number is 255,
// an empty box 0); nothing when the text holds anything but digits.
std::optional<int> ParseColourChannel(const std::u16string& text);
