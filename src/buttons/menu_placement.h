#pragma once
// Where the button menus open, as plain arithmetic so that it can be checked
// without a screen. Everything is in the main window's client coordinates
// except the window top and the usable screen height, which are on screen;
// s is the UI scale. Menus open beside the button list and move up when
// they would run past the bottom of the usable screen (the 314 is the
// function menu's 300 plus a margin).
#include "buttons/function_catalogue.h"

struct MenuBox {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const MenuBox&) const = default;
};

struct MenuAnchor {
    MenuBox combo;          // the combo that opened the chain
    int windowTop = 0;      // the main window's top on screen
    int usableHeight = 0;   // the work area's height
    double scale = 1.0;
};

// The function menu: 161 units right of the combo's left, 20 above its bottom.
MenuBox FunctionMenuBox(const MenuAnchor& a);

// The DPI, DPI-lock, multimedia, office and Windows sub-menus; nothing
// sensible for ButtonMenu::Main (it gets the function menu's box).
MenuBox SubMenuBox(const MenuAnchor& a, ButtonMenu menu);

// The macro sub-menu with `rows` items (a set's macros), or, when the
// library has several sets, the list of sets at the same place. Rows are 22
// units high; a list that would run off the bottom moves up to end there.
MenuBox MacroMenuBox(const MenuAnchor& a, int rows);

// A set's macro list opened from row `row` of the set list: to the right
// of the set list, level with that row, moved up to fit like MacroMenuBox.
MenuBox MacroCascadeBox(const MenuAnchor& a, const MenuBox& setList, int row, int rows);

// Height of one menu row in base units.
inline constexpr int kMenuRowHeight = 22;

// The top (screen) of a menu `height` high that must not hang below the work
// area: moved up to end at its bottom, but never above its top.
int KeepTopInWorkArea(int top, int height, int workTop, int workBottom);
