#include "platform/qt/qt_window_host.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstdio>

#include "platform/keyboard/qt_key_table.h"
#include "platform/qt/qt_accessible.h"

namespace platform {

namespace {

const QEvent::Type kPostedEvent = static_cast<QEvent::Type>(QEvent::registerEventType());
const QEvent::Type kQuitEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

struct PostedEvent : QEvent {
    explicit PostedEvent(const Msg& m) : QEvent(kPostedEvent), msg(m) {}
    Msg msg;
};

QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.Width(), r.Height()); }
Rect FromQRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

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

// ---- the widget behind a top-level window -----------------------------------

class HostWidget final : public QWidget {
public:
    HostWidget(QtWindowHost* host, WindowId id, Qt::WindowFlags flags, QWidget* parent)
        : QWidget(parent, flags), host_(host), id_(id)
    {
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);   // the client paints every pixel it owns
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::StrongFocus);
    }

    ~HostWidget() override { RemoveAccessibleWindow(this); }

    IWindowClient* client = nullptr;
    bool closingByHost = false;

protected:
    // Tab and Shift+Tab on the window itself move the focus among the
    // skinned controls, which the client keeps; Qt's own chain only knows
    // the edit boxes. In an edit box Qt's chain moves on to the next edit,
    // and after the last one back to the window and its controls.
    bool focusNextPrevChild(bool next) override
    {
        QWidget* f = QApplication::focusWidget();
        if (f && f != this && isAncestorOf(f)) return QWidget::focusNextPrevChild(next);
        return false;
    }
    void paintEvent(QPaintEvent* e) override
    {
        // The client draws straight into the window system's back buffer,
        // which keeps what lies outside the dirty rectangle: a buffer of our
        // own would hold a second copy of the whole window for nothing.
        Rect dirty = FromQRect(e->rect());
        QtCanvas canvas(this, dirty);
        if (client)
            client->OnPaint(id_, canvas, dirty);
        else
            canvas.FillRect(dirty, 0);
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        host_->MouseInput(id_, WM_MOUSEMOVE, GlobalPoint(e->globalPosition()), MouseKeys(e->buttons(), e->modifiers()));
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        UINT m = e->button() == Qt::LeftButton ? WM_LBUTTONDOWN
                 : e->button() == Qt::RightButton ? WM_RBUTTONDOWN
                 : e->button() == Qt::MiddleButton ? WM_MBUTTONDOWN : 0;
        if (m) host_->MouseInput(id_, m, GlobalPoint(e->globalPosition()), MouseKeys(e->buttons(), e->modifiers()));
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        UINT m = e->button() == Qt::LeftButton ? WM_LBUTTONUP
                 : e->button() == Qt::RightButton ? WM_RBUTTONUP
                 : e->button() == Qt::MiddleButton ? WM_MBUTTONUP : 0;
        if (m) host_->MouseInput(id_, m, GlobalPoint(e->globalPosition()), MouseKeys(e->buttons(), e->modifiers()));
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override
    {
        UINT m = e->button() == Qt::LeftButton ? WM_LBUTTONDBLCLK
                 : e->button() == Qt::RightButton ? WM_RBUTTONDBLCLK : 0;
        if (m) host_->MouseInput(id_, m, GlobalPoint(e->globalPosition()), MouseKeys(e->buttons(), e->modifiers()));
    }
    void wheelEvent(QWheelEvent* e) override
    {
        host_->MouseInput(id_, WM_MOUSEWHEEL, GlobalPoint(e->globalPosition()), MouseKeys(e->buttons(), e->modifiers()),
                          e->angleDelta().y());
    }
    void leaveEvent(QEvent*) override { host_->MouseLeft(id_); }
    void keyPressEvent(QKeyEvent* e) override
    {
        LPARAM l = e->isAutoRepeat() ? (1 << 30) | 1 : 1;
        if (host_->KeyInput(id_, WM_KEYDOWN, VirtualKeyFromKeyEvent(*e), l))
            for (QChar c : e->text())
                if (c.unicode() >= 0x08) host_->KeyInput(id_, WM_CHAR, c.unicode(), l);
    }
    void keyReleaseEvent(QKeyEvent* e) override
    {
        host_->KeyInput(id_, WM_KEYUP, VirtualKeyFromKeyEvent(*e), static_cast<LPARAM>(0xC0000001u));
    }
    void closeEvent(QCloseEvent* e) override;
    void moveEvent(QMoveEvent*) override { host_->PostMessage(id_, WM_MOVE, 0, MAKELPARAM(x(), y())); }
    void resizeEvent(QResizeEvent*) override { host_->PostMessage(id_, WM_SIZE, 0, MAKELPARAM(width(), height())); }

private:
    QtWindowHost* host_;
    WindowId id_;
};

struct QtWindowHost::Win final : WindowRecord {
    QPointer<HostWidget> widget;
    QPointer<QLineEdit> edit;
    UINT track = 0;
    int hoverMs = 0;
    std::unique_ptr<QTimer> hoverTimer;

    QWidget* Widget() const { return isEdit ? static_cast<QWidget*>(edit.data()) : widget.data(); }
};

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

// ---- construction ------------------------------------------------------------

QtWindowHost::QtWindowHost() : thread_(std::this_thread::get_id())
{
    wayland_ = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    // The off-screen platform has no stacking order and complains at every raise.
    canRaise_ = QGuiApplication::platformName() != QLatin1String("offscreen");
    InstallAccessibleFactory();
    // TEVLAN_TRACE_WINDOWS=1 prints activation changes: the desktops differ
    // most in how they hand out focus.
    trace_ = qEnvironmentVariableIntValue("TEVLAN_TRACE_WINDOWS") != 0;
    // Losing the whole application's activation (a click into another
    // program) dismisses popups just as a click into one of ours does.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState) {
        QTimer::singleShot(50, this, [this] { CheckApplicationActivation(); });
    });
}

QtWindowHost::~QtWindowHost()
{
    timers_.clear();
    for (auto& [id, record] : AllRecords()) {
        if (auto* win = static_cast<Win*>(record.get()); win->widget) {
            win->widget->client = nullptr;
            win->widget->closingByHost = true;
        }
    }
    std::vector<QPointer<HostWidget>> widgets;
    for (auto& [id, record] : AllRecords())
        if (auto* win = static_cast<Win*>(record.get()); win->widget && !win->widget->parentWidget())
            widgets.push_back(win->widget);
    ForgetAll();
    for (auto& w : widgets) delete w.data();
}

QtWindowHost::Win* QtWindowHost::Find(WindowId w) { return static_cast<Win*>(Record(w)); }

const QtWindowHost::Win* QtWindowHost::Find(WindowId w) const { return static_cast<const Win*>(Record(w)); }

QWidget* QtWindowHost::WidgetOf(WindowId w) const
{
    const Win* win = Find(w);
    return win ? win->Widget() : nullptr;
}

WindowId QtWindowHost::WindowOfWidget(const QWidget* widget) const
{
    auto it = byWidget_.find(widget);
    return it == byWidget_.end() ? 0 : it->second;
}

std::unique_ptr<WindowRecord> QtWindowHost::NewWindow(WindowId id, IWindowClient* client, const WindowParams& params,
                                                     WindowId ownerId)
{
    const Win* owner = Find(ownerId);
    QWidget* parent = owner && !owner->isEdit ? owner->widget.data() : nullptr;
    Qt::WindowFlags flags = Qt::FramelessWindowHint;
    switch (params.kind) {
    case WindowKind::Dialog:
        flags |= Qt::Window;
        if (params.topmost) flags |= Qt::WindowStaysOnTopHint;
        break;
    case WindowKind::Popup:
        // On X11 a tool window keeps the position we give it and lets the
        // click that dismisses it reach the window clicked. Wayland places
        // only real popups, relative to their transient parent.
        flags |= (wayland_ && parent ? Qt::Popup : Qt::Tool) | Qt::WindowStaysOnTopHint;
        break;
    case WindowKind::Overlay:
        flags |= Qt::ToolTip | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus |
                 Qt::WindowTransparentForInput;
        break;
    }
    auto win = std::make_unique<Win>();
    auto* widget = new HostWidget(this, id, flags, parent);
    widget->client = client;
    widget->setWindowTitle(ToQString(params.title));
    widget->setGeometry(ToQRect(params.bounds));
    if (params.kind == WindowKind::Overlay) {
        widget->setAttribute(Qt::WA_ShowWithoutActivating);
        widget->setAttribute(Qt::WA_TransparentForMouseEvents);
        widget->setFocusPolicy(Qt::NoFocus);
    }
    if (params.opacity < 255) widget->setWindowOpacity(std::clamp(params.opacity, 0, 255) / 255.0);
    win->widget = widget;
    byWidget_[widget] = id;
    if (params.kind != WindowKind::Overlay) {
        AccessibleWindowSource source;
        source.id = id;
        source.role = params.kind == WindowKind::Popup ? AccessibleWindowRole::Menu
                      : parent                          ? AccessibleWindowRole::Dialog
                                                        : AccessibleWindowRole::Window;
        QPointer<HostWidget> guard(widget);
        source.client = [guard]() -> IWindowClient* { return guard ? guard->client : nullptr; };
        AddAccessibleWindow(widget, std::move(source));
    }
    return win;
}

void QtWindowHost::Unhook(WindowRecord& win)
{
    WindowId w = win.id;
    for (auto it = timers_.begin(); it != timers_.end();) {
        if (it->first.first != w) {
            ++it;
            continue;
        }
        // The window may be going away from inside one of its own timers.
        it->second->stop();
        it->second.release()->deleteLater();
        it = timers_.erase(it);
    }
    if (dragging_ == w) dragging_ = 0;
}

void QtWindowHost::Release(WindowRecord& record)
{
    auto& win = static_cast<Win&>(record);
    QWidget* widget = win.Widget();
    if (win.widget) {
        win.widget->client = nullptr;
        win.widget->closingByHost = true;
    }
    if (widget) {
        byWidget_.erase(widget);
        widget->hide();
        // Deleting later is safe even from inside the widget's own event.
        widget->deleteLater();
    }
}

// ---- messages ----------------------------------------------------------------

void QtWindowHost::Enqueue(const Msg& msg)
{
    // Qt keeps events to one receiver in posting order, from any thread.
    QCoreApplication::postEvent(this, new PostedEvent(msg));
}

void QtWindowHost::QuitRequested() { QCoreApplication::postEvent(this, new QEvent(kQuitEvent)); }

bool QtWindowHost::event(QEvent* e)
{
    if (e->type() == kPostedEvent) {
        const Msg& m = static_cast<PostedEvent*>(e)->msg;
        if (IsWindow(m.hwnd)) SendMessage(m.hwnd, m.message, m.wParam, m.lParam);
        return true;
    }
    if (e->type() == kQuitEvent) {
        EndAllModal(kModalQuit);
        QCoreApplication::exit(ExitCode());
        return true;
    }
    return QObject::event(e);
}

int QtWindowHost::Run()
{
    if (QuitPosted()) return ExitCode();
    return QCoreApplication::exec();
}

// ---- timers --------------------------------------------------------------------

void QtWindowHost::SetTimer(WindowId w, UINT id, int ms)
{
    if (!IsWindow(w)) return;
    auto& t = timers_[{w, id}];
    if (!t) {
        t = std::make_unique<QTimer>();
        t->setTimerType(Qt::PreciseTimer);
        QObject::connect(t.get(), &QTimer::timeout, this, [this, w, id] {
            if (timers_.count({w, id})) SendMessage(w, WM_TIMER, id, 0);
        });
    }
    t->start(std::max(ms, 1));  // starting a running QTimer restarts its period
}

void QtWindowHost::KillTimer(WindowId w, UINT id)
{
    auto it = timers_.find({w, id});
    if (it == timers_.end()) return;
    // The timer may be the one whose timeout is running right now.
    it->second->stop();
    it->second.release()->deleteLater();
    timers_.erase(it);
}

// ---- painting --------------------------------------------------------------------

void QtWindowHost::InvalidateRect(WindowId w, const Rect& r)
{
    Win* win = Find(w);
    if (!win) return;
    if (win->isEdit) {
        if (win->edit) win->edit->update();
        return;
    }
    if (win->widget && !r.IsEmpty()) win->widget->update(ToQRect(r));
}

void QtWindowHost::Invalidate(WindowId w)
{
    Win* win = Find(w);
    if (win && win->Widget()) win->Widget()->update();
}

void QtWindowHost::UpdateWindow(WindowId w)
{
    Win* win = Find(TopLevelOf(w));
    if (win && win->widget && win->widget->isVisible()) win->widget->repaint();
}

// ---- mouse -----------------------------------------------------------------------

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

// ---- placement and activation --------------------------------------------------------

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

// ---- modal runs ------------------------------------------------------------------------

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

void QtWindowHost::RunModalLoop(ModalFrame& frame)
{
    Win* win = Find(frame.window);
    if (!win || !win->widget) {
        frame.ended = true;
        frame.result = IDCANCEL;
        return;
    }
    QEventLoop loop;
    frame.wake = [&loop] { loop.exit(); };
    // Qt blocks the owner's window hierarchy too, so that the desktop
    // keeps the dialog above it; a run without an owner (the main
    // window) blocks nothing.
    if (win->owner) win->widget->setWindowModality(Qt::WindowModal);
    // A main window started in the tray stays unmapped until the tray
    // icon or a second start asks for it.
    if (frame.show) ShowWindow(frame.window, SW_SHOW);
    if (!frame.ended) loop.exec();
    frame.wake = nullptr;
}

void QtWindowHost::ModalRunDone(WindowId w)
{
    if (Win* win = Find(w); win && win->widget) win->widget->setWindowModality(Qt::NonModal);
}

// ---- edit boxes ------------------------------------------------------------------------

std::unique_ptr<WindowRecord> QtWindowHost::NewEdit(WindowId id, WindowRecord& parent, const Rect& r,
                                                   const EditParams& params)
{
    auto& p = static_cast<Win&>(parent);
    if (!p.widget) return nullptr;
    auto win = std::make_unique<Win>();
    auto* edit = new QLineEdit(p.widget);
    edit->setFrame(false);
    edit->setGeometry(ToQRect(r));
    edit->setFont(ToQFont(params.font));
    Qt::Alignment align = (params.align & DT_CENTER) ? Qt::AlignHCenter
                          : (params.align & DT_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
    edit->setAlignment(align | Qt::AlignVCenter);
    if (params.maxLength > 0) edit->setMaxLength(params.maxLength);
    if (!params.accessibleName.empty())
        edit->setAccessibleName(QString::fromUtf16(params.accessibleName.data(), qsizetype(params.accessibleName.size())));
    QPalette pal = edit->palette();
    pal.setColor(QPalette::Base, QColor(GetRValue(params.backColour), GetGValue(params.backColour), GetBValue(params.backColour)));
    pal.setColor(QPalette::Text, QColor(GetRValue(params.textColour), GetGValue(params.textColour), GetBValue(params.textColour)));
    edit->setPalette(pal);
    edit->installEventFilter(this);
    QObject::connect(edit, &QLineEdit::textChanged, this, [this, id] { NotifyParent(id, EN_CHANGE); });
    win->edit = edit;
    byWidget_[edit] = id;
    edit->setVisible(params.visible);
    return win;
}

void QtWindowHost::SetEditSelection(WindowId edit, int start, int end)
{
    Win* win = Find(edit);
    if (!win || !win->edit) return;
    int n = static_cast<int>(win->edit->text().size());
    auto clampPos = [n](int v) { return v < 0 || v > n ? n : v; };
    int a = clampPos(start), b = clampPos(end);
    if (a > b) std::swap(a, b);
    if (a == b) win->edit->setCursorPosition(a);
    else win->edit->setSelection(a, b - a);
}

void QtWindowHost::SetFocus(WindowId w)
{
    Win* win = Find(w);
    if (!win) return;
    WindowId top = TopLevelOf(w);
    if (top != GetActiveWindow()) Activate(top, WA_ACTIVE);
    win = Find(w);
    if (!win || !win->Widget()) return;
    win->Widget()->setFocus(Qt::OtherFocusReason);
}

WindowId QtWindowHost::GetFocus() const
{
    QWidget* f = QApplication::focusWidget();
    WindowId id = WindowOfWidget(f);
    return id ? id : GetActiveWindow();
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

bool QtWindowHost::eventFilter(QObject* watched, QEvent* e)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    WindowId id = WindowOfWidget(widget);
    if (!id || !Find(id) || !Find(id)->isEdit) return QObject::eventFilter(watched, e);
    switch (e->type()) {
    case QEvent::KeyPress: {
        auto* k = static_cast<QKeyEvent*>(e);
        LPARAM l = k->isAutoRepeat() ? (1 << 30) | 1 : 1;
        if (!KeyInput(id, WM_KEYDOWN, VirtualKeyFromKeyEvent(*k), l)) return true;
        // The dialog sees each character first and may keep it from the edit.
        for (QChar c : k->text())
            if (c.unicode() >= 0x08 && !KeyInput(id, WM_CHAR, c.unicode(), l)) return true;
        return false;
    }
    case QEvent::KeyRelease: {
        auto* k = static_cast<QKeyEvent*>(e);
        return !KeyInput(id, WM_KEYUP, VirtualKeyFromKeyEvent(*k), static_cast<LPARAM>(0xC0000001u));
    }
    case QEvent::FocusIn: NotifyParent(id, EN_SETFOCUS); break;
    case QEvent::FocusOut: NotifyParent(id, EN_KILLFOCUS); break;
    case QEvent::MouseButtonPress:
        if (WindowId top = TopLevelOf(id); !AcceptsInput(top)) return true;
        else if (top != GetActiveWindow()) Activate(top, WA_CLICKACTIVE);
        break;
    default: break;
    }
    return QObject::eventFilter(watched, e);
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
