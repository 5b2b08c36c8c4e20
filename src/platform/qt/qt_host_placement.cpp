// Where the Qt host's windows are and which one is active: activation and
// raising, showing and hiding, geometry, coordinates, window texts, what
// the window tells assistive technology, and the screen.
#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <algorithm>
#include <cstdio>

#include "platform/draw/qt_canvas.h"
#include "platform/qt/qt_accessible.h"
#include "platform/qt/qt_host_widget.h"
#include "platform/qt/qt_window_host.h"

namespace platform {

void QtWindowHost::WillActivate(WindowId w)
{
    if (trace_)
        std::fprintf(stderr, "window: activate %llu (was %llu)\n", (unsigned long long)w,
                     (unsigned long long)GetActiveWindow());
    if (Win* win = Find(w); win && win->widget) {
        if (canRaise_) win->widget->raise();
        win->widget->activateWindow();
    }
}

void QtWindowHost::CheckApplicationActivation()
{
    if (trace_)
        std::fprintf(stderr, "window: application %s, active widget is window %llu\n",
                     QGuiApplication::applicationState() == Qt::ApplicationActive ? "active" : "inactive",
                     (unsigned long long)WindowOfWidget(QApplication::activeWindow()));
    if (QGuiApplication::applicationState() == Qt::ApplicationActive) {
        WindowId now = WindowOfWidget(QApplication::activeWindow());
        if (now && now != GetActiveWindow() && AcceptsInput(now)) Activate(now, WA_ACTIVE);
        return;
    }
    // Another program took the focus.
    DeactivateAll();
}

void QtWindowHost::ShowWindow(WindowId w, int cmd)
{
    Win* win = Find(w);
    if (!win || !win->Widget()) return;
    QWidget* widget = win->Widget();
    if (cmd == SW_HIDE) {
        bool was = widget->isVisible();
        widget->hide();
        if (GetCapture() == w) ClearCapture();
        if (was && !win->isEdit) SendMessage(w, WM_SHOWWINDOW, 0, 0);
        LoseActivation(w);
        return;
    }
    if (win->isEdit) {
        widget->show();
        return;
    }
    bool was = widget->isVisible();
    bool noActivate = cmd == SW_SHOWNOACTIVATE || win->kind == WindowKind::Overlay;
    widget->setAttribute(Qt::WA_ShowWithoutActivating, noActivate);
    if (cmd == SW_MINIMIZE || cmd == SW_SHOWMINIMIZED) {
        widget->showMinimized();
        if (!was && win->widget && !win->describedKind.empty()) PublishDescription(*win);
        return;
    }
    if (cmd == SW_RESTORE && widget->isMinimized()) widget->showNormal();
    else widget->show();
    if (!was && win->widget && !win->describedKind.empty()) PublishDescription(*win);
    if (canRaise_) widget->raise();
    if (!was) SendMessage(w, WM_SHOWWINDOW, 1, 0);
    if (!noActivate && IsWindow(w)) Activate(w, WA_ACTIVE);
}

bool QtWindowHost::IsWindowVisible(WindowId w) const
{
    const Win* win = Find(w);
    return win && win->Widget() && win->Widget()->isVisible();
}

bool QtWindowHost::IsIconic(WindowId w) const
{
    const Win* win = Find(w);
    return win && win->widget && win->widget->isMinimized();
}

void QtWindowHost::SetWindowPos(WindowId w, const Rect& r)
{
    Win* win = Find(w);
    if (win && win->Widget()) win->Widget()->setGeometry(ToQRect(r));
}

void QtWindowHost::SetTopmost(WindowId w, bool topmost)
{
    Win* win = Find(w);
    if (!win || !win->widget || win->kind != WindowKind::Dialog) return;
    QWidget* widget = win->widget;
    if (widget->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == topmost) return;
    bool visible = widget->isVisible();
    // Changing window flags unmaps the window; put it back as it was.
    widget->setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
    if (visible) {
        widget->setAttribute(Qt::WA_ShowWithoutActivating, true);
        widget->show();
        widget->setAttribute(Qt::WA_ShowWithoutActivating, false);
    }
}

void QtWindowHost::SetOpacity(WindowId w, int opacity)
{
    Win* win = Find(w);
    if (win && win->widget) win->widget->setWindowOpacity(std::clamp(opacity, 0, 255) / 255.0);
}

Rect QtWindowHost::GetWindowRect(WindowId w) const
{
    const Win* win = Find(w);
    if (!win || !win->Widget()) return {};
    return FromQRect(win->Widget()->geometry());
}

Rect QtWindowHost::GetClientRect(WindowId w) const
{
    const Win* win = Find(w);
    if (!win || !win->Widget()) return {};
    return {0, 0, win->Widget()->width(), win->Widget()->height()};
}

Point QtWindowHost::ClientToScreen(WindowId w, Point p) const
{
    const Win* win = Find(w);
    if (!win || !win->Widget()) return p;
    QPoint g = win->Widget()->mapToGlobal(QPoint(p.x, p.y));
    return {g.x(), g.y()};
}

Point QtWindowHost::ScreenToClient(WindowId w, Point p) const
{
    const Win* win = Find(w);
    if (!win || !win->Widget()) return p;
    QPoint c = win->Widget()->mapFromGlobal(QPoint(p.x, p.y));
    return {c.x(), c.y()};
}

void QtWindowHost::SetForegroundWindow(WindowId w)
{
    WindowId top = TopLevelOf(w);
    Win* win = Find(top);
    if (!win || !win->widget) return;
    if (win->widget->isMinimized()) win->widget->showNormal();
    Activate(top, WA_ACTIVE);
}

void QtWindowHost::EnableWindow(WindowId w, bool enable)
{
    WindowBook::EnableWindow(w, enable);
    Win* win = Find(w);
    if (win && win->isEdit && win->edit) win->edit->setEnabled(enable);
}

void QtWindowHost::SetWindowText(WindowId w, const std::u16string& text)
{
    Win* win = Find(w);
    if (!win) return;
    if (win->isEdit) {
        if (win->edit) win->edit->setText(ToQString(text));  // textChanged reports EN_CHANGE
    } else if (win->widget) {
        win->widget->setWindowTitle(ToQString(text));
    }
}

std::u16string QtWindowHost::GetWindowText(WindowId w) const
{
    const Win* win = Find(w);
    if (!win) return {};
    if (win->isEdit) return win->edit ? FromQString(win->edit->text()) : std::u16string();
    return win->widget ? FromQString(win->widget->windowTitle()) : std::u16string();
}


// ---- what the window tells assistive technology ------------------------------------

void QtWindowHost::AccessibleFocusChanged(WindowId w, int controlId)
{
    if (Win* win = Find(w); win && win->widget) ReportAccessibleFocus(win->widget, controlId);
}

void QtWindowHost::AccessibleStateChanged(WindowId w, int controlId)
{
    if (Win* win = Find(w); win && win->widget) ReportAccessibleChange(win->widget, controlId);
}

void QtWindowHost::DescribeWindow(WindowId w, const std::u16string& kind, const std::u16string& text)
{
    WindowBook::DescribeWindow(w, kind, text);
    Win* win = Find(w);
    // Told to the accessibility bus when the window shows: the first word
    // to it connects to the desktop's bus, which a window not yet on the
    // screen should not wait for.
    if (win && win->widget && win->widget->isVisible()) PublishDescription(*win);
}

void QtWindowHost::PublishDescription(Win& win)
{
    win.widget->setAccessibleName(ToQString(win.describedKind));
    win.widget->setAccessibleDescription(ToQString(win.describedText));
}

// ---- screen -----------------------------------------------------------------------------

Rect QtWindowHost::GetScreenRect() const
{
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? FromQRect(s->geometry()) : Rect{0, 0, 1920, 1080};
}

Rect QtWindowHost::GetWorkArea() const
{
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? FromQRect(s->availableGeometry()) : Rect{0, 0, 1920, 1080};
}

int QtWindowHost::LogicalDpi() const
{
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? static_cast<int>(s->logicalDotsPerInchX() + 0.5) : 96;
}

}  // namespace platform
