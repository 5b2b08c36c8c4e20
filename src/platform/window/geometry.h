#pragma once
// Pixel geometry and colours shared by windows, canvases and the toolkit.
// Rectangles are half-open like the desktop's: right and bottom are one past
// the last pixel, so Width() = right - left and a rectangle contains (x, y)
// when left <= x < right and top <= y < bottom.
#include <algorithm>
#include <cstdint>

namespace platform {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    constexpr int Width() const { return right - left; }
    constexpr int Height() const { return bottom - top; }
    constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
    constexpr bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    constexpr bool Contains(Point p) const { return Contains(p.x, p.y); }
    constexpr Point TopLeft() const { return {left, top}; }
    constexpr Rect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    // Grows by d on every side (shrinks for a negative d).
    constexpr Rect Inflate(int dx, int dy) const { return {left - dx, top - dy, right + dx, bottom + dy}; }
    constexpr bool Intersects(const Rect& o) const
    {
        return !IsEmpty() && !o.IsEmpty() && left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
    // The common part; an empty rectangle (all zero) when they do not meet.
    constexpr Rect Intersect(const Rect& o) const
    {
        if (!Intersects(o)) return {};
        return {std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
    }
    // The smallest rectangle holding both; an empty side is ignored.
    constexpr Rect Union(const Rect& o) const
    {
        if (IsEmpty()) return o;
        if (o.IsEmpty()) return *this;
        return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right), std::max(bottom, o.bottom)};
    }
    static constexpr Rect FromSize(int x, int y, int w, int h) { return {x, y, x + w, y + h}; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace platform

// The toolkit uses these names everywhere; they are the program's vocabulary,
// so they are visible without the namespace.
using platform::Point;
using platform::Rect;
using platform::Size;

// Colours are 0x00BBGGRR: red in the low byte, as the profile and skin code
// expect. Files and reports carry red, green, blue in that order.
using COLORREF = uint32_t;
constexpr COLORREF RGB(int r, int g, int b)
{
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(COLORREF c) { return static_cast<int>(c & 0xFF); }
constexpr int GetGValue(COLORREF c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int GetBValue(COLORREF c) { return static_cast<int>((c >> 16) & 0xFF); }
