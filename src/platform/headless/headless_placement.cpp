// Where the headless host's windows are and which one is active: z-order,
// showing and hiding, geometry, coordinates and window texts.
#include <algorithm>
#include <vector>

#include "platform/headless/headless_host.h"
#include "platform/headless/headless_window.h"

namespace platform {

void HeadlessHost::Raise(WindowId w)
{
    WindowId top = TopLevelOf(w);
    if (!top) return;
    zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), top), zOrder_.end());
    zOrder_.push_back(top);
    // Owned windows stay above their owner.
    std::vector<WindowId> owned;
    for (WindowId t : zOrder_)
        if (t != top && IsOwnedBy(t, top)) owned.push_back(t);
    for (WindowId t : owned) {
        zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), t), zOrder_.end());
        zOrder_.push_back(t);
    }
}

void HeadlessHost::Deactivating(WindowId old)
{
    // The window remembers which of its edit boxes had the focus.
    if (Win* o = Find(old); o && Find(focus_) && TopLevelOf(focus_) == old) o->lastFocus = focus_;
}

void HeadlessHost::Activated(WindowId w)
{
    const Win* win = Find(w);
    focus_ = win && Find(win->lastFocus) ? win->lastFocus : w;
}

void HeadlessHost::ShowWindow(WindowId w, int cmd)
{
    Win* win = Find(w);
    if (!win) return;
    bool wasVisible = win->visible;
    if (cmd == SW_HIDE) {
        win->visible = false;
        if (win->isEdit && focus_ == w) focus_ = win->owner;
        if (GetCapture() == w) ClearCapture();
        if (wasVisible) {
            if (win->isEdit) InvalidateRect(win->owner, win->rect);
            SendMessage(w, WM_SHOWWINDOW, 0, 0);
        }
        LoseActivation(w);
        CheckLeave();
        return;
    }
    win->visible = true;
    win->minimized = cmd == SW_MINIMIZE || cmd == SW_SHOWMINIMIZED;
    if (win->isEdit) {
        InvalidateRect(w, win->rect);
        return;
    }
    if (!wasVisible) {
        win->dirty = GetClientRect(w);
        SendMessage(w, WM_SHOWWINDOW, 1, 0);
    }
    if (!IsWindow(w)) return;
    Raise(w);
    bool activate = cmd != SW_SHOWNOACTIVATE && !Find(w)->minimized && Find(w)->kind != WindowKind::Overlay;
    if (activate) Activate(w, WA_ACTIVE);
}

bool HeadlessHost::IsWindowVisible(WindowId w) const
{
    const Win* win = Find(w);
    return win && win->visible && (!win->isEdit || IsWindowVisible(win->owner));
}

bool HeadlessHost::IsIconic(WindowId w) const
{
    const Win* win = Find(w);
    return win && win->minimized;
}

void HeadlessHost::SetWindowPos(WindowId w, const Rect& r)
{
    Win* win = Find(w);
    if (!win) return;
    Rect old = win->rect;
    win->rect = r;
    if (win->isEdit) {
        InvalidateRect(win->owner, old);
        InvalidateRect(win->owner, r);
        return;
    }
    if (old.Width() != r.Width() || old.Height() != r.Height()) {
        win->dirty = GetClientRect(w);
        SendMessage(w, WM_SIZE, 0, MAKELPARAM(r.Width(), r.Height()));
    }
    if (IsWindow(w) && old.TopLeft() != r.TopLeft()) SendMessage(w, WM_MOVE, 0, MAKELPARAM(r.left, r.top));
}

void HeadlessHost::SetTopmost(WindowId w, bool topmost)
{
    if (Win* win = Find(w); win && !win->isEdit) win->topmost = topmost;
}

void HeadlessHost::SetOpacity(WindowId w, int opacity)
{
    if (Win* win = Find(w)) win->opacity = std::clamp(opacity, 0, 255);
}

Rect HeadlessHost::GetWindowRect(WindowId w) const
{
    const Win* win = Find(w);
    return win ? win->rect : Rect{};
}

Rect HeadlessHost::GetClientRect(WindowId w) const
{
    const Win* win = Find(w);
    return win ? Rect{0, 0, win->rect.Width(), win->rect.Height()} : Rect{};
}

Point HeadlessHost::ClientToScreen(WindowId w, Point p) const
{
    const Win* win = Find(w);
    if (!win) return p;
    if (win->isEdit) {
        const Win* parent = Find(win->owner);
        Point o = parent ? parent->rect.TopLeft() : Point{};
        return {p.x + o.x + win->rect.left, p.y + o.y + win->rect.top};
    }
    return {p.x + win->rect.left, p.y + win->rect.top};
}

Point HeadlessHost::ScreenToClient(WindowId w, Point p) const
{
    Point o = ClientToScreen(w, {0, 0});
    return {p.x - o.x, p.y - o.y};
}

void HeadlessHost::SetForegroundWindow(WindowId w)
{
    if (!IsWindow(w)) return;
    Raise(w);
    Activate(TopLevelOf(w), WA_ACTIVE);
}

void HeadlessHost::SetWindowText(WindowId w, const std::u16string& text)
{
    Win* win = Find(w);
    if (!win) return;
    if (win->isEdit) {
        SetEditText(w, text, static_cast<int>(text.size()));
        return;
    }
    win->text = text;
}

std::u16string HeadlessHost::GetWindowText(WindowId w) const
{
    const Win* win = Find(w);
    return win ? win->text : std::u16string();
}

std::vector<WindowId> HeadlessHost::TopLevelWindows() const { return zOrder_; }

}  // namespace platform
