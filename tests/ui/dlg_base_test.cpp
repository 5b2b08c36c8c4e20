#include <stdexcept>
#include <string>
#include <vector>

#include "ui/check_button.h"
#include "ui/image_button.h"
#include "ui/item_popup.h"
#include "ui/passive_controls.h"
#include "ui_test_support.h"

namespace {

class DlgBaseTest : public UiTest {};

TEST_F(DlgBaseTest, PressOutsideEveryControlMovesTheWindowAndPressOnAControlDoesNot)
{
    TestDlg dlg;
    HWND w = Open(dlg, [](TestDlg& d) { d.Add<CImageButton>(0, 2010, Rect{100, 100, 170, 120}, u"OK"); });
    Rect before = host.GetWindowRect(w);

    MoveTo(w, 20, 20);
    host.PressButton();
    host.MoveMouse(host.ClientToScreen(w, {50, 45}));
    host.ReleaseButton();
    Rect moved = host.GetWindowRect(w);
    EXPECT_EQ(moved.left, before.left + 30);
    EXPECT_EQ(moved.top, before.top + 25);

    MoveTo(w, 110, 110);
    host.PressButton();
    host.MoveMouse(host.ClientToScreen(w, {150, 115}));
    host.ReleaseButton();
    EXPECT_EQ(host.GetWindowRect(w), moved);
    EXPECT_EQ(dlg.Count(2010, CE_DOWN), 1);
}

TEST_F(DlgBaseTest, ReleasingOutsideThePressedControlIsNoClickAndClearsTheHover)
{
    TestDlg dlg;
    CImageButton* b = nullptr;
    HWND w = Open(dlg, [&](TestDlg& d) { b = d.Add<CImageButton>(0, 2010, Rect{100, 100, 170, 120}, u"OK"); });

    MoveTo(w, 110, 110);
    EXPECT_EQ(dlg.HoveredControl(), b);
    host.PressButton();
    EXPECT_EQ(host.GetCapture(), w);
    MoveTo(w, 300, 250);
    host.ReleaseButton();

    EXPECT_EQ(dlg.Count(2010, CE_DOWN), 1);
    EXPECT_EQ(dlg.Count(2010, CE_CLICK), 0);
    EXPECT_EQ(dlg.HoveredControl(), nullptr);
    EXPECT_EQ(dlg.MousePosition(), (Point{-1, -1}));
    EXPECT_EQ(b->State(), kStateNormal);
    EXPECT_EQ(host.GetCapture(), 0u);

    // A full click inside does report, with the button's id as wParam.
    ClickAt(w, 120, 110);
    ASSERT_EQ(dlg.Count(2010, CE_CLICK), 1);
    EXPECT_EQ(dlg.Last(2010)->wParam, 2010u);
}

TEST_F(DlgBaseTest, WhileTheButtonIsHeldOtherControlsDoNotLightUp)
{
    TestDlg dlg;
    CImageButton *a = nullptr, *b = nullptr;
    HWND w = Open(dlg, [&](TestDlg& d) {
        a = d.Add<CImageButton>(0, 2010, Rect{10, 10, 80, 30}, u"A");
        b = d.Add<CImageButton>(0, 2011, Rect{10, 50, 80, 70}, u"B");
    });
    MoveTo(w, 20, 20);
    host.PressButton();
    MoveTo(w, 20, 60);
    EXPECT_EQ(dlg.HoveredControl(), a);
    EXPECT_EQ(b->State(), kStateNormal);
    EXPECT_EQ(a->State(), kStatePressed);
    host.ReleaseButton();
    EXPECT_EQ(dlg.Count(2011, CE_CLICK), 0);
    EXPECT_EQ(dlg.Count(2010, CE_CLICK), 0);
    // The next move finds B.
    MoveTo(w, 22, 60);
    EXPECT_EQ(dlg.HoveredControl(), b);
    EXPECT_EQ(b->State(), kStateHover);
}

TEST_F(DlgBaseTest, ControlsThatAreNotBothVisibleAndAvailableAreNeitherDrawnNorHit)
{
    TestDlg dlg;
    CImageButton *hidden = nullptr, *gone = nullptr;
    HWND w = Open(dlg, [&](TestDlg& d) {
        hidden = d.Add<CImageButton>(0, 2010, Rect{10, 10, 80, 30}, u"", DT_CENTER, false, true, false);
        gone = d.Add<CImageButton>(0, 2011, Rect{10, 50, 80, 70}, u"", DT_CENTER, true, false, false);
        hidden->LoadNormalAndHover(Skin(u"button2_nr.png"), Skin(u"button2_ov.png"));
        gone->LoadNormalAndHover(Skin(u"button2_nr.png"), Skin(u"button2_ov.png"));
    });
    COLORREF back = dlg.BackgroundColour();
    EXPECT_EQ(PixelAt(w, 40, 20), back);
    EXPECT_EQ(PixelAt(w, 40, 60), back);

    MoveTo(w, 40, 20);
    EXPECT_EQ(dlg.HoveredControl(), nullptr);
    MoveTo(w, 40, 60);
    EXPECT_EQ(dlg.HoveredControl(), nullptr);
    // A press there moves the window instead.
    Rect before = host.GetWindowRect(w);
    host.PressButton();
    host.MoveMouse(host.ClientToScreen(w, {45, 60}));
    host.ReleaseButton();
    EXPECT_NE(host.GetWindowRect(w), before);
    EXPECT_EQ(dlg.CountMessage(2011), 0);

    // Shown again: drawn and hit.
    gone->SetAvailable(true);
    host.Invalidate(w);
    EXPECT_NE(PixelAt(w, 40, 60), back);
}

TEST_F(DlgBaseTest, LeavingTheWindowDropsTheHoverUnlessTheButtonIsHeld)
{
    TestDlg dlg;
    CImageButton* b = nullptr;
    HWND w = Open(dlg, [&](TestDlg& d) { b = d.Add<CImageButton>(0, 2010, Rect{10, 10, 80, 30}, u""); });
    MoveTo(w, 20, 20);
    EXPECT_TRUE(dlg.Tracking());
    host.MoveMouse(host.ClientToScreen(w, {-50, -50}));
    EXPECT_FALSE(dlg.Tracking());
    EXPECT_EQ(dlg.HoveredControl(), nullptr);
    EXPECT_EQ(b->State(), kStateNormal);

    // Pressed: the leave changes nothing, the release outside ends the press.
    MoveTo(w, 20, 20);
    host.PressButton();
    host.MoveMouse(host.ClientToScreen(w, {-50, -50}));
    EXPECT_EQ(dlg.HoveredControl(), b);
    EXPECT_EQ(b->State(), kStatePressed);
    host.ReleaseButton();
    EXPECT_EQ(b->State(), kStateNormal);
    EXPECT_EQ(dlg.Count(2010, CE_CLICK), 0);
}

TEST_F(DlgBaseTest, OfOverlappingControlsTheLaterOneIsOnTopAndWinsTheHitTest)
{
    TestDlg dlg;
    CStaticText* label = nullptr;
    CImageButton *early = nullptr, *late = nullptr;
    HWND w = Open(dlg, [&](TestDlg& d) {
        early = d.Add<CImageButton>(1, 2010, Rect{10, 10, 80, 30}, u"");
        late = d.Add<CImageButton>(0, 2011, Rect{40, 10, 110, 30}, u"");
        early->LoadNormalAndHover(Skin(u"exit_ov.png"), Skin(u"exit_ov.png"));       // red
        late->LoadNormalAndHover(Skin(u"button2_nr.png"), Skin(u"button2_ov.png"));  // grey
        label = d.Add<CStaticText>(2, 3000, Rect{0, 0, 5, 5}, RGB(1, 2, 3), DT_LEFT);
    });
    // Group 1 comes after group 0: the early-inserted control of group 1 is later in order.
    MoveTo(w, 60, 20);
    EXPECT_EQ(dlg.HoveredControl(), early);
    COLORREF c = PixelAt(w, 60, 20);
    EXPECT_GT(GetRValue(c), 90);
    EXPECT_LT(GetGValue(c), 40);
    EXPECT_EQ(dlg.FindControl(3000), label);
    EXPECT_EQ(dlg.FindControl(2999), nullptr);
}

TEST_F(DlgBaseTest, TheEleventhOpenDialogIsNotRegisteredAndSurvivesCloseAll)
{
    std::vector<std::unique_ptr<TestDlg>> dialogs;
    for (int i = 0; i < 11; ++i) {
        dialogs.push_back(std::make_unique<TestDlg>(100, 80));
        Open(*dialogs.back());
    }
    for (int i = 0; i < 10; ++i) EXPECT_EQ(g_openDialogs[i], dialogs[i]->GetSafeHwnd());
    HWND eleventh = dialogs[10]->GetSafeHwnd();

    // Closing one moves the later entries down.
    HWND third = dialogs[2]->GetSafeHwnd();
    dialogs[2]->DestroyWindow();
    EXPECT_FALSE(host.IsWindow(third));
    EXPECT_EQ(g_openDialogs[2], dialogs[3]->GetSafeHwnd());
    EXPECT_EQ(g_openDialogs[8], dialogs[9]->GetSafeHwnd());
    EXPECT_EQ(g_openDialogs[9], 0u);

    CloseOpenDialogs();
    host.ProcessPending();
    for (int i = 0; i < 10; ++i) EXPECT_FALSE(host.IsWindow(dialogs[i]->GetSafeHwnd())) << i;
    EXPECT_TRUE(host.IsWindow(eleventh));
    for (HWND e : g_openDialogs) EXPECT_EQ(e, 0u);
}

TEST_F(DlgBaseTest, CloseButtonReleasesImagesAndEndsAModalRunWithCancel)
{
    TestDlg dlg;
    CImageButton* close = nullptr;
    dlg.build = [&](TestDlg& d) {
        close = d.Add<CImageButton>(0, 2004, Rect{300, 4, 315, 19}, u"");
        close->LoadNormalAndHover(Skin(u"exit_nr.png"), Skin(u"exit_ov.png"));
    };
    host.ScriptModal([](platform::HeadlessModal& m) { m.ClickAt({307, 10}); });
    EXPECT_EQ(dlg.DoModal(0), IDCANCEL);
    EXPECT_EQ(close->Image(1), nullptr);
    EXPECT_EQ(dlg.GetSafeHwnd(), 0u);
}

TEST_F(DlgBaseTest, ClosingPopupSlotsThatAreEmptyOrWhosePopupIsGoneOnlyEmptiesThem)
{
    TestDlg dlg;
    HWND w = Open(dlg);
    dlg.ClosePopup(3);  // empty: nothing happens
    EXPECT_EQ(dlg.Popup(3), nullptr);

    auto* p = new CItemPopup(0, 161);
    ASSERT_TRUE(p->Create(w, Rect::FromSize(100, 100, 10, 10), 1500, 2013));
    HWND pw = p->GetSafeHwnd();
    dlg.SetPopup(3, p);
    EXPECT_EQ(dlg.Popup(3), p);
    // The popup's window goes away by itself (its owner closed it some other
    // way) and the object deletes itself: the slot must not touch it.
    host.DestroyWindow(pw);
    CWndPopup::ReapDestroyed();
    EXPECT_EQ(dlg.Popup(3), nullptr);
    dlg.ClosePopup(3);
    host.ProcessPending();
    EXPECT_EQ(dlg.Popup(3), nullptr);

    // A live popup is asked to close and tells its parent with 1025.
    auto* q = new CItemPopup(0, 161);
    ASSERT_TRUE(q->Create(w, Rect::FromSize(100, 100, 10, 10), 1500, 2013));
    dlg.AddListPopup(q);
    HWND qw = q->GetSafeHwnd();
    dlg.CloseListPopup(0);
    EXPECT_EQ(dlg.ListPopupCount(), 0u);
    host.ProcessPending();
    EXPECT_FALSE(host.IsWindow(qw));
    EXPECT_EQ(dlg.Count(WM_POPUP_CLOSED, 0), 1);
}

TEST_F(DlgBaseTest, BackgroundColourIsTheAverageAndTheCacheIsDrawnAtTheWindowScale)
{
    g_uiScale = 2.0f;
    TestDlg dlg(1000, 582);
    HWND w = Open(dlg);
    auto canvas = host.Graphics().CreateImageCanvas(4, 2);
    canvas->FillRect({0, 0, 2, 2}, RGB(200, 0, 0));
    canvas->FillRect({2, 0, 4, 2}, RGB(0, 0, 101));
    dlg.SetBackgroundBitmap(std::make_unique<CSkinImage>(host.Graphics().CopyImage(canvas->Image()), 1));
    EXPECT_EQ(dlg.BackgroundColour(), RGB(100, 0, 50));
    // 4 x 2 units at scale 2 cover 8 x 4 pixels.
    host.Invalidate(w);
    EXPECT_EQ(PixelAt(w, 3, 3), RGB(200, 0, 0));
    EXPECT_EQ(PixelAt(w, 7, 3), RGB(0, 0, 101));
    EXPECT_EQ(PixelAt(w, 9, 3), RGB(100, 0, 50));

    // The palette resource lines up with its scaled click areas.
    ASSERT_TRUE(dlg.LoadBackgroundResource(287));
    EXPECT_EQ(dlg.BackgroundSize(), (Size{500, 291}));
    host.Invalidate(w);
    EXPECT_EQ(PixelAt(w, 2 * 10, 2 * 100), RGB(15, 15, 15));
    COLORREF inPalette = PixelAt(w, 2 * 100, 2 * 60);
    EXPECT_NE(inPalette, RGB(15, 15, 15));
}

}  // namespace

namespace {

// A number mapped twice is a wiring mistake: it must fail where it is made,
// for a plain handler, a click, a range that overlaps one, and a second
// subscriber for one code of a shared message.
TEST_F(DlgBaseTest, MappingOneNumberTwiceFailsAtOnce)
{
    struct Case {
        const char* name;
        std::function<void(TestDlg&)> second;
    };
    const Case cases[] = {
        {"handler", [](TestDlg& d) { d.MapMessage(2010, [](WPARAM, LPARAM) { return LRESULT(0); }); }},
        {"click", [](TestDlg& d) { d.MapClick(2010, [] {}); }},
        {"range", [](TestDlg& d) { d.MapClickRange(2008, 4, [](int) {}); }},
        {"shared code", [](TestDlg& d) { d.SubscribeShared(1028, 4, [](WPARAM) {}); }},
        {"close button", [](TestDlg& d) { d.MapClick(2004, [] {}); }},  // the base maps it for dialogs
    };
    for (const Case& c : cases) {
        TestDlg dlg;
        dlg.MapClick(2010, [] {});
        dlg.SubscribeShared(1028, 4, [](WPARAM) {});
        EXPECT_THROW(c.second(dlg), std::logic_error) << c.name;
    }
}

TEST_F(DlgBaseTest, HelpersRouteClicksRangesAndSharedCodesToTheirOwnHandlers)
{
    TestDlg dlg;
    HWND w = Open(dlg);
    std::vector<std::string> seen;
    dlg.MapClick(2062, [&] { seen.push_back("click"); });
    dlg.MapClickRange(3300, 8, [&](int k) { seen.push_back("range " + std::to_string(k)); });
    dlg.SubscribeShared(1028, 4, [&](WPARAM id) { seen.push_back("hover " + std::to_string(id)); });
    dlg.SubscribeShared(1028, CE_CLICK, [&](WPARAM id) { seen.push_back("menu " + std::to_string(id)); });

    host.SendMessage(w, 2062, 2062, CE_DOWN);  // not a click
    host.SendMessage(w, 2062, 2062, CE_CLICK);
    host.SendMessage(w, 3307, 3307, CE_CLICK);
    host.SendMessage(w, 3308, 3308, CE_CLICK);  // past the range: nobody's
    host.SendMessage(w, 1028, 2015, 4);
    host.SendMessage(w, 1028, 2016, CE_CLICK);
    host.SendMessage(w, 1028, 2016, 5);  // leave: no subscriber
    EXPECT_EQ(seen, (std::vector<std::string>{"click", "range 7", "hover 2015", "menu 2016"}));
}

}  // namespace
