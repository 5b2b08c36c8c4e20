// Mouse and keys in the Qt host: input from the window widgets routed to the
// window that has the capture or lies under the pointer, hover and leave
// tracking, and a move loop of our own where the desktop offers none.
#include <QCursor>
#include <QPoint>
#include <QTimer>
#include <QWindow>
#include <algorithm>

#include "platform/qt/qt_host_widget.h"
#include "platform/qt/qt_window_host.h"

namespace platform {

void QtWindowHost::MouseInput(WindowId from, UINT message, Point screen, WPARAM keys, int wheel)
{
    lastMouse_ = screen;
    leftDown_ = (keys & MK_LBUTTON) != 0;
    if (dragging_) {
        // Our own move loop, where the desktop offers none (no window
        // manager, or one that refuses): it ends with the button and
        // swallows that release, as a desktop move would.
        Win* d = Find(dragging_);
        if (message == WM_MOUSEMOVE && d && d->widget && (keys & MK_LBUTTON)) {
            Rect r = dragRect_.Offset(screen.x - dragStart_.x, screen.y - dragStart_.y);
            d->widget->move(r.left, r.top);
            return;
        }
        if (message == WM_LBUTTONUP || !(keys & MK_LBUTTON)) {
            dragging_ = 0;
            if (message == WM_LBUTTONUP) return;
        }
    }
    WindowId capture = GetCapture();
    WindowId target = capture ? capture : from;
    Win* win = Find(target);
    if (!win || !win->widget) return;
    if (!capture && !AcceptsInput(target)) return;
    bool press = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN ||
                 message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK;
    if (press && !capture) {
        Activate(target, WA_CLICKACTIVE);
        win = Find(target);
        if (!win || !win->widget) return;
    }
    if (message == WM_MOUSEMOVE && (win->track & TME_HOVER) && win->hoverTimer) win->hoverTimer->start(win->hoverMs);
    Point p = ScreenToClient(target, screen);
    if (message == WM_MOUSEWHEEL) {
        SendMessage(target, message, MAKEWPARAM(static_cast<int>(keys), wheel), MAKELPARAM(p.x, p.y));
    } else {
        SendMessage(target, message, keys, MAKELPARAM(p.x, p.y));
    }
}

void QtWindowHost::MouseLeft(WindowId from)
{
    Win* win = Find(from);
    if (!win || !(win->track & TME_LEAVE)) return;
    win->track &= ~(TME_LEAVE | TME_HOVER);
    if (win->hoverTimer) win->hoverTimer->stop();
    PostMessage(from, WM_MOUSELEAVE, 0, 0);
}

void QtWindowHost::CaptureReleased(WindowId was)
{
    // A leave that happened while captured is owed now.
    if (Win* win = Find(was); win && win->widget && (win->track & TME_LEAVE) &&
                              !win->widget->rect().contains(win->widget->mapFromGlobal(QCursor::pos())))
        MouseLeft(was);
}

bool QtWindowHost::TrackMouseEvent(WindowId w, UINT flags, int hoverMs)
{
    Win* win = Find(w);
    if (!win || win->isEdit || !win->widget) return false;
    UINT what = flags & (TME_HOVER | TME_LEAVE);
    if (flags & TME_CANCEL) {
        win->track &= ~what;
        if ((what & TME_HOVER) && win->hoverTimer) win->hoverTimer->stop();
        return true;
    }
    bool inside = win->widget->isVisible() && win->widget->rect().contains(win->widget->mapFromGlobal(QCursor::pos()));
    if (what & TME_HOVER) {
        win->track |= TME_HOVER;
        win->hoverMs = std::max(hoverMs, 1);
        if (!win->hoverTimer) {
            win->hoverTimer = std::make_unique<QTimer>();
            win->hoverTimer->setSingleShot(true);
            QObject::connect(win->hoverTimer.get(), &QTimer::timeout, this, [this, w] {
                Win* h = Find(w);
                if (!h || !h->widget || !(h->track & TME_HOVER)) return;
                h->track &= ~TME_HOVER;
                QPoint p = h->widget->mapFromGlobal(QCursor::pos());
                if (h->widget->rect().contains(p)) PostMessage(w, WM_MOUSEHOVER, 0, MAKELPARAM(p.x(), p.y()));
            });
        }
        win->hoverTimer->start(win->hoverMs);
    }
    if (what & TME_LEAVE) {
        if (inside || GetCapture() == w) win->track |= TME_LEAVE;
        else PostMessage(w, WM_MOUSELEAVE, 0, 0);
    }
    return true;
}

Point QtWindowHost::GetCursorPos() const
{
    QPoint p = QCursor::pos();
    return {p.x(), p.y()};
}

void QtWindowHost::StartWindowDrag(WindowId w)
{
    Win* win = Find(TopLevelOf(w));
    if (!win || !win->widget) return;
    if (!leftDown_) return;
    ClearCapture();
    QWindow* handle = win->widget->windowHandle();
    if (handle && handle->startSystemMove()) return;
    dragging_ = win->id;
    // Where the pointer was when the button went down, as the event said
    // (the cursor position lags behind synthetic and remote input).
    dragStart_ = lastMouse_;
    dragRect_ = GetWindowRect(win->id);
}

bool QtWindowHost::KeyInput(WindowId target, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowId top = TopLevelOf(target);
    Win* topWin = Find(top);
    if (!topWin || !AcceptsInput(top)) return false;
    if (topWin->client && topWin->client->PreTranslateMessage(top, Msg{target, message, wParam, lParam})) return false;
    if (target == top) SendMessage(top, message, wParam, lParam);
    return true;
}

}  // namespace platform
