#include "ui/item_popup.h"
#include "ui_test_support.h"

namespace {

class TestPopup : public CItemPopup {
public:
    explicit TestPopup(int kind, int width = 161) : CItemPopup(kind, width)
    {
        SetItemImages(SkinPath(u"skins/menu_nr.png"), SkinPath(u"skins/menu_ov.png"), SkinPath(u"skins/menusub_nr.png"),
                      SkinPath(u"skins/menusub_ov.png"));
    }
    int markedHovers = 0;

protected:
    void BuildItems() override
    {
        AddItem(u"One", 0, 1, 0);
        AddItem(u"", 1, 0, 0);
        AddItem(u"Two", 0, 2, 1);
    }
    void OnMarkedItemHovered(int) override { ++markedHovers; }
};

class PopupTest : public UiTest {
protected:
    TestDlg dlg{400, 300};
    HWND owner = 0;
    std::vector<PopupResult> chosen;
    void SetUp() override
    {
        UiTest::SetUp();
        owner = Open(dlg);
    }
    void TearDown() override
    {
        dlg.DestroyWindow();  // its popups go with it
        UiTest::TearDown();
    }
    TestPopup* Show(int kind, UINT dismissal = 0)
    {
        auto* p = new TestPopup(kind);
        p->OnChoice([this](const PopupResult& r) { chosen.push_back(r); });
        EXPECT_TRUE(p->Create(owner, Rect::FromSize(100, 100, 10, 10), 0, 2013, dismissal));
        host.ProcessPending();
        return p;
    }
};

TEST_F(PopupTest, ItemsAreLaidOutInOneColumnAndTheWindowFitsThem)
{
    TestPopup* p = Show(0);
    const auto& items = p->Items();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].rect, (Rect{1, 1, 161, 23}));
    EXPECT_EQ(items[1].rect, (Rect{1, 25, 161, 26}));
    EXPECT_EQ(items[2].rect, (Rect{1, 27, 161, 49}));
    EXPECT_EQ(host.GetWindowRect(p->GetSafeHwnd()), Rect::FromSize(100, 100, 162, 50));
}

TEST_F(PopupTest, ItemLayoutScalesByTwo)
{
    g_uiScale = 2.0f;
    TestPopup* p = Show(0);
    EXPECT_EQ(p->Items()[0].rect, (Rect{2, 2, 322, 46}));
    EXPECT_EQ(p->Items()[1].rect, (Rect{2, 50, 322, 52}));
    EXPECT_EQ(p->Items()[2].rect, (Rect{2, 54, 322, 98}));
    EXPECT_EQ(host.GetWindowRect(p->GetSafeHwnd()).Width(), 324);
    EXPECT_EQ(host.GetWindowRect(p->GetSafeHwnd()).Height(), 100);
}

TEST_F(PopupTest, MovingWithinAnItemDoesNotRedrawAndASeparatorClearsTheHover)
{
    TestPopup* p = Show(0);
    HWND pw = p->GetSafeHwnd();
    int redraws = p->RedrawCount();
    MoveTo(pw, 10, 5);
    EXPECT_EQ(p->Hovered(), 0);
    EXPECT_EQ(p->RedrawCount(), redraws + 1);
    MoveTo(pw, 60, 15);
    MoveTo(pw, 100, 20);
    EXPECT_EQ(p->RedrawCount(), redraws + 1);
    MoveTo(pw, 60, 25);
    EXPECT_EQ(p->Hovered(), -1);
    EXPECT_EQ(p->RedrawCount(), redraws + 2);
    MoveTo(pw, 60, 30);
    EXPECT_EQ(p->Hovered(), 2);
    EXPECT_EQ(p->markedHovers, 1);
}

TEST_F(PopupTest, TheHoveredRowIsPaintedWithTheHoverPicture)
{
    TestPopup* p = Show(0);
    HWND pw = p->GetSafeHwnd();
    MoveTo(pw, 10, 35);
    COLORREF hot = PixelAt(pw, 140, 30);
    COLORREF cold = PixelAt(pw, 140, 5);
    EXPECT_GT(GetBValue(hot), 110);                         // accent-tinted row
    EXPECT_LT(GetBValue(cold), 60);                         // plain dark row
    EXPECT_EQ(PixelAt(pw, 60, 25), RGB(0x35, 0xA0, 0xDE));  // the separator
}

TEST_F(PopupTest, ReleasingOutsideTheHoveredItemClearsTheHoverAndReportsNothing)
{
    TestPopup* p = Show(0);
    HWND pw = p->GetSafeHwnd();
    MoveTo(pw, 10, 5);
    host.PressButton();
    MoveTo(pw, 10, 35);
    EXPECT_EQ(p->Hovered(), 0);  // no hover change while the button is down
    host.ReleaseButton();
    EXPECT_EQ(p->Hovered(), -1);
    EXPECT_TRUE(chosen.empty());

    ClickAt(pw, 20, 10);
    ASSERT_EQ(chosen.size(), 1u);
    EXPECT_EQ(chosen[0].caption, u"One");
    EXPECT_EQ(chosen[0].bytes[0], 0);
    // A report does not close the popup; its owner does.
    EXPECT_TRUE(host.IsWindow(pw));
}

TEST_F(PopupTest, ClickingElsewhereDismissesOnceWithTheKind)
{
    TestPopup* p = Show(9, 1146);
    EXPECT_EQ(host.GetActiveWindow(), p->GetSafeHwnd());
    ClickAt(owner, 300, 250);
    EXPECT_EQ(dlg.CountMessage(1146), 1);
    EXPECT_EQ(dlg.Last(1146)->lParam, 9);
    EXPECT_EQ(dlg.Last(1146)->wParam, 2013u);
    // The owner's handler closes it: no second dismissal on the way out.
    dlg.SetPopup(0, p);
    dlg.ClosePopup(0);
    host.ProcessPending();
    EXPECT_EQ(dlg.CountMessage(1146), 1);
    EXPECT_EQ(dlg.Count(WM_POPUP_CLOSED, 0), 1);
}

TEST_F(PopupTest, WithoutADismissalMessageAPopupGoesSilentlyAndWithOneItReportsItsKind)
{
    Show(20);
    ClickAt(owner, 300, 250);
    for (const auto& e : dlg.events) EXPECT_FALSE(e.wParam == 2013 && e.lParam == 20) << e.message;

    Show(102, 1050);
    ClickAt(owner, 300, 250);
    ASSERT_EQ(dlg.CountMessage(1050), 1);
    EXPECT_EQ(dlg.Last(1050)->lParam, 102);
}

TEST_F(PopupTest, APopupGoesWithItsOwnerWindow)
{
    TestPopup* p = Show(0);
    HWND pw = p->GetSafeHwnd();
    dlg.DestroyWindow();
    EXPECT_FALSE(host.IsWindow(pw));
    CWndPopup::ReapDestroyed();  // the object is deleted; ASan would catch a double delete
}

}  // namespace
