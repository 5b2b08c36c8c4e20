#include "ui/ui_scale.h"

#include "platform/window/geometry.h"

int ScaleUnits(double value) { return static_cast<int>(value * static_cast<double>(g_uiScale)); }

Rect ScaleRect(int left, int top, int right, int bottom)
{
    return {ScaleUnits(left), ScaleUnits(top), ScaleUnits(right), ScaleUnits(bottom)};
}
