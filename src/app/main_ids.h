#pragma once
// The main window's control ids, messages and timers, by name. The numbers
// are the ones the window has always used (the skin, the tests and the
// language files know the controls by them); code of the main window names
// them from here instead of writing the numbers.
#include "buttons/ui/button_list_section.h"
#include "persist/ui/profile_ids.h"
#include "persist/ui/profile_tabs.h"
#include "platform/window/messages.h"
#include "settings/ui/settings_ids.h"

namespace main_ids {

// The settings sections name their own controls.
using namespace settings_ids;

// ---- window buttons and the bottom row ----
constexpr UINT kClose = 2001;
constexpr UINT kMinimise = 2002;
constexpr UINT kApply = 2047;
constexpr UINT kReset = 2045;
constexpr UINT kProfileList = profile_ids::kListButton;  // "Profiles": reports hover (CE_HOVER) as well
constexpr UINT kVersionText = 3021;
// Pictures and plain texts that no code looks up: the badges, the mouse
// picture, the battery's lamps and the left column's words.
constexpr UINT kPicture = 3400;
constexpr UINT kBatteryLamp = 3401;
constexpr UINT kLegendText = 3402;
constexpr UINT kMakerLink = 3503;
// No control has this id today; a button given it would, like the tabs and
// headers, repaint the whole window on its click.
constexpr UINT kWholeWindowButton = 2040;

// ---- button list ----
constexpr UINT kButtonComboMessage = 1028;                           // every combo of the list reports with it
constexpr UINT kFirstButtonCombo = CButtonListSection::kFirstCombo;  // + i for button i
constexpr int kButtonComboCount = 8;  // one row per button of the mouse
constexpr UINT kLastHighlightCombo = 2026;  // the macro menus' combos light the picture too
constexpr UINT kMacroManager = 2062;

// ---- battery and power ----
constexpr UINT kBatteryPercent = 3405;
constexpr UINT kBattery = 3406;
constexpr UINT kPowerBlockCaption = 3010;

// ---- profile tabs and their buttons ----
constexpr UINT kFirstProfileTab = profile_ids::kFirstTab;  // + p for profile p
constexpr int kProfileTabCount = profile_ids::kTabCount;
constexpr UINT kAddProfile = profile_ids::kAdd;
constexpr UINT kImportProfile = profile_ids::kImport;
constexpr UINT kExportProfile = profile_ids::kExport;
constexpr UINT kRenameProfile = profile_ids::kRename;
constexpr UINT kProfilesCaption = 3009;

// ---- section headers (right-hand column) ----
constexpr UINT kDpiHeader = 3001;
constexpr UINT kLightingHeader = 3002;
constexpr UINT kWindowsHeader = 3003;
constexpr UINT kPollingHeader = 3004;
constexpr UINT kLiftOffHeader = 3011;
constexpr UINT kDebounceHeader = 3012;
constexpr UINT kButtonListCaption = 3008;
constexpr UINT kBatteryCaption = 3007;

// ---- messages ----
constexpr UINT kMsgSecondInstance = 2999;
constexpr UINT kMsgTrayIcon = WM_USER + 32;  // 1056
constexpr UINT kMsgDeviceSettingsChanged = 1067;
constexpr UINT kMsgRunTask = WM_USER + 0x1F4;  // 1524: work handed over by another thread

// What the main window's popups report when the user clicks elsewhere, by
// kind of menu (give it to CWndPopup::Create). Kinds 15 to 99 are dismissed
// silently (0); the macro sub-menus (kind 100 + set index) all use
// kMsgMacroMenuDismissed.
constexpr UINT kPopupDismissal[15] = {1029, 1032, 1042, 1045, 1047, 1055, 1057, 1126,
                                      1136, 1146, 1156, 1159, 1162, 1165, 1168};
constexpr UINT kMsgMacroMenuDismissed = 1050;
constexpr UINT PopupDismissalMessage(int kind)
{
    if (kind >= 0 && kind < 15) return kPopupDismissal[kind];
    return kind >= 100 ? kMsgMacroMenuDismissed : 0;
}

// ---- tray menu ----
constexpr WPARAM kTrayIconId = 128;
constexpr int kTrayShow = 2075;
constexpr int kTrayExit = 2076;
// Tray entries for the simulated mouse (--device sim only).
constexpr int kTraySimDpiButton = 2090;
constexpr int kTraySimToggleCable = 2091;
constexpr int kTraySimToggleReceiver = 2092;
// "Start with the desktop" and the language menu (one entry per shipped
// language, in the order of ShippedLanguages()).
constexpr int kTrayAutostart = 2093;
constexpr int kTrayFirstLanguage = 2100;
constexpr int kTrayLastLanguage = 2119;

// ---- timers besides those the device link uses ----
constexpr UINT kTimerOsd = 50;      // on-screen display countdown, 300 ms
constexpr UINT kTimerNoMouse = 80;  // the start-up check for a mouse, once after 2 s
constexpr UINT kTimerDeferredStart = 81;  // the start-up work after the first frame (or instead of it)
constexpr int kDeferredStartFallbackMs = 300;
constexpr UINT kTimerReleaseMemory = 82;  // once, when the start-up's repaints are done
constexpr int kReleaseMemoryDelayMs = 1000;
constexpr UINT kTimerGameDeferred = 85;  // a game's switch waits for a modal dialog to close, 250 ms

}  // namespace main_ids
