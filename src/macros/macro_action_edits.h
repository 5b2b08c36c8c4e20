#pragma once
// Hand edits of a macro's actions: inserting clicks, pauses, keys and moves,
// modifying and deleting one action. Each keeps commandActionNum through
// macro_step_accounting.h and answers the selection the action list shows
// next. The dialogs run between the check and the edit: a window first asks
// CheckInsert, runs its dialog on the value below, and calls the Insert* of
// the choice with the dialog's result only on OK, so a cancelled dialog
// leaves the macro untouched.
//
// Selections are action indexes, -1 for none. An insertion goes after the
// selected action, or at the end when none is selected.
#include <cstdint>

#include "profile/macro_model.h"
#include "macros/macro_texts.h"

// The insert-action menu's choices, in its order.
enum class MacroInsertKind : uint8_t {
    LeftClick = 0,
    RightClick,
    MiddleClick,
    Pause,
    Key,
    MoveLeft,
    MoveRight,
    MoveUp,
    MoveDown,
};
constexpr int kMacroInsertKinds = 9;

// The length of the pause between an inserted button or key's press and release.
constexpr uint32_t kInsertedPressMs = 50;
// What a new pause starts at in its dialog.
constexpr uint32_t kInsertedPauseMs = 100;

int MacroInsertPosition(const MacroKey& macro, int selection);

// Text 236 without a macro; 237 when the steps (168) or the slots (336)
// would not hold what the choice inserts.
MacroRefusal CheckMacroInsert(const MacroKey* macro, MacroInsertKind kind);

// The action a choice's dialog starts from: the key press 'A', the move by
// one in its direction, or the pause the pause choice edits (see below).
MacroAction MacroInsertStartAction(const MacroKey& macro, int selection, MacroInsertKind kind);

// Press, 50 ms, release of the choice's button; selection on the release.
int InsertMacroClick(MacroKey& macro, int selection, MacroInsertKind kind);
// Press, 50 ms, release of `key`; selection on the release.
int InsertMacroKey(MacroKey& macro, int selection, uint8_t key);
// The move the dialog made; selection on it.
int InsertMacroMove(MacroKey& macro, int selection, MacroAction move);
// The pause choice edits the pause right before the insert position when
// there is one (the selection stays), and otherwise inserts a new pause
// there (selected). Either way the pause rule counts from the old length
// (100 for a new one).
bool MacroPauseInsertEditsExisting(const MacroKey& macro, int selection);
int InsertMacroPause(MacroKey& macro, int selection, uint32_t ms);

// What modifying an action opens: the time dialog for a pause, the key
// dialog for a key, nothing for mouse buttons, moves and the wheel.
enum class MacroModifyKind { None, Pause, Key };
MacroModifyKind MacroModifyKindOf(const MacroAction& action);
// Stores a pause's new length (as a 0x03 pause) and applies the pause rule.
void ModifyMacroPause(MacroKey& macro, int index, uint32_t ms);
// A key keeps its direction; only the code changes. No step change.
void ModifyMacroKey(MacroKey& macro, int index, uint8_t key);

// Deletes the selected action; the selection stays on the index (now the
// following action) or, when the last one went, moves to the new last one.
// -1 when the macro is left empty or nothing was selected.
int DeleteMacroAction(MacroKey& macro, int selection);
