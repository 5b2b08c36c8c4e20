#pragma once
// Where the profile list and the slot menu open, in pixels at scale s.
//
// The list opens above the "Profiles" button: its header row starts 201
// units above the button's bottom, so its seven 25-unit rows end just above
// the button. A right click on one of its rows (or on a profile tab) opens
// the slot menu to the right of that row, overlapping it slightly, at the
// row's height; near the bottom of the screen it is lifted so that all four
// of its items stay inside the work area.
//
// Pure geometry: no window, no state.
#include "platform/window/geometry.h"

// The list popup's creation rectangle for the button's rectangle (client
// coordinates in, client coordinates out; the popup sizes itself).
Rect ProfileListPlace(const Rect& button, float s);
// Row `value` (1 header, 2..6 profiles, 7 add) of a list opened over that
// button: the anchor the slot menu opens next to.
Rect ProfileListRowPlace(const Rect& button, int value, float s);

struct SlotMenuPlaceInput {
    Rect anchor;          // the tab or the list row, client coordinates
    bool fromList = false;
    Point clientOrigin;   // the main window's client area on the screen
    int workBottom = 0;   // the bottom of the usable screen area
    int menuHeight = 0;   // the menu's own height, once laid out
};
// The slot menu's top-left corner in screen coordinates.
Point SlotMenuPlace(const SlotMenuPlaceInput& in, float s);
