#pragma once
// commandActionNum: how many device steps a macro occupies. Each key, button
// or move action is one step; a pause rides in the step before it. The count
// is kept next to every edit and never recomputed from the actions (a file's
// count is taken as read), so every edit takes its change from here:
//
//   edit                               steps
//   recorded key event                   +1
//   inserted click (press, 50 ms, release) +2
//   inserted key (press, 50 ms, release)   +2
//   inserted move                        +1
//   pause edited across 127 ms           +1 up, -1 down, else 0
//   deleted key, button or move action   -1
//   deleted pause, modified key           0
#include <cstdint>

#include "profile/macro_model.h"

namespace macro_steps {

constexpr int kRecordedKey = 1;
constexpr int kInsertedClick = 2;
constexpr int kInsertedKey = 2;
constexpr int kInsertedMove = 1;
constexpr int kModifiedKey = 0;
// A pause longer than this costs the device a step of its own.
constexpr uint32_t kShortPauseMaxMs = 127;

// Codes 0x00-0x07 are all shown and treated as pauses by the editor.
inline bool IsPauseCode(uint8_t b0) { return b0 <= 7; }

int ForPauseEdit(uint32_t oldMs, uint32_t newMs);
int ForDeletedAction(const MacroAction& action);

// True when `added` more steps stay within the device's 168.
bool Fit(const MacroKey& macro, int added);
// Adds delta, kept within 0..255 (the count is one byte; a file may hold 0
// where the actions say more, and a delete must not wrap it to 255).
void Add(MacroKey& macro, int delta);

}  // namespace macro_steps
