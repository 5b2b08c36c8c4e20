#pragma once
// The rules of the colour palette dialog, apart from its window: which colour
// of a profile it edits, where on its picture a click picks a colour, and
// which pixels pick nothing.
//
// The colour comes from the palette picture itself, at the clicked point in
// the picture's own coordinates, never from the screen: a desktop may forbid
// reading the screen or scale and blend what is on it, and the picture gives
// the same colour everywhere.
#include <optional>

#include "profile/profile_record.h"
#include "settings/setting_change.h"

// The palette picture, in base units (the dialog is this size at scale 1).
constexpr int kPalettePictureWidth = 500;
constexpr int kPalettePictureHeight = 291;
// The picture's background: never a colour the user picks.
constexpr COLORREF kPaletteBackground = Rgb(15, 15, 15);

struct PaletteArea {
    int left, top, right, bottom;  // base units, right and bottom outside
};
// The hue/lightness field and the grid of ready colours.
inline constexpr PaletteArea kPaletteAreas[2] = {{18, 26, 222, 270}, {244, 26, 473, 190}};

// Whether a point of the picture (base units) lies in one of the two areas.
bool InPaletteArea(int x, int y);
// The colour a click at (x, y) of the picture picks, given the picture's
// pixel there: nothing outside the areas or on the background.
std::optional<COLORREF> PickedPaletteColour(int x, int y, COLORREF pixel);

// Which colour the dialog edits.
enum class PaletteMode { Lighting = 0, Dpi = 1 };
struct PaletteTarget {
    PaletteMode mode = PaletteMode::Dpi;
    int first = 0;   // DPI: the level (8 or more edits level 0); lighting: the mode
    int second = 0;  // lighting: the colour slot
};
// The target's colour now; black for a lighting target outside the record.
COLORREF PaletteTargetColour(const ProfileRecord& profile, const PaletteTarget& target);
// Stores the colour; refuses a lighting target outside the record.
SettingChange EditPaletteTargetColour(ProfileRecord& profile, const PaletteTarget& target, COLORREF colour);
