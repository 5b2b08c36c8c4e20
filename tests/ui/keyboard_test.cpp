#include "ui/check_button.h"
#include "ui/combo_button.h"
#include "ui/image_button.h"
#include "ui/item_popup.h"
#include "ui/key_behaviour.h"
#include "ui/passive_controls.h"
#include "ui/slider_control.h"
#include "ui_test_support.h"

namespace {

TEST(KeyTable, EachKindAnswersItsKeys)
{
    using K = ControlKind;
    using A = KeyAction;
    struct Row {
        K kind;
        UINT vk;
        bool shift;
        A action;
    };
    const Row rows[] = {
        {K::Decorative, VK_TAB, false, A::FocusNext},  // Tab works from anywhere
        {K::Button, VK_TAB, true, A::FocusPrev},
        {K::Decorative, VK_SPACE, false, A::None},
        {K::CheckBox, VK_SPACE, false, A::Activate},
        {K::Combo, VK_RETURN, false, A::Activate},
        {K::SectionHeader, VK_SPACE, false, A::Activate},
        {K::SectionHeader, VK_RETURN, false, A::None},
        {K::Slider, VK_SPACE, false, A::None},
        {K::Slider, VK_LEFT, false, A::StepBack},
        {K::Slider, VK_UP, false, A::StepForward},
        {K::Dial, VK_DOWN, false, A::StepBack},
        {K::DpiBar, VK_UP, false, A::StepForward},  // a bar fills upwards
        {K::DpiBar, VK_LEFT, false, A::StepBack},
        {K::Radio, VK_DOWN, false, A::StepForward},
        {K::Button, VK_DOWN, false, A::None},
        {K::List, VK_NEXT, false, A::PageForward},
        {K::List, VK_HOME, false, A::First},
        {K::Slider, VK_END, false, A::Last},
        {K::Radio, VK_PRIOR, false, A::None},
        {K::Button, VK_ESCAPE, false, A::None},  // the window's own rule
    };
    for (const Row& r : rows)
        EXPECT_EQ(KeyActionFor(r.kind, r.vk, r.shift), r.action) << int(r.kind) << " key " << r.vk;

    // With Alt: a combo opens on Alt+Down (and on F4); nothing else answers.
    EXPECT_EQ(KeyActionFor(K::Combo, VK_DOWN, false, true), A::Activate);
    EXPECT_EQ(KeyActionFor(K::Combo, VK_F1 + 3, false), A::Activate);
    EXPECT_EQ(KeyActionFor(K::Combo, VK_DOWN, false), A::None);
    EXPECT_EQ(KeyActionFor(K::Slider, VK_LEFT, false, true), A::None);
    // The context menu: the Menu key, or Shift+F10; F10 alone is no menu.
    EXPECT_EQ(KeyActionFor(K::Tab, VK_APPS, false), A::ContextMenu);
    EXPECT_EQ(KeyActionFor(K::Tab, VK_F1 + 9, true), A::ContextMenu);
    EXPECT_EQ(KeyActionFor(K::Tab, VK_F1 + 9, false), A::None);
    EXPECT_EQ(PopupKeyFor(VK_F1 + 9, true), PopupKey::ContextMenu);
    EXPECT_EQ(KeyActionFor(K::Grid, VK_UP, false), A::RowBack);
    EXPECT_EQ(KeyActionFor(K::Grid, VK_RIGHT, false), A::StepForward);
    // Dialog keys: Escape cancels from anywhere, Enter is the focused
    // control's own when it has one, else the default button's.
    using D = DialogKeyAction;
    EXPECT_EQ(DialogKeyFor(VK_ESCAPE, K::Slider, false, false), D::Cancel);
    EXPECT_EQ(DialogKeyFor(VK_RETURN, K::Button, false, false), D::None);
    EXPECT_EQ(DialogKeyFor(VK_RETURN, K::Slider, false, false), D::Default);
    EXPECT_EQ(DialogKeyFor(VK_RETURN, K::Decorative, false, false), D::Default);  // an edit box
    EXPECT_EQ(DialogKeyFor(VK_RETURN, K::Decorative, true, false), D::None);
    EXPECT_EQ(DialogKeyFor(VK_ESCAPE, K::Button, false, true), D::None);

    EXPECT_EQ(SteppedIndex(A::PageForward, 8, 10, 4), 9);
    EXPECT_EQ(SteppedIndex(A::StepForward, -1, 10), 0);  // nothing selected yet
    EXPECT_EQ(SteppedIndex(A::StepBack, 0, 10), 0);
    EXPECT_EQ(NextFocusIndex({false, true, false, true}, 3, false), 1);  // wraps
    EXPECT_EQ(NextFocusIndex({false, true, false, true}, -1, true), 3);
    EXPECT_EQ(NextFocusIndex({false, false}, -1, false), -1);
}

class KeyboardTest : public UiTest {};

TEST_F(KeyboardTest, TabFollowsCreationOrderAndSkipsWhatCannotBeOperated)
{
    TestDlg dlg;
    std::vector<CControlBase*> made;
    HWND w = Open(dlg, [&](TestDlg& d) {
        // Created first but drawn in a later group: creation order decides.
        made.push_back(d.Add<CImageButton>(3, 2101, Rect{10, 10, 60, 30}, u"A", DT_CENTER));
        made.push_back(d.Add<CCheckButton>(0, 2102, Rect{70, 10, 90, 30}, u"hidden", DT_LEFT, false));
        made.push_back(d.Add<CStaticText>(0, 2103, Rect{100, 10, 160, 30}, RGB(0, 0, 0), DT_LEFT, u"text"));
        made.push_back(d.Add<CImageButton>(0, 2104, Rect{10, 40, 60, 60}, u"off", DT_CENTER, true, true, true));
        made.push_back(d.Add<CCheckButton>(0, 2105, Rect{70, 40, 90, 60}, u"B"));
        made.push_back(d.Add<CImageButton>(0, 2106, Rect{10, 70, 60, 90}, u"C", DT_CENTER, true, false));
    });
    auto focusedId = [&] { return dlg.FocusedControl() ? int(dlg.FocusedControl()->Id()) : 0; };
    std::vector<int> forward;
    for (int i = 0; i < 3; ++i) {
        host.PressKey(VK_TAB);
        forward.push_back(focusedId());
    }
    EXPECT_EQ(forward, (std::vector<int>{2101, 2105, 2101}));
    host.KeyDown(VK_SHIFT);
    host.PressKey(VK_TAB);
    host.KeyUp(VK_SHIFT);
    EXPECT_EQ(focusedId(), 2105);
    // Shown again, the hidden one takes its place in the order.
    made[1]->SetVisible(true);
    host.KeyDown(VK_SHIFT);
    host.PressKey(VK_TAB);
    host.KeyUp(VK_SHIFT);
    EXPECT_EQ(focusedId(), 2102);
    (void)w;
}

TEST_F(KeyboardTest, TabRoundsGoThroughTheEditBoxesBothWays)
{
    TestDlg dlg;
    HWND first = 0, second = 0;
    HWND w = Open(dlg, [&](TestDlg& d) {
        d.Add<CImageButton>(0, 2101, Rect{10, 10, 60, 30}, u"A", DT_CENTER);
        first = d.AddEdit(2017, Rect{10, 40, 90, 60});
        second = d.AddEdit(2018, Rect{100, 40, 190, 60});
        d.Add<CImageButton>(0, 2102, Rect{10, 70, 60, 90}, u"B", DT_CENTER);
    });
    auto focusedId = [&] { return dlg.FocusedControl() ? int(dlg.FocusedControl()->Id()) : 0; };
    host.PressKey(VK_TAB);
    host.PressKey(VK_TAB);
    EXPECT_EQ(focusedId(), 2102);
    host.PressKey(VK_TAB);  // past the last control: into the first edit box, no ring left behind
    EXPECT_EQ(host.GetFocus(), first);
    EXPECT_EQ(focusedId(), 0);
    // Back in the window (where the platform's own round leaves the edits),
    // Shift+Tab before the first control goes into the last edit box.
    host.SetFocus(w);
    host.PressKey(VK_TAB);
    EXPECT_EQ(focusedId(), 2101);
    host.KeyDown(VK_SHIFT);
    host.PressKey(VK_TAB);
    host.KeyUp(VK_SHIFT);
    EXPECT_EQ(host.GetFocus(), second);
}

TEST_F(KeyboardTest, SpaceAndEnterClickACheckBoxAndTheRingShowsInTheAccent)
{
    TestDlg dlg;
    CCheckButton* c = nullptr;
    bool seen = false;
    HWND w = Open(dlg, [&](TestDlg& d) { c = d.Add<CCheckButton>(0, 3501, Rect{40, 40, 60, 60}, u"Lights"); });
    dlg.MapMessage(3501, [&](WPARAM, LPARAM l) {
        if (l == CE_CLICK) seen = c->IsChecked();
        return 0;
    });
    host.PressKey(VK_SPACE);  // nothing focused: nothing happens
    EXPECT_FALSE(c->IsChecked());
    EXPECT_EQ(PixelAt(w, 39, 50), dlg.BackgroundColour());
    host.PressKey(VK_TAB);
    host.PressKey(VK_SPACE);
    EXPECT_TRUE(seen);  // toggled before the report, as a click does
    EXPECT_EQ(dlg.Count(3501, CE_CLICK), 1);
    EXPECT_EQ(dlg.Count(3501, CE_DOWN), 1);
    host.PressKey(VK_RETURN);
    EXPECT_FALSE(c->IsChecked());
    EXPECT_EQ(PixelAt(w, 39, 50), CDlgBase::kFocusRingColour);
    EXPECT_EQ(PixelAt(w, 50, 61), CDlgBase::kFocusRingColour);
    EXPECT_NE(c->LookIndex(), 1);  // no hover look left behind without a pointer
}

TEST_F(KeyboardTest, ArrowsOnASliderEndLikeADragToTheSamePlace)
{
    // What the owner hears last and what the slider holds, by mouse and by key.
    struct Outcome {
        int position;
        LPARAM lastEvent;
        int clicks;
    };
    auto run = [&](bool keyboard) {
        TestDlg dlg;
        CSliderControl* s = nullptr;
        HWND w = Open(dlg, [&](TestDlg& d) {
            s = d.Add<CSliderControl>(0, 2043, Rect{100, 10, 300, 23}, 11, 6, 7);
            EXPECT_TRUE(s->LoadThumb(Skin(u"Slider_Circle.png")));
        });
        dlg.afterMouseMove = [&](WPARAM flags, int x, int) {
            if (flags == MK_LBUTTON) s->DragTo(x);
        };
        if (keyboard) {
            host.PressKey(VK_TAB);
            host.PressKey(VK_END);
            for (int i = 0; i < 7; ++i) host.PressKey(VK_LEFT);
        } else {
            MoveTo(w, 105, 15);
            host.PressButton();
            MoveTo(w, s->Table()[3], 15);
            host.ReleaseButton();
        }
        Outcome o{s->Position(), dlg.Last(2043)->lParam, dlg.Count(2043, CE_CLICK)};
        dlg.DestroyWindow();
        return o;
    };
    Outcome mouse = run(false), keys = run(true);
    EXPECT_EQ(mouse.position, 3);
    EXPECT_EQ(keys.position, mouse.position);
    EXPECT_EQ(keys.lastEvent, CE_CLICK);
    EXPECT_EQ(mouse.lastEvent, CE_CLICK);
    EXPECT_EQ(keys.clicks, 8);  // End and seven steps: one apply each
}

class MenuPopup : public CItemPopup {
public:
    MenuPopup() : CItemPopup(0, 161) {}
    int opened = -1;

protected:
    void BuildItems() override
    {
        AddItem(u"One", 0, 1, 0);
        AddItem(u"", 1, 0, 0);
        AddItem(u"Two", 0, 2, 1);
        AddItem(u"Three", 0, 3, 0);
    }
    void OnMarkedItemHovered(int i) override { opened = i; }
};

TEST_F(KeyboardTest, APopupChosenByKeyReportsExactlyAsAClick)
{
    TestDlg dlg{400, 300};
    HWND owner = Open(dlg);
    std::vector<PopupResult> results;
    auto show = [&] {
        auto* p = new MenuPopup;
        p->OnChoice([&results](const PopupResult& r) { results.push_back(r); });
        EXPECT_TRUE(p->Create(owner, Rect::FromSize(100, 100, 10, 10), 0, 2013, 1501));
        host.ProcessPending();
        return p;
    };
    MenuPopup* byMouse = show();
    ClickAt(byMouse->GetSafeHwnd(), 20, byMouse->Items()[3].rect.top + 5);
    ASSERT_EQ(results.size(), 1u);
    const PopupResult clickedResult = results.back();
    host.PostMessage(byMouse->GetSafeHwnd(), WM_CLOSE, 0, 0);
    host.ProcessPending();

    MenuPopup* byKey = show();
    host.PressKey(VK_DOWN);
    EXPECT_EQ(byKey->Hovered(), 0);
    host.PressKey(VK_DOWN);  // over the separator
    EXPECT_EQ(byKey->Hovered(), 2);
    EXPECT_EQ(byKey->opened, -1);  // a sub-menu waits for Right
    host.PressKey(VK_RIGHT);
    EXPECT_EQ(byKey->opened, 2);
    host.PressKey(VK_DOWN);
    host.PressKey(VK_RETURN);
    ASSERT_EQ(results.size(), 2u);
    const PopupResult& r = results.back();
    EXPECT_EQ(r.caption, clickedResult.caption);
    EXPECT_EQ(r.bytes, clickedResult.bytes);
    // Escape dismisses it the way a click elsewhere does.
    host.PressKey(VK_ESCAPE);
    ASSERT_EQ(dlg.CountMessage(1501), 1);
    EXPECT_EQ(dlg.Last(1501)->wParam, 2013u);
}

// Left closes a sub-menu and gives the keys back to the menu it came from;
// in a menu opened from a window it does nothing.
TEST_F(KeyboardTest, LeftClosesOnlyASubMenu)
{
    TestDlg dlg{400, 300};
    HWND owner = Open(dlg);
    auto show = [&](int x) {
        auto* p = new MenuPopup;
        EXPECT_TRUE(p->Create(owner, Rect::FromSize(x, 100, 10, 10), 1500, 2013, 1501));
        host.ProcessPending();
        return p;
    };
    MenuPopup* top = show(100);
    const HWND topWindow = top->GetSafeHwnd();
    EXPECT_EQ(top->Opener(), 0u);
    MenuPopup* sub = show(200);
    const HWND subWindow = sub->GetSafeHwnd();
    EXPECT_EQ(sub->Opener(), topWindow);
    const int dismissals = dlg.CountMessage(1501);

    host.PressKey(VK_LEFT);
    EXPECT_FALSE(host.IsWindow(subWindow));
    ASSERT_TRUE(host.IsWindow(topWindow));
    EXPECT_EQ(host.GetActiveWindow(), topWindow);
    host.PressKey(VK_DOWN);  // the keys reach the menu left open
    EXPECT_EQ(top->Hovered(), 0);

    host.PressKey(VK_LEFT);
    EXPECT_TRUE(host.IsWindow(topWindow));
    EXPECT_EQ(dlg.CountMessage(1501), dismissals);  // no dismissal either
}

TEST_F(KeyboardTest, TheDescriptionNamesUnlabelledControlsByTheTextBesideThem)
{
    TestDlg dlg;
    HWND w = Open(dlg, [&](TestDlg& d) {
        d.Add<CStaticText>(0, 3000, Rect{10, 10, 80, 30}, RGB(0, 0, 0), DT_LEFT)->SetLabelText(u"Polling rate");
        auto* combo = d.Add<CComboButton>(0, UINT(1028), UINT(2013), Rect{90, 10, 200, 30}, u"");
        combo->SetLabel(u"500 Hz");
        d.Add<CStaticText>(0, 3001, Rect{10, 50, 80, 70}, RGB(0, 0, 0), DT_LEFT)->SetLabelText(u"Speed");
        auto* s = d.Add<CSliderControl>(0, 2043, Rect{90, 50, 300, 63}, 11, 6, 7);
        s->SetPosition(4);
        // A box is named by the text right of it, not by a caption before it.
        d.Add<CStaticText>(0, 3002, Rect{0, 90, 8, 110}, RGB(0, 0, 0), DT_LEFT)->SetLabelText(u"x");
        auto* c = d.Add<CCheckButton>(0, 3501, Rect{10, 90, 30, 110}, u"");
        c->SetChecked(true);
        d.Add<CStaticText>(0, 3003, Rect{35, 90, 120, 110}, RGB(0, 0, 0), DT_LEFT)->SetLabelText(u"Lights");
        d.Add<CStaticImage>(0, 3400, Rect{140, 90, 160, 110});
    });
    host.PressKey(VK_TAB);
    EXPECT_EQ(host.AccessibleText(w), u"static text \"Polling rate\"\n"
                                      u"combo \"Polling rate\" = 500 Hz focused\n"
                                      u"static text \"Speed\"\n"
                                      u"slider \"Speed\" = 5 / 11\n"
                                      u"static text \"x\"\n"
                                      u"check box \"Lights\" checked\n"
                                      u"static text \"Lights\"\n");
    ASSERT_FALSE(host.AccessibleEvents().empty());
    EXPECT_TRUE(host.AccessibleEvents().back().focus);
    EXPECT_EQ(host.AccessibleEvents().back().controlId, 2013);
}

}  // namespace
