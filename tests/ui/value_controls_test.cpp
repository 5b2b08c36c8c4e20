#include "ui/dpi_value_show_control.h"
#include "ui/passive_controls.h"
#include "ui/show_lists.h"
#include "ui/slider_control.h"
#include "ui/tab_control.h"
#include "ui/vscroll_bar.h"
#include "ui_test_support.h"

namespace {

class ValueControlsTest : public UiTest {};

TEST_F(ValueControlsTest, SliderPositionsBetweenItsMarginsAndClicksJumpToTheNearest)
{
    TestDlg dlg;
    CSliderControl* s = nullptr;
    HWND w = Open(dlg, [&](TestDlg& d) { s = d.Add<CSliderControl>(0, 2043, Rect{100, 10, 300, 23}, 11, 6, 7); });
    ASSERT_EQ(s->Table().size(), 11u);
    EXPECT_EQ(s->Table().front(), 106);
    EXPECT_EQ(s->Table().back(), 293);
    EXPECT_EQ(s->Table()[1], 124);

    ClickAt(w, 299, 15);
    EXPECT_EQ(s->Position(), 10);
    EXPECT_EQ(s->ThumbRect(), (Rect{287, 10, 300, 23}));
    ClickAt(w, 100, 15);
    EXPECT_EQ(s->Position(), 0);
    // Halfway between entries 0 and 1 (106 and 124) gives the higher.
    ClickAt(w, 115, 15);
    EXPECT_EQ(s->Position(), 1);
    ClickAt(w, 114, 15);
    EXPECT_EQ(s->Position(), 0);
    EXPECT_EQ(dlg.Count(2043, CE_CLICK), 4);
}

TEST_F(ValueControlsTest, DraggingPastTheRightEdgeReportsTheLastPositionAndKeepsTheThumbInside)
{
    TestDlg dlg;
    CSliderControl* s = nullptr;
    HWND w = Open(dlg, [&](TestDlg& d) {
        s = d.Add<CSliderControl>(0, 2043, Rect{100, 10, 300, 23}, 11, 6, 7);
        ASSERT_TRUE(s->LoadThumb(Skin(u"Slider_Circle.png")));
    });
    // The window routes moves outside the slider to it while the button is held.
    dlg.afterMouseMove = [&](WPARAM flags, int x, int) {
        if (flags == MK_LBUTTON && s->DragTo(x)) host.Invalidate(w);
    };
    MoveTo(w, 105, 15);
    host.PressButton();
    EXPECT_TRUE(s->IsDragging());
    MoveTo(w, 200, 15);
    EXPECT_EQ(dlg.Last(2043)->lParam, CE_VALUE);
    EXPECT_EQ(dlg.Last(2043)->wParam, 5u);
    MoveTo(w, 390, 40);
    EXPECT_EQ(dlg.Last(2043)->wParam, 10u);
    EXPECT_EQ(s->Position(), 10);
    EXPECT_LE(s->ThumbDrawX(), 300 - 13);
    COLORREF back = dlg.BackgroundColour();
    EXPECT_NE(PixelAt(w, 293, 16), back);  // the thumb is drawn at the end
    EXPECT_EQ(PixelAt(w, 301, 16), back);  // and not past it
    host.ReleaseButton();
    EXPECT_FALSE(s->IsDragging());
    EXPECT_EQ(s->Position(), 10);
}

TEST_F(ValueControlsTest, LevelBarFillsPositionPlusOneOfCountFromTheBottom)
{
    TestDlg dlg;
    CDPIValueShowControl* bar = nullptr;
    HWND w = Open(dlg, [&](TestDlg& d) {
        bar = d.Add<CDPIValueShowControl>(0, 3300, Rect{10, 10, 17, 142}, 5, 12, 12);
        ASSERT_TRUE(bar->LoadTrack(Skin(u"mouse/dpi_bar_1.png")));
        ASSERT_TRUE(bar->LoadFill(Skin(u"mouse/dpi_bar_2.png")));
    });
    EXPECT_EQ(bar->FillTop(), 142 - 132 / 5);
    // The fill is the accent; the track above it is dark.
    EXPECT_GT(GetBValue(PixelAt(w, 13, 135)), 100);
    EXPECT_LT(GetBValue(PixelAt(w, 13, 100)), 70);
    bar->SetPosition(4);
    host.Invalidate(w);
    EXPECT_EQ(bar->FillTop(), 10);
    EXPECT_GT(GetBValue(PixelAt(w, 13, 14)), 100);
    // A sensor without a step count yet shows an empty bar instead of failing.
    bar->SetCount(0);
    host.Invalidate(w);
    EXPECT_LT(GetBValue(PixelAt(w, 13, 135)), 70);
    ClickAt(w, 13, 50);
    EXPECT_EQ(dlg.Count(3300, CE_CLICK), 1);
}

TEST_F(ValueControlsTest, ScrollThumbCoversTheTrackWhenThePageExceedsTheRangeOrThereIsNoRange)
{
    CVScrollBar bar(0, 2021, Rect{0, 0, 18, 200});
    ASSERT_TRUE(bar.LoadArrows());
    EXPECT_EQ(bar.TrackRect(), (Rect{0, 18, 18, 182}));
    bar.SetScrollState(0, 10, 5);
    EXPECT_EQ(bar.ThumbRect(), bar.TrackRect());

    bar.SetScrollState(2, 4, 8);
    EXPECT_EQ(bar.ThumbRect().top, 18 + static_cast<int>(2.0 / 8 * 165 + 0.5));
    EXPECT_EQ(bar.ThumbRect().Height(), static_cast<int>(4.0 / 8 * 165 + 0.5) - 1);
    bar.SetScrollState(3, 10, 0);
    EXPECT_EQ(bar.ThumbRect(), bar.TrackRect());
    EXPECT_EQ(bar.Position(), 2);
    EXPECT_EQ(bar.Range(), 8);
}

TEST_F(ValueControlsTest, AtScaleTwoTheUpArrowHitsOnlyItsUpperHalf)
{
    g_uiScale = 2.0f;
    TestDlg dlg(200, 500);
    CVScrollBar* bar = nullptr;
    HWND w = Open(dlg, [&](TestDlg& d) {
        bar = d.Add<CVScrollBar>(0, 2021, Rect{10, 10, 46, 410});
        ASSERT_TRUE(bar->LoadArrows());
        bar->SetScrollState(0, 5, 10);
    });
    EXPECT_EQ(bar->TrackRect().top, 10 + 36);
    ClickAt(w, 20, 15);
    EXPECT_EQ(dlg.Last(2021)->lParam, CE_CLICK);
    ASSERT_EQ(dlg.Count(2021, CE_DOWN), 1);
    EXPECT_EQ(dlg.events[dlg.events.size() - 2].wParam, CVScrollBar::kPartUpArrow);
    ClickAt(w, 20, 10 + 25);  // lower half of the drawn arrow
    EXPECT_EQ(dlg.events[dlg.events.size() - 2].wParam, CVScrollBar::kPartAbove);
    ClickAt(w, 20, 400);
    EXPECT_EQ(dlg.events[dlg.events.size() - 2].wParam, CVScrollBar::kPartDownArrow);
    ClickAt(w, 20, 300);
    EXPECT_EQ(dlg.events[dlg.events.size() - 2].wParam, CVScrollBar::kPartBelow);
}

TEST_F(ValueControlsTest, DraggingTheScrollThumbReportsPositionsAndSnapsOnRelease)
{
    TestDlg dlg;
    CVScrollBar* bar = nullptr;
    HWND w = Open(dlg, [&](TestDlg& d) {
        bar = d.Add<CVScrollBar>(0, 2021, Rect{10, 10, 28, 210});
        bar->LoadArrows();
        bar->SetScrollState(0, 10, 20);
    });
    dlg.afterMouseMove = [&](WPARAM, int x, int y) {
        if (bar->IsDragging()) bar->DragTo(x, y);
    };
    int top = bar->ThumbRect().top;
    MoveTo(w, 15, top + 5);
    host.PressButton();
    EXPECT_TRUE(bar->IsDragging());
    MoveTo(w, 15, top + 5 + 200);  // far below: the thumb stops at the track's end
    EXPECT_EQ(bar->DragRect().bottom, bar->TrackRect().bottom);
    EXPECT_GT(dlg.Count(2021, CE_VALUE), 0);
    int p = bar->Position();
    EXPECT_EQ(p, static_cast<int>(static_cast<double>(bar->DragRect().top - bar->TrackRect().top) * 20 /
                                  (bar->TrackRect().Height() + 1)));
    host.ReleaseButton();
    EXPECT_FALSE(bar->IsDragging());
    EXPECT_EQ(dlg.Last(2021)->lParam, CE_CLICK);
}

struct Names : IShowCollections {
    int items = 3;
    int CollectionCount() const override { return 1; }
    int ItemCount(int) const override { return items; }
    std::u16string ItemText(int, int i) const override { return u"Macro " + std::u16string(1, char16_t(u'A' + i)); }
};

TEST_F(ValueControlsTest, ListClickBelowTheLastItemKeepsTheSelectionAlsoWhenScrolled)
{
    TestDlg dlg;
    Names names;
    CEditShowList* list = nullptr;
    HWND w = Open(dlg, [&](TestDlg& d) { list = d.Add<CEditShowList>(0, Rect{10, 10, 110, 210}); });
    list->SetSource(&names);
    EXPECT_EQ(list->visibleRows, 10);
    list->ShowCollection(0);
    EXPECT_EQ(list->selection, 0);
    ClickAt(w, 50, 10 + 20 * 5 + 5);
    EXPECT_EQ(list->selection, 0);
    EXPECT_EQ(dlg.Count(2015, CE_CLICK), 1);
    ClickAt(w, 50, 10 + 20 * 2 + 5);
    EXPECT_EQ(list->selection, 2);

    // Twelve items scrolled by five: row 8 would be item 13, which is not there.
    names.items = 12;
    list->firstRow = 5;
    ClickAt(w, 50, 10 + 20 * 8 + 5);
    EXPECT_EQ(list->selection, 2);
    ClickAt(w, 50, 10 + 20 * 3 + 5);
    EXPECT_EQ(list->selection, 8);
    // The selected row is painted in the accent.
    EXPECT_EQ(PixelAt(w, 100, 10 + 20 * 3 + 2), RGB(0x35, 0xA0, 0xDE));

    list->ShowCollection(4);
    EXPECT_EQ(list->selection, -1);
    ClickAt(w, 50, 15);
    EXPECT_EQ(list->selection, -1);
}

TEST_F(ValueControlsTest, APartlyVisibleLastRowStaysInsideTheList)
{
    TestDlg dlg;
    Names names;
    names.items = 12;
    CEditShowList* list = nullptr;
    HWND w = Open(dlg, [&](TestDlg& d) { list = d.Add<CEditShowList>(0, Rect{10, 10, 110, 200}); });
    list->SetSource(&names);
    list->ShowCollection(0);
    EXPECT_EQ(list->visibleRows, 10);  // the tenth row is cut by the bottom edge
    list->selection = 9;
    host.Invalidate(w);
    EXPECT_EQ(PixelAt(w, 100, 195), RGB(0x35, 0xA0, 0xDE));
    EXPECT_EQ(PixelAt(w, 100, 205), dlg.BackgroundColour());
    // The canvas gets its clip back: controls after the list still draw.
    host.InvalidateRect(w, {0, 0, 400, 300});
    EXPECT_EQ(PixelAt(w, 100, 205), dlg.BackgroundColour());
}

TEST_F(ValueControlsTest, BatteryFillsOneUnitAtZeroAndFiftyAtAHundred)
{
    TestDlg dlg;
    CBattery* b = nullptr;
    HWND w = Open(dlg, [&](TestDlg& d) {
        b = d.Add<CBattery>(0, 3406, Rect{10, 10, 40, 71});
        ASSERT_TRUE(b->LoadImages(Skin(u"battery_full.png"), Skin(u"battery_empty.png"), Skin(u"battery_charging.png"),
                                  Skin(u"battery_lighting.png")));
    });
    b->level = 0;
    host.Invalidate(w);
    EXPECT_EQ(b->FillTop(0), 10 + 56);
    EXPECT_GT(GetGValue(PixelAt(w, 25, 10 + 56)), 150);  // the one filled unit
    EXPECT_LT(GetGValue(PixelAt(w, 25, 10 + 54)), 60);   // empty above it
    b->level = 100;
    host.Invalidate(w);
    EXPECT_EQ(b->FillTop(100), 10 + 7);
    EXPECT_GT(GetGValue(PixelAt(w, 25, 10 + 8)), 150);
    // A level the mouse should never report stays inside the gauge.
    EXPECT_EQ(b->FillTop(250), 10 + 7);

    // Passive controls never report, even when clicked.
    ClickAt(w, 25, 30);
    EXPECT_EQ(dlg.CountMessage(3406), 0);
}

TEST_F(ValueControlsTest, StaticTextIsDrawnInItsColourAndStaticImagesNeverReport)
{
    TestDlg dlg;
    HWND w = Open(dlg, [&](TestDlg& d) {
        auto* t = d.Add<CStaticText>(0, 3405, Rect{10, 40, 200, 70}, RGB(255, 0, 0), DT_LEFT, u"ignored");
        t->SetLabelText(u"MMMMMMMM");
        auto* i = d.Add<CStaticImage>(0, 3400, Rect{10, 100, 31, 119});
        i->LoadImage(Skin(u"mouse/serial_number1.png"));
    });
    const platform::IImage* img = host.Snapshot(w);
    ASSERT_NE(img, nullptr);
    int red = 0;
    for (int y = 40; y < 70; ++y)
        for (int x = 10; x < 200; ++x) {
            COLORREF c = img->Pixel(x, y);
            if (GetRValue(c) > 200 && GetGValue(c) < 80 && GetBValue(c) < 80) ++red;
        }
    EXPECT_GT(red, 20);
    ClickAt(w, 20, 110);
    ClickAt(w, 20, 50);
    EXPECT_EQ(dlg.CountMessage(3400), 0);
    EXPECT_EQ(dlg.CountMessage(3405), 0);
}

TEST_F(ValueControlsTest, TabClickStoresItsIndexBeforeReportingAndRightClickReports)
{
    TestDlg dlg;
    int working = 0;
    int seen = -1;
    HWND w = Open(dlg, [&](TestDlg& d) {
        d.Add<CTabControl>(0, 2049, Rect{10, 10, 172, 31}, u"Profile 1");
        d.Add<CTabControl>(0, 2051, Rect{10, 40, 172, 61}, u"Profile 3");
    });
    for (UINT id : {2049u, 2051u}) dlg.Find<CTabControl>(id)->BindSelection(&working, int(id - 2049));
    dlg.MapMessage(2051, [&](WPARAM, LPARAM l) {
        if (l == CE_CLICK) seen = working;
        return 0;
    });
    EXPECT_EQ(dlg.Find<CTabControl>(2049)->LookIndex(), 2);
    ClickAt(w, 50, 50);
    EXPECT_EQ(seen, 2);
    EXPECT_EQ(dlg.Find<CTabControl>(2051)->LookIndex(), 3);
    EXPECT_EQ(dlg.Find<CTabControl>(2049)->LookIndex(), 0);
    host.Click(w, {50, 20}, platform::MouseButton::Right);
    EXPECT_EQ(dlg.Count(2049, CE_RCLICK), 1);
    EXPECT_EQ(dlg.Last(2049)->wParam, 2049u);
}

}  // namespace
