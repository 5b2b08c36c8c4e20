#pragma once
// Where the DPI section's eight level columns sit, in base units of the main
// window. Each column is a value bar over its value, the enable check and the
// colour swatch, centred on one line; the eight of them share the 262-unit
// frame of the right-hand column with the same margin on either side, so the
// eighth level is as reachable as the first at every scale.
#include "platform/window/geometry.h"

constexpr int kDpiSectionLeft = 846;    // the frame's left edge (the column's)
constexpr int kDpiSectionWidth = 262;   // the frame's width
constexpr int kDpiSectionTop = 62;      // the frame's top (the panel's)
constexpr int kDpiSectionHeight = 196;  // the frame's height (the panel's)
constexpr int kDpiColumnPitch = 31;     // centre to centre
constexpr int kDpiValueWidth = 30;      // wide enough for five digits in the numeric face

struct DpiColumnPlaces {
    Rect bar;
    Rect value;
    Rect check;
    Rect swatch;
};

// The four controls of level k (0..7).
DpiColumnPlaces DpiColumnPlace(int k);
