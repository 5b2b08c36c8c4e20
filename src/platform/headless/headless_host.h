#pragma once
// The window host for tests: no screen, no real time. Windows live on a
// virtual screen, time moves only through Advance, input is synthetic, every
// window paints into an image a test can read, and modal runs are scripted.
//
// Delivery: after each synthetic input event and during Advance the host
// delivers posted messages (in posting order, including those posted from
// other threads) and paints what was invalidated, like a real loop between
// two input events. Timers fire inside Advance in order of their due times
// (same due time: in the order they were set).
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/window/window_book.h"

namespace platform {

// Virtual time shared with other threads: NowMs is safe anywhere. SleepMs
// only moves time forward (from whatever thread); timers due by then fire at
// the next Advance or ProcessPending on the window thread.
class HeadlessClock final : public IClock {
public:
    int64_t NowMs() const override { return now_.load(); }
    void SleepMs(int ms) override { if (ms > 0) now_.fetch_add(ms); }
    void Set(int64_t ms) { now_.store(ms); }
private:
    std::atomic<int64_t> now_{0};
};

class HeadlessHost;

enum class MouseButton { Left, Right, Middle };

// What a script sees while a modal dialog runs. The dialog is shown and
// initialised; the script acts on it and normally ends it (through the
// dialog's own buttons, or End).
struct HeadlessModal {
    HeadlessHost& host;
    WindowId window;
    std::u16string kind;  // from DescribeWindow; empty when the toolkit said nothing
    std::u16string text;

    // Left click at a client point of the dialog (move, press, release).
    void ClickAt(Point client);
    // Sends a message to the dialog, as a control of it would: posting the
    // OK button's own message (id, CE_CLICK) is how a script "clicks OK"
    // without knowing where the button is.
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam);
    // Focuses the dialog's edit box with this control id, replaces its text
    // by typing each character (PreTranslateMessage sees every one) and
    // returns false when the dialog has no such edit.
    bool TypeInto(int editControlId, const std::u16string& text);
    void Key(UINT vk);
    void Advance(int ms);
    // Ends the run with result if the dialog did not end it itself.
    void End(LRESULT result);
    bool Ended() const;
};

using ModalScript = std::function<void(HeadlessModal&)>;

// One modal run as the log keeps it.
struct ModalRecord {
    std::u16string kind;
    std::u16string text;
    LRESULT result = 0;
    bool scripted = false;  // false: no script was queued and the run ended with IDCANCEL
};

class HeadlessHost final : public WindowBook {
public:
    explicit HeadlessHost(Rect screen = {0, 0, 1920, 1080}, Rect workArea = {0, 0, 1920, 1040},
                          IGraphics* graphics = nullptr);
    // Windows still open are dropped without WM_DESTROY.
    ~HeadlessHost() override;
    HeadlessHost(const HeadlessHost&) = delete;
    HeadlessHost& operator=(const HeadlessHost&) = delete;

    // ---- time ----
    // Moves the clock forward ms, firing every timer that falls due on the
    // way at its due time (the clock reads that time inside WM_TIMER) and
    // delivering posted messages before and after each.
    void Advance(int ms);
    // Delivers posted messages and paints, without moving time.
    void ProcessPending();
    HeadlessClock& VirtualClock() { return clock_; }

    // ---- synthetic input, in screen coordinates ----
    void MoveMouse(Point screen);
    void PressButton(MouseButton b = MouseButton::Left);
    void ReleaseButton(MouseButton b = MouseButton::Left);
    // Press and release twice at the current point; the second press arrives
    // as WM_LBUTTONDBLCLK. (Separate presses are never merged into a double
    // click, however close in time: tests say which one they mean.)
    void DoubleClick();
    void Wheel(int delta);
    // Convenience: move to a client point of w, then press and release.
    void Click(WindowId w, Point client, MouseButton b = MouseButton::Left);
    void MoveMouseTo(WindowId w, Point client) { MoveMouse(ClientToScreen(w, client)); }
    // To the focused edit box, else the active window: WM_KEYDOWN, WM_CHAR
    // for printable keys, WM_KEYUP, each through PreTranslateMessage.
    void KeyDown(UINT vk);
    void KeyUp(UINT vk);
    void PressKey(UINT vk) { KeyDown(vk); KeyUp(vk); }
    // Each character as WM_CHAR to the focus.
    void TypeText(const std::u16string& text);
    // The user turns to another program: the active window hears
    // WM_ACTIVATE(WA_INACTIVE) and none of ours is active afterwards.
    void ActivateOtherProgram();

    // ---- painting ----
    // Paints what is pending and returns the window's client image (null for
    // no window). Valid until the window is destroyed or resized.
    const IImage* Snapshot(WindowId w);
    int PaintCount(WindowId w) const;
    // What assistive technology would read in the window: its controls in
    // tab order, one line each: "role \"name\" = value [states]".
    std::vector<AccessibleNode> AccessibleTree(WindowId w);
    std::u16string AccessibleText(WindowId w);
    // The focus and state events the toolkit reported, oldest first.
    struct AccessibleEvent {
        WindowId window;
        int controlId;
        bool focus;  // false: a state or value change
    };
    const std::vector<AccessibleEvent>& AccessibleEvents() const { return accessibleEvents_; }
    void AccessibleFocusChanged(WindowId w, int controlId) override { accessibleEvents_.push_back({w, controlId, true}); }
    void AccessibleStateChanged(WindowId w, int controlId) override { accessibleEvents_.push_back({w, controlId, false}); }

    // ---- modal scripting ----
    // Queues a script for the next modal run whose kind matches (empty kind
    // matches any). Runs without a matching script end with IDCANCEL.
    void ScriptModal(ModalScript script) { ScriptModal(u"", std::move(script)); }
    void ScriptModal(const std::u16string& kind, ModalScript script);
    const std::vector<ModalRecord>& ModalLog() const { return modalLog_; }
    void ClearModalLog() { modalLog_.clear(); }

    // ---- introspection ----
    bool IsTimerRunning(WindowId w, UINT id) const;
    std::vector<WindowId> TopLevelWindows() const;  // bottom to top
    WindowId WindowAt(Point screen) const;

    // ---- IWindowHost (the rest is the shared WindowBook) ----
    void SetTimer(WindowId w, UINT id, int ms) override;
    void KillTimer(WindowId w, UINT id) override;
    void InvalidateRect(WindowId w, const Rect& r) override;
    void Invalidate(WindowId w) override;
    void UpdateWindow(WindowId w) override;
    bool TrackMouseEvent(WindowId w, UINT flags, int hoverMs) override;
    Point GetCursorPos() const override { return cursor_; }
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
    void SetWindowText(WindowId w, const std::u16string& text) override;
    std::u16string GetWindowText(WindowId w) const override;
    // Records the run in the modal log.
    LRESULT RunModal(WindowId w) override;
    void SetEditSelection(WindowId edit, int start, int end) override;
    void SetFocus(WindowId w) override;
    WindowId GetFocus() const override { return focus_; }
    Rect GetScreenRect() const override { return screen_; }
    Rect GetWorkArea() const override { return workArea_; }
    int LogicalDpi() const override { return 96; }
    IGraphics& Graphics() override;
    IClock& Clock() override { return clock_; }
    bool IsWindowThread() const override { return std::this_thread::get_id() == thread_; }
    // Runs ProcessPending until PostQuitMessage; there is no real time, so a
    // program that waits for a timer here waits for ever: tests use Advance.
    int Run() override;

    // Edit state a test may read.
    int EditSelectionStart(WindowId edit) const;
    int EditSelectionEnd(WindowId edit) const;

private:
    friend struct HeadlessModal;
    struct Win;
    struct Timer {
        int64_t due = 0;
        uint64_t seq = 0;
        int period = 0;
    };

    // ---- WindowBook ----
    std::unique_ptr<WindowRecord> NewWindow(WindowId id, IWindowClient* client, const WindowParams& params,
                                            WindowId owner) override;
    std::unique_ptr<WindowRecord> NewEdit(WindowId id, WindowRecord& parent, const Rect& r,
                                          const EditParams& params) override;
    void Enqueue(const Msg& msg) override;
    void RunModalLoop(ModalFrame& frame) override;
    void Unhook(WindowRecord& win) override;
    void Deactivating(WindowId old) override;
    void Activated(WindowId w) override;
    void NothingActive() override { focus_ = 0; }
    void CaptureReleased(WindowId) override { CheckLeave(); }

    Win* Find(WindowId w);
    const Win* Find(WindowId w) const;
    void Raise(WindowId w);
    bool DeliverPosted();
    void PaintPending();
    void PaintNow(WindowId w);
    bool NextDue(int64_t limit, int64_t* due) const;
    void FireOne(int64_t due);
    void SendMouse(UINT message, WindowId target, WPARAM keys, LPARAM extra = 0);
    void AfterInput();
    void CheckLeave();
    // False when the key went nowhere or PreTranslateMessage swallowed it.
    bool DeliverKey(UINT message, WPARAM wParam, LPARAM lParam);
    void EditChar(WindowId edit, char16_t c);
    void EditKey(WindowId edit, UINT vk);
    void SetEditText(WindowId edit, const std::u16string& text, int caret);
    WPARAM KeyFlags() const;

    Rect screen_;
    Rect workArea_;
    IGraphics* graphics_ = nullptr;
    std::unique_ptr<IGraphics> ownGraphics_;
    HeadlessClock clock_;
    std::thread::id thread_;
    std::vector<WindowId> zOrder_;  // top-level windows, bottom to top
    std::map<std::pair<WindowId, UINT>, Timer> timers_;
    uint64_t timerSeq_ = 0;
    mutable std::mutex postMutex_;
    std::deque<Msg> posted_;     // guarded by postMutex_
    std::vector<std::pair<std::u16string, ModalScript>> scripts_;
    std::vector<ModalRecord> modalLog_;
    std::vector<AccessibleEvent> accessibleEvents_;
    std::vector<ModalRecord*> runningRecords_;  // innermost run last
    WindowId focus_ = 0;
    WindowId dragging_ = 0;
    Point dragStart_;
    Rect dragRect_;
    Point cursor_{-1, -1};
    bool buttons_[3] = {false, false, false};
    bool shift_ = false;
    bool control_ = false;
};

}  // namespace platform
