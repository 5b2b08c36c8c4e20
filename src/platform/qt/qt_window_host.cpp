// The Qt host's core: its windows' widgets and records, posted messages on
// the Qt loop, timers, repainting, and nested loops for modal runs.
#include "platform/qt/qt_window_host.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTimer>
#include <algorithm>

#include "platform/qt/handover_marks.h"
#include "platform/qt/qt_accessible.h"
#include "platform/qt/qt_host_widget.h"

namespace platform {

namespace {

const QEvent::Type kPostedEvent = static_cast<QEvent::Type>(QEvent::registerEventType());
const QEvent::Type kQuitEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

struct PostedEvent : QEvent {
    explicit PostedEvent(const Msg& m) : QEvent(kPostedEvent), msg(m) {}
    Msg msg;
};

}  // namespace

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
    auto* e = new PostedEvent(msg);
    MarkHandedOver(e);
    QCoreApplication::postEvent(this, e);
}

void QtWindowHost::QuitRequested()
{
    auto* e = new QEvent(kQuitEvent);
    MarkHandedOver(e);
    QCoreApplication::postEvent(this, e);
}

bool QtWindowHost::event(QEvent* e)
{
    MarkTakenOver(e);
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

// ---- modal runs ------------------------------------------------------------------------

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

}  // namespace platform
