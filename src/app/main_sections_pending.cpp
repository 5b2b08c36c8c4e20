// Placeholder bodies for the layout's section functions, so that the
// controller links and runs (with a window that shows only its background)
// until the layout code lands. The layout replaces this file.
#include "app/main_sections.h"

#include "app/tevlan_dlg.h"

void CreateMainControls(CTevlanDlg&, Rect) {}
void DrawMainBackground(CTevlanDlg& dlg, platform::ICanvas& dc, const Rect& client)
{
    dlg.PaintBackgroundCache(dc, client);
    dlg.DrawControls(dc, client);
}
bool HandleSectionTimer(CTevlanDlg&, UINT) { return false; }
void OnDpiStepTableChanged(CTevlanDlg&) {}
void RefreshProfileTabs(CTevlanDlg&) {}
void RefreshButtonCaptions(CTevlanDlg&) {}
void RefreshDpiSection(CTevlanDlg&) {}
void RefreshPollingRate(CTevlanDlg&) {}
void RefreshLighting(CTevlanDlg&) {}
void RefreshSensorSettings(CTevlanDlg&) {}
void StoreSensorSettings(CTevlanDlg&) {}
void StoreDpiSection(CTevlanDlg&) {}
void StoreLighting(CTevlanDlg&) {}
