#include "platform/keyboard/keyboard_hook.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <X11/keysym.h>

#include <QGuiApplication>
#include <QKeyEvent>
#include <QWindow>

#include "platform/headless/headless_host.h"
#include "platform/keyboard/qt_key_source.h"
#include "platform/keyboard/x11_raw_key_source.h"

// Xlib's two calls the start-up probe needs; its header's macros (KeyPress,
// None, ...) would clash with Qt's names.
extern "C" {
struct _XDisplay;
_XDisplay* XOpenDisplay(const char* name);
int XCloseDisplay(_XDisplay* display);
}

namespace {

using namespace platform;
constexpr uint32_t kUp = 0x80000000u;

struct Event {
    uint32_t w, l;
    bool operator==(const Event& o) const { return w == o.w && l == o.l; }
};

// Collects events from any thread.
class Collector {
public:
    KeyEventSink Sink() {
        return [this](uint32_t w, uint32_t l) {
            std::lock_guard<std::mutex> lock(m_);
            events_.push_back({w, l});
            cv_.notify_all();
        };
    }
    // Blocks until Escape's release arrived after `from` (the end marker of
    // what a test typed) or a deadline passed; returns what came before it.
    std::vector<Event> UntilEscape(size_t from, int timeoutMs = 5000) {
        std::unique_lock<std::mutex> lock(m_);
        auto done = [&] {
            for (size_t i = from; i < events_.size(); ++i)
                if (events_[i].w == 0x1B && (events_[i].l & kUp)) return true;
            return false;
        };
        cv_.wait_for(lock, std::chrono::milliseconds(timeoutMs), done);
        std::vector<Event> typed;
        for (size_t i = from; i < events_.size() && events_[i].w != 0x1B; ++i) typed.push_back(events_[i]);
        return typed;
    }
    std::vector<Event> Now() {
        std::lock_guard<std::mutex> lock(m_);
        return events_;
    }
private:
    std::mutex m_;
    std::condition_variable cv_;
    std::vector<Event> events_;
};

struct FakeSource : IKeyEventSource {
    explicit FakeSource(int* live) : live(live) {}
    ~FakeSource() override { Stop(); }
    bool Start(KeyEventSink s) override { sink = std::move(s); ++*live; return true; }
    void Stop() override { if (sink) --*live; sink = nullptr; }
    int* live;
    KeyEventSink sink;
};

class KeyboardHook : public ::testing::Test {
protected:
    void SetUp() override {
        SetKeyEventSourceFactory([this] {
            auto s = std::make_unique<FakeSource>(&live);
            last = s.get();
            return s;
        });
    }
    void TearDown() override { SetKeyEventSourceFactory(nullptr); }
    int live = 0;
    FakeSource* last = nullptr;
};

TEST_F(KeyboardHook, StopIsHarmlessInAnyStateAndARestartLeavesOneSource) {
    {
        CKeyboardHook hook;
        EXPECT_EQ(hook.StopHook(), 1);
        Collector first, second;
        EXPECT_EQ(hook.StartHook(first.Sink()), 1);
        EXPECT_EQ(hook.StartHook(second.Sink()), 1);
        EXPECT_EQ(live, 1);  // the first source was stopped, not leaked
        last->sink('B', 0);
        EXPECT_TRUE(first.Now().empty());
        EXPECT_EQ(second.Now().size(), 1u);
        hook.StopHook();
        hook.StopHook();
        EXPECT_EQ(live, 0);
        hook.StartHook(first.Sink());
    }
    EXPECT_EQ(live, 0);  // the destructor stopped it
    SetKeyEventSourceFactory(nullptr);
    CKeyboardHook none;
    Collector c;
    EXPECT_EQ(none.StartHook(c.Sink()), 0);
    EXPECT_FALSE(none.IsRunning());
}

// A window that keeps the hook's messages.
struct HookWindow : IWindowClient {
    std::vector<Event> got;
    LRESULT OnMessage(WindowId, UINT m, WPARAM w, LPARAM l) override {
        if (m == 0x0401) got.push_back({uint32_t(w), uint32_t(uint64_t(l))});
        return 0;
    }
    void OnPaint(WindowId, ICanvas&, const Rect&) override {}
};

TEST_F(KeyboardHook, EventsFromTheSourceThreadArriveAtTheWindowInOrder) {
    HeadlessHost host;
    g_windowHost = &host;
    HookWindow client;
    WindowParams wp;
    wp.bounds = Rect{0, 0, 50, 50};
    WindowId w = host.CreateWindow(&client, wp);
    {
        CKeyboardHook hook;
        ASSERT_EQ(hook.StartHook(w), 1);
        KeyEventSink sink = last->sink;
        std::thread reader([&] {
            for (uint32_t i = 0; i < 50; ++i) sink(0x41 + i % 26, MakeKeyHookLParam(i % 2, 0x80001000u + i));
        });
        reader.join();
        host.ProcessPending();
    }
    g_windowHost = nullptr;
    ASSERT_EQ(client.got.size(), 50u);
    for (uint32_t i = 0; i < 50; ++i)  // bit 31 is the release, the time wraps below it
        EXPECT_EQ(client.got[i], (Event{0x41 + i % 26, (i % 2 ? kUp : 0u) | (0x1000 + i)}));
    host.DestroyWindow(w);
}

bool Retried(const std::function<bool()>& connectOnce);

// Qt ends the process when it cannot reach the X server, and does not try
// again; a connection of our own, retried, lets it start once the server
// takes connections again.
void WaitForXServer() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (!platform || std::string(platform) != "xcb") return;
    Retried([] {
        _XDisplay* d = XOpenDisplay(nullptr);
        if (d) XCloseDisplay(d);
        return d != nullptr;
    });
}

QGuiApplication* App() {
    static int argc = 1;
    static char name[] = "test";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) {
        WaitForXServer();
        new QGuiApplication(argc, argv);
    }
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance());
}

void SendKey(QObject* to, QEvent::Type type, int key, quint64 time, bool repeat = false, quint32 keysym = 0) {
    QKeyEvent e(type, key, Qt::NoModifier, 0, keysym, 0, QString(), repeat);
    e.setTimestamp(time);
    QCoreApplication::sendEvent(to, &e);
}

TEST(QtWindowKeys, PressesAndReleasesOfOurWindowsArriveOnceEach) {
    ASSERT_NE(App(), nullptr);
    QWindow window;
    QObject child;
    Collector c;
    auto source = CreateQtWindowKeySource();
    ASSERT_TRUE(source->Start(c.Sink()));
    SendKey(&window, QEvent::KeyPress, Qt::Key_A, 1000);
    SendKey(&window, QEvent::KeyRelease, Qt::Key_A, 1040);
    SendKey(&child, QEvent::KeyPress, Qt::Key_B, 1050);  // the same event passed on to a widget: not again
    // A held key: Qt repeats as release+press pairs; only the presses stay.
    SendKey(&window, QEvent::KeyPress, Qt::Key_Left, 2000);
    SendKey(&window, QEvent::KeyRelease, Qt::Key_Left, 2500, true);
    SendKey(&window, QEvent::KeyPress, Qt::Key_Left, 2500, true);
    SendKey(&window, QEvent::KeyRelease, Qt::Key_Left, 2530);
    SendKey(&window, QEvent::KeyPress, Qt::Key_unknown, 3100);  // no code: dropped
    SendKey(&window, QEvent::KeyPress, Qt::Key_Shift, 3000, false, XK_Shift_R);
    source->Stop();
    SendKey(&window, QEvent::KeyPress, Qt::Key_C, 4000);

    std::vector<Event> got = c.Now();
    ASSERT_EQ(got.size(), 6u);
    EXPECT_EQ(std::vector<Event>(got.begin(), got.begin() + 5),
              (std::vector<Event>{{'A', 1000}, {'A', kUp | 1040}, {0x25, 2000}, {0x25, 2500}, {0x25, kUp | 2530}}));
    // Where the platform reports key symbols, the right Shift stays the right one.
    EXPECT_EQ(got[5].w, QGuiApplication::platformName() == "xcb" ? 0xA1u : 0xA0u);
}

// ---- the whole desktop, through XInput2 (an X server and xdotool) ----

// A fresh connection to the X server is refused now and then (Xvfb does it
// to a few in a hundred); a test must not fail for that, so every step that
// connects is tried a few times. A refused step has done nothing, so trying
// it again types no key twice.
bool Retried(const std::function<bool()>& connectOnce) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (connectOnce()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50 * (attempt + 1)));
    }
    return false;
}

bool XdoTool(const std::string& args) {
    return Retried([&] { return std::system(("xdotool " + args + " 2>/dev/null").c_str()) == 0; });
}

std::vector<Event> Type(Collector& c, const std::string& keys) {
    size_t from = c.Now().size();
    EXPECT_TRUE(XdoTool("key " + keys + " Escape"));
    std::vector<Event> typed = c.UntilEscape(from);
    for (Event& e : typed) e.l &= kUp;  // times are the server's
    return typed;
}

std::vector<Event> PressRelease(std::initializer_list<uint32_t> codes) {
    std::vector<Event> out;
    for (uint32_t code : codes) out.insert(out.end(), {{code, 0}, {code, kUp}});
    return out;
}

bool Has(const std::vector<Event>& ev, uint32_t code, uint32_t up) {
    for (const Event& e : ev)
        if (e.w == code && (e.l & kUp) == up) return true;
    return false;
}

bool CanType() { return std::getenv("DISPLAY") && std::system("command -v xdotool >/dev/null 2>&1") == 0; }

TEST(X11RawKeys, KeysTypedAnywhereArriveWithTheirCodes) {
    if (!CanType()) GTEST_SKIP() << "no DISPLAY or no xdotool";
    auto source = CreateX11RawKeySource();
    Collector c;
    ASSERT_TRUE(Retried([&] { return source->Start(c.Sink()); })) << "no XInput 2 on this server";
    EXPECT_EQ(Type(c, "a 1 F5 F12 Left Home"), PressRelease({'A', '1', 0x74, 0x7B, 0x25, 0x24}));
    // xdotool presses the left modifier along with a right one; what matters
    // is that each side arrives as its own code.
    std::pair<const char*, uint32_t> modifiers[] = {{"Shift_L", 0xA0}, {"Shift_R", 0xA1}, {"Control_L", 0xA2},
        {"Control_R", 0xA3}, {"Alt_L", 0xA4}, {"Alt_R", 0xA5}, {"Super_L", 0x5B}, {"Super_R", 0x5C}};
    for (auto [name, code] : modifiers) {
        std::vector<Event> ev = Type(c, name);
        EXPECT_TRUE(Has(ev, code, 0) && Has(ev, code, kUp)) << name;
    }
    EXPECT_TRUE(Has(Type(c, "shift+1"), '1', 0));  // the key, not the shifted symbol
    std::vector<Event> all = c.Now();
    for (size_t i = 1; i < all.size(); ++i) EXPECT_GE(all[i].l & ~kUp, all[i - 1].l & ~kUp);

    // Stopped means stopped: a second source sees the next keys, the first nothing.
    source->Stop();
    size_t before = c.Now().size();
    auto witness = CreateX11RawKeySource();
    Collector w;
    ASSERT_TRUE(Retried([&] { return witness->Start(w.Sink()); }));
    EXPECT_EQ(Type(w, "b"), PressRelease({'B'}));
    EXPECT_EQ(c.Now().size(), before);
    EXPECT_FALSE(CreateX11RawKeySource(":987")->Start(w.Sink()));  // no such server
}

TEST(X11RawKeys, TheDesktopSourceDoesNotDoubleOurOwnWindowsKeys) {
    if (!CanType()) GTEST_SKIP() << "no DISPLAY or no xdotool";
    ASSERT_NE(App(), nullptr);
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "Qt is not on X11 here";
    // Our window has the focus, so the keys reach Qt as well as the raw stream.
    QWindow window;
    window.resize(100, 100);
    window.show();
    window.requestActivate();
    for (int i = 0; i < 200 && !window.isActive(); ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    InstallDesktopKeySources();
    CKeyboardHook hook;
    Collector c;
    ASSERT_TRUE(Retried([&] { return hook.StartHook(c.Sink()) == 1; }));
    ASSERT_TRUE(XdoTool("key x Escape"));
    // Pump Qt past Escape's release, so a copy from the Qt side would be in.
    for (int i = 0; i < 500 && !Has(c.Now(), 0x1B, kUp); ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    for (int i = 0; i < 20; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    hook.StopHook();
    SetKeyEventSourceFactory(nullptr);
    std::vector<Event> got = c.Now();
    for (Event& e : got) e.l &= kUp;
    EXPECT_EQ(got, PressRelease({'X', 0x1B}));
}

}  // namespace
