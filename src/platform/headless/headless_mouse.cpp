// Synthetic mouse input for the headless host: hit testing over the virtual
// screen, button presses and wheel turns, hover and leave tracking, and the
// desktop's move loop for a dragged window.
#include <algorithm>
#include <vector>

#include "platform/headless/headless_host.h"
#include "platform/headless/headless_window.h"

namespace platform {

WindowId HeadlessHost::WindowAt(Point screen) const
{
    // Topmost windows lie above the others; within each layer the later in
    // the z-order is above. Overlays never take the mouse.
    for (int layer = 1; layer >= 0; --layer)
        for (auto it = zOrder_.rbegin(); it != zOrder_.rend(); ++it) {
            const Win* win = Find(*it);
            if (!win || !win->visible || win->minimized || win->destroying) continue;
            if (win->kind == WindowKind::Overlay || static_cast<int>(win->topmost) != layer) continue;
            if (win->rect.Contains(screen)) return win->id;
        }
    return 0;
}

WPARAM HeadlessHost::KeyFlags() const
{
    WPARAM k = 0;
    if (buttons_[0]) k |= MK_LBUTTON;
    if (buttons_[1]) k |= MK_RBUTTON;
    if (buttons_[2]) k |= MK_MBUTTON;
    if (shift_) k |= MK_SHIFT;
    if (control_) k |= MK_CONTROL;
    return k;
}

void HeadlessHost::SendMouse(UINT message, WindowId target, WPARAM keys, LPARAM extra)
{
    (void)extra;
    if (!target) return;
    Point p = ScreenToClient(target, cursor_);
    SendMessage(target, message, keys, MAKELPARAM(p.x, p.y));
}

void HeadlessHost::AfterInput()
{
    CheckLeave();
    ProcessPending();
}

void HeadlessHost::CheckLeave()
{
    WindowId under = WindowAt(cursor_);
    std::vector<WindowId> leaving;
    for (const auto& [id, record] : AllRecords())
        if ((static_cast<const Win*>(record.get())->track & TME_LEAVE) && id != under) leaving.push_back(id);
    for (WindowId w : leaving) {
        Win* win = Find(w);
        if (!win) continue;
        win->track &= ~(TME_LEAVE | TME_HOVER);
        PostMessage(w, WM_MOUSELEAVE, 0, 0);
    }
}

void HeadlessHost::MoveMouse(Point screen)
{
    cursor_ = screen;
    if (dragging_) {
        if (Win* win = Find(dragging_)) {
            win->rect = dragRect_.Offset(screen.x - dragStart_.x, screen.y - dragStart_.y);
            SendMessage(dragging_, WM_MOVE, 0, MAKELPARAM(win->rect.left, win->rect.top));
        }
        ProcessPending();
        return;
    }
    WindowId target = GetCapture() ? GetCapture() : WindowAt(screen);
    if (Win* win = Find(target); win && (win->track & TME_HOVER))
        win->hoverDue = clock_.NowMs() + win->hoverMs;  // the pointer moved: the rest starts again
    CheckLeave();
    if (target && (GetCapture() || AcceptsInput(target))) SendMouse(WM_MOUSEMOVE, target, KeyFlags());
    AfterInput();
}

void HeadlessHost::PressButton(MouseButton b)
{
    int i = static_cast<int>(b);
    buttons_[i] = true;
    WindowId target = GetCapture() ? GetCapture() : WindowAt(cursor_);
    if (target && !GetCapture()) {
        if (!AcceptsInput(target)) {
            AfterInput();
            return;
        }
        Raise(target);
        Activate(target, WA_CLICKACTIVE);
        // A press on an edit box gives it the focus and goes no further.
        if (Win* top = Find(target)) {
            Point p = ScreenToClient(target, cursor_);
            for (WindowId e : top->edits) {
                const Win* edit = Find(e);
                if (edit && edit->visible && edit->enabled && edit->rect.Contains(p)) {
                    SetFocus(e);
                    SetEditSelection(e, -1, -1);
                    AfterInput();
                    return;
                }
            }
        }
    }
    if (IsWindow(target)) {
        static constexpr UINT kDown[3] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
        SendMouse(kDown[i], target, KeyFlags());
    }
    AfterInput();
}

void HeadlessHost::ReleaseButton(MouseButton b)
{
    int i = static_cast<int>(b);
    buttons_[i] = false;
    if (b == MouseButton::Left && dragging_) {
        // The desktop's move loop swallows the release that ends a drag.
        dragging_ = 0;
        AfterInput();
        return;
    }
    WindowId target = GetCapture() ? GetCapture() : WindowAt(cursor_);
    if (target && (GetCapture() || AcceptsInput(target))) {
        static constexpr UINT kUp[3] = {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP};
        SendMouse(kUp[i], target, KeyFlags());
    }
    AfterInput();
}

void HeadlessHost::DoubleClick()
{
    PressButton(MouseButton::Left);
    ReleaseButton(MouseButton::Left);
    buttons_[0] = true;
    WindowId target = GetCapture() ? GetCapture() : WindowAt(cursor_);
    if (target && (GetCapture() || AcceptsInput(target))) SendMouse(WM_LBUTTONDBLCLK, target, KeyFlags());
    AfterInput();
    ReleaseButton(MouseButton::Left);
}

void HeadlessHost::Wheel(int delta)
{
    WindowId target = GetCapture() ? GetCapture() : WindowAt(cursor_);
    if (target && (GetCapture() || AcceptsInput(target))) {
        Point p = ScreenToClient(target, cursor_);
        SendMessage(target, WM_MOUSEWHEEL, MAKEWPARAM(static_cast<int>(KeyFlags()), delta), MAKELPARAM(p.x, p.y));
    }
    AfterInput();
}

void HeadlessHost::Click(WindowId w, Point client, MouseButton b)
{
    MoveMouse(ClientToScreen(w, client));
    PressButton(b);
    ReleaseButton(b);
}

bool HeadlessHost::TrackMouseEvent(WindowId w, UINT flags, int hoverMs)
{
    Win* win = Find(w);
    if (!win || win->isEdit) return false;
    UINT what = flags & (TME_HOVER | TME_LEAVE);
    if (flags & TME_CANCEL) {
        win->track &= ~what;
        return true;
    }
    if (what & TME_HOVER) {
        win->track |= TME_HOVER;
        win->hoverMs = std::max(hoverMs, 1);
        win->hoverDue = clock_.NowMs() + win->hoverMs;
    }
    if (what & TME_LEAVE) {
        if (WindowAt(cursor_) != w) {
            PostMessage(w, WM_MOUSELEAVE, 0, 0);
        } else {
            win->track |= TME_LEAVE;
        }
    }
    return true;
}

void HeadlessHost::StartWindowDrag(WindowId w)
{
    WindowId top = TopLevelOf(w);
    Win* win = Find(top);
    if (!win || !buttons_[0]) return;
    ClearCapture();
    dragging_ = top;
    dragStart_ = cursor_;
    dragRect_ = win->rect;
}

}  // namespace platform
