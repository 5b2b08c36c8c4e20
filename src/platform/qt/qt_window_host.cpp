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

// Qt key codes to the desktop's virtual-key codes the program speaks.
UINT VirtualKey(int key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<UINT>('A' + (key - Qt::Key_A));
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<UINT>('0' + (key - Qt::Key_0));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return VK_F1 + static_cast<UINT>(key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab: case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return: case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Pause: return VK_PAUSE;
    case Qt::Key_CapsLock: return VK_CAPITAL;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Print: return VK_SNAPSHOT;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Help: return VK_HELP;
    case Qt::Key_Meta: case Qt::Key_Super_L: return VK_LWIN;
    case Qt::Key_Super_R: return VK_RWIN;
    case Qt::Key_Menu: return VK_APPS;
    case Qt::Key_NumLock: return VK_NUMLOCK;
    case Qt::Key_ScrollLock: return VK_SCROLL;
    case Qt::Key_Semicolon: case Qt::Key_Colon: return VK_OEM_1;
    case Qt::Key_Plus: case Qt::Key_Equal: return VK_OEM_PLUS;
    case Qt::Key_Comma: case Qt::Key_Less: return VK_OEM_COMMA;
    case Qt::Key_Minus: case Qt::Key_Underscore: return VK_OEM_MINUS;
    case Qt::Key_Period: case Qt::Key_Greater: return VK_OEM_PERIOD;
    case Qt::Key_Slash: case Qt::Key_Question: return VK_OEM_2;
    case Qt::Key_QuoteLeft: case Qt::Key_AsciiTilde: return VK_OEM_3;
    case Qt::Key_BracketLeft: case Qt::Key_BraceLeft: return VK_OEM_4;
    case Qt::Key_Backslash: case Qt::Key_Bar: return VK_OEM_5;
    case Qt::Key_BracketRight: case Qt::Key_BraceRight: return VK_OEM_6;
    case Qt::Key_Apostrophe: case Qt::Key_QuoteDbl: return VK_OEM_7;
    case Qt::Key_VolumeMute: return VK_VOLUME_MUTE;
    case Qt::Key_VolumeDown: return VK_VOLUME_DOWN;
    case Qt::Key_VolumeUp: return VK_VOLUME_UP;
    case Qt::Key_MediaNext: return VK_MEDIA_NEXT_TRACK;
    case Qt::Key_MediaPrevious: return VK_MEDIA_PREV_TRACK;
    case Qt::Key_MediaStop: return VK_MEDIA_STOP;
    case Qt::Key_MediaPlay: case Qt::Key_MediaTogglePlayPause: return VK_MEDIA_PLAY_PAUSE;
    default: return 0;
    }
}

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

    IWindowClient* client = nullptr;
    bool closingByHost = false;

protected:
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
        if (host_->KeyInput(id_, WM_KEYDOWN, VirtualKey(e->key()), l))
            for (QChar c : e->text())
                if (c.unicode() >= 0x08) host_->KeyInput(id_, WM_CHAR, c.unicode(), l);
    }
    void keyReleaseEvent(QKeyEvent* e) override
    {
        host_->KeyInput(id_, WM_KEYUP, VirtualKey(e->key()), static_cast<LPARAM>(0xC0000001u));
    }
    void closeEvent(QCloseEvent* e) override;
    void moveEvent(QMoveEvent*) override { host_->PostMessage(id_, WM_MOVE, 0, MAKELPARAM(x(), y())); }
    void resizeEvent(QResizeEvent*) override { host_->PostMessage(id_, WM_SIZE, 0, MAKELPARAM(width(), height())); }

private:
    QtWindowHost* host_;
    WindowId id_;
};

struct QtWindowHost::Win {
    WindowId id = 0;
    WindowKind kind = WindowKind::Dialog;
    bool kindPopup = false;
    WindowId owner = 0;
    bool isEdit = false;
    int controlId = 0;
    QPointer<HostWidget> widget;
    QPointer<QLineEdit> edit;
    IWindowClient* client = nullptr;
    bool destroying = false;
    bool enabled = true;
    UINT track = 0;
    int hoverMs = 0;
    std::unique_ptr<QTimer> hoverTimer;
    std::vector<WindowId> edits;
    std::u16string describedKind;
    std::u16string describedText;

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
    if (host_->Find(id_) && host_->Find(id_)->kindPopup && host_->active_ == id_) {
        host_->active_ = 0;
        host_->SendMessage(id_, WM_ACTIVATE, WA_INACTIVE, 0);
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
    for (auto& [id, win] : windows_) {
        if (win->widget) {
            win->widget->client = nullptr;
            win->widget->closingByHost = true;
        }
    }
    std::vector<QPointer<HostWidget>> widgets;
    for (auto& [id, win] : windows_)
        if (win->widget && !win->widget->parentWidget()) widgets.push_back(win->widget);
    windows_.clear();
    for (auto& w : widgets) delete w.data();
}

QtWindowHost::Win* QtWindowHost::Find(WindowId w)
{
    auto it = windows_.find(w);
    return it == windows_.end() ? nullptr : it->second.get();
}

const QtWindowHost::Win* QtWindowHost::Find(WindowId w) const
{
    auto it = windows_.find(w);
    return it == windows_.end() ? nullptr : it->second.get();
}

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

WindowId QtWindowHost::TopLevelOf(WindowId w) const
{
    const Win* win = Find(w);
    if (!win) return 0;
    return win->isEdit ? win->owner : w;
}

bool QtWindowHost::AcceptsInput(WindowId top) const
{
    const Win* win = Find(top);
    if (!win || !win->enabled || win->kind == WindowKind::Overlay) return false;
    // A modal run disables its owner, as a dialog does on the desktop; the
    // dialog itself, its popups and unrelated windows stay usable.
    for (const ModalFrame* f : modalStack_)
        if (!f->ended && GetOwner(f->window) == top) return false;
    return true;
}

WindowId QtWindowHost::CreateWindow(IWindowClient* client, const WindowParams& params)
{
    const Win* owner = Find(params.owner);
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
    WindowId id = nextId_.fetch_add(1);
    win->id = id;
    win->kind = params.kind;
    win->kindPopup = params.kind == WindowKind::Popup;
    win->owner = owner ? params.owner : 0;
    win->client = client;
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
    windows_[id] = std::move(win);
    if (client && client->OnMessage(id, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(id);
        return 0;
    }
    if (params.visible && Find(id))
        ShowWindow(id, params.kind == WindowKind::Overlay ? SW_SHOWNOACTIVATE : SW_SHOW);
    return Find(id) ? id : 0;
}

void QtWindowHost::DestroyWindow(WindowId w)
{
    Win* win = Find(w);
    if (!win || win->destroying) return;
    win->destroying = true;
    std::vector<WindowId> edits = win->edits;
    for (WindowId e : edits) DestroyWindow(e);
    std::vector<WindowId> owned;
    for (auto& [id, o] : windows_)
        if (!o->isEdit && o->owner == w) owned.push_back(id);
    for (WindowId o : owned) DestroyWindow(o);
    win = Find(w);
    if (!win) return;
    {
        std::lock_guard<std::mutex> lock(goneMutex_);
        gone_.insert(w);
    }
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
    for (ModalFrame* f : modalStack_)
        if (f->window == w && !f->ended) {
            f->ended = true;
            f->result = IDCANCEL;
            if (f->loop) f->loop->exit();
        }
    earlyEnds_.erase(w);
    if (capture_ == w) capture_ = 0;
    if (dragging_ == w) dragging_ = 0;
    bool wasActive = active_ == w;
    if (wasActive) active_ = 0;
    IWindowClient* client = win->client;
    if (win->isEdit) {
        if (Win* parent = Find(win->owner)) {
            auto& v = parent->edits;
            v.erase(std::remove(v.begin(), v.end(), w), v.end());
        }
    }
    if (client) client->OnMessage(w, WM_DESTROY, 0, 0);
    win = Find(w);
    if (!win) return;
    WindowId owner = win->owner;
    QWidget* widget = win->Widget();
    if (win->widget) {
        win->widget->client = nullptr;
        win->widget->closingByHost = true;
    }
    if (widget) {
        byWidget_.erase(widget);
        widget->hide();
        // Deleting later is safe even from inside the widget's own event.
        widget->deleteLater();
    }
    windows_.erase(w);
    if (wasActive) ActivateAfterLoss(owner);
}

bool QtWindowHost::IsWindow(WindowId w) const
{
    const Win* win = Find(w);
    return win && !win->destroying;
}

WindowId QtWindowHost::GetOwner(WindowId w) const
{
    const Win* win = Find(w);
    return win ? win->owner : 0;
}

// ---- messages ----------------------------------------------------------------

LRESULT QtWindowHost::SendMessage(WindowId w, UINT message, WPARAM wParam, LPARAM lParam)
{
    Win* win = Find(w);
    if (!win) return 0;
    if (win->isEdit) {
        if (message == WM_SETFOCUS) SetFocus(w);
        if (message == WM_KILLFOCUS && win->edit && win->edit->hasFocus()) SetFocus(win->owner);
        return 0;
    }
    if (!win->client) return 0;
    LRESULT r = win->client->OnMessage(w, message, wParam, lParam);
    if (message == WM_NCLBUTTONDOWN && wParam == HTCAPTION && IsWindow(w)) StartWindowDrag(w);
    return r;
}

bool QtWindowHost::PostMessage(WindowId w, UINT message, WPARAM wParam, LPARAM lParam)
{
    {
        std::lock_guard<std::mutex> lock(goneMutex_);
        if (w == 0 || w >= nextId_.load() || gone_.count(w)) return false;
    }
    // Qt keeps events to one receiver in posting order, from any thread.
    QCoreApplication::postEvent(this, new PostedEvent(Msg{w, message, wParam, lParam}));
    return true;
}

void QtWindowHost::PostQuitMessage(int exitCode)
{
    exitCode_ = exitCode;
    quit_ = true;
    QCoreApplication::postEvent(this, new QEvent(kQuitEvent));
}

void QtWindowHost::EndAllModal(LRESULT result)
{
    for (ModalFrame* f : modalStack_) {
        if (!f->ended) {
            f->ended = true;
            f->result = result;
        }
        if (f->loop) f->loop->exit();
    }
}

bool QtWindowHost::event(QEvent* e)
{
    if (e->type() == kPostedEvent) {
        const Msg& m = static_cast<PostedEvent*>(e)->msg;
        if (IsWindow(m.hwnd)) SendMessage(m.hwnd, m.message, m.wParam, m.lParam);
        return true;
    }
    if (e->type() == kQuitEvent) {
        EndAllModal(kModalQuit);
        QCoreApplication::exit(exitCode_);
        return true;
    }
    return QObject::event(e);
}

int QtWindowHost::Run()
{
    if (quit_) return exitCode_;
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
    WindowId target = capture_ ? capture_ : from;
    Win* win = Find(target);
    if (!win || !win->widget) return;
    if (!capture_ && !AcceptsInput(target)) return;
    bool press = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN ||
                 message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK;
    if (press && !capture_) {
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

void QtWindowHost::SetCapture(WindowId w)
{
    if (IsWindow(w)) capture_ = TopLevelOf(w);
}

void QtWindowHost::ReleaseCapture()
{
    WindowId was = capture_;
    capture_ = 0;
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
        if (inside || capture_ == w) win->track |= TME_LEAVE;
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
    capture_ = 0;
    QWindow* handle = win->widget->windowHandle();
    if (handle && handle->startSystemMove()) return;
    dragging_ = win->id;
    // Where the pointer was when the button went down, as the event said
    // (the cursor position lags behind synthetic and remote input).
    dragStart_ = lastMouse_;
    dragRect_ = GetWindowRect(win->id);
}

// ---- placement and activation --------------------------------------------------------

void QtWindowHost::Activate(WindowId w, WPARAM how)
{
    if (trace_) std::fprintf(stderr, "window: activate %llu (was %llu)\n", (unsigned long long)w, (unsigned long long)active_);
    Win* win = Find(w);
    if (!win || win->isEdit || win->kind == WindowKind::Overlay) return;
    if (win->widget) {
        if (canRaise_) win->widget->raise();
        win->widget->activateWindow();
    }
    if (w == active_) return;
    WindowId old = active_;
    active_ = w;
    if (IsWindow(old)) SendMessage(old, WM_ACTIVATE, WA_INACTIVE, 0);
    if (active_ != w || !IsWindow(w)) return;
    SendMessage(w, WM_ACTIVATE, how, 0);
}

void QtWindowHost::ActivateAfterLoss(WindowId owner)
{
    if (active_) return;
    const Win* o = Find(owner);
    if (o && o->widget && o->widget->isVisible() && !o->destroying) Activate(owner, WA_ACTIVE);
}

void QtWindowHost::CheckApplicationActivation()
{
    if (trace_)
        std::fprintf(stderr, "window: application %s, active widget is window %llu\n",
                     QGuiApplication::applicationState() == Qt::ApplicationActive ? "active" : "inactive",
                     (unsigned long long)WindowOfWidget(QApplication::activeWindow()));
    if (QGuiApplication::applicationState() == Qt::ApplicationActive) {
        WindowId now = WindowOfWidget(QApplication::activeWindow());
        if (now && now != active_ && AcceptsInput(now)) Activate(now, WA_ACTIVE);
        return;
    }
    // Another program took the focus.
    WindowId was = active_;
    active_ = 0;
    if (IsWindow(was)) SendMessage(was, WM_ACTIVATE, WA_INACTIVE, 0);
}

void QtWindowHost::ShowWindow(WindowId w, int cmd)
{
    Win* win = Find(w);
    if (!win || !win->Widget()) return;
    QWidget* widget = win->Widget();
    if (cmd == SW_HIDE) {
        bool was = widget->isVisible();
        widget->hide();
        if (capture_ == w) capture_ = 0;
        if (was && !win->isEdit) SendMessage(w, WM_SHOWWINDOW, 0, 0);
        if (active_ == w) {
            active_ = 0;
            ActivateAfterLoss(Find(w) ? Find(w)->owner : 0);
        }
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
        return;
    }
    if (cmd == SW_RESTORE && widget->isMinimized()) widget->showNormal();
    else widget->show();
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
    Win* win = Find(w);
    if (!win) return;
    win->enabled = enable;
    if (win->isEdit && win->edit) win->edit->setEnabled(enable);
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

void QtWindowHost::DescribeWindow(WindowId w, const std::u16string& kind, const std::u16string& text)
{
    Win* win = Find(w);
    if (!win) return;
    win->describedKind = kind;
    win->describedText = text;
    if (win->widget) {
        win->widget->setAccessibleName(ToQString(kind));
        win->widget->setAccessibleDescription(ToQString(text));
    }
}

void QtWindowHost::EndModal(WindowId w, LRESULT result)
{
    for (auto it = modalStack_.rbegin(); it != modalStack_.rend(); ++it)
        if ((*it)->window == w) {
            if (!(*it)->ended) {
                (*it)->ended = true;
                (*it)->result = result;
            }
            if ((*it)->loop) (*it)->loop->exit();
            return;
        }
    if (IsWindow(w)) earlyEnds_[w] = result;
}

LRESULT QtWindowHost::RunModal(WindowId w)
{
    if (quit_) return kModalQuit;
    Win* win = Find(w);
    if (!win || !win->widget) return IDCANCEL;
    ModalFrame frame;
    frame.window = w;
    if (auto it = earlyEnds_.find(w); it != earlyEnds_.end()) {
        frame.ended = true;
        frame.result = it->second;
        earlyEnds_.erase(it);
    }
    if (!frame.ended) {
        QEventLoop loop;
        frame.loop = &loop;
        modalStack_.push_back(&frame);
        // Qt blocks the owner's window hierarchy too, so that the desktop
        // keeps the dialog above it; a run without an owner (the main
        // window) blocks nothing.
        if (win->owner) win->widget->setWindowModality(Qt::WindowModal);
        ShowWindow(w, SW_SHOW);
        if (!frame.ended) loop.exec();
        frame.loop = nullptr;
        modalStack_.erase(std::remove(modalStack_.begin(), modalStack_.end(), &frame), modalStack_.end());
    }
    if (Win* still = Find(w); still && still->widget) {
        ShowWindow(w, SW_HIDE);
        if (Find(w) && Find(w)->widget) Find(w)->widget->setWindowModality(Qt::NonModal);
    }
    return frame.result;
}

// ---- edit boxes ------------------------------------------------------------------------

WindowId QtWindowHost::CreateEdit(WindowId parent, int controlId, const Rect& r, const EditParams& params)
{
    Win* p = Find(parent);
    if (!p || p->isEdit || !p->widget) return 0;
    auto win = std::make_unique<Win>();
    WindowId id = nextId_.fetch_add(1);
    win->id = id;
    win->isEdit = true;
    win->owner = parent;
    win->controlId = controlId;
    auto* edit = new QLineEdit(p->widget);
    edit->setFrame(false);
    edit->setGeometry(ToQRect(r));
    edit->setFont(ToQFont(params.font));
    Qt::Alignment align = (params.align & DT_CENTER) ? Qt::AlignHCenter
                          : (params.align & DT_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
    edit->setAlignment(align | Qt::AlignVCenter);
    if (params.maxLength > 0) edit->setMaxLength(params.maxLength);
    QPalette pal = edit->palette();
    pal.setColor(QPalette::Base, QColor(GetRValue(params.backColour), GetGValue(params.backColour), GetBValue(params.backColour)));
    pal.setColor(QPalette::Text, QColor(GetRValue(params.textColour), GetGValue(params.textColour), GetBValue(params.textColour)));
    edit->setPalette(pal);
    edit->installEventFilter(this);
    QObject::connect(edit, &QLineEdit::textChanged, this, [this, id] { Notify(id, EN_CHANGE); });
    win->edit = edit;
    byWidget_[edit] = id;
    p->edits.push_back(id);
    windows_[id] = std::move(win);
    edit->setVisible(params.visible);
    return id;
}

void QtWindowHost::Notify(WindowId edit, UINT code)
{
    const Win* win = Find(edit);
    if (!win || win->destroying) return;
    SendMessage(win->owner, WM_COMMAND, MAKEWPARAM(win->controlId, static_cast<int>(code)), static_cast<LPARAM>(edit));
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
    if (top != active_) Activate(top, WA_ACTIVE);
    win = Find(w);
    if (!win || !win->Widget()) return;
    win->Widget()->setFocus(Qt::OtherFocusReason);
}

WindowId QtWindowHost::GetFocus() const
{
    QWidget* f = QApplication::focusWidget();
    WindowId id = WindowOfWidget(f);
    return id ? id : active_;
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
        if (!KeyInput(id, WM_KEYDOWN, VirtualKey(k->key()), l)) return true;
        // The dialog sees each character first and may keep it from the edit.
        for (QChar c : k->text())
            if (c.unicode() >= 0x08 && !KeyInput(id, WM_CHAR, c.unicode(), l)) return true;
        return false;
    }
    case QEvent::KeyRelease: {
        auto* k = static_cast<QKeyEvent*>(e);
        return !KeyInput(id, WM_KEYUP, VirtualKey(k->key()), static_cast<LPARAM>(0xC0000001u));
    }
    case QEvent::FocusIn: Notify(id, EN_SETFOCUS); break;
    case QEvent::FocusOut: Notify(id, EN_KILLFOCUS); break;
    case QEvent::MouseButtonPress:
        if (WindowId top = TopLevelOf(id); !AcceptsInput(top)) return true;
        else if (top != active_) Activate(top, WA_CLICKACTIVE);
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
