#pragma once
// CKeyboardHook: key presses and releases made anywhere on the desktop,
// delivered to a window as message WM_USER + 1 (0x0401), one per press and
// one per release:
//   wParam  the virtual-key code (key_map.h) in its low byte;
//   lParam  bit 31 set for a release; bits 30..0 a millisecond time stamp of
//           a free-running counter that wraps (only differences matter).
// A key held down arrives as repeated presses; the receiving window drops
// them if it wants to.
//
// Where the events come from is the process's key-event source, installed
// once at start-up (keyboard_qt.h: XInput2 raw events on X11, the program's
// own windows elsewhere). Without one, StartHook delivers nothing, which is
// what the headless tests want: they send 0x0401 to the windows themselves.
//
// Standard C++ only, so the dialogs that record keys can own a hook.
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/window/window_host.h"

namespace platform {

constexpr UINT kKeyHookMessage = WM_USER + 1;
constexpr uint32_t kKeyHookRelease = 0x80000000u;

inline uint32_t MakeKeyHookLParam(bool release, uint32_t timeMs) {
    return (release ? kKeyHookRelease : 0u) | (timeMs & 0x7FFFFFFFu);
}

// Called for every key event; from any thread (the X11 source calls it on
// its own reader thread).
using KeyEventSink = std::function<void(uint32_t wParam, uint32_t lParam)>;

class IKeyEventSource {
public:
    virtual ~IKeyEventSource() = default;
    // Begins calling sink; false when this source cannot run here.
    virtual bool Start(KeyEventSink sink) = 0;
    // After Stop returns the sink is never called again. Harmless when not started.
    virtual void Stop() = 0;
};

using KeyEventSourceFactory = std::function<std::unique_ptr<IKeyEventSource>()>;

// The process's source of key events. Set by main (or a test) before any
// hook starts, on the window thread; an empty factory removes it.
void SetKeyEventSourceFactory(KeyEventSourceFactory factory);

}  // namespace platform

class CKeyboardHook {
public:
    CKeyboardHook();
    virtual ~CKeyboardHook();
    CKeyboardHook(const CKeyboardHook&) = delete;
    CKeyboardHook& operator=(const CKeyboardHook&) = delete;

    // From now on key events are posted to `window` through the window
    // host's PostMessage. Starting a running hook moves it to the new window.
    // 1 when a source runs, 0 when there is none.
    int StartHook(HWND window);
    // The same with any receiver; used by StartHook(HWND) and by tools.
    int StartHook(platform::KeyEventSink sink);
    // No events after this returns. Harmless when the hook is not running.
    int StopHook();
    bool IsRunning() const { return source_ != nullptr; }

private:
    std::unique_ptr<platform::IKeyEventSource> source_;
};
