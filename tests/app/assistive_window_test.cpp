// What a screen reader and a keyboard alone can do beyond the main view:
// values set and stepped through the keys' own path, the context-menu keys,
// and the colour dialog.
#include "app/main_layout.h"
#include "app_test_support.h"
#include "persist/ui/profile_ids.h"
#include "persist/ui/profile_tabs.h"
#include "settings/dpi_step_table.h"
#include "settings/palette_cursor.h"
#include "settings/ui/color_palette_dlg.h"
#include "settings/ui/settings_ids.h"
#include "ui/check_button.h"
#include "ui/tab_control.h"

namespace {

class AssistiveWindow : public MainWindowTest {
protected:
    platform::AccessibleNode Node(HWND w, int id)
    {
        for (const auto& n : host.AccessibleTree(w))
            if (n.id == id) return n;
        ADD_FAILURE() << "no node " << id;
        return {};
    }
    int ActionIndex(const platform::AccessibleNode& n, const std::u16string& name)
    {
        for (size_t i = 0; i < n.actions.size(); ++i)
            if (n.actions[i] == name) return int(i);
        ADD_FAILURE() << "no action";
        return -1;
    }
};

// The debounce slider reads and is set in milliseconds, a DPI bar in DPI;
// a value between two positions lands on the nearer; Increase is the Up
// key: what they store is what the keys store.
TEST_F(AssistiveWindow, ValuesAreInTheUnitsShownAndStepAsTheKeysDo)
{
    Start();
    host.SetForegroundWindow(Main());
    auto* header = dlg->Find<CCheckButton>(SectionInfo(MainSection::Debounce).headerId);
    ASSERT_TRUE(header);
    if (!header->IsChecked()) {
        dlg->SetFocusedControl(header);
        host.PressKey(VK_SPACE);
        Settle(50);
    }
    const int debounce = 3530;
    ASSERT_TRUE(dlg->SetAccessibleValue(Main(), debounce, 9));  // 8 and 10 ms are positions: the nearer is 8
    Settle(50);
    EXPECT_EQ(ProfileSettingInt(Active(), kSetKeyDebounce), 8);
    const auto slider = Node(Main(), debounce);
    EXPECT_EQ(slider.numericValue, 8);
    EXPECT_EQ(slider.value, u"8ms");
    EXPECT_EQ(slider.step, 2);

    const int level = 1;
    const int bar = int(settings_ids::kFirstDpiBar) + level;
    const int before = Active().XYSettingValue[level];
    auto node = Node(Main(), bar);
    EXPECT_EQ(node.numericValue, DpiStepValue(before));
    EXPECT_EQ(node.maximum, DpiStepValue(DpiStepCount() - 1));
    sim->ClearTrace();
    ASSERT_TRUE(dlg->DoAccessibleAction(Main(), bar, ActionIndex(node, u"increase")));
    Settle(50);
    EXPECT_EQ(Active().XYSettingValue[level], before + 1);
    EXPECT_FALSE(sim->AcceptedWrites().empty());
    ASSERT_TRUE(dlg->SetAccessibleValue(Main(), bar, DpiStepValue(before + 4) + 1));
    Settle(50);
    EXPECT_EQ(Active().XYSettingValue[level], before + 4);
    EXPECT_EQ(Node(Main(), bar).numericValue, DpiStepValue(before + 4));
}

// Shift+F10 and the Menu key open the focused tab's slot menu, Escape
// closes it; with the simulated mouse Shift+F10 leaves the cable alone.
TEST_F(AssistiveWindow, ContextMenuKeysOpenTheFocusedTabsMenu)
{
    Start();
    host.SetForegroundWindow(Main());
    auto* tab = dlg->Find<CTabControl>(CProfileTabsSection::kFirstTab);
    ASSERT_TRUE(tab && tab->TakesFocus());
    const bool plugged = sim->IsPlugged(platform::SimProduct::A);
    for (bool menuKey : {false, true}) {
        host.SetForegroundWindow(Main());
        dlg->SetFocusedControl(tab);
        if (menuKey) {
            host.PressKey(VK_APPS);
        } else {
            host.KeyDown(VK_LSHIFT);
            host.PressKey(VK_F1 + 9);
            host.KeyUp(VK_LSHIFT);
        }
        Settle(10);
        EXPECT_TRUE(dlg->Popup(profile_ids::kSlotMenuSlot)) << menuKey;
        EXPECT_EQ(sim->IsPlugged(platform::SimProduct::A), plugged);
        host.PressKey(VK_ESCAPE);
        Settle(10);
        EXPECT_FALSE(dlg->Popup(profile_ids::kSlotMenuSlot)) << menuKey;
    }
}

// The colour dialog from the keys alone: the arrows walk the ready colours
// and pick what a click on the swatch picks; the channels can be typed and
// are read out; Escape keeps the colour, Enter stores it.
TEST_F(AssistiveWindow, TheColourDialogWorksFromTheKeys)
{
    Start();
    ProfileRecord& p = Active();
    const COLORREF before = p.DPILevelIndication[2];
    COLORREF walked = 0;
    {
        CColorPaletteDlg palette(p, PaletteTarget{PaletteMode::Dpi, 2, 0}, Main());
        host.ScriptModal(u"colour-palette", [&](platform::HeadlessModal& m) {
            m.Key(VK_TAB);  // from the field to the ready colours
            for (UINT k : {VK_UP, VK_UP, VK_UP, VK_UP, VK_UP, VK_UP, VK_HOME, VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_DOWN,
                           VK_DOWN})
                m.Key(k);
            walked = palette.Selected();
            m.Key(VK_ESCAPE);
        });
        EXPECT_EQ(palette.DoModal(), IDCANCEL);
    }
    EXPECT_EQ(walked, Rgb(0, 255, 0));  // fourth hue (120 degrees), middle row
    EXPECT_EQ(p.DPILevelIndication[2], before);

    CColorPaletteDlg palette(p, PaletteTarget{PaletteMode::Dpi, 2, 0}, Main());
    host.ScriptModal(u"colour-palette", [&](platform::HeadlessModal& m) {
        EXPECT_TRUE(m.TypeInto(int(CColorPaletteDlg::kRed), u"255"));
        EXPECT_TRUE(m.TypeInto(int(CColorPaletteDlg::kGreen), u"128"));
        EXPECT_TRUE(m.TypeInto(int(CColorPaletteDlg::kBlue), u"0"));
        const auto field = Node(m.window, int(CColorPaletteDlg::kField));
        EXPECT_EQ(field.value, SpokenColour(Rgb(255, 128, 0)));
        EXPECT_EQ(field.description, u"#FF8000");
        m.Key(VK_RETURN);
    });
    EXPECT_EQ(palette.DoModal(), IDOK);
    EXPECT_EQ(p.DPILevelIndication[2], Rgb(255, 128, 0));
}

}  // namespace
