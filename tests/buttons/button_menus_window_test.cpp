// The button list's menus and dialogs in the main window, on the headless
// host with the simulated mouse: what the user clicks, hovers and types, and
// what reaches the profile and the mouse.
#include <gtest/gtest.h>

#include "../app/app_test_support.h"
#include "buttons/button_assignment.h"
#include "buttons/function_catalogue.h"
#include "buttons/ui/button_list_ids.h"
#include "buttons/ui/shortcut_dlg.h"
#include "buttons/ui/fire_key_dlg.h"
#include "device/device_reports.h"
#include "macros/macro_library_file.h"
#include "base/text_codec.h"
#include "base/ui_text.h"
#include "ui/combo_button.h"
#include "ui/control_events.h"
#include "ui/item_popup.h"

namespace {

using namespace button_list;
using Bytes = std::array<uint8_t, 3>;

Point Centre(const Rect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

class ButtonMenus : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        Start();
        sim->ClearTrace();
    }

    CComboButton& Combo(UINT id) { return *dlg->Find<CComboButton>(id); }
    CItemPopup* Menu(int slot) { return dynamic_cast<CItemPopup*>(dlg->Popup(slot)); }

    // Clicks the combo and returns the function menu it opened.
    CItemPopup& OpenMenu(UINT combo)
    {
        host.Click(Main(), Centre(Combo(combo).GetRect()));
        host.ProcessPending();
        CItemPopup* menu = Menu(kSlotFunctionMenu);
        EXPECT_TRUE(menu);
        return *menu;
    }
    void Hover(CItemPopup& popup, int row)
    {
        host.MoveMouseTo(popup.GetSafeHwnd(), Centre(popup.Items()[size_t(row - 1)].rect));
        host.ProcessPending();
    }
    void Choose(CItemPopup& popup, int row)
    {
        host.Click(popup.GetSafeHwnd(), Centre(popup.Items()[size_t(row - 1)].rect));
        host.ProcessPending();
    }
    std::optional<Bytes> Sent(int button) { return sim->State().buttons[size_t(button)]; }
    size_t KeyWrites()
    {
        size_t n = 0;
        for (const auto& w : sim->AcceptedWrites())
            if (w.size() > 2 && w[2] == kCmdKeyAssignment) ++n;
        return n;
    }
    int PopupWindows() { return int(host.TopLevelWindows().size()); }
};

}  // namespace

TEST_F(ButtonMenus, EveryCatalogueRowChosenThroughTheMenusReachesTheMouse)
{
    struct Path {
        int parentRow;  // 0: a row of the function menu itself
        ButtonMenu menu;
    } paths[] = {{0, ButtonMenu::Main},     {6, ButtonMenu::Dpi},     {11, ButtonMenu::Multimedia},
                 {12, ButtonMenu::Office},  {13, ButtonMenu::Windows}, {15, ButtonMenu::DpiLock}};
    int chosen = 0;
    for (const Path& path : paths)
        for (const CatalogueItem& row : GetMenuItems(path.menu)) {
            if (!row.hasCode) continue;
            SCOPED_TRACE(row.name);
            CItemPopup* menu = &OpenMenu(2018);
            if (path.parentRow) {
                Hover(*menu, path.parentRow);
                menu = Menu(kSlotSubMenu);
                ASSERT_TRUE(menu);
            }
            Choose(*menu, row.number);
            EXPECT_EQ(Combo(2018).Label(), ItemLabel(row));
            EXPECT_FALSE(dlg->Popup(kSlotFunctionMenu) || dlg->Popup(kSlotSubMenu));
            Settle(20);
            EXPECT_EQ(Sent(5), (Bytes{row.code.type, row.code.param, row.code.extra}));
            ++chosen;
        }
    EXPECT_EQ(chosen, 47);
}

TEST_F(ButtonMenus, TakingTheOnlyLeftButtonAwayIsRefusedWithAWarningAfter100ms)
{
    Choose(OpenMenu(2013), 2);  // right button
    EXPECT_EQ(Active().buttons[0].code, kLeftButtonCode);
    EXPECT_EQ(Active().buttons[0].label, UiText(20));
    EXPECT_EQ(Combo(2013).Label(), UiText(20));
    Settle(99);
    EXPECT_EQ(ModalRuns(u"attention"), 0);
    Settle(1);
    ASSERT_EQ(ModalRuns(u"attention"), 1);
    EXPECT_EQ(host.ModalLog().back().text, UiText(kTextKeepLeftButton));
    Settle(100);
    EXPECT_EQ(KeyWrites(), 0u);
}

TEST_F(ButtonMenus, KeyDialogOnTheOnlyLeftButtonPutsThatButtonBack)
{
    Active().buttons[0].code = {0x10, 0x02, 0};
    Active().buttons[4].code = kLeftButtonCode;
    ProfileRecord before = Active();
    before.buttons[4].label = UiText(20);
    host.ScriptModal(u"key-combination", [](platform::HeadlessModal& m) {
        m.Send(platform::kKeyHookMessage, 0x41, 0);
        m.ClickAt(Centre(ScaleRect(82, 72, 93, 83)));  // Ctrl
        m.Send(2010, 0, CE_CLICK);
    });
    Choose(OpenMenu(2017), 10);
    Settle(100);
    EXPECT_EQ(ModalRuns(u"key-combination"), 1);
    EXPECT_EQ(Active(), before);
    EXPECT_EQ(Combo(2017).Label(), UiText(20));
    EXPECT_EQ(ModalRuns(u"attention"), 1);
}

TEST_F(ButtonMenus, KeyDialogCaptionsAndCodes)
{
    struct {
        std::vector<UINT> keys;    // hook events in order
        std::vector<int> checks;   // 0 Shift, 1 Ctrl, 2 Alt, 3 Win
        const char16_t* caption;   // nullptr: nothing assigned
        Bytes code;
    } cases[] = {
        {{0x41}, {1, 0}, u"Ctrl+Shift+A", {0x70, 0x03, 0x04}},
        {{0x41, 0xA0, 0x5B}, {}, u"A", {0x70, 0x00, 0x04}},  // Left Shift and the Windows key change nothing
        {{}, {1}, u"Ctrl", {0x70, 0x01, 0x00}},
        {{}, {}, nullptr, {}},
    };
    for (const auto& c : cases) {
        ResetProfileToDefaults(Active(), dlg->CurrentProfileIndex());
        const ButtonSlot before = Active().buttons[6];
        host.ScriptModal(u"key-combination", [&c](platform::HeadlessModal& m) {
            for (UINT k : c.keys) m.Send(platform::kKeyHookMessage, k, 0);
            for (int i : c.checks) m.ClickAt(Centre(ScaleRect(25 + 57 * i, 72, 36 + 57 * i, 83)));
            m.Send(2010, 0, CE_CLICK);
        });
        Choose(OpenMenu(2019), 10);
        Settle(30);
        if (!c.caption) {
            EXPECT_EQ(Active().buttons[6], before);
            continue;
        }
        EXPECT_EQ(Active().buttons[6].label, c.caption);
        EXPECT_EQ(Sent(6), c.code);
    }
}

TEST_F(ButtonMenus, FireDialogLimits)
{
    // 300 typed becomes 255 within 100 ms, with the warning.
    host.ScriptModal(u"fire", [](platform::HeadlessModal& m) {
        m.TypeInto(CFireKeyDlg::kIntervalEditId, u"300");
        m.Advance(100);
        EXPECT_EQ(m.host.GetWindowText(m.host.FindEdit(m.window, CFireKeyDlg::kIntervalEditId)), u"255");
        m.TypeInto(CFireKeyDlg::kIntervalEditId, u"4");
        m.Send(2010, 0, CE_CLICK);  // refused: the dialog stays
        EXPECT_FALSE(m.Ended());
        m.TypeInto(CFireKeyDlg::kIntervalEditId, u"50");
        m.TypeInto(CFireKeyDlg::kCountEditId, u"3");
        m.Send(2010, 0, CE_CLICK);
    });
    Choose(OpenMenu(2019), 7);
    Settle(30);
    std::vector<std::u16string> warnings;
    for (const auto& r : host.ModalLog())
        if (r.kind == u"attention") warnings.push_back(r.text);
    EXPECT_EQ(warnings, (std::vector<std::u16string>{UiText(174), UiText(174)}));
    // The preset's code under the dialog's own caption.
    EXPECT_EQ(Active().buttons[6].label, FireFunctionLabel());
    EXPECT_EQ(Sent(6), (Bytes{0x30, 0x32, 0x03}));
    // The combo shows what the dialog set, not the bare fire label.
    EXPECT_EQ(Combo(2019).Label(), ButtonCaption(FireFunctionLabel(), {kFunctionFire, 50, 3}));
    EXPECT_NE(Combo(2019).Label().find(u"50"), std::u16string::npos);
}

TEST_F(ButtonMenus, ThereIsNoNinthComboAndAStrayClickForOneChangesNothing)
{
    // The mouse has eight buttons: a ninth row would take a function and
    // store nothing. A click reported for its id opens no menu.
    EXPECT_EQ(dlg->Find<CComboButton>(2021), nullptr);
    const ProfileTable before = g_profiles;
    host.SendMessage(Main(), 1028, 2021, CComboButton::kClick);
    Settle(200);
    EXPECT_FALSE(Menu(kSlotFunctionMenu));
    EXPECT_EQ(g_profiles, before);
    EXPECT_EQ(KeyWrites(), 0u);
    EXPECT_EQ(ModalRuns(u"attention"), 0);
}

TEST_F(ButtonMenus, SubMenusOpenOneAtATime)
{
    CItemPopup& menu = OpenMenu(2014);
    const int base = PopupWindows();
    Hover(menu, 6);
    CItemPopup* dpi = Menu(kSlotSubMenu);
    ASSERT_TRUE(dpi);
    EXPECT_EQ(dpi->Kind(), kKindDpi);
    const HWND dpiWindow = dpi->GetSafeHwnd();
    // A second hover on the DPI row makes no second sub-menu.
    host.SendMessage(Main(), kMsgDpiOpen, 2014, 6);
    host.ProcessPending();
    EXPECT_EQ(PopupWindows(), base + 1);
    Hover(menu, 11);
    EXPECT_FALSE(host.IsWindow(dpiWindow));
    ASSERT_TRUE(Menu(kSlotSubMenu));
    EXPECT_EQ(Menu(kSlotSubMenu)->Kind(), kKindMedia);
    EXPECT_EQ(PopupWindows(), base + 1);
    Hover(menu, 1);  // a row without sub-menu closes it
    EXPECT_FALSE(Menu(kSlotSubMenu));
}

TEST_F(ButtonMenus, MessagesOfTheMenusCarryNoChoice)
{
    // A message with a menu's number, whoever sent it, cannot choose a
    // function: choices travel only through the popups' handlers, and no
    // parameter is ever read as an address.
    const ProfileTable before = g_profiles;
    for (UINT message : {kMsgMenuPressed, UINT(1036), UINT(1041), UINT(1052), UINT(1063)})
        for (WPARAM combo : {WPARAM(0), WPARAM(2014), WPARAM(2099)})
            host.SendMessage(Main(), message, combo, LPARAM(0x41414141));
    Settle(200);
    EXPECT_EQ(g_profiles, before);
    EXPECT_EQ(KeyWrites(), 0u);
}

TEST_F(ButtonMenus, MacrosOfEverySetReachTheirButtons)
{
    g_uiTexts[kTextMacroLabelPrefix] = u"Macro: ";
    g_macroLibrary.ClearLibrary();
    g_macroLibrary.AppendSet(u"First");
    for (const char16_t* n : {u"one", u"two", u"three"}) g_macroLibrary.AppendMacro(*g_macroLibrary.SetAt(0), n);
    // One set: the macro row opens its macros directly.
    CItemPopup& menu = OpenMenu(2015);
    Hover(menu, 9);
    CItemPopup* macros = Menu(kSlotMacroSet);
    ASSERT_TRUE(macros);
    ASSERT_EQ(macros->Items().size(), 3u);
    Choose(*macros, 3);
    EXPECT_EQ(Active().buttons[2].label, u"Macro: three");
    EXPECT_EQ(Active().buttons[2].code, (ButtonFunctionCode{0x90, 0x00, 0x02}));  // before the slot pass

    // Two sets: the row opens the list of sets, a set its macros.
    g_macroLibrary.AppendSet(u"Second");
    g_macroLibrary.AppendMacro(*g_macroLibrary.SetAt(1), u"jump");
    g_macroLibrary.MacroAt(*g_macroLibrary.SetAt(1), 0)->InsertAction(0, MacroAction::Key(0x20, false));
    g_macroLibrary.MacroAt(*g_macroLibrary.SetAt(1), 0)->commandActionNum = 1;
    CItemPopup& again = OpenMenu(2016);
    Hover(again, 9);
    CItemPopup* sets = Menu(kSlotSubMenu);
    ASSERT_TRUE(sets);
    ASSERT_EQ(sets->Items().size(), 2u);
    Hover(*sets, 2);
    macros = Menu(kSlotMacroSet);
    ASSERT_TRUE(macros);
    EXPECT_EQ(macros->Kind(), kKindMacroSetBase + 1);
    Choose(*macros, 1);
    EXPECT_EQ(Active().buttons[3].label, u"Macro: jump");
    Settle(30);
    EXPECT_EQ(Sent(4), (Bytes{0x90, 0x22, 0x01}));  // record button 3 is device index 4
    EXPECT_EQ(sim->State().macros.count(2), 1u);
    g_macroLibrary.ClearLibrary();
}

TEST_F(ButtonMenus, MenusNearTheBottomOfTheScreenMoveUp)
{
    const Rect work = host.GetWorkArea();
    const Rect w = host.GetWindowRect(Main());
    // Dragged down until only its upper part shows.
    host.SetWindowPos(Main(), Rect::FromSize(w.left, work.bottom - 400, w.Width(), w.Height()));
    host.ProcessPending();
    CItemPopup& menu = OpenMenu(2020);
    const Rect m = host.GetWindowRect(menu.GetSafeHwnd());
    EXPECT_EQ(m.bottom, work.bottom);  // the formula alone would leave the last rows below it
    Hover(menu, 11);
    const Rect sub = host.GetWindowRect(Menu(kSlotSubMenu)->GetSafeHwnd());
    EXPECT_LE(sub.bottom, work.bottom);
    EXPECT_LT(sub.top, host.ClientToScreen(Main(), {0, Combo(2020).GetRect().bottom}).y);
}
