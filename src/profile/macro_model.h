#pragma once
// The macro model: a library of named sets, each an ordered list of named
// macros, each macro a fixed array of 336 four-byte actions.
//
// Lists keep their nodes in std::list so that a MacroSet* or MacroKey* handed
// to a window stays valid while other sets or macros are appended or deleted
// (only deleting that node itself invalidates it).
//
// Action encoding (b0 says what the action is):
//   0x03        pause; b1..b3 = length in ms, 24-bit big-endian
//   0xE0..0xE4  left, right, middle, fourth, fifth mouse button; b1 bit 7 = release
//   0xE5        horizontal move, b3 = signed amount (positive = right)
//   0xE6        vertical move,   b3 = signed amount (positive = down)
//   0xE7        wheel,           b3 = signed amount (positive = "Wheel Down")
//   other       keyboard key by its Windows virtual-key code; b1 bit 7 = release
// Codes 0x00..0x07 display as pauses, but only 0x03 is written or uploaded as one.
//
// Owner: the window thread. Nothing here is thread-safe.
#include <array>
#include <cstddef>
#include <cstdint>
#include <list>
#include <string>

constexpr int kMacroActionSlots = 336;     // action slots per macro (336 x 4 = 1,344 bytes)
constexpr int kMacroMaxDeviceSteps = 168;  // 3-byte steps the device holds per macro
constexpr int kMacroNameMinLength = 1;
constexpr int kMacroNameMaxLength = 24;

constexpr uint8_t kMacroPause = 0x03;
constexpr uint8_t kMacroLeftButton = 0xE0;
constexpr uint8_t kMacroRightButton = 0xE1;
constexpr uint8_t kMacroMiddleButton = 0xE2;
constexpr uint8_t kMacroButton4 = 0xE3;
constexpr uint8_t kMacroButton5 = 0xE4;
constexpr uint8_t kMacroMoveX = 0xE5;
constexpr uint8_t kMacroMoveY = 0xE6;
constexpr uint8_t kMacroWheel = 0xE7;
constexpr uint8_t kMacroRelease = 0x80;  // b1 of a key or button release

struct MacroAction {
    uint8_t b0 = 0;
    uint8_t b1 = 0;
    uint8_t b2 = 0;
    uint8_t b3 = 0;

    bool operator==(const MacroAction&) const = default;

    static MacroAction Pause(uint32_t ms);  // ms is cut to 24 bits
    static MacroAction Key(uint8_t code, bool release);
    static MacroAction Move(uint8_t axisCode, int8_t amount);  // kMacroMoveX, kMacroMoveY, kMacroWheel

    bool IsPause() const { return b0 == kMacroPause; }
    // The pause length of a 0x03 action: b1..b3 big-endian.
    uint32_t PauseMs() const { return (uint32_t(b1) << 16) | (uint32_t(b2) << 8) | b3; }
    bool IsRelease() const { return (b1 & kMacroRelease) != 0; }
    int8_t Amount() const { return static_cast<int8_t>(b3); }
};

struct MacroKey {
    MacroKey() = default;
    explicit MacroKey(std::u16string n) : name(std::move(n)) {}

    std::u16string name;
    uint32_t actionNum = 0;  // used slots, 0..336
    std::array<MacroAction, kMacroActionSlots> actions{};
    uint8_t loopType = 2;  // 1, 2 or 4
    uint8_t loopNum = 1;   // repeat count, used with loopType 2
    // Device steps the macro occupies. Kept by the editing code next to each
    // action operation; never recomputed from the actions.
    uint8_t commandActionNum = 0;

    // The slot at index; an index of 336 or more reads slot 0.
    MacroAction GetAction(int index) const;
    // Overwrites a slot without changing actionNum; false for index outside 0..335.
    bool SetAction(int index, MacroAction action);
    // Inserts at position (clamped to actionNum); slot 335 falls off the end.
    // False when all 336 slots are already used.
    bool InsertAction(int position, MacroAction action);
    // Removes the action at index; slot 335 becomes zero. False unless index < actionNum.
    bool DeleteAction(int index);
    // actionNum limited to the slots that exist, for every loop over the actions.
    int UsedActions() const;

    bool operator==(const MacroKey&) const = default;
};

struct MacroSet {
    std::u16string name;  // unique in its library, never empty
    std::list<MacroKey> macros;

    uint32_t macroNum() const { return static_cast<uint32_t>(macros.size()); }

    bool operator==(const MacroSet&) const = default;
};

class MacroLibrary {
public:
    uint32_t count() const { return static_cast<uint32_t>(sets_.size()); }
    const std::list<MacroSet>& sets() const { return sets_; }
    std::list<MacroSet>& sets() { return sets_; }

    void ClearLibrary();
    // Appends an empty set. The callers check the name; this does not.
    bool AppendSet(const std::u16string& name);
    MacroSet* SetAt(int index);
    const MacroSet* SetAt(int index) const;
    // Removes the first set with exactly this name (with its macros).
    void DeleteSetByName(const std::u16string& name);

    // Appends a new macro with the defaults (actionNum 0, loopType 2, loopNum 1).
    bool AppendMacro(MacroSet& set, const std::u16string& name);
    MacroKey* MacroAt(MacroSet& set, int index);
    const MacroKey* MacroAt(const MacroSet& set, int index) const;
    bool HasMacroNamed(const MacroSet& set, const std::u16string& name) const;
    bool DeleteMacro(MacroSet& set, int index);
    void RenameMacro(MacroKey& macro, const std::u16string& name);

    bool operator==(const MacroLibrary&) const = default;

private:
    std::list<MacroSet> sets_;
};

// True for names of 1 to 24 UTF-16 units.
bool IsValidMacroName(const std::u16string& name);
