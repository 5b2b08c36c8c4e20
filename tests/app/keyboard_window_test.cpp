#include <set>

#include "app/main_layout.h"
#include "buttons/function_catalogue.h"
#include "buttons/ui/button_list_ids.h"
#include "persist/settings_file.h"
#include "app_test_support.h"
#include "base/ui_text.h"
#include "settings/dpi_step_table.h"
#include "settings/ui/settings_ids.h"
#include "ui/check_button.h"
#include "ui/combo_button.h"
#include "ui/dpi_value_show_control.h"
#include "ui/item_popup.h"

namespace {

class KeyboardWindow : public MainWindowTest {
protected:
    // The ids Tab stops at, from the first stop until it comes round again.
    std::vector<UINT> TabRound()
    {
        std::vector<UINT> stops;
        for (int i = 0; i < 400; ++i) {
            host.PressKey(VK_TAB);
            CControlBase* f = dlg->FocusedControl();
            if (!f) break;
            if (!stops.empty() && f->Id() == stops.front() && f == dlg->FindControl(stops.front())) break;
            stops.push_back(f->Id());
        }
        return stops;
    }
    bool SectionOpen(MainSection s) const
    {
        auto* h = dlg->Find<CCheckButton>(SectionInfo(s).headerId);
        return h && h->IsChecked();
    }
};

TEST_F(KeyboardWindow, TabVisitsEveryShownControlOnceAndSkipsClosedSections)
{
    Start();
    host.SetForegroundWindow(Main());
    std::vector<UINT> stops = TabRound();
    ASSERT_GT(stops.size(), 20u);

    // What a user can operate: shown, enabled, not decorative, in the order
    // the window made them.
    std::vector<UINT> expected;
    std::set<UINT> hiddenOperable;
    for (CControlBase* c : dlg->CreationOrder()) {
        if (c->TakesFocus())
            expected.push_back(c->Id());
        else if (!c->IsShown() && IsFocusable(c->Kind()))
            hiddenOperable.insert(c->Id());
    }
    EXPECT_EQ(stops, expected);
    ASSERT_FALSE(hiddenOperable.empty());  // some section starts closed
    for (UINT id : stops) EXPECT_EQ(hiddenOperable.count(id), 0u) << id;

    // Space on a closed section's header opens it, and its controls join in.
    MainSection closed = MainSection::Dpi;
    bool found = false;
    for (int s = 0; s < kMainSectionCount && !found; ++s)
        if (!SectionOpen(MainSection(s)) && dlg->FindControl(SectionInfo(MainSection(s)).headerId) &&
            dlg->FindControl(SectionInfo(MainSection(s)).headerId)->TakesFocus()) {
            closed = MainSection(s);
            found = true;
        }
    ASSERT_TRUE(found);
    while (dlg->FocusedControl()->Id() != SectionInfo(closed).headerId) host.PressKey(VK_TAB);
    host.PressKey(VK_SPACE);
    Settle(50);
    EXPECT_TRUE(SectionOpen(closed));
    EXPECT_GT(TabRound().size(), stops.size() - 8);
}

TEST_F(KeyboardWindow, UnlabelledControlsAreReadWithTheirLanguageName)
{
    Start();
    const std::u16string text = host.AccessibleText(Main());
    EXPECT_NE(text.find(u"combo \"" + UiText(400).substr(0, UiText(400).find(u"%1")) + u"4\""), std::u16string::npos)
        << std::string(text.begin(), text.end());
}

// Up on a DPI level's bar stores and sends exactly what the value dialog's
// OK does for the next step; Down at the first step changes nothing.
TEST_F(KeyboardWindow, ArrowsOnADpiBarStoreAndSendAsTheValueDialogDoes)
{
    const int level = 2;
    const UINT barId = settings_ids::kFirstDpiBar + level;
    struct Outcome {
        int step;
        std::vector<std::vector<uint8_t>> writes;
    };
    auto run = [&](bool byKey) {
        Start();
        auto* bar = dlg->Find<CDPIValueShowControl>(barId);
        EXPECT_TRUE(bar && bar->TakesFocus());
        if (!bar) return Outcome{};
        const int next = bar->Position() + 1;
        sim->ClearTrace();
        if (byKey) {
            dlg->SetFocusedControl(bar);
            host.PressKey(VK_UP);
        } else {
            const std::string typed = std::to_string(DpiStepValue(next));
            host.ScriptModal(u"dpi-value", [&](platform::HeadlessModal& m) {
                EXPECT_TRUE(m.TypeInto(2017, std::u16string(typed.begin(), typed.end())));
                m.Send(2010, 0, CE_CLICK);
            });
            dlg->Layout().PlaceMovableControls();
            const Rect r = bar->GetRect();
            host.Click(Main(), {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
        }
        Settle(50);
        EXPECT_EQ(Active().XYSettingValue[level], next) << (byKey ? "key" : "dialog");
        EXPECT_EQ(bar->Position(), next);
        Outcome o{Active().XYSettingValue[level], sim->AcceptedWrites()};
        dlg.reset();
        sim.reset();
        std::filesystem::remove_all(dataDir);
        return o;
    };
    const Outcome key = run(true);
    const Outcome dialog = run(false);
    EXPECT_EQ(key.step, dialog.step);
    EXPECT_FALSE(key.writes.empty());
    EXPECT_EQ(key.writes, dialog.writes);

    Start();
    auto* bar = dlg->Find<CDPIValueShowControl>(barId);
    ASSERT_TRUE(bar);
    dlg->SetFocusedControl(bar);
    for (int i = Active().XYSettingValue[level]; i >= 0; --i) host.PressKey(VK_DOWN);
    Settle(50);
    EXPECT_EQ(Active().XYSettingValue[level], 0);
    sim->ClearTrace();
    host.PressKey(VK_DOWN);
    Settle(50);
    EXPECT_EQ(Active().XYSettingValue[level], 0);
    EXPECT_TRUE(sim->AcceptedWrites().empty());
}

// Ctrl+Q ends the window and writes its files as the close button does;
// Alt+F opens the window's first menu, button 1's functions. The letters
// alone, or with the other modifier, do neither.
TEST_F(KeyboardWindow, CtrlQClosesAsTheCloseButtonAndAltFOpensTheFirstMenu)
{
    Start();
    host.SetForegroundWindow(Main());
    auto chord = [&](UINT modifier, UINT key) {
        host.KeyDown(modifier);
        host.PressKey(key);
        host.KeyUp(modifier);
    };
    host.PressKey('Q');
    chord(VK_LMENU, 'Q');
    chord(VK_LCONTROL, 'F');
    EXPECT_TRUE(host.IsWindow(Main()));
    EXPECT_FALSE(dlg->Popup(button_list::kSlotFunctionMenu));

    chord(VK_LMENU, 'F');
    EXPECT_TRUE(dlg->Popup(button_list::kSlotFunctionMenu));
    ASSERT_TRUE(dlg->FocusedControl());
    EXPECT_EQ(dlg->FocusedControl()->Id(), 2013u);
    dlg->ClosePopup(button_list::kSlotFunctionMenu);

    // As the close button's test: the close writes a change whose save is
    // still due.
    Settle(1000);
    Active().settings[kSetProfileName].value = u"Renamed";
    SetCurrentProfile(0);
    dlg->ScheduleApply(PendingGroup::Keys);
    Settle(100);
    ASSERT_TRUE(dlg->SaveDue());
    std::filesystem::remove(dataDir + "config/config.ini");
    host.SetForegroundWindow(Main());
    chord(VK_LCONTROL, 'Q');
    EXPECT_FALSE(host.IsWindow(Main()));
    EXPECT_NE(ReadFile("config/default0.psf").find(Utf16("Renamed")), std::string::npos);
    EXPECT_TRUE(Exists("config/config.ini"));
}

// A button's function menu from the keys alone: Right opens a row's
// sub-menu, Left closes just that, Enter on a plain row assigns it.
TEST_F(KeyboardWindow, AButtonsFunctionMenuWorksFromTheKeys)
{
    using namespace button_list;
    Start();
    host.SetForegroundWindow(Main());
    auto* combo = dlg->Find<CComboButton>(2016);  // button 4
    ASSERT_TRUE(combo);
    dlg->SetFocusedControl(combo);
    host.PressKey(VK_SPACE);
    auto* menu = dynamic_cast<CItemPopup*>(dlg->Popup(kSlotFunctionMenu));
    ASSERT_TRUE(menu);
    const auto& items = menu->Items();
    int sub = 0;
    while (sub < int(items.size()) && !items[size_t(sub)].marker) ++sub;
    // The first row after it that assigns a function (not a dialog's row).
    const auto rows = GetMenuItems(ButtonMenu::Main);
    int plain = sub + 1;
    while (plain < int(items.size()) && !rows[size_t(items[size_t(plain)].value - 1)].hasCode) ++plain;
    ASSERT_LT(plain, int(items.size()));
    const CatalogueItem& row = rows[size_t(items[size_t(plain)].value - 1)];

    for (int i = 0; i <= sub; ++i) host.PressKey(VK_DOWN);
    host.PressKey(VK_RIGHT);
    EXPECT_TRUE(dlg->Popup(kSlotSubMenu));
    host.PressKey(VK_LEFT);
    EXPECT_FALSE(dlg->Popup(kSlotSubMenu));
    ASSERT_EQ(dlg->Popup(kSlotFunctionMenu), menu);
    for (int i = sub; i < plain; ++i) host.PressKey(VK_DOWN);
    host.PressKey(VK_RETURN);
    Settle(50);
    EXPECT_FALSE(dlg->Popup(kSlotFunctionMenu));
    EXPECT_EQ(combo->Label(), ItemLabel(row));
    Settle(20);
    // The mouse numbers its buttons its own way: the code is there once.
    const std::optional<std::array<uint8_t, 3>> code = std::array<uint8_t, 3>{row.code.type, row.code.param,
                                                                              row.code.extra};
    const auto& sent = sim->State().buttons;
    EXPECT_EQ(std::count(sent.begin(), sent.end(), code), 1);
}

}  // namespace
