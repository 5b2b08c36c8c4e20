#pragma once
// The key-combination dialog's rules, apart from its window: which key
// events it takes as "the key", and what its OK assigns. Modifiers are set by
// the check boxes, so the modifier keys themselves never become the key.
#include <optional>
#include <string>

#include "buttons/function_catalogue.h"

struct CapturedKey {
    int virtualKey = 0;
    std::u16string name;  // GetKeyName
    uint8_t usage = 0;    // the keyboard usage the mouse sends for it
};

// What a key press or release (a Windows virtual-key code) from the keyboard
// hook does to the captured key; presses and releases count alike and the
// last one wins. Nothing for the left/right Shift, Ctrl and Alt keys and the
// Windows keys, for codes outside 0-255, and for keys the mouse has no
// keyboard usage for: the dialog would otherwise show a key the mouse then
// never sends.
std::optional<CapturedKey> CaptureKeyEvent(int virtualKey);

// The dialog's OK: the checked modifiers (KeyModifierBit) and the captured
// key, if any. Nothing when neither a modifier nor a key was given.
std::optional<KeyCombination> ConfirmKeyCombination(uint8_t modifiers, const std::optional<CapturedKey>& key);
