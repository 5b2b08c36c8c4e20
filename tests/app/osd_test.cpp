// The on-screen display: one window that follows the mouse's changes, its
// countdown on the virtual clock, and where its texts go.
#include "app_test_support.h"

#include "app/osd_dialog.h"

namespace {

class Osd : public MainWindowTest {};

TEST_F(Osd, TwoChangesASecondApartKeepOneWindowThatGoesAbout1point8sAfterTheLast)
{
    Start();
    // The mouse learns its DPI levels, so that its button has levels to step through.
    Active().XYSettingValue[0] += 1;
    dlg->ScheduleApply(PendingGroup::DpiAndMore);
    Settle(30);
    ASSERT_TRUE(sim->State().dpi.has_value());
    PressDpiButton();
    ASSERT_TRUE(WaitFor([&] { return dlg->Osd() != nullptr; }));
    const HWND first = dlg->Osd()->GetSafeHwnd();
    ASSERT_NE(first, 0u);
    EXPECT_TRUE(host.IsWindowVisible(first));
    const std::u16string firstLevel = dlg->Osd()->levelText();

    Settle(1000);
    ASSERT_NE(dlg->Osd(), nullptr);
    PressDpiButton();
    ASSERT_TRUE(WaitFor([&] { return dlg->Osd()->levelText() != firstLevel; }));
    EXPECT_EQ(dlg->Osd()->GetSafeHwnd(), first) << "updated in place";
    EXPECT_EQ(host.TopLevelWindows().size(), 2u);

    Settle(1400);
    ASSERT_NE(dlg->Osd(), nullptr);
    EXPECT_TRUE(host.IsWindow(first));
    Settle(400);
    EXPECT_EQ(dlg->Osd(), nullptr);
    EXPECT_FALSE(host.IsWindow(first));
    EXPECT_FALSE(host.IsTimerRunning(Main(), kTimerOsd));
}

TEST(OsdLayoutRules, ValueMovesLeftForLongerNumbers)
{
    const Rect work{0, 0, 1920, 1040};
    for (const std::u16string face : {u"Tahoma", u"宋体"}) {
        const bool song = face == u"宋体";
        const OsdLayout five = ComputeOsdLayout(work, u"12000", u"500Hz", face, 1.0f);
        const OsdLayout four = ComputeOsdLayout(work, u"1600", u"500Hz", face, 1.0f);
        const OsdLayout three = ComputeOsdLayout(work, u"800", u"500Hz", face, 1.0f);
        EXPECT_EQ(five.value.x, song ? 34 : 16);
        EXPECT_EQ(four.value.x, song ? 44 : 34);
        EXPECT_EQ(three.value.x, 50);
        EXPECT_EQ(five.value.y, 44);
    }
    const OsdLayout twice = ComputeOsdLayout(work, u"12000", u"500Hz", u"Tahoma", 2.0f);
    EXPECT_EQ(twice.value, (Point{32, 88}));
}

TEST(OsdLayoutRules, SixCharacterRateSitsSevenUnitsFurtherLeft)
{
    const Rect work{0, 0, 1920, 1040};
    for (float s : {1.0f, 2.0f}) {
        const OsdLayout fast = ComputeOsdLayout(work, u"800", u"1000Hz", u"Tahoma", s);
        const OsdLayout slow = ComputeOsdLayout(work, u"800", u"500Hz", u"Tahoma", s);
        EXPECT_EQ(slow.rate.x - fast.rate.x, static_cast<int>(7 * s));
        EXPECT_EQ(fast.rate.y, static_cast<int>(92 * s));
        EXPECT_EQ(fast.level, (Point{static_cast<int>(58 * s), static_cast<int>(20 * s)}));
    }
}

TEST(OsdLayoutRules, ScaleTwoGivesA360By280WindowInTheWorkAreaCorner)
{
    const Rect work{0, 0, 3840, 2120};
    const OsdLayout l = ComputeOsdLayout(work, u"1600", u"1000Hz", u"Tahoma", 2.0f);
    EXPECT_EQ(l.window, (Rect{3840 - 360, 2120 - 280, 3840, 2120}));
    EXPECT_EQ(l.levelFont.height, 48);
    EXPECT_EQ(l.levelFont.width, 24);
    EXPECT_EQ(l.levelFont.weight, 700);
    EXPECT_EQ(l.valueFont.height, 96);
    EXPECT_EQ(l.valueFont.weight, 400);
}

// The first white column of the value's band, read from the painted window.
int FirstWhiteColumn(platform::HeadlessHost& host, HWND w, int top, int bottom)
{
    const platform::IImage* img = host.Snapshot(w);
    if (!img) return -1;
    for (int x = 0; x < img->Width(); ++x)
        for (int y = top; y < bottom && y < img->Height(); ++y) {
            const COLORREF c = img->Pixel(x, y);
            if (GetRValue(c) > 230 && GetGValue(c) > 230 && GetBValue(c) > 230) return x;
        }
    return -1;
}

class OsdPainting : public MainWindowTest {};

TEST_F(OsdPainting, FillAndValuePositionOnScreen)
{
    Start();
    int firstColumn[3] = {};
    const std::u16string values[3] = {u"12000", u"1600", u"800"};
    for (int i = 0; i < 3; ++i) {
        dlg->ShowOsd(u"DPI-1", values[i], u"1000Hz");
        ASSERT_NE(dlg->Osd(), nullptr);
        const HWND w = dlg->Osd()->GetSafeHwnd();
        EXPECT_EQ(host.GetWindowRect(w), (Rect{1920 - 180, 1040 - 140, 1920, 1040}));
        const platform::IImage* img = host.Snapshot(w);
        ASSERT_NE(img, nullptr);
        EXPECT_EQ(img->Pixel(2, 2), kOsdFill);
        firstColumn[i] = FirstWhiteColumn(host, w, 50, 88);
        EXPECT_GE(firstColumn[i], 0) << "value drawn";
    }
    EXPECT_LT(firstColumn[0], firstColumn[1]);
    EXPECT_LT(firstColumn[1], firstColumn[2]);
    EXPECT_GE(firstColumn[0], 16);
}

TEST_F(OsdPainting, ALongProfileNameIsCutInsideTheBoxNotAtItsEdges)
{
    Start();
    dlg->ShowOsd(u"Game profile", u"A rather long profile name for a game", u"");
    ASSERT_NE(dlg->Osd(), nullptr);
    const HWND w = dlg->Osd()->GetSafeHwnd();
    const int first = FirstWhiteColumn(host, w, 60, 100);
    EXPECT_GE(first, 3) << "the name's start is shown, not cut by the left edge";
    // The same band read from the right: its last white column.
    const platform::IImage* img = host.Snapshot(w);
    ASSERT_NE(img, nullptr);
    int last = -1;
    for (int x = 0; x < img->Width(); ++x)
        for (int y = 60; y < 100; ++y) {
            const COLORREF c = img->Pixel(x, y);
            if (GetRValue(c) > 230 && GetGValue(c) > 230 && GetBValue(c) > 230) last = x;
        }
    EXPECT_GT(last, first);
    EXPECT_LE(last, img->Width() - 4);
}

class WideOsd : public MainWindowTest {
protected:
    WideOsd() : MainWindowTest({0, 0, 3840, 2160}, {0, 0, 3840, 2120}) {}
};

TEST_F(WideOsd, WindowIs360By280)
{
    Start();
    dlg->ShowOsd(u"DPI-2", u"1600", u"1000Hz");
    ASSERT_NE(dlg->Osd(), nullptr);
    const Rect r = host.GetWindowRect(dlg->Osd()->GetSafeHwnd());
    EXPECT_EQ(r.Width(), 360);
    EXPECT_EQ(r.Height(), 280);
    EXPECT_EQ(r.right, 3840);
    EXPECT_EQ(r.bottom, 2120);
}

}  // namespace
