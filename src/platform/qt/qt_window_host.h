#pragma once
// The Qt 6 Widgets window host: frameless top-level widgets that paint from
// an off-screen image in one copy, Qt input turned into the numbered
// messages, timers and posted messages on the Qt loop, nested loops for
// modal runs, popups and the translucent on-screen display.
#include <QObject>
#include <QPointer>
#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "platform/draw/qt_canvas.h"
#include "platform/window/window_book.h"

class QEventLoop;
class QLineEdit;
class QTimer;
class QWidget;

namespace platform {

class HostWidget;

class QtWindowHost final : public QObject, public WindowBook {
public:
    QtWindowHost();
    ~QtWindowHost() override;

    // The rest of IWindowHost is the shared WindowBook.
    void SetTimer(WindowId w, UINT id, int ms) override;
    void KillTimer(WindowId w, UINT id) override;
    void InvalidateRect(WindowId w, const Rect& r) override;
    void Invalidate(WindowId w) override;
    void UpdateWindow(WindowId w) override;
    bool TrackMouseEvent(WindowId w, UINT flags, int hoverMs) override;
    Point GetCursorPos() const override;
    void StartWindowDrag(WindowId w) override;
    void ShowWindow(WindowId w, int showCommand) override;
    bool IsWindowVisible(WindowId w) const override;
    bool IsIconic(WindowId w) const override;
    void SetWindowPos(WindowId w, const Rect& r) override;
    void SetTopmost(WindowId w, bool topmost) override;
    void SetOpacity(WindowId w, int opacity) override;
    Rect GetWindowRect(WindowId w) const override;
    Rect GetClientRect(WindowId w) const override;
    Point ClientToScreen(WindowId w, Point p) const override;
    Point ScreenToClient(WindowId w, Point p) const override;
    void SetForegroundWindow(WindowId w) override;
    void EnableWindow(WindowId w, bool enable) override;
    void SetWindowText(WindowId w, const std::u16string& text) override;
    std::u16string GetWindowText(WindowId w) const override;
    void DescribeWindow(WindowId w, const std::u16string& kind, const std::u16string& text) override;
    void AccessibleFocusChanged(WindowId w, int controlId) override;
    void AccessibleStateChanged(WindowId w, int controlId) override;
    void SetEditSelection(WindowId edit, int start, int end) override;
    void SetFocus(WindowId w) override;
    WindowId GetFocus() const override;
    Rect GetScreenRect() const override;
    Rect GetWorkArea() const override;
    int LogicalDpi() const override;
    IGraphics& Graphics() override { return graphics_; }
    IClock& Clock() override { return clock_; }
    bool IsWindowThread() const override { return std::this_thread::get_id() == thread_; }
    int Run() override;

    // The widget behind a window or edit box (tests and the demo drive it
    // with synthetic Qt events); null for no window.
    QWidget* WidgetOf(WindowId w) const;
    // The window a widget belongs to, 0 when it is none of ours.
    WindowId WindowOfWidget(const QWidget* widget) const;

    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    friend class HostWidget;
    struct Win;

    // ---- WindowBook ----
    std::unique_ptr<WindowRecord> NewWindow(WindowId id, IWindowClient* client, const WindowParams& params,
                                            WindowId owner) override;
    std::unique_ptr<WindowRecord> NewEdit(WindowId id, WindowRecord& parent, const Rect& r,
                                          const EditParams& params) override;
    void Enqueue(const Msg& msg) override;
    void RunModalLoop(ModalFrame& frame) override;
    void Unhook(WindowRecord& win) override;
    void Release(WindowRecord& win) override;
    void WillActivate(WindowId w) override;
    void QuitRequested() override;
    void CaptureReleased(WindowId was) override;
    void ModalRunDone(WindowId w) override;

    Win* Find(WindowId w);
    const Win* Find(WindowId w) const;
    // DescribeWindow's words as the widget's accessible name and description.
    void PublishDescription(Win& win);
    void CheckApplicationActivation();
    // Input from a HostWidget, in screen coordinates.
    void MouseInput(WindowId from, UINT message, Point screen, WPARAM keys, int wheel = 0);
    void MouseLeft(WindowId from);
    bool KeyInput(WindowId target, UINT message, WPARAM wParam, LPARAM lParam);

    QtGraphics graphics_;
    SteadyClock clock_;
    std::thread::id thread_;
    std::map<const QWidget*, WindowId> byWidget_;
    std::map<std::pair<WindowId, UINT>, std::unique_ptr<QTimer>> timers_;
    WindowId dragging_ = 0;  // moved by hand where the desktop cannot move it
    Point dragStart_;
    Point lastMouse_;
    bool leftDown_ = false;
    Rect dragRect_;
    bool wayland_ = false;
    bool canRaise_ = true;
    bool trace_ = false;
};

}  // namespace platform
