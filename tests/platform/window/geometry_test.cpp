#include <gtest/gtest.h>

#include "platform/window/messages.h"
#include "platform/window/window_host.h"

namespace {

TEST(Geometry, RectanglesAreHalfOpen)
{
    Rect r{10, 20, 30, 40};
    EXPECT_EQ(r.Width(), 20);
    EXPECT_TRUE(r.Contains(10, 20));
    EXPECT_TRUE(r.Contains(29, 39));
    EXPECT_FALSE(r.Contains(30, 25)) << "right edge is outside";
    EXPECT_FALSE(r.Contains(15, 40)) << "bottom edge is outside";
    // Touching rectangles do not intersect: a repaint of one leaves the other alone.
    EXPECT_FALSE(r.Intersects({30, 20, 50, 40}));
    EXPECT_TRUE(r.Intersects({29, 39, 50, 50}));
    EXPECT_FALSE(r.Intersects({15, 25, 15, 35})) << "an empty rectangle meets nothing";
}

TEST(Geometry, IntersectionAndUnionIgnoreEmptySides)
{
    Rect a{0, 0, 10, 10}, b{5, 5, 20, 20};
    EXPECT_EQ(a.Intersect(b), (Rect{5, 5, 10, 10}));
    EXPECT_TRUE(a.Intersect({10, 0, 20, 10}).IsEmpty());
    EXPECT_EQ(a.Union(b), (Rect{0, 0, 20, 20}));
    EXPECT_EQ(Rect{}.Union(b), b);
    EXPECT_EQ(b.Union(Rect{100, 100, 100, 120}), b) << "a zero-width dirty rectangle must not grow the union";
    EXPECT_EQ(a.Offset(3, -2), (Rect{3, -2, 13, 8}));
    EXPECT_EQ(a.Inflate(-2, -1), (Rect{2, 1, 8, 9}));
}

TEST(Messages, CoordinatesSurviveNegativeValues)
{
    // Captured mouse messages carry points left of and above the window.
    LPARAM l = MAKELPARAM(-20, -5);
    EXPECT_EQ(GET_X_LPARAM(l), -20);
    EXPECT_EQ(GET_Y_LPARAM(l), -5);
    LPARAM big = MAKELPARAM(2254, 1480);
    EXPECT_EQ(GET_X_LPARAM(big), 2254);
    EXPECT_EQ(GET_Y_LPARAM(big), 1480);
    WPARAM w = MAKEWPARAM(static_cast<int>(MK_LBUTTON | MK_SHIFT), -120);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(w), -120);
    EXPECT_EQ(GET_KEYSTATE_WPARAM(w), static_cast<int>(MK_LBUTTON | MK_SHIFT));
    WPARAM cmd = MAKEWPARAM(2017, static_cast<int>(EN_CHANGE));
    EXPECT_EQ(LOWORD(cmd), 2017);
    EXPECT_EQ(HIWORD(cmd), static_cast<int>(EN_CHANGE));
}

TEST(Messages, ColoursKeepRedInTheLowByte)
{
    EXPECT_EQ(RGB(0xBA, 0xE2, 0xEF), 0x00EFE2BAu);
    EXPECT_EQ(GetRValue(RGB(0x35, 0xA0, 0xDE)), 0x35);
    EXPECT_EQ(GetGValue(RGB(0x35, 0xA0, 0xDE)), 0xA0);
    EXPECT_EQ(GetBValue(RGB(0x35, 0xA0, 0xDE)), 0xDE);
}

TEST(Messages, ProgramMessagesDoNotCollideWithSystemOnes)
{
    // Control ids (2000..3600) and WM_USER-based messages are the program's;
    // every system message the hosts send lies below WM_USER.
    for (UINT m : {WM_CREATE, WM_DESTROY, WM_ACTIVATE, WM_CLOSE, WM_TIMER, WM_COMMAND, WM_MOUSEMOVE, WM_LBUTTONDOWN,
                   WM_LBUTTONDBLCLK, WM_MOUSEWHEEL, WM_MOUSEHOVER, WM_MOUSELEAVE, WM_KEYDOWN, WM_CHAR,
                   WM_NCLBUTTONDOWN, WM_SHOWWINDOW, WM_SIZE, WM_MOVE})
        EXPECT_LT(m, WM_USER);
    EXPECT_EQ(WM_USER, 0x0400u);
    EXPECT_EQ(WM_USER + 1, 0x0401u) << "the keyboard hook's event";
}

}  // namespace
