#include <stdexcept>
#include "ui/check_button.h"
#include "ui/color_select_check_button.h"
#include "ui/combo_button.h"
#include "ui/dpi_radio_button.h"
#include "ui/image_button.h"
#include "ui/link_button.h"
#include "ui/power_manage_button.h"
#include "ui/radio_button.h"
#include "ui_test_support.h"

namespace {

class ButtonsTest : public UiTest {};

TEST(ButtonBehaviour, PressedStaysPressedAndDisabledKeepsItsLook)
{
    EXPECT_EQ(StateAfterMove(false, kStateNormal, true), kStateHover);
    EXPECT_EQ(StateAfterMove(false, kStatePressed, false), kStatePressed);
    EXPECT_EQ(StateAfterMove(true, kStateNormal, true), kStateNormal);
    EXPECT_FALSE(StateAfterDown(true, kStateHover, true).sendDown);
    EXPECT_FALSE(StateAfterUp(false, kStatePressed, false).click);
    EXPECT_EQ(StateAfterUp(false, kStatePressed, false).state, kStateNormal);
}

TEST_F(ButtonsTest, DisabledButtonNeitherLightsUpNorReports)
{
    TestDlg dlg;
    CImageButton* b = nullptr;
    HWND w = Open(dlg, [&](TestDlg& d) {
        b = d.Add<CImageButton>(0, 2010, Rect{10, 10, 80, 30}, u"", DT_CENTER, true, true, true);
    });
    MoveTo(w, 20, 20);
    EXPECT_EQ(b->State(), kStateNormal);
    // It still catches the press: the window does not move.
    Rect before = host.GetWindowRect(w);
    host.PressButton();
    host.MoveMouse(host.ClientToScreen(w, {30, 25}));
    host.ReleaseButton();
    EXPECT_EQ(host.GetWindowRect(w), before);
    EXPECT_EQ(dlg.CountMessage(2010), 0);
}

TEST_F(ButtonsTest, CheckButtonTogglesBeforeItsClickAndNotWhenReleasedOutside)
{
    TestDlg dlg;
    CCheckButton* c = nullptr;
    bool seen = false;
    HWND w = Open(dlg, [&](TestDlg& d) { c = d.Add<CCheckButton>(0, 3501, Rect{10, 10, 25, 25}, u""); });
    dlg.MapMessage(3501, [&](WPARAM, LPARAM l) {
        if (l == CE_CLICK) seen = c->IsChecked();
        return 0;
    });
    ClickAt(w, 15, 15);
    EXPECT_TRUE(seen);
    EXPECT_TRUE(c->IsChecked());
    EXPECT_EQ(c->LookIndex(), 2);  // hovered and checked

    MoveTo(w, 15, 15);
    host.PressButton();
    MoveTo(w, 200, 200);
    host.ReleaseButton();
    EXPECT_TRUE(c->IsChecked());
    EXPECT_EQ(c->LookIndex(), 2);  // normal and checked
    c->SetChecked(false);
    EXPECT_EQ(c->LookIndex(), 0);
}

TEST_F(ButtonsTest, CheckedCheckButtonIsPaintedWithItsCheckedPicture)
{
    TestDlg dlg;
    CCheckButton* c = nullptr;
    HWND w = Open(dlg, [&](TestDlg& d) {
        c = d.Add<CCheckButton>(0, 3501, Rect{10, 10, 25, 25}, u"");
        c->LoadImage1(Skin(u"check_nr.png"));
        c->LoadImage2(Skin(u"check_ov.png"));
        c->LoadImage3(Skin(u"check_dn.png"));
    });
    COLORREF off = PixelAt(w, 14, 14);
    EXPECT_LT(GetBValue(off), 80);
    c->SetChecked(true);
    host.Invalidate(w);
    COLORREF on = PixelAt(w, 14, 14);
    EXPECT_GT(GetBValue(on), 180);  // the accent fill of the checked box
    EXPECT_GT(GetGValue(on), 120);
    EXPECT_LT(GetRValue(on), 100);
}

TEST_F(ButtonsTest, RadioGroupsKeepOneBitAndReclickingReportsAgain)
{
    RegisterRadioGroup({{3030, 0x10000}, {3031, 0x20000}, {3032, 0x40000}, {3033, 0x80000}});
    RegisterRadioGroup({{3240, 0x800}, {3250, 0x1000}});
    TestDlg dlg;
    HWND w = Open(dlg, [&](TestDlg& d) {
        d.Add<CRadioButton>(0, 3030, Rect{10, 10, 30, 30});
        d.Add<CRadioButton>(0, 3033, Rect{40, 10, 60, 30});
        d.Add<CRadioButton>(0, 3240, Rect{70, 10, 90, 30});
        d.Add<CRadioButton>(0, 2999, Rect{100, 10, 120, 30});
    });
    ClickAt(w, 75, 15);
    ClickAt(w, 15, 15);
    EXPECT_EQ(g_radioStateWord, 0x10000u | 0x800u);
    ClickAt(w, 45, 15);
    EXPECT_EQ(g_radioStateWord, 0x80000u | 0x800u);
    uint32_t before = g_radioStateWord;
    ClickAt(w, 45, 15);
    EXPECT_EQ(g_radioStateWord, before);
    EXPECT_EQ(dlg.Count(3033, CE_CLICK), 2);
    // An id in no group only reports.
    ClickAt(w, 105, 15);
    EXPECT_EQ(g_radioStateWord, before);
    EXPECT_EQ(dlg.Count(2999, CE_CLICK), 1);
    EXPECT_EQ(dlg.Find<CRadioButton>(3033)->LookIndex(), 2);
}

TEST_F(ButtonsTest, RadioGroupThatWouldShareABitIsRefused)
{
    RegisterRadioGroup({{3240, 0x800}, {3250, 0x1000}});
    RegisterRadioGroup({{3240, 0x800}, {3250, 0x1000}});  // the window opened again
    EXPECT_THROW(RegisterRadioGroup({{3240, 0x2}, {3250, 0x1000}}), std::logic_error);
    EXPECT_THROW(RegisterRadioGroup({{4001, 0x800}, {4002, 0x4}}), std::logic_error);
    SelectRadio(3250);
    EXPECT_TRUE(IsRadioSelected(3250));
    EXPECT_EQ(RadioBit(4001), 0u) << "a refused group is not half registered";
}

TEST_F(ButtonsTest, DpiRadioForLevelThreeEnablesLevelsZeroToThree)
{
    TestDlg dlg;
    HWND w = Open(dlg, [&](TestDlg& d) {
        for (int k = 0; k < 8; ++k) d.Add<CDPIRadioButton>(0, 3290 + k, k, Rect{10 + 30 * k, 10, 36 + 30 * k, 21});
    });
    g_dpiEnableMask = 0x1FF;  // bits above the low byte are not the buttons'
    ClickAt(w, 10 + 30 * 3 + 5, 15);
    EXPECT_EQ(g_dpiEnableMask, 0x10Fu);
    for (int k = 0; k < 8; ++k) EXPECT_EQ(dlg.Find<CDPIRadioButton>(3290 + k)->LookIndex() == 2, k <= 3) << k;
    EXPECT_EQ(dlg.Count(3293, CE_CLICK), 1);
}

TEST_F(ButtonsTest, ComboReportsAtMostFiveEntersOneLeaveAndNoLeaveWhileOpen)
{
    TestDlg dlg;
    CComboButton* c = nullptr;
    const UINT kMsg = 1144;
    HWND w = Open(dlg, [&](TestDlg& d) {
        c = d.Add<CComboButton>(0, kMsg, 3120, Rect{10, 10, 200, 35}, u"", DT_LEFT, u"Wave");
    });
    for (int i = 0; i < 9; ++i) MoveTo(w, 20 + i, 20);
    EXPECT_EQ(dlg.Count(kMsg, CComboButton::kEnter), 5);
    MoveTo(w, 300, 200);
    EXPECT_EQ(dlg.Count(kMsg, CComboButton::kLeave), 1);
    MoveTo(w, 310, 200);
    EXPECT_EQ(dlg.Count(kMsg, CComboButton::kLeave), 1);
    // A new visit counts again.
    MoveTo(w, 20, 20);
    EXPECT_EQ(dlg.Count(kMsg, CComboButton::kEnter), 6);
    ClickAt(w, 21, 20);
    EXPECT_EQ(dlg.Count(kMsg, CComboButton::kClick), 1);
    EXPECT_EQ(dlg.Last(kMsg)->wParam, 3120u);
    EXPECT_EQ(dlg.Count(3120, CE_DOWN), 1);

    c->SetOpen(true);
    EXPECT_EQ(c->Frame(), 1);
    MoveTo(w, 300, 200);
    EXPECT_EQ(dlg.Count(kMsg, CComboButton::kLeave), 1);

    c->SetOpen(false);
    c->SetLocked(true);
    MoveTo(w, 300, 201);
    EXPECT_EQ(dlg.Count(kMsg, CComboButton::kLeave), 2);
    ClickAt(w, 20, 20);
    EXPECT_EQ(dlg.Count(kMsg, CComboButton::kClick), 1);
    EXPECT_EQ(dlg.Count(3120, CE_DOWN), 1);
    EXPECT_EQ(c->Frame(), 4);
}

TEST_F(ButtonsTest, PowerDialSelectsByWedgeAndIgnoresPointsBetweenThem)
{
    TestDlg dlg;
    CPowerManageButton* p = nullptr;
    HWND w = Open(dlg, [&](TestDlg& d) { p = d.Add<CPowerManageButton>(0, 3500, Rect{10, 10, 150, 94}); });
    // Below the dial's centre line, inside the rectangle: no wedge.
    ClickAt(w, 14, 90);
    EXPECT_EQ(p->Value(), 6);
    EXPECT_EQ(dlg.Count(3500, CE_CLICK), 0);
    // The top-left corner is outside the arc as well.
    ClickAt(w, 12, 12);
    EXPECT_EQ(p->Value(), 6);

    // Sweeping left to right over the wedges selects 3 .. 10.
    const int edge[9][2] = {{3, 71}, {7, 51}, {17, 32}, {40, 13}, {70, 5}, {100, 14}, {121, 31}, {131, 51}, {134, 71}};
    for (int k = 0; k < 8; ++k) {
        // The middle of wedge k, a little towards its outer edge.
        int x = 10 + (edge[k][0] + edge[k + 1][0] + 70) / 3;
        int y = 10 + (edge[k][1] + edge[k + 1][1] + 71) / 3;
        ClickAt(w, x, y);
        EXPECT_EQ(p->Value(), 3 + k) << k;
    }
    EXPECT_EQ(dlg.Count(3500, CE_CLICK), 8);
}

TEST_F(ButtonsTest, LinkButtonReportsEnterAndLeaveOncePerVisit)
{
    TestDlg dlg;
    HWND w = Open(dlg, [&](TestDlg& d) { d.Add<CLinkButton>(0, 3503, Rect{10, 10, 200, 28}, u"https://example.org"); });
    MoveTo(w, 20, 20);
    MoveTo(w, 30, 20);
    MoveTo(w, 300, 200);
    MoveTo(w, 310, 200);
    EXPECT_EQ(dlg.Count(3503, CE_ENTER), 1);
    EXPECT_EQ(dlg.Count(3503, CE_LEAVE), 1);
}

TEST_F(ButtonsTest, ProfileListButtonReportsHoverOnEveryMoveOverIt)
{
    TestDlg dlg;
    HWND w = Open(dlg, [&](TestDlg& d) {
        d.Add<CImageButton>(0, 3502, Rect{10, 10, 80, 30}, u"")->SetReportsHover(true);
    });
    MoveTo(w, 20, 20);
    MoveTo(w, 21, 20);
    MoveTo(w, 22, 20);
    EXPECT_EQ(dlg.Count(3502, CE_HOVER), 3);
    host.PressButton();
    MoveTo(w, 23, 20);
    EXPECT_EQ(dlg.Count(3502, CE_HOVER), 3);
    host.ReleaseButton();
}

TEST_F(ButtonsTest, ColourCheckReportsDoubleClickAndSetTextRepaintsOnlyOnChange)
{
    TestDlg dlg;
    CColorSelectCheckButton* c = nullptr;
    HWND w = Open(dlg, [&](TestDlg& d) { c = d.Add<CColorSelectCheckButton>(0, 3180, Rect{10, 10, 31, 30}, u""); });
    c->SetColour(RGB(255, 0, 0));
    MoveTo(w, 20, 20);
    host.DoubleClick();
    EXPECT_EQ(dlg.Count(3180, CE_DBLCLK), 1);
    EXPECT_EQ(PixelAt(w, 20, 20), RGB(255, 0, 0));

    int paints = host.PaintCount(w);
    c->SetText(u"");
    host.ProcessPending();
    EXPECT_EQ(host.PaintCount(w), paints);
    c->SetText(u"new");
    host.ProcessPending();
    EXPECT_EQ(host.PaintCount(w), paints + 1);
}

}  // namespace
