#pragma once
// The main window's profile controls, messages, popup slots and timer, by
// name. The profile section handles them; the window's layout creates the
// controls with these ids.
#include "platform/window/messages.h"

namespace profile_ids {

// Controls.
constexpr UINT kFirstTab = 2049;        // + p for profile p
constexpr int kTabCount = 5;
constexpr UINT kRename = 2068;          // the current profile's actions
constexpr UINT kExport = 2069;
constexpr UINT kImport = 2070;
constexpr UINT kAdd = 2071;
constexpr UINT kListButton = 3502;      // "Profiles": opens the list above itself

// Messages.
constexpr UINT kMsgListReport = 1125;       // wParam CE_CLICK / CE_RCLICK, lParam the row
constexpr UINT kMsgListDismissed = 1126;
constexpr UINT kMsgSlotMenuDismissed = 1165;

// Popup slots of the main window taken by the two menus.
constexpr int kListSlot = 12;
constexpr int kSlotMenuSlot = 13;

// The short delay between a menu's choice and what it opens, so the menu is
// gone before a dialog appears.
constexpr UINT kTimerAction = 60;
constexpr int kActionDelayMs = 100;

}  // namespace profile_ids
