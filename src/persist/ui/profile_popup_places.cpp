#include "persist/ui/profile_popup_places.h"

namespace {

int Scaled(float value, float s) { return static_cast<int>(value * s); }

}  // namespace

Rect ProfileListPlace(const Rect& button, float s)
{
    const int top = static_cast<int>(float(button.bottom) - 201.0f * s);
    return {button.left, top, button.left + Scaled(300, s), top + Scaled(300, s)};
}

Rect ProfileListRowPlace(const Rect& button, int value, float s)
{
    const int top = static_cast<int>(float(button.bottom) - 201.0f * s + float(25 * value - 25) * s);
    return {button.left, top, button.left + Scaled(230, s), top + Scaled(20, s)};
}

Point SlotMenuPlace(const SlotMenuPlaceInput& in, float s)
{
    // Opening just below the anchor's top edge, like a sub-menu. When the
    // four items would reach past the usable area, the menu is lifted; the
    // usual lift alone still leaves the last item partly below the edge, so
    // the menu's real height decides in the end.
    int top = static_cast<int>(float(in.anchor.bottom) - 20.0f * s);
    const float reach = 94.0f * s;
    const int roomBelow = in.workBottom - in.clientOrigin.y - top;
    if (float(top + in.clientOrigin.y) + reach > float(in.workBottom))
        top = static_cast<int>(float(top) + 20.0f * s - (reach - float(roomBelow)));
    const int left = static_cast<int>(float(in.anchor.left) + (in.fromList ? 225.0f : 161.0f) * s);

    Point screen{in.clientOrigin.x + left, in.clientOrigin.y + top};
    if (in.menuHeight > 0 && screen.y + in.menuHeight > in.workBottom) screen.y = in.workBottom - in.menuHeight;
    return screen;
}
