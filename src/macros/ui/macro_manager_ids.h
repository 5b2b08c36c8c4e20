#pragma once
// The macro manager's control ids and window messages, and those of its
// dialogs and menus. Numbers are the program's own; each is named once here.
#include "platform/window/messages.h"

namespace macro_ids {

// Manager controls.
constexpr UINT kClose = 2004;
constexpr UINT kExport = 2010;
constexpr UINT kImport = 2011;
constexpr UINT kNewMacro = 2012;
constexpr UINT kDeleteMacro = 2013;
constexpr UINT kSetCombo = 2014;
constexpr UINT kMacroList = 2015;
constexpr UINT kRecordPauses = 2017;
constexpr UINT kRecord = 2018;
constexpr UINT kActionList = 2020;
constexpr UINT kMacroScroll = 2021;
constexpr UINT kActionScroll = 2022;
constexpr UINT kModifyAction = 2023;
constexpr UINT kDeleteAction = 2024;
constexpr UINT kMacroListCaption = 2025;
constexpr UINT kActionListCaption = 2026;
constexpr UINT kRecordPausesLabel = 2027;
constexpr UINT kLoopHeldLabel = 2028;
constexpr UINT kLoopToggleLabel = 2029;
constexpr UINT kLoopCountLabel = 2030;
constexpr UINT kLoopHeld = 2031;    // loop type 1
constexpr UINT kLoopToggle = 2032;  // loop type 4
constexpr UINT kLoopCount = 2033;   // loop type 2, repeat a count
constexpr UINT kLoopCountEdit = 2034;
constexpr UINT kInsertCombo = 2035;
constexpr UINT kInsertLabel = 2036;  // shares no id with the action list's caption

// Radio bits of the loop-type group.
constexpr uint32_t kLoopHeldBit = 0x2000;
constexpr uint32_t kLoopToggleBit = 0x4000;
constexpr uint32_t kLoopCountBit = 0x8000;

// Manager messages.
constexpr UINT kSetComboMessage = 0x040D;
constexpr UINT kSetMenuChoice = 0x041E;
constexpr UINT kSetMenuDismissed = 0x041F;
constexpr UINT kRunAddSet = 0x0420;
constexpr UINT kRunDeleteSet = 0x0423;
constexpr UINT kInsertComboMessage = 0x048E;
constexpr UINT kInsertMenuDismissed = 0x0490;
// Posted to itself: the digits-only warning of the loop-count box, shown
// after the typed character has reached the box.
constexpr UINT kWarnDigitsOnly = 0x0424;
// Posted to itself: an insert-menu choice runs once the menu has gone.
constexpr UINT kRunInsert = 0x0425;

// Popup kinds and the manager's popup slots.
constexpr int kSetMenuKind = 5;
constexpr int kInsertMenuKind = 14;
constexpr int kSetMenuSlot = 0;
constexpr int kInsertMenuSlot = 1;

// Dialog controls: the five small dialogs and the two set dialogs.
constexpr UINT kDlgOk = 2010;
constexpr UINT kDlgCancel = 2011;
constexpr UINT kDlgTitle = 2012;       // 2013 in the key dialog
constexpr UINT kDlgKeyTitle = 2013;
constexpr UINT kDlgKeyValue = 2012;
constexpr UINT kDlgEdit = 2017;
constexpr UINT kSetDlgPrompt = 2013;
constexpr UINT kSetDlgEdit = 2012;

}  // namespace macro_ids
