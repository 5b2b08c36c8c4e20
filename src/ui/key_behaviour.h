#pragma once
// What a key does to the focused control, as plain functions of the kind of
// control and the key, so that every window (and its tests) agree on one
// rule. The window carries the action out; a control turns a step into the
// point a click would land on, so a key reports exactly as the mouse does
// (a DPI bar, which the mouse sets in a dialog, reports the step instead and
// its owner changes the level as that dialog would).
//
//   kind            Space/Enter   arrows               PgUp/PgDn Home/End
//   button, link    click         -                    -
//   check box       click         -                    -
//   radio           click         step to the next     -
//   combo           open (click)  Alt+Down opens       -   (F4 opens too)
//   slider, dial    -             step (Left/Down -1)  first/last
//   DPI bar         click         step (Left/Down -1)  -
//   list            click row     step selection       page / first/last
//   grid            -             move the cursor      first/last of the row
//   tab             click         step to the next     -
//   section header  Space toggles -                    -
//   decorative      never focused
//
// The Menu key and Shift+F10 ask any focused control for its context menu
// (what a right click on it opens). Tab and Shift+Tab move the focus in
// creation order over every control that is shown, enabled and not
// decorative. Escape and Enter belong to the window first (DialogKeyFor,
// below): only Space activates a section header, and Enter reaches a control
// only when the window lets it through.
#include <cstddef>
#include <vector>

#include "platform/window/messages.h"

enum class ControlKind {
    Decorative,  // pictures, the battery, plain text: never focused
    Button,
    Link,
    CheckBox,
    Radio,
    Combo,
    Slider,
    Dial,  // the power dial
    DpiBar,
    List,
    Tab,
    SectionHeader,
    Grid,  // a field of cells a cursor moves over (the colour palette)
};

enum class KeyAction {
    None,
    FocusNext,
    FocusPrev,
    Activate,  // a click on the control (opens a combo)
    StepBack,  // one position back (left, up)
    StepForward,
    PageBack,
    PageForward,
    First,
    Last,
    ContextMenu,  // what a right click on the control opens
    RowBack,      // a grid's cursor one row up
    RowForward,
};

constexpr bool IsFocusable(ControlKind k) { return k != ControlKind::Decorative; }

constexpr bool Steps(ControlKind k)
{
    return k == ControlKind::Radio || k == ControlKind::Slider || k == ControlKind::Dial ||
           k == ControlKind::List || k == ControlKind::Tab;
}

// Controls that hold an amount: Up and Right mean more, as on every desktop
// (a slider grows to the right, a DPI bar fills upwards).
constexpr bool HoldsAmount(ControlKind k)
{
    return k == ControlKind::Slider || k == ControlKind::Dial || k == ControlKind::DpiBar;
}

// Whether a key names the context menu: the Menu key, or Shift+F10 as on
// keyboards without one.
constexpr bool IsContextMenuKey(UINT vk, bool shift, bool control, bool alt)
{
    if (control || alt) return false;
    return (vk == VK_APPS && !shift) || (vk == VK_F1 + 9 && shift);
}

constexpr KeyAction KeyActionFor(ControlKind kind, UINT vk, bool shift, bool alt = false)
{
    if (vk == VK_TAB) return shift ? KeyAction::FocusPrev : KeyAction::FocusNext;
    if (!IsFocusable(kind)) return KeyAction::None;
    if (IsContextMenuKey(vk, shift, false, alt)) return KeyAction::ContextMenu;
    if (kind == ControlKind::Combo && ((vk == VK_DOWN && alt) || (vk == VK_F1 + 3 && !alt)))
        return KeyAction::Activate;
    if (alt) return KeyAction::None;
    if (kind == ControlKind::Grid) {
        switch (vk) {
        case VK_LEFT: return KeyAction::StepBack;
        case VK_RIGHT: return KeyAction::StepForward;
        case VK_UP: return KeyAction::RowBack;
        case VK_DOWN: return KeyAction::RowForward;
        case VK_HOME: return KeyAction::First;
        case VK_END: return KeyAction::Last;
        default: return KeyAction::None;
        }
    }
    switch (vk) {
    case VK_SPACE: return kind == ControlKind::Slider || kind == ControlKind::Dial ? KeyAction::None
                                                                                     : KeyAction::Activate;
    case VK_RETURN:
        return kind == ControlKind::Slider || kind == ControlKind::Dial || kind == ControlKind::SectionHeader
                   ? KeyAction::None
                   : KeyAction::Activate;
    case VK_LEFT:
    case VK_UP:
        if (HoldsAmount(kind)) return vk == VK_LEFT ? KeyAction::StepBack : KeyAction::StepForward;
        return Steps(kind) ? KeyAction::StepBack : KeyAction::None;
    case VK_RIGHT:
    case VK_DOWN:
        if (HoldsAmount(kind)) return vk == VK_RIGHT ? KeyAction::StepForward : KeyAction::StepBack;
        return Steps(kind) ? KeyAction::StepForward : KeyAction::None;
    case VK_PRIOR: return kind == ControlKind::List ? KeyAction::PageBack : KeyAction::None;
    case VK_NEXT: return kind == ControlKind::List ? KeyAction::PageForward : KeyAction::None;
    case VK_HOME:
        return kind == ControlKind::List || kind == ControlKind::Slider || kind == ControlKind::Dial ? KeyAction::First
                                                                                                    : KeyAction::None;
    case VK_END:
        return kind == ControlKind::List || kind == ControlKind::Slider || kind == ControlKind::Dial ? KeyAction::Last
                                                                                                    : KeyAction::None;
    default: return KeyAction::None;
    }
}

// A position after a step, clamped to 0 .. count - 1 (page = rows shown).
constexpr int SteppedIndex(KeyAction a, int index, int count, int page = 1)
{
    if (count <= 0) return -1;
    int i = index;
    switch (a) {
    case KeyAction::StepBack: i = index - 1; break;
    case KeyAction::StepForward: i = index < 0 ? 0 : index + 1; break;
    case KeyAction::PageBack: i = index - (page > 1 ? page : 1); break;
    case KeyAction::PageForward: i = index + (page > 1 ? page : 1); break;
    case KeyAction::First: i = 0; break;
    case KeyAction::Last: i = count - 1; break;
    default: return index;
    }
    return i < 0 ? 0 : (i >= count ? count - 1 : i);
}

// The next control to focus among those in creation order; takesFocus says
// which can (shown, enabled, not decorative). From nothing focused, forward
// starts at the first and back at the last; the order wraps round. -1 when
// none can take the focus.
inline int NextFocusIndex(const std::vector<bool>& takesFocus, int current, bool backwards)
{
    const int n = static_cast<int>(takesFocus.size());
    if (n == 0) return -1;
    int i = current;
    for (int k = 0; k < n; ++k) {
        if (i < 0 || i >= n)
            i = backwards ? n - 1 : 0;
        else
            i = backwards ? (i + n - 1) % n : (i + 1) % n;
        if (takesFocus[static_cast<size_t>(i)]) return i;
    }
    return -1;
}

// Enter and Escape in a dialog, before the focused control sees them.
//   Escape               cancel, as the close button does
//   Enter on a control   the control's own Enter (a button clicks itself)
//   Enter elsewhere      the default button: OK, or Cancel for a question
//                        whose answer destroys something (reset, delete)
// With Ctrl or Alt held neither key is the dialog's.
enum class DialogKeyAction { None, Cancel, Default };

constexpr DialogKeyAction DialogKeyFor(UINT vk, ControlKind focused, bool control, bool alt)
{
    if (control || alt) return DialogKeyAction::None;
    if (vk == VK_ESCAPE) return DialogKeyAction::Cancel;
    if (vk != VK_RETURN) return DialogKeyAction::None;
    return KeyActionFor(focused, VK_RETURN, false) == KeyAction::Activate ? DialogKeyAction::None
                                                                          : DialogKeyAction::Default;
}

// Keys in an open popup menu. The context-menu keys open the menu of the
// row the keyboard is on (a profile row's slot menu), as a right click on
// it does.
enum class PopupKey { None, HoverPrev, HoverNext, OpenSub, CloseSub, Choose, Close, ContextMenu };

constexpr PopupKey PopupKeyFor(UINT vk, bool shift = false)
{
    if (IsContextMenuKey(vk, shift, false, false)) return PopupKey::ContextMenu;
    switch (vk) {
    case VK_UP: return PopupKey::HoverPrev;
    case VK_DOWN:
    case VK_TAB: return PopupKey::HoverNext;
    case VK_RIGHT: return PopupKey::OpenSub;
    case VK_LEFT: return PopupKey::CloseSub;
    case VK_RETURN:
    case VK_SPACE: return PopupKey::Choose;
    case VK_ESCAPE: return PopupKey::Close;
    default: return PopupKey::None;
    }
}
