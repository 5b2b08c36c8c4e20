#pragma once
// The button list's messages and popup kinds. For every popup of the chain
// wParam is the id of the combo that opened it. The messages carry numbers
// only: a chosen function reaches the section through the popup's typed
// choice handler, and a dialog's combination is read from the dialog.
#include "platform/window/window_host.h"

namespace button_list {

// The controls: a number badge and a combo for each of the mouse's buttons.
constexpr UINT kFirstCombo = 2013;  // + i for button i
constexpr int kComboCount = 8;
constexpr UINT kBadge = 3400;  // a picture no code looks up

// The combos (2013..2021) all send this; lParam: click, enter, leave.
constexpr UINT kMsgCombo = 1028;

// The function menu: a press on one of its first four rows (wParam 0),
// dismissal, hover on a row without sub-menu.
constexpr UINT kMsgMenuPressed = 1027;
constexpr UINT kMsgMenuDismissed = 1029;
constexpr UINT kMsgPlainRowHovered = 1033;

// Sub-menus: open (lParam = the row's value) / dismissed.
constexpr UINT kMsgDpiOpen = 1040, kMsgDpiDismissed = 1042;
constexpr UINT kMsgMediaOpen = 1043, kMsgMediaDismissed = 1045;
constexpr UINT kMsgLockOpen = 1154, kMsgLockDismissed = 1156;
constexpr UINT kMsgWindowsOpen = 1157, kMsgWindowsDismissed = 1159;
constexpr UINT kMsgOfficeOpen = 1160, kMsgOfficeDismissed = 1162;

// Macro menus: open the macros of set lParam - 1, dismissed (lParam = 100 +
// set index). With several sets the function menu first opens the
// list of sets, which has its own open and dismissal messages.
constexpr UINT kMsgMacroOpen = 1048;
constexpr UINT kMsgMacroDismissed = 1050;
constexpr UINT kMsgMacroSetsOpen = 1049;
constexpr UINT kMsgMacroSetsDismissed = 1051;

// The two dialogs: row clicked / open it (posted).
constexpr UINT kMsgKeysClicked = 1035, kMsgKeysOpen = 1034;
constexpr UINT kMsgFireClicked = 1062, kMsgFireOpen = 1061;

// Popup kinds; the dismissal carries the kind as lParam.
constexpr int kKindFunctionMenu = 0;
constexpr int kKindDpi = 2;
constexpr int kKindMedia = 3;
constexpr int kKindLock = 10;
constexpr int kKindWindows = 11;
constexpr int kKindOffice = 12;
constexpr int kKindMacroSets = 99;
constexpr int kKindMacroSetBase = 100;

// The window's popup slots the chain uses: the function menu, the one open
// sub-menu (a catalogue menu or the list of macro sets), and the one open
// list of macros. Opening a sub-menu closes the other sub-menus, so one
// slot each is enough.
constexpr int kSlotFunctionMenu = 9;
constexpr int kSlotSubMenu = 10;
constexpr int kSlotMacroSet = 11;

// The one-shot timer of the left-button warning.
constexpr UINT kTimerLeftButtonWarning = 20;

}  // namespace button_list
