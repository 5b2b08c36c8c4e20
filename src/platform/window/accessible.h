#pragma once
// How a window describes its contents to assistive technology: one node per
// control, in tab order, with a role, a name in the user's language, its
// states, a value and the actions it offers. The skinned windows draw every
// control on one surface, so the hosts cannot find the controls themselves;
// a window client hands them this list (IWindowClient::AccessibleNodes) and
// the host publishes it (the Qt host through the desktop's accessibility
// bus, the headless host to tests).
#include <cstdint>
#include <string>
#include <vector>

#include "platform/window/geometry.h"

namespace platform {

enum class AccessibleRole {
    Button,
    CheckBox,
    Radio,
    Combo,
    Slider,
    Dial,
    List,
    ListItem,
    Tab,
    StaticText,
    Image,
    ProgressBar,  // the battery level
    Dialog,
    Menu,
    MenuItem,
    Link,
};

namespace accessible_state {
constexpr uint32_t kChecked = 1u << 0;
constexpr uint32_t kFocused = 1u << 1;
constexpr uint32_t kDisabled = 1u << 2;
constexpr uint32_t kExpanded = 1u << 3;
constexpr uint32_t kSelected = 1u << 4;
constexpr uint32_t kFocusable = 1u << 5;
constexpr uint32_t kCheckable = 1u << 6;
constexpr uint32_t kHasPopup = 1u << 7;
}  // namespace accessible_state

struct AccessibleNode {
    AccessibleRole role = AccessibleRole::StaticText;
    std::u16string name;
    std::u16string value;        // empty when the control has none
    // A longer text read after the name and value (a combo's current choice).
    std::u16string description;
    // Sliders, the dial, the DPI bars and the battery, in the units the user
    // sees (DPI, milliseconds, minutes, levels); step is the smallest change
    // one key press makes (0 when the steps are uneven).
    int numericValue = 0;
    int minimum = 0;
    int maximum = 0;
    int step = 0;
    uint32_t states = 0;
    Rect rect;                   // client coordinates
    // "click", "open", "increase", "decrease", "menu" (the context menu).
    std::vector<std::u16string> actions;
    int id = 0;                  // the control's id, for the action call back
    int labelledBy = 0;          // the id of the text that labels it; 0 for none
};

// Short English words for a role, for logs and test snapshots.
const char* AccessibleRoleWord(AccessibleRole r);

}  // namespace platform
