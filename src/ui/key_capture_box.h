#pragma once
// The box of a dialog that takes a key from the keyboard hook (the key of a
// combination, a macro step's key). It shows the key and takes the focus:
// while it has the focus every key is the key being chosen, except Tab and
// Shift+Tab, which lead out of it to the dialog's other controls, and
// Escape, which cancels the dialog. Elsewhere in the dialog the keys are
// the dialog's own, so a keyboard alone can choose a key, set the
// modifiers and answer OK.
#include "ui/passive_controls.h"

class CKeyCaptureBox : public CStaticText {
public:
    CKeyCaptureBox(HWND owner, UINT id, Rect rect, COLORREF colour, unsigned format, std::u16string name);

    ControlKind Kind() const override { return ControlKind::Button; }
    bool KeyClickPoint(KeyAction, Point*) override { return false; }
    // Read out by its name, with the key it holds as its value.
    void Describe(platform::AccessibleNode& node) const override;
};

// Whether a key reaching the dialog (a window key message or a hook event)
// is the one being chosen: only while the box has the focus, and never
// the keys that lead out of it.
constexpr bool KeyCaptureTakes(bool boxFocused, UINT vk)
{
    return boxFocused && vk != VK_TAB && vk != VK_ESCAPE;
}

// The modifier keys, as window key messages carry them: a box lets them
// through to the window (which keeps track of them for Shift+Tab) even
// while the hook reports them as keys.
constexpr bool IsModifierVk(UINT vk)
{
    return vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU || (vk >= VK_LSHIFT && vk <= VK_RMENU) ||
           vk == VK_LWIN || vk == VK_RWIN;
}
