#include "buttons/menu_placement.h"

namespace {

struct SubMenuOffsets {
    ButtonMenu menu;
    int a;  // added to the moved-up top
    int b;  // below the combo's bottom otherwise
};

constexpr SubMenuOffsets kOffsets[] = {
    {ButtonMenu::Dpi, 118, 102},       {ButtonMenu::DpiLock, 118, 296}, {ButtonMenu::Windows, 176, 257},
    {ButtonMenu::Office, 110, 235},    {ButtonMenu::Multimedia, 89, 213},
};

int Scaled(double v, double s) { return int(v * s); }

bool RunsOffBottom(const MenuAnchor& a, int top) { return top + a.windowTop + 314 * a.scale > a.usableHeight; }

// The function menu's top moved up by what it lacks below.
int MovedUpTop(const MenuAnchor& a, int top)
{
    return int(top + 20 * a.scale - (314 * a.scale - (a.usableHeight - a.windowTop - top)));
}

MenuBox Sized(int left, int top, double w, double h, double s)
{
    return {left, top, int(left + w * s), int(top + h * s)};
}

// Sub-menus share the function menu's rule for the top, with their own offsets.
int SubMenuTop(const MenuAnchor& a, int movedUpOffset, int belowOffset)
{
    const double s = a.scale;
    const int top0 = int(a.combo.bottom - 20 * s);
    if (RunsOffBottom(a, top0)) return int(MovedUpTop(a, top0) + movedUpOffset * s);
    return int(a.combo.bottom + belowOffset * s);
}

int FitRows(const MenuAnchor& a, int top, int rows)
{
    const double height = rows * kMenuRowHeight * a.scale;
    if (top + a.windowTop + height > a.usableHeight) return int((a.usableHeight - a.windowTop) - height);
    return top;
}

}  // namespace

MenuBox FunctionMenuBox(const MenuAnchor& a)
{
    const double s = a.scale;
    int top = int(a.combo.bottom - 20 * s);
    if (RunsOffBottom(a, top)) top = MovedUpTop(a, top);
    return Sized(int(a.combo.left + 161 * s), top, 300, 300, s);
}

MenuBox SubMenuBox(const MenuAnchor& a, ButtonMenu menu)
{
    for (const SubMenuOffsets& o : kOffsets)
        if (o.menu == menu) return Sized(int(a.combo.right + 161 * a.scale), SubMenuTop(a, o.a, o.b), 300, 300, a.scale);
    return FunctionMenuBox(a);
}

MenuBox MacroMenuBox(const MenuAnchor& a, int rows)
{
    const int top = FitRows(a, SubMenuTop(a, 180, 161), rows);
    const int left = int(a.combo.right + 161 * a.scale);
    return {left, top, left + Scaled(162, a.scale), int(top + 24 * a.scale)};
}

MenuBox MacroCascadeBox(const MenuAnchor& a, const MenuBox& setList, int row, int rows)
{
    const int top = FitRows(a, int(setList.top + row * kMenuRowHeight * a.scale), rows);
    return {setList.right, top, setList.right + Scaled(162, a.scale), int(top + 24 * a.scale)};
}

int KeepTopInWorkArea(int top, int height, int workTop, int workBottom)
{
    if (top + height > workBottom) top = workBottom - height;
    return top < workTop ? workTop : top;
}
