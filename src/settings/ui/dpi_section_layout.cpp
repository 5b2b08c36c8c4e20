#include "settings/ui/dpi_section_layout.h"

namespace {

// The columns' outer edges are the value labels (the widest part): centre
// them as a block in the frame.
constexpr int kBlockWidth = 7 * kDpiColumnPitch + kDpiValueWidth;
constexpr int kFirstCentre = kDpiSectionLeft + (kDpiSectionWidth - kBlockWidth) / 2 + kDpiValueWidth / 2;
static_assert(kFirstCentre - kDpiValueWidth / 2 > kDpiSectionLeft, "the first value clears the frame's left edge");
static_assert(kFirstCentre + 7 * kDpiColumnPitch + kDpiValueWidth / 2 < kDpiSectionLeft + kDpiSectionWidth,
              "the eighth value clears the frame's right edge");

Rect Centred(int centre, int width, int top, int bottom)
{
    const int left = centre - width / 2;
    return {left, top, left + width, bottom};
}

}  // namespace

DpiColumnPlaces DpiColumnPlace(int k)
{
    const int c = kFirstCentre + kDpiColumnPitch * k;
    return {Centred(c, 7, 75, 207), Centred(c, kDpiValueWidth, 212, 223), Centred(c, 11, 226, 237),
            Centred(c, 26, 240, 252)};
}
