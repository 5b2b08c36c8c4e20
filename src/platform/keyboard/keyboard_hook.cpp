#include "platform/keyboard/keyboard_hook.h"

#include <mutex>

namespace platform {
namespace {

// The source factory. Written by main or a test fixture before the first
// hook starts; read whenever a hook starts. Guarded because a hook may be
// started on a thread other than the one that installed the factory.
std::mutex g_keySourceMutex;
KeyEventSourceFactory g_keySourceFactory;

std::unique_ptr<IKeyEventSource> MakeSource() {
    std::lock_guard<std::mutex> lock(g_keySourceMutex);
    return g_keySourceFactory ? g_keySourceFactory() : nullptr;
}

}  // namespace

void SetKeyEventSourceFactory(KeyEventSourceFactory factory) {
    std::lock_guard<std::mutex> lock(g_keySourceMutex);
    g_keySourceFactory = std::move(factory);
}

}  // namespace platform

CKeyboardHook::CKeyboardHook() = default;

CKeyboardHook::~CKeyboardHook() { StopHook(); }

int CKeyboardHook::StartHook(HWND window) {
    // The host is read here, on the window thread; the sink may run on the
    // source's own thread, where only PostMessage may be used.
    platform::IWindowHost* host = platform::g_windowHost;
    if (!host || window == 0) {
        StopHook();
        return 0;
    }
    return StartHook([host, window](uint32_t wParam, uint32_t lParam) {
        // lParam travels zero-extended: receivers test bit 31.
        host->PostMessage(window, platform::kKeyHookMessage, WPARAM(wParam), LPARAM(uint64_t(lParam)));
    });
}

int CKeyboardHook::StartHook(platform::KeyEventSink sink) {
    StopHook();
    std::unique_ptr<platform::IKeyEventSource> source = platform::MakeSource();
    if (!source || !sink || !source->Start(std::move(sink))) return 0;
    source_ = std::move(source);
    return 1;
}

int CKeyboardHook::StopHook() {
    if (source_) {
        source_->Stop();
        source_.reset();
    }
    return 1;
}
