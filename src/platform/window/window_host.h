#pragma once
// The window system as the program sees it: numbered messages delivered to
// window objects, timers by id, repaint requests, mouse capture and tracking,
// modal runs, popups, the translucent on-screen display and real edit boxes.
// Standard C++ only. Two hosts implement it: the Qt one (platform/qt) for the
// program and the headless one (platform/headless) for tests, which runs on
// a virtual clock.
//
// Threads: every call except PostMessage and PostQuitMessage belongs to the
// window thread (the thread that created the host). PostMessage may be called
// from any thread; messages posted from one thread arrive in the order they
// were posted.
#include <cstdint>
#include <string>

#include "platform/clock/clock.h"
#include "platform/draw/canvas.h"
#include "platform/window/accessible.h"
#include "platform/window/geometry.h"
#include "platform/window/messages.h"

namespace platform {

// A window or edit box; 0 is no window. Ids are never reused within a run,
// so a stale id simply names no window.
using WindowId = uint64_t;

struct Msg {
    WindowId hwnd = 0;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// The program's side of a window. The host never owns it: the toolkit keeps
// the object alive until the window's WM_DESTROY has been delivered.
//
// What OnMessage receives (see messages.h for the numbers):
// - WM_CREATE once inside CreateWindow, WM_DESTROY once inside DestroyWindow.
// - Mouse messages in client coordinates. While a window holds the capture it
//   gets every mouse message, with coordinates relative to its own client
//   area even outside it. A press on a window activates it first.
// - WM_ACTIVATE(WA_ACTIVE / WA_INACTIVE) when the window gains or loses
//   activation: a popup learns from WA_INACTIVE that the user went elsewhere.
// - WM_TIMER with the timer id, WM_CLOSE when the user or the desktop asks
//   the window to close (the host destroys nothing by itself).
// - WM_KEYDOWN / WM_KEYUP / WM_CHAR for the active window when no edit box
//   of it has the focus, after PreTranslateMessage let them through.
// - WM_COMMAND(MAKEWPARAM(control id, EN_CHANGE), edit id) when an edit's
//   text changes, EN_SETFOCUS / EN_KILLFOCUS likewise when its focus does.
//   (Sending WM_SETFOCUS or WM_KILLFOCUS to an edit box gives or takes its
//   focus.)
// - Anything sent or posted to the window.
// After WM_NCLBUTTONDOWN with wParam HTCAPTION has been handled (typically a
// message the window posted to itself while its left button is down) the
// host moves the window with the pointer until the button is released.
class IWindowClient {
public:
    virtual ~IWindowClient() = default;
    virtual LRESULT OnMessage(WindowId self, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // Draws the window. The canvas covers the whole client area and starts
    // with what was painted last time (outside dirty it must stay unchanged);
    // the host shows it in one copy, so nothing flickers.
    virtual void OnPaint(WindowId self, ICanvas& canvas, const Rect& dirty) = 0;
    // Key messages for this window or any of its edit boxes pass here first
    // (msg.hwnd is the window or edit they are for); returning true swallows
    // them: the edit never sees the character and OnMessage never gets it.
    virtual bool PreTranslateMessage(WindowId self, const Msg& msg)
    {
        (void)self;
        (void)msg;
        return false;
    }
    // The window's controls for assistive technology, in tab order; none by
    // default (a window that draws nothing a user operates).
    virtual std::vector<AccessibleNode> AccessibleNodes(WindowId self)
    {
        (void)self;
        return {};
    }
    // Carries out a node's action (its index in actions) for assistive
    // technology, as the keyboard would; false when it cannot.
    virtual bool DoAccessibleAction(WindowId self, int controlId, int action)
    {
        (void)self;
        (void)controlId;
        (void)action;
        return false;
    }
    // Sets a value control (a node with a range) to the value nearest to
    // `value`, as the arrow keys would step it there; false when it cannot.
    virtual bool SetAccessibleValue(WindowId self, int controlId, int value)
    {
        (void)self;
        (void)controlId;
        (void)value;
        return false;
    }
};

enum class WindowKind {
    // A frameless top-level window: the main window and the skinned dialogs.
    Dialog,
    // A frameless, topmost window placed at a screen rectangle over its
    // owner; it takes activation when shown and gets WM_ACTIVATE(WA_INACTIVE)
    // when the user clicks anywhere else.
    Popup,
    // A topmost window that never takes activation or input and may be
    // half transparent: the on-screen display.
    Overlay,
};

struct WindowParams {
    WindowKind kind = WindowKind::Dialog;
    // The owning window: an owned window stays above its owner and is
    // destroyed with it. 0 for none.
    WindowId owner = 0;
    // Screen rectangle of the client area (the windows have no frame).
    Rect bounds;
    std::u16string title;
    bool topmost = false;   // popups and overlays are always topmost
    int opacity = 255;      // 0..255 for the whole window (the display uses 128)
    bool visible = false;   // show at once (popups and overlays without activating anything else)
};

// Real edit boxes, children of a window, at a client rectangle.
struct EditParams {
    FontSpec font;
    unsigned align = DT_LEFT;   // DT_LEFT, DT_CENTER or DT_RIGHT
    COLORREF textColour = RGB(0, 0, 0);
    COLORREF backColour = RGB(255, 255, 255);
    int maxLength = 0;          // characters; 0 for no limit
    bool visible = true;
    std::u16string accessibleName;  // what a screen reader calls the box
};

class IWindowHost {
public:
    virtual ~IWindowHost() = default;

    // ---- lifetime ----
    // WM_CREATE reaches the client before this returns. 0 on failure.
    virtual WindowId CreateWindow(IWindowClient* client, const WindowParams& params) = 0;
    // Destroys owned windows and edit boxes first, then sends WM_DESTROY;
    // its timers and undelivered posted messages are dropped. Allowed inside
    // the window's own OnMessage.
    virtual void DestroyWindow(WindowId w) = 0;
    virtual bool IsWindow(WindowId w) const = 0;
    virtual WindowId GetOwner(WindowId w) const = 0;

    // ---- messages ----
    // Delivers at once on the window thread and returns the client's answer;
    // 0 when there is no such window.
    virtual LRESULT SendMessage(WindowId w, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // Queues the message for the window thread; any thread. False when the
    // window is already gone.
    virtual bool PostMessage(WindowId w, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // Ends every modal run (each returns kModalQuit) and the host's Run loop.
    virtual void PostQuitMessage(int exitCode) = 0;

    // ---- timers: WM_TIMER(id) every ms milliseconds of the host's clock ----
    // Setting a running timer restarts its period from now.
    virtual void SetTimer(WindowId w, UINT id, int ms) = 0;
    virtual void KillTimer(WindowId w, UINT id) = 0;

    // ---- painting ----
    virtual void InvalidateRect(WindowId w, const Rect& r) = 0;
    virtual void Invalidate(WindowId w) = 0;
    // Paints what is invalid now instead of at the next turn of the loop.
    virtual void UpdateWindow(WindowId w) = 0;

    // ---- mouse ----
    virtual void SetCapture(WindowId w) = 0;
    virtual void ReleaseCapture() = 0;
    virtual WindowId GetCapture() const = 0;
    // TME_LEAVE: one WM_MOUSELEAVE when the pointer leaves the client area
    // (at once when it is not over it). TME_HOVER: one WM_MOUSEHOVER when the
    // pointer rests hoverMs in it. Each request ends with its message.
    // TME_CANCEL with the flags drops those requests. False for no window.
    virtual bool TrackMouseEvent(WindowId w, UINT flags, int hoverMs) = 0;
    virtual Point GetCursorPos() const = 0;  // screen coordinates
    // Moves the window with the pointer while the left button stays down
    // (the same as handing it WM_NCLBUTTONDOWN with HTCAPTION).
    virtual void StartWindowDrag(WindowId w) = 0;

    // ---- placement ----
    virtual void ShowWindow(WindowId w, int showCommand) = 0;  // SW_*
    virtual bool IsWindowVisible(WindowId w) const = 0;
    virtual bool IsIconic(WindowId w) const = 0;
    // Screen rectangle of a top-level window, or client rectangle of its
    // parent for an edit box.
    virtual void SetWindowPos(WindowId w, const Rect& r) = 0;
    virtual void SetTopmost(WindowId w, bool topmost) = 0;
    virtual void SetOpacity(WindowId w, int opacity) = 0;
    virtual Rect GetWindowRect(WindowId w) const = 0;  // screen (parent client for an edit)
    virtual Rect GetClientRect(WindowId w) const = 0;  // origin (0, 0)
    virtual Point ClientToScreen(WindowId w, Point p) const = 0;
    virtual Point ScreenToClient(WindowId w, Point p) const = 0;
    // Raises and activates a top-level window.
    virtual void SetForegroundWindow(WindowId w) = 0;
    virtual WindowId GetActiveWindow() const = 0;
    // A disabled window gets no mouse or key input.
    virtual void EnableWindow(WindowId w, bool enable) = 0;
    // Title of a window, text of an edit box (SetWindowText on an edit
    // notifies EN_CHANGE like typing does).
    virtual void SetWindowText(WindowId w, const std::u16string& text) = 0;
    virtual std::u16string GetWindowText(WindowId w) const = 0;

    // ---- modal runs ----
    // Shows the window (unless KeepHiddenWhenRun), keeps input away from its owner (and from the owners
    // of any runs it sits in) as the desktop's dialogs do, and runs the loop
    // until EndModal(w, result); then hides it and returns result. Windows
    // it does not sit on, such as a modeless dialog without an owner, stay
    // usable. The caller destroys the window afterwards.
    virtual LRESULT RunModal(WindowId w) = 0;
    // The run leaves the window hidden instead (a main window started in
    // the tray): it shows when ShowWindow is called for it.
    virtual void KeepHiddenWhenRun(WindowId w) = 0;
    // May be called before RunModal (for example from WM_CREATE): the run
    // then returns at once.
    virtual void EndModal(WindowId w, LRESULT result) = 0;
    // What kind of dialog the window is and the main text it shows (the
    // message of an attention dialog), for accessibility and test scripts.
    virtual void DescribeWindow(WindowId w, const std::u16string& kind, const std::u16string& text) = 0;
    // A window's keyboard focus moved to the control with this id (0: none),
    // or a control's state or value changed; the host tells assistive
    // technology, which then reads the window's AccessibleNodes again.
    virtual void AccessibleFocusChanged(WindowId w, int controlId)
    {
        (void)w;
        (void)controlId;
    }
    virtual void AccessibleStateChanged(WindowId w, int controlId)
    {
        (void)w;
        (void)controlId;
    }

    // ---- edit boxes ----
    // A child edit box at a client rectangle of parent; it reports to parent
    // with controlId. Its key messages pass the parent's PreTranslateMessage.
    virtual WindowId CreateEdit(WindowId parent, int controlId, const Rect& r, const EditParams& params) = 0;
    // Selects [start, end); -1 means the end of the text, so (-1, -1) puts
    // the caret after the last character.
    virtual void SetEditSelection(WindowId edit, int start, int end) = 0;
    // An edit box (parent gets WM_SETFOCUS) or a top-level window (its
    // focused edit, if any, loses the focus: WM_KILLFOCUS).
    virtual void SetFocus(WindowId w) = 0;
    virtual WindowId GetFocus() const = 0;

    // ---- screen ----
    virtual Rect GetScreenRect() const = 0;  // the primary screen
    virtual Rect GetWorkArea() const = 0;    // the primary screen less panels
    virtual int LogicalDpi() const = 0;      // 96 at 100 %

    // ---- services ----
    virtual IGraphics& Graphics() = 0;
    // The clock timers run on (virtual in tests).
    virtual IClock& Clock() = 0;
    virtual bool IsWindowThread() const = 0;
    // Runs the event loop until PostQuitMessage; returns its exit code.
    virtual int Run() = 0;
};

// RunModal's answer when PostQuitMessage ended the run.
constexpr LRESULT kModalQuit = -1;

// The process's window host. Owner: set once by main (or a test fixture)
// before the first window is created and cleared after the last one is
// destroyed; read on the window thread only.
inline IWindowHost* g_windowHost = nullptr;

}  // namespace platform

using HWND = platform::WindowId;
