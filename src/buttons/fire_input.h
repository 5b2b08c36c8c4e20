#pragma once
// The fire dialog's rules, apart from its window: the two boxes hold the
// interval and the repeat count as decimal text, both one byte on the wire.
#include <optional>
#include <string>

#include "buttons/function_catalogue.h"

inline constexpr int kTextFireIntervalRange = 174;  // the interval must be 5 to 255
inline constexpr int kTextDigitsOnly = 175;
inline constexpr int kTextRepeatCountMax = 176;
inline constexpr int kFireCheckPeriodMs = 100;  // how often the boxes are corrected
inline constexpr int kFireMinInterval = 5;

// The leading decimal digits of a box; no digit reads 0. Numbers too long
// for any box saturate instead of wrapping.
long long ReadLeadingNumber(const std::u16string& text);

// What the periodic check does to a box that went past 255: its new text and
// the warning to show. Nothing while the box is within range.
struct FireBoxFix {
    std::u16string text;
    int warningText = 0;
};
std::optional<FireBoxFix> CheckIntervalBox(const std::u16string& text);
std::optional<FireBoxFix> CheckRepeatCountBox(const std::u16string& text);

// The warning for a typed character: digits and Backspace are fine (0); the
// character still goes to the box either way.
int TypedCharacterWarning(char16_t ch);

// OK: the fire function for the two boxes, or the text number of why not.
struct FireConfirmation {
    int refusalText = 0;  // nonzero: show it and keep the dialog open
    KeyCombination result;  // caption (the fire label) and code
};
FireConfirmation ConfirmFire(const std::u16string& intervalText, const std::u16string& countText);
