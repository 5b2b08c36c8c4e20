// Keys and edit boxes in the headless host: key presses go to the focus
// through PreTranslateMessage, and an edit box keeps its own text, caret
// and selection as a one-line editor would.
#include <algorithm>
#include <string>

#include "platform/headless/headless_host.h"
#include "platform/headless/headless_window.h"

namespace platform {

// ---- edit boxes ------------------------------------------------------------

std::unique_ptr<WindowRecord> HeadlessHost::NewEdit(WindowId, WindowRecord& parent, const Rect& r,
                                                    const EditParams& params)
{
    auto win = std::make_unique<Win>();
    win->rect = r;
    win->edit = params;
    win->visible = params.visible;
    InvalidateRect(parent.id, r);
    return win;
}

void HeadlessHost::SetEditSelection(WindowId edit, int start, int end)
{
    Win* win = Find(edit);
    if (!win || !win->isEdit) return;
    int n = static_cast<int>(win->text.size());
    auto clampPos = [n](int v) { return v < 0 || v > n ? n : v; };
    win->selStart = clampPos(start);
    win->selEnd = clampPos(end);
    if (win->selStart > win->selEnd) std::swap(win->selStart, win->selEnd);
}

int HeadlessHost::EditSelectionStart(WindowId edit) const
{
    const Win* win = Find(edit);
    return win ? win->selStart : 0;
}

int HeadlessHost::EditSelectionEnd(WindowId edit) const
{
    const Win* win = Find(edit);
    return win ? win->selEnd : 0;
}

void HeadlessHost::SetEditText(WindowId edit, const std::u16string& text, int caret)
{
    Win* win = Find(edit);
    if (!win) return;
    std::u16string t = text;
    if (win->edit.maxLength > 0 && static_cast<int>(t.size()) > win->edit.maxLength)
        t.resize(static_cast<size_t>(win->edit.maxLength));
    bool changed = t != win->text;
    win->text = t;
    SetEditSelection(edit, caret, caret);
    InvalidateRect(edit, {});
    if (changed) NotifyParent(edit, EN_CHANGE);
}

void HeadlessHost::EditChar(WindowId edit, char16_t c)
{
    Win* win = Find(edit);
    if (!win || !win->enabled) return;
    std::u16string t = win->text;
    int a = win->selStart, b = win->selEnd;
    if (c == 0x08) {
        if (a == b && a > 0) --a;
        t.erase(static_cast<size_t>(a), static_cast<size_t>(b - a));
        SetEditText(edit, t, a);
        return;
    }
    if (c < 0x20) return;  // Enter, Escape and Tab insert nothing
    if (win->edit.maxLength > 0 && static_cast<int>(t.size()) - (b - a) >= win->edit.maxLength) return;
    t.replace(static_cast<size_t>(a), static_cast<size_t>(b - a), 1, c);
    SetEditText(edit, t, a + 1);
}

void HeadlessHost::EditKey(WindowId edit, UINT vk)
{
    Win* win = Find(edit);
    if (!win || !win->enabled) return;
    int n = static_cast<int>(win->text.size());
    int a = win->selStart, b = win->selEnd;
    switch (vk) {
    case VK_DELETE: {
        if (a == b && b < n) ++b;
        std::u16string t = win->text;
        t.erase(static_cast<size_t>(a), static_cast<size_t>(b - a));
        SetEditText(edit, t, a);
        break;
    }
    case VK_LEFT: SetEditSelection(edit, std::max(0, a == b ? a - 1 : a), std::max(0, a == b ? a - 1 : a)); break;
    case VK_RIGHT: SetEditSelection(edit, std::min(n, a == b ? b + 1 : b), std::min(n, a == b ? b + 1 : b)); break;
    case VK_HOME: SetEditSelection(edit, 0, 0); break;
    case VK_END: SetEditSelection(edit, n, n); break;
    default: break;
    }
}

void HeadlessHost::SetFocus(WindowId w)
{
    Win* win = Find(w);
    if (!win || w == focus_) return;
    WindowId top = TopLevelOf(w);
    if (top != GetActiveWindow()) Activate(top, WA_ACTIVE);
    if (focus_ == w) return;
    WindowId old = focus_;
    focus_ = w;
    if (Win* o = Find(old); o && o->isEdit) NotifyParent(old, EN_KILLFOCUS);
    if (Find(w) && Find(w)->isEdit && focus_ == w) NotifyParent(w, EN_SETFOCUS);
}

// ---- keys ------------------------------------------------------------------

bool HeadlessHost::DeliverKey(UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowId target = Find(focus_) ? focus_ : GetActiveWindow();
    WindowId top = TopLevelOf(target);
    Win* topWin = Find(top);
    if (!topWin || !AcceptsInput(top)) return false;
    if (topWin->client && topWin->client->PreTranslateMessage(top, Msg{target, message, wParam, lParam})) return false;
    Win* t = Find(target);
    if (!t) return false;
    if (t->isEdit) {
        if (message == WM_CHAR) EditChar(target, static_cast<char16_t>(wParam));
        if (message == WM_KEYDOWN) EditKey(target, static_cast<UINT>(wParam));
        return true;
    }
    SendMessage(top, message, wParam, lParam);
    return true;
}

void HeadlessHost::KeyDown(UINT vk)
{
    if (vk == VK_SHIFT || vk == VK_LSHIFT || vk == VK_RSHIFT) shift_ = true;
    if (vk == VK_CONTROL || vk == VK_LCONTROL || vk == VK_RCONTROL) control_ = true;
    // A swallowed key-down is never translated into a character.
    bool delivered = DeliverKey(WM_KEYDOWN, vk, 1);
    char16_t c = 0;
    if (vk >= 'A' && vk <= 'Z') c = static_cast<char16_t>(shift_ ? vk : vk - 'A' + 'a');
    else if ((vk >= '0' && vk <= '9') || vk == VK_SPACE) c = static_cast<char16_t>(vk);
    else if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9) c = static_cast<char16_t>('0' + (vk - VK_NUMPAD0));
    else if (vk == VK_RETURN || vk == VK_BACK || vk == VK_ESCAPE || vk == VK_TAB) c = static_cast<char16_t>(vk);
    if (delivered && c && !control_) DeliverKey(WM_CHAR, c, 1);
    ProcessPending();
}

void HeadlessHost::KeyUp(UINT vk)
{
    if (vk == VK_SHIFT || vk == VK_LSHIFT || vk == VK_RSHIFT) shift_ = false;
    if (vk == VK_CONTROL || vk == VK_LCONTROL || vk == VK_RCONTROL) control_ = false;
    DeliverKey(WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u));
    ProcessPending();
}

void HeadlessHost::TypeText(const std::u16string& text)
{
    for (char16_t c : text) DeliverKey(WM_CHAR, c, 1);
    ProcessPending();
}

void HeadlessHost::ActivateOtherProgram()
{
    DeactivateAll();
    ProcessPending();
}

}  // namespace platform
