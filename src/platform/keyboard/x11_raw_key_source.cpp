#include "platform/keyboard/x11_raw_key_source.h"

#include <atomic>
#include <cstdint>
#include <thread>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include "platform/keyboard/key_map.h"

namespace platform {
namespace {

bool IsKeypadNavigation(KeySym s) { return s >= XK_KP_Home && s <= XK_KP_Delete; }

class X11RawKeySource final : public IKeyEventSource {
public:
    explicit X11RawKeySource(std::string name) : name_(std::move(name)) {}
    ~X11RawKeySource() override { Stop(); }

    bool Start(KeyEventSink sink) override {
        Stop();
        display_ = XOpenDisplay(name_.empty() ? nullptr : name_.c_str());
        if (!display_) return false;
        int event = 0, error = 0;
        int major = 2, minor = 0;
        if (!XQueryExtension(display_, "XInputExtension", &xiOpcode_, &event, &error) ||
            XIQueryVersion(display_, &major, &minor) != Success || major < 2) {
            Close();
            return false;
        }
        unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
        XISetMask(bits, XI_RawKeyPress);
        XISetMask(bits, XI_RawKeyRelease);
        XIEventMask mask;
        mask.deviceid = XIAllMasterDevices;
        mask.mask_len = sizeof bits;
        mask.mask = bits;
        XISelectEvents(display_, DefaultRootWindow(display_), &mask, 1);
        numLockMask_ = XkbKeysymToModifiers(display_, XK_Num_Lock);
        // Once Start returns, every key pressed from then on is seen.
        XSync(display_, False);
        stopFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (stopFd_ < 0) {
            Close();
            return false;
        }
        sink_ = std::move(sink);
        reader_ = std::thread([this] { ReadLoop(); });
        return true;
    }

    void Stop() override {
        if (reader_.joinable()) {
            uint64_t one = 1;
            (void)!write(stopFd_, &one, sizeof one);
            reader_.join();
        }
        sink_ = nullptr;
        Close();
    }

private:
    void Close() {
        if (stopFd_ >= 0) close(stopFd_);
        stopFd_ = -1;
        if (display_) XCloseDisplay(display_);
        display_ = nullptr;
    }

    // The reader thread owns display_ until Stop joins it.
    void ReadLoop() {
        pollfd fds[2] = {{ConnectionNumber(display_), POLLIN, 0}, {stopFd_, POLLIN, 0}};
        for (;;) {
            while (XPending(display_) > 0) {
                XEvent ev;
                XNextEvent(display_, &ev);
                XGenericEventCookie* cookie = &ev.xcookie;
                if (cookie->type != GenericEvent || cookie->extension != xiOpcode_ ||
                    !XGetEventData(display_, cookie))
                    continue;
                if (cookie->evtype == XI_RawKeyPress || cookie->evtype == XI_RawKeyRelease) {
                    const auto* raw = static_cast<const XIRawEvent*>(cookie->data);
                    Deliver(raw->detail, cookie->evtype == XI_RawKeyRelease, uint32_t(raw->time));
                }
                XFreeEventData(display_, cookie);
            }
            fds[0].revents = fds[1].revents = 0;
            if (poll(fds, 2, -1) < 0) continue;
            if (fds[1].revents) return;
            // The server went away: no more keys, but no crash either.
            if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) return;
        }
    }

    void Deliver(int keycode, bool release, uint32_t time) {
        // Raw events carry the key, not the symbol: look it up in the
        // keyboard's current group without modifiers, so Shift+1 stays '1'.
        XkbStateRec state{};
        XkbGetState(display_, XkbUseCoreKbd, &state);
        KeySym sym = XkbKeycodeToKeysym(display_, KeyCode(keycode), state.group, 0);
        if (IsKeypadNavigation(sym) && (state.locked_mods & numLockMask_)) {
            KeySym digit = XkbKeycodeToKeysym(display_, KeyCode(keycode), state.group, 1);
            if (digit != NoSymbol) sym = digit;
        }
        uint8_t vk = VirtualKeyFromKeysym(uint32_t(sym));
        if (vk != 0 && sink_) sink_(vk, MakeKeyHookLParam(release, time));
    }

    std::string name_;
    Display* display_ = nullptr;
    int xiOpcode_ = 0;
    unsigned numLockMask_ = 0;
    int stopFd_ = -1;
    KeyEventSink sink_;
    std::thread reader_;
};

}  // namespace

std::unique_ptr<IKeyEventSource> CreateX11RawKeySource(const std::string& displayName) {
    return std::make_unique<X11RawKeySource>(displayName);
}

}  // namespace platform
