#pragma once
// The values of the macro edit dialogs and the manager's loop-count box:
// what a typed text becomes, within which limits, and which names are
// refused. The dialogs read their edit box and call these; nothing here
// shows anything.
#include <cstdint>
#include <optional>
#include <string>

#include "profile/macro_model.h"
#include "macros/macro_texts.h"

// The longest pause the time dialog stores: what one step on the mouse can
// hold (its pause field has 12 bits). A longer pause would reach the mouse
// cut to this anyway, so the editor says so instead of showing a value the
// mouse never plays.
constexpr uint32_t kMacroPauseEditMaxMs = 4095;
constexpr int kMacroMoveMin = 1;
constexpr int kMacroMoveMax = 127;
constexpr int kMacroLoopCountMin = 1;
constexpr int kMacroLoopCountMax = 255;

// Key dialog: the picked key replaces b0; a press stays a press, a release a release.
MacroAction PickedKeyAction(MacroAction action, uint8_t key);

// Time dialog: the typed text (leading digits, none = 0) as a 0x03 pause of
// at most 4,095 ms.
MacroAction PauseFromText(const std::u16string& text);
// Whether the typed text asks for more than PauseFromText keeps.
bool PauseTextOverLimit(const std::u16string& text);
// What the time dialog shows for an action: its length in ms.
std::u16string PauseText(const MacroAction& action);

// Move dialog: the four move choices of the insert menu (MoveLeft..MoveDown
// as 5..8). The typed amount is held to 1..127; left and up are negative.
// b1 is kept, b2 cleared.
MacroAction MoveFromText(MacroAction action, int choice, const std::u16string& text);
// The amount a move dialog shows: positive in the dialog's direction.
std::u16string MoveText(const MacroAction& action, int choice);
// The title text of the move dialog of a choice (222..225).
int MoveTitleText(int choice);

// Macro names: 1 to 24 characters, unique in the set. Refusals 242 (empty),
// 240 (too long), 241 (used). A rename may keep the macro's own name.
MacroRefusal CheckNewMacroName(const MacroSet& set, const std::u16string& name);
MacroRefusal CheckMacroRename(const MacroSet& set, const MacroKey& macro, const std::u16string& name);

// The loop-count box. A value above 255 becomes 255 and 0 (or no digits)
// becomes 1; `shown` is the text the box must show instead of what was
// typed, when it has to change.
struct MacroLoopCount {
    uint8_t value = 1;
    std::optional<std::u16string> shown;
};
MacroLoopCount LoopCountFromText(const std::u16string& text);
std::u16string LoopCountText(const MacroKey& macro);

// The number boxes take digits and backspace; anything else earns text 175
// (and still reaches the box).
bool IsMacroNumberChar(char16_t c);
