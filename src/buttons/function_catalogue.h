#pragma once
// Every button function the user can assign, as data: the rows of the
// button's function menu and its sub-menus, each with the language text that
// names it, the 3-byte code it assigns and the rule for the label the button
// then shows. The menus draw and report these rows; nothing here knows about
// windows. Also the factory assignment of the eight buttons and the small
// label and code builders the dialogs share with the menus.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "profile/function_types.h"

enum class ButtonMenu : uint8_t {
    Main,        // the 16-row function menu of a button
    Dpi,         // DPI step functions
    Multimedia,  // consumer-control keys
    Office,      // Ctrl shortcuts and Windows key + E
    Windows,     // desktop shortcuts
    DpiLock,     // locks at 200 ... 1200 DPI
};

// What choosing or hovering a row leads to. Rows that lead somewhere carry
// no code of their own.
enum class CatalogueOpens : uint8_t {
    Nothing,
    DpiMenu,
    MacroMenu,  // the macro sets of the library, built from the library itself
    MultimediaMenu,
    OfficeMenu,
    WindowsMenu,
    DpiLockMenu,
    FireDialog,
    KeyCombinationDialog,
};

// The label a button keeps once a row's function is assigned to it.
enum class LabelRule : uint8_t {
    Caption,         // the row's caption
    FireCaption,     // text 26 with one trailing "+" removed (FireFunctionLabel)
    MacroName,       // text 190 followed by the macro's name (MacroFunctionLabel)
    KeyCombination,  // the combination the dialog captured (BuildKeyCombination)
    DpiLockCaption,  // text 36, "-", the row's caption
};

struct CatalogueItem {
    int number = 0;                     // 1-based position in its menu; the menu's item value
    int textNumber = 0;                 // language text of the caption; 0 when `caption` is set
    const char16_t* caption = nullptr;  // fixed caption of rows that have no language text
    bool hasCode = false;               // false for rows that open a sub-menu or a dialog
    ButtonFunctionCode code{};
    LabelRule label = LabelRule::Caption;
    CatalogueOpens opens = CatalogueOpens::Nothing;
    // Stable readable name, lower case with dashes: what scripts and the
    // command line write. Never translated, never renamed.
    const char* name = nullptr;
};

// Language texts the labels are built from.
inline constexpr int kTextFire = 26;
inline constexpr int kTextTripleClick = 27;
inline constexpr int kTextFireCaption = 572;  // %1 = interval in ms, %2 = count
inline constexpr int kTextDpiLock = 36;
inline constexpr int kTextMacroLabelPrefix = 190;
inline constexpr int kTextLeftButton = 20;

// The rows of one menu, top to bottom.
std::span<const CatalogueItem> GetMenuItems(ButtonMenu menu);

// True for the rows drawn with a sub-menu marker (items 6, 9, 11, 12, 13, 15
// of the function menu).
bool OpensSubMenu(const CatalogueItem& item);

// The text a menu shows for the row: its language text or its fixed caption.
std::u16string ItemCaption(const CatalogueItem& item);

// The label stored with the row's code. Rows whose label depends on input
// (fire, macro, key combination) get it from the builders below; for them
// this answers what the row would show before that input: its caption, or
// the fire label.
std::u16string ItemLabel(const CatalogueItem& item);

// Consumer-control code of a usage on the consumer page: low byte, high byte.
constexpr ButtonFunctionCode ConsumerCode(uint16_t usage)
{
    return {kFunctionConsumer, static_cast<uint8_t>(usage & 0xFF), static_cast<uint8_t>(usage >> 8)};
}

// The DPI that DPI-lock value n (1 to 11) locks.
constexpr int DpiLockDpi(int n) { return n * 100 + 100; }

// The fire function's label: text 26 without one trailing "+".
std::u16string FireFunctionLabel();

// What a button's combo shows for the label and code it holds. A fire code
// shows its interval and count (text 572, "Fire 50 ms × 3"): the stored fire
// label alone would hide them, and two fire buttons would read alike. The
// label stored in the profile stays what it always was, so files written
// before read the same. The triple-click preset keeps its own caption, and
// every other function shows its label.
std::u16string ButtonCaption(const std::u16string& label, ButtonFunctionCode code);

// The fire code for the numbers typed into the fire dialog. An interval of 4
// or less is refused (nullopt). Numbers above 255 are clamped to 255 instead
// of being cut to their low byte, which would turn an interval of 260 into 4
// and a count of 256 into 0.
std::optional<ButtonFunctionCode> MakeFireCode(long long interval, long long count);

// A macro function's label: text 190 followed by the macro's name.
std::u16string MacroFunctionLabel(const std::u16string& macroName);
// The macro name inside such a label: the label without the length of text
// 190 in front; empty when the label is not longer than that prefix.
std::u16string MacroNameFromLabel(const std::u16string& label);

struct KeyCombination {
    std::u16string caption;
    ButtonFunctionCode code{};
};

// What the key-combination dialog assigns for the checked modifiers
// (KeyModifierBit; other bits are ignored), the captured key's name (empty
// when no key was captured) and its keyboard usage ID. The caption lists the
// modifiers as "Ctrl+", "Shift+", "Alt+", "Win+" in that order, then the key
// name, without a trailing "+". Nothing (nullopt) when the caption would be
// empty: no key and no modifier.
std::optional<KeyCombination> BuildKeyCombination(uint8_t modifiers, const std::u16string& keyName,
                                                  uint8_t keyUsage);

// The factory assignment: label text and code of buttons 0 to 7. Button 7's
// label is text 26 as it stands, trailing "+" included.
struct FactoryButton {
    int textNumber;
    ButtonFunctionCode code;
};
inline constexpr int kProgrammableButtons = 8;
extern const std::array<FactoryButton, kProgrammableButtons> kFactoryButtons;
