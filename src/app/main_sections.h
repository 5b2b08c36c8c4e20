#pragma once
// The main window's layout and the display side of its settings sections.
//
// The controller (tevlan_dlg.cpp) decides WHEN these run: at start-up, after
// every apply, after a status answer, a factory reset or a change made on the
// mouse. The layout code decides WHAT they do: which controls exist, where
// they sit, how a section shows the working profile and how it reads the
// controls back. The layout code owns the bodies of these functions (and may
// extend MainSections with whatever state it keeps); the controller only
// calls them.
//
// Everything here runs on the window thread.
#include "platform/draw/canvas.h"
#include "platform/window/geometry.h"
#include "platform/window/messages.h"

#include <memory>

class CTevlanDlg;
class CMainLayout;

// State the layout keeps per main window (open sections, positions of the
// moving parts, the highlighted mouse button ...). The controller never
// reads it; it lives in the window so that it dies with it.
struct MainSections {
    // Made by CreateMainControls (app/main_layout.h).
    std::shared_ptr<CMainLayout> layout;
};

// Creates every control of the main window for the client rectangle and maps
// the layout's own messages (section headers, tabs, slider routing) into the
// window's message table. Called once from OnInitDialog.
void CreateMainControls(CTevlanDlg& dlg, Rect client);
// The background, the section frames and the controls, into the off-screen canvas.
void DrawMainBackground(CTevlanDlg& dlg, platform::ICanvas& dc, const Rect& client);
// WM_MOUSEMOVE, after the dialog base has handled it: a drag that leaves a
// slider keeps moving its thumb, and the end of such a drag starts the
// deferred apply when a change is pending.
void OnMainMouseMove(CTevlanDlg& dlg, WPARAM flags, int x, int y);
// WM_PAINT while the window is minimised: the application icon.
void PaintMainMinimised(CTevlanDlg& dlg, platform::ICanvas& dc, const Rect& client);
// Timer ids the layout starts on the main window (lighting colour slots 1-8,
// refused assignment 20, profile menu 60); true when the id was the layout's.
bool HandleSectionTimer(CTevlanDlg& dlg, UINT id);
// A new sensor changed the DPI step table: the lift-off header's
// availability and the eight level bars' step count.
void OnDpiStepTableChanged(CTevlanDlg& dlg);

// Profile -> controls, section by section, in the order RefreshFromProfile
// calls them. g_workingProfile is already the active profile.
void RefreshProfileTabs(CTevlanDlg& dlg);
void RefreshButtonCaptions(CTevlanDlg& dlg);
void RefreshDpiSection(CTevlanDlg& dlg);
void RefreshPollingRate(CTevlanDlg& dlg);
void RefreshLighting(CTevlanDlg& dlg);
void RefreshSensorSettings(CTevlanDlg& dlg);

// Controls -> the active profile, in the order StoreToProfile calls them.
void StoreSensorSettings(CTevlanDlg& dlg);
void StoreDpiSection(CTevlanDlg& dlg);
void StoreLighting(CTevlanDlg& dlg);
