// The main window's side of the layout and the sections: the calls the
// controller makes (main_sections.h), each handed to the layout object or to
// the section's own code with the working profile.
#include "app/main_sections.h"

#include <memory>

#include "app/main_layout.h"
#include "app/tevlan_dlg.h"
#include "buttons/ui/button_captions.h"
#include "persist/ui/profile_tabs.h"
#include "profile/profile_record.h"
#include "settings/ui/dpi_section.h"
#include "settings/ui/lighting_section.h"
#include "settings/ui/sensor_section.h"
#include "ui/combo_button.h"
#include "ui/tab_control.h"

namespace {

CMainLayout& LayoutOf(CTevlanDlg& dlg)
{
    if (!dlg.sections.layout) dlg.sections.layout = std::make_shared<CMainLayout>(dlg);
    return *dlg.sections.layout;
}

ProfileRecord* Working()
{
    if (g_workingProfile < 0 || g_workingProfile >= kProfileCount) return nullptr;
    return &g_profiles[size_t(g_workingProfile)];
}

// Combo 2013 + i lights button i + 1 of the mouse picture while the pointer
// is over it (the ninth combo and the macro menus' combos up to 2026 too).
int HighlightForCombo(WPARAM comboId)
{
    return comboId >= 2013 && comboId <= 2026 ? static_cast<int>(comboId) - 2012 : 0;
}

}  // namespace

void CreateMainControls(CTevlanDlg& dlg, Rect client)
{
    CTabControl::BindSelection(&g_workingProfile);
    CMainLayout& layout = LayoutOf(dlg);
    layout.CreateControls(client);
    for (int i = 0; i < kMainSectionCount; ++i) {
        const UINT id = SectionInfo(static_cast<MainSection>(i)).headerId;
        dlg.MapMessage(id, [&dlg, id](WPARAM, LPARAM l) -> LRESULT {
            if (l != CE_CLICK) return 0;
            if (!LayoutOf(dlg).OnHeaderClicked(id)) return 0;
            dlg.RefreshFromProfile();
            // The sections below the header moved and their frames with them.
            if (dlg.GetSafeHwnd() && platform::g_windowHost) platform::g_windowHost->Invalidate(dlg.GetSafeHwnd());
            return 0;
        });
    }
    // Hover over a button's combo: the mouse picture shows which button it
    // is. The click (lParam 2) belongs to the button menus.
    dlg.MapMessage(1028, [&dlg](WPARAM w, LPARAM l) -> LRESULT {
        if (l == CComboButton::kEnter) LayoutOf(dlg).SetHighlightedButton(HighlightForCombo(w));
        if (l == CComboButton::kLeave) LayoutOf(dlg).SetHighlightedButton(0);
        return 0;
    });
}

void DrawMainBackground(CTevlanDlg& dlg, platform::ICanvas& dc, const Rect& client)
{
    LayoutOf(dlg).DrawBackground(dc, client);
}

void PaintMainMinimised(CTevlanDlg& dlg, platform::ICanvas& dc, const Rect& client)
{
    LayoutOf(dlg).PaintMinimised(dc, client);
}

void OnMainMouseMove(CTevlanDlg& dlg, WPARAM flags, int x, int)
{
    DeviceLink* link = dlg.Link();
    const bool pending = link && (link->IsScheduled(PendingGroup::DpiAndMore) || link->IsScheduled(PendingGroup::Windows));
    if (LayoutOf(dlg).OnMouseMove(flags, x, pending)) dlg.StartTimer(30, 20);
}

bool HandleSectionTimer(CTevlanDlg&, UINT) { return false; }

void OnDpiStepTableChanged(CTevlanDlg& dlg)
{
    UpdateDpiBarStepCount(dlg);
    LayoutOf(dlg).PlaceMovableControls();
    if (dlg.GetSafeHwnd() && platform::g_windowHost) platform::g_windowHost->Invalidate(dlg.GetSafeHwnd());
}

void RefreshProfileTabs(CTevlanDlg& dlg)
{
    RefreshProfileTabs(static_cast<const CDlgBase&>(dlg));
    // Tabs reordered, or the lift-off section come or gone with the sensor:
    // what moved leaves its old place to repaint as well.
    if (LayoutOf(dlg).PlaceMovableControls() && dlg.GetSafeHwnd() && platform::g_windowHost)
        platform::g_windowHost->Invalidate(dlg.GetSafeHwnd());
}

void RefreshButtonCaptions(CTevlanDlg& dlg) { RefreshButtonCaptions(static_cast<const CDlgBase&>(dlg), g_workingProfile); }

void RefreshDpiSection(CTevlanDlg& dlg)
{
    ProfileRecord* p = Working();
    if (!p) return;
    DeviceLink* link = dlg.Link();
    RefreshDpiSection(dlg, *p, link ? &link->currentDpiOrdinal : nullptr);
}

void RefreshPollingRate(CTevlanDlg& dlg)
{
    if (ProfileRecord* p = Working()) RefreshPollingRate(dlg, *p);
}

void RefreshLighting(CTevlanDlg& dlg)
{
    if (ProfileRecord* p = Working()) RefreshLighting(dlg, *p, LayoutOf(dlg).IsSectionOpen(MainSection::Lighting));
}

void RefreshSensorSettings(CTevlanDlg& dlg)
{
    if (ProfileRecord* p = Working()) RefreshSensorSettings(dlg, *p);
}

void StoreSensorSettings(CTevlanDlg& dlg)
{
    if (ProfileRecord* p = Working()) StoreSensorSettings(dlg, *p);
}

void StoreDpiSection(CTevlanDlg& dlg)
{
    ProfileRecord* p = Working();
    if (!p) return;
    DeviceLink* link = dlg.Link();
    StoreDpiSection(dlg, *p, link ? link->currentDpiOrdinal : p->CurrentDPILevelValue);
}

void StoreLighting(CTevlanDlg& dlg)
{
    if (ProfileRecord* p = Working()) StoreLighting(dlg, *p);
}
