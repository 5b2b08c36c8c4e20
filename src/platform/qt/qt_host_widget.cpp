// The widget behind each top-level window: it paints through the window's
// client and hands Qt's mouse and key events to the host as messages.
#include "platform/qt/qt_host_widget.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QWheelEvent>

#include "platform/draw/qt_canvas.h"
#include "platform/keyboard/qt_key_table.h"
#include "platform/qt/qt_accessible.h"

namespace platform {

namespace {

WPARAM MouseKeys(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
{
    WPARAM k = 0;
    if (buttons & Qt::LeftButton) k |= MK_LBUTTON;
    if (buttons & Qt::RightButton) k |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton) k |= MK_MBUTTON;
    if (mods & Qt::ShiftModifier) k |= MK_SHIFT;
    if (mods & Qt::ControlModifier) k |= MK_CONTROL;
    return k;
}

Point GlobalPoint(const QPointF& p) { return {static_cast<int>(p.x()), static_cast<int>(p.y())}; }

}  // namespace

HostWidget::HostWidget(QtWindowHost* host, WindowId id, Qt::WindowFlags flags, QWidget* parent)
    : QWidget(parent, flags), host_(host), id_(id)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);   // the client paints every pixel it owns
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::StrongFocus);
}

HostWidget::~HostWidget() { RemoveAccessibleWindow(this); }

// Tab and Shift+Tab on the window itself move the focus among the skinned
// controls, which the client keeps; Qt's own chain only knows the edit
// boxes. In an edit box Qt's chain moves on to the next edit, and after the
// last one back to the window and its controls.
bool HostWidget::focusNextPrevChild(bool next)
{
    QWidget* f = QApplication::focusWidget();
    if (f && f != this && isAncestorOf(f)) return QWidget::focusNextPrevChild(next);
    return false;
}

void HostWidget::paintEvent(QPaintEvent* e)
{
    // The client draws straight into the window system's back buffer, which
    // keeps what lies outside the dirty rectangle: a buffer of our own would
    // hold a second copy of the whole window for nothing.
    Rect dirty = FromQRect(e->rect());
    QtCanvas canvas(this, dirty);
    if (client)
        client->OnPaint(id_, canvas, dirty);
    else
        canvas.FillRect(dirty, 0);
}

void HostWidget::mouseMoveEvent(QMouseEvent* e)
{
    host_->MouseInput(id_, WM_MOUSEMOVE, GlobalPoint(e->globalPosition()), MouseKeys(e->buttons(), e->modifiers()));
}

void HostWidget::mousePressEvent(QMouseEvent* e)
{
    UINT m = e->button() == Qt::LeftButton ? WM_LBUTTONDOWN
             : e->button() == Qt::RightButton ? WM_RBUTTONDOWN
             : e->button() == Qt::MiddleButton ? WM_MBUTTONDOWN : 0;
    if (m) host_->MouseInput(id_, m, GlobalPoint(e->globalPosition()), MouseKeys(e->buttons(), e->modifiers()));
}

void HostWidget::mouseReleaseEvent(QMouseEvent* e)
{
    UINT m = e->button() == Qt::LeftButton ? WM_LBUTTONUP
             : e->button() == Qt::RightButton ? WM_RBUTTONUP
             : e->button() == Qt::MiddleButton ? WM_MBUTTONUP : 0;
    if (m) host_->MouseInput(id_, m, GlobalPoint(e->globalPosition()), MouseKeys(e->buttons(), e->modifiers()));
}

void HostWidget::mouseDoubleClickEvent(QMouseEvent* e)
{
    UINT m = e->button() == Qt::LeftButton ? WM_LBUTTONDBLCLK
             : e->button() == Qt::RightButton ? WM_RBUTTONDBLCLK : 0;
    if (m) host_->MouseInput(id_, m, GlobalPoint(e->globalPosition()), MouseKeys(e->buttons(), e->modifiers()));
}

void HostWidget::wheelEvent(QWheelEvent* e)
{
    host_->MouseInput(id_, WM_MOUSEWHEEL, GlobalPoint(e->globalPosition()), MouseKeys(e->buttons(), e->modifiers()),
                      e->angleDelta().y());
}

void HostWidget::leaveEvent(QEvent*) { host_->MouseLeft(id_); }

void HostWidget::keyPressEvent(QKeyEvent* e)
{
    LPARAM l = e->isAutoRepeat() ? (1 << 30) | 1 : 1;
    if (host_->KeyInput(id_, WM_KEYDOWN, VirtualKeyFromKeyEvent(*e), l))
        for (QChar c : e->text())
            if (c.unicode() >= 0x08) host_->KeyInput(id_, WM_CHAR, c.unicode(), l);
}

void HostWidget::keyReleaseEvent(QKeyEvent* e)
{
    host_->KeyInput(id_, WM_KEYUP, VirtualKeyFromKeyEvent(*e), static_cast<LPARAM>(0xC0000001u));
}

void HostWidget::closeEvent(QCloseEvent* e)
{
    if (closingByHost) {
        e->accept();
        return;
    }
    // The window manager (or, on Wayland, the compositor closing a
    // popup) asked: the program decides. A popup hears it as losing
    // activation, which is what the click elsewhere meant.
    e->ignore();
    if (host_->Find(id_) && host_->Find(id_)->kind == WindowKind::Popup && host_->GetActiveWindow() == id_) {
        host_->DeactivateAll();
    } else {
        host_->PostMessage(id_, WM_CLOSE, 0, 0);
    }
}

void HostWidget::moveEvent(QMoveEvent*) { host_->PostMessage(id_, WM_MOVE, 0, MAKELPARAM(x(), y())); }

void HostWidget::resizeEvent(QResizeEvent*) { host_->PostMessage(id_, WM_SIZE, 0, MAKELPARAM(width(), height())); }

}  // namespace platform
