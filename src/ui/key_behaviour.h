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
//   combo           open (click)  -                    -
//   slider, dial    -             step (Left/Down -1)  first/last
//   DPI bar         click         step (Left/Down -1)  -
//   list            click row     step selection       page / first/last
//   tab             click         step to the next     -
//   section header  Space toggles -                    -
//   decorative      never focused
//
// Tab and Shift+Tab move the focus in creation order over every control that
// is shown, enabled and not decorative. Escape and Enter are not in the
// table for windows: dialogs keep their own rules for them (a dialog that
// swallows Escape keeps doing so), so only Space activates a section header
// and Enter reaches a control only when the window let it through.
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

constexpr KeyAction KeyActionFor(ControlKind kind, UINT vk, bool shift)
{
    if (vk == VK_TAB) return shift ? KeyAction::FocusPrev : KeyAction::FocusNext;
    if (!IsFocusable(kind)) return KeyAction::None;
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

// Keys in an open popup menu.
enum class PopupKey { None, HoverPrev, HoverNext, OpenSub, CloseSub, Choose, Close };

constexpr PopupKey PopupKeyFor(UINT vk)
{
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
