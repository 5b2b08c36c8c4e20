#include "platform/window/accessible.h"

namespace platform {

const char* AccessibleRoleWord(AccessibleRole r)
{
    switch (r) {
    case AccessibleRole::Button: return "button";
    case AccessibleRole::CheckBox: return "check box";
    case AccessibleRole::Radio: return "radio";
    case AccessibleRole::Combo: return "combo";
    case AccessibleRole::Slider: return "slider";
    case AccessibleRole::Dial: return "dial";
    case AccessibleRole::List: return "list";
    case AccessibleRole::ListItem: return "list item";
    case AccessibleRole::Tab: return "tab";
    case AccessibleRole::StaticText: return "static text";
    case AccessibleRole::Image: return "image";
    case AccessibleRole::ProgressBar: return "level";
    case AccessibleRole::Dialog: return "dialog";
    case AccessibleRole::Menu: return "menu";
    case AccessibleRole::MenuItem: return "menu item";
    case AccessibleRole::Link: return "link";
    }
    return "?";
}

}  // namespace platform
