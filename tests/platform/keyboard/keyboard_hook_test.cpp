#include "platform/keyboard/keyboard_hook.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
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

namespace {

using platform::IKeyEventSource;
using platform::KeyEventSink;

struct Event {
    uint32_t w, l;
    bool operator==(const Event& o) const { return w == o.w && l == o.l; }
};

// Collects events from any thread; Wait blocks until n arrived or a deadline.
class Collector {
public:
    KeyEventSink Sink() {
        return [this](uint32_t w, uint32_t l) {
            std::lock_guard<std::mutex> lock(m_);
            events_.push_back({w, l});
            cv_.notify_all();
        };
    }
    template <class Pred>
    std::vector<Event> WaitFor(Pred done, int timeoutMs) {
        std::unique_lock<std::mutex> lock(m_);
        cv_.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return done(events_); });
        return events_;
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

// A source the test drives by hand.
struct FakeSource : IKeyEventSource {
    explicit FakeSource(int* live, bool works) : live(live), works(works) {}
    ~FakeSource() override { if (running) --*live; }
    bool Start(KeyEventSink s) override {
        if (!works) return false;
        sink = std::move(s);
        running = true;
        ++*live;
        return true;
    }
    void Stop() override {
        if (running) --*live;
        running = false;
        sink = nullptr;
    }
    int* live;
    bool works;
    bool running = false;
    KeyEventSink sink;
};

class KeyboardHook : public ::testing::Test {
protected:
    void Install(bool works) {
        platform::SetKeyEventSourceFactory([this, works] {
            auto s = std::make_unique<FakeSource>(&live, works);
            last = s.get();
            return s;
        });
    }
    void TearDown() override { platform::SetKeyEventSourceFactory(nullptr); }
    int live = 0;
    FakeSource* last = nullptr;
};

TEST_F(KeyboardHook, StopIsHarmlessBeforeStartAndTwiceAfter) {
    Install(true);
    CKeyboardHook hook;
    EXPECT_EQ(hook.StopHook(), 1);
    Collector c;
    EXPECT_EQ(hook.StartHook(c.Sink()), 1);
    EXPECT_EQ(live, 1);
    last->sink('A', 5);
    hook.StopHook();
    hook.StopHook();
    EXPECT_EQ(live, 0);
    EXPECT_EQ(c.Now(), (std::vector<Event>{{'A', 5}}));
}

TEST_F(KeyboardHook, RestartingOrDestroyingLeavesNoSourceRunning) {
    Install(true);
    {
        CKeyboardHook hook;
        Collector first, second;
        hook.StartHook(first.Sink());
        hook.StartHook(second.Sink());
        EXPECT_EQ(live, 1);  // the first source was stopped, not leaked
        last->sink('B', 0);
        EXPECT_TRUE(first.Now().empty());
        EXPECT_EQ(second.Now().size(), 1u);
    }
    EXPECT_EQ(live, 0);
}

TEST_F(KeyboardHook, WithoutAWorkingSourceNothingRuns) {
    CKeyboardHook none;
    Collector c;
    EXPECT_EQ(none.StartHook(c.Sink()), 0);
    EXPECT_FALSE(none.IsRunning());
    Install(false);
    EXPECT_EQ(none.StartHook(c.Sink()), 0);
    EXPECT_FALSE(none.IsRunning());
    EXPECT_EQ(none.StartHook(HWND(7)), 0);  // no window host in this test
}

// A window that keeps the hook's messages.
struct HookWindow : platform::IWindowClient {
    std::vector<Event> got;
    LRESULT OnMessage(platform::WindowId, UINT m, WPARAM w, LPARAM l) override {
        if (m == platform::kKeyHookMessage) got.push_back({uint32_t(w), uint32_t(uint64_t(l))});
        return 0;
    }
    void OnPaint(platform::WindowId, platform::ICanvas&, const platform::Rect&) override {}
};

TEST_F(KeyboardHook, EventsFromTheSourceThreadArriveAtTheWindowInOrder) {
    Install(true);
    platform::HeadlessHost host;
    platform::g_windowHost = &host;
    HookWindow client;
    platform::WindowParams wp;
    wp.bounds = platform::Rect{0, 0, 50, 50};
    platform::WindowId w = host.CreateWindow(&client, wp);
    {
        CKeyboardHook hook;
        ASSERT_EQ(hook.StartHook(w), 1);
        KeyEventSink sink = last->sink;
        std::thread reader([&] {
            for (uint32_t i = 0; i < 50; ++i) sink(0x41 + i % 26, platform::MakeKeyHookLParam(i % 2, 1000 + i));
        });
        reader.join();
        host.ProcessPending();
    }
    platform::g_windowHost = nullptr;
    ASSERT_EQ(client.got.size(), 50u);
    for (uint32_t i = 0; i < 50; ++i) {
        EXPECT_EQ(client.got[i].w, 0x41 + i % 26);
        // bit 31 survives the trip through LPARAM, and so does the time
        EXPECT_EQ(client.got[i].l, (i % 2 ? 0x80000000u : 0u) | (1000 + i));
    }
    host.DestroyWindow(w);
}

TEST(KeyHookLParam, ReleaseIsBit31AndTheTimeWrapsBelowIt) {
    EXPECT_EQ(platform::MakeKeyHookLParam(false, 1234), 1234u);
    EXPECT_EQ(platform::MakeKeyHookLParam(true, 1234), 0x800004D2u);
    EXPECT_EQ(platform::MakeKeyHookLParam(false, 0x80000005u), 5u);
    EXPECT_EQ(platform::MakeKeyHookLParam(true, 0xFFFFFFFFu), 0xFFFFFFFFu);
}

// ---- our own windows, through Qt (offscreen in the suite) ----

QGuiApplication* App() {
    static int argc = 1;
    static char name[] = "test";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = QCoreApplication::instance() ? nullptr : new QGuiApplication(argc, argv);
    (void)app;
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance());
}

void SendKey(QObject* to, QEvent::Type type, int key, bool repeat = false, quint32 keysym = 0,
             Qt::KeyboardModifiers mods = Qt::NoModifier, quint64 time = 0) {
    QKeyEvent e(type, key, mods, 0, keysym, 0, QString(), repeat);
    e.setTimestamp(time);
    QCoreApplication::sendEvent(to, &e);
}

TEST(QtWindowKeys, PressesAndReleasesOfOurWindowsArriveOnceEach) {
    ASSERT_NE(App(), nullptr);
    QWindow window;
    QObject notAWindow;
    Collector c;
    auto source = platform::CreateQtWindowKeySource();
    ASSERT_TRUE(source->Start(c.Sink()));

    SendKey(&window, QEvent::KeyPress, Qt::Key_A, false, 0, Qt::NoModifier, 1000);
    SendKey(&window, QEvent::KeyRelease, Qt::Key_A, false, 0, Qt::NoModifier, 1040);
    // The same event travelling on to a child object is not counted again.
    SendKey(&notAWindow, QEvent::KeyPress, Qt::Key_B);
    // A held key: Qt repeats as release+press pairs; only the presses stay.
    SendKey(&window, QEvent::KeyPress, Qt::Key_Left, false, 0, Qt::NoModifier, 2000);
    SendKey(&window, QEvent::KeyRelease, Qt::Key_Left, true, 0, Qt::NoModifier, 2500);
    SendKey(&window, QEvent::KeyPress, Qt::Key_Left, true, 0, Qt::NoModifier, 2500);
    SendKey(&window, QEvent::KeyRelease, Qt::Key_Left, false, 0, Qt::NoModifier, 2530);
    // A symbol the platform gave tells the right Shift from the left one.
    SendKey(&window, QEvent::KeyPress, Qt::Key_Shift, false, XK_Shift_R, Qt::NoModifier, 3000);
    // A key with no code is dropped.
    SendKey(&window, QEvent::KeyPress, Qt::Key_unknown, false, 0, Qt::NoModifier, 3100);
    source->Stop();
    SendKey(&window, QEvent::KeyPress, Qt::Key_C);

    std::vector<Event> expected{{'A', 1000}, {'A', 0x80000000u | 1040}, {0x25, 2000}, {0x25, 2500},
                                {0x25, 0x80000000u | 2530}};
    std::vector<Event> got = c.Now();
    ASSERT_GE(got.size(), 5u);
    EXPECT_EQ(std::vector<Event>(got.begin(), got.begin() + 5), expected);
    // offscreen reports no symbols of its own; whether Qt's key or the given
    // symbol wins, the right Shift must not turn into the left one there.
    ASSERT_EQ(got.size(), 6u);
    EXPECT_TRUE(got[5].w == 0xA1 || got[5].w == 0xA0);
    if (QGuiApplication::platformName() == "xcb") {
        EXPECT_EQ(got[5].w, 0xA1u);
    }
}

// ---- the whole desktop, through XInput2 (needs an X server and xdotool) ----

// Types keys with xdotool followed by Escape, and returns what arrived
// before that Escape: Escape's release marks the end of what was typed.
std::vector<Event> Type(Collector& c, const std::string& keys) {
    size_t from = c.Now().size();
    EXPECT_EQ(std::system(("xdotool key " + keys + " Escape").c_str()), 0);
    std::vector<Event> all = c.WaitFor(
        [from](const std::vector<Event>& ev) {
            for (size_t i = from; i < ev.size(); ++i)
                if (ev[i].w == 0x1B && (ev[i].l & 0x80000000u)) return true;
            return false;
        },
        5000);
    std::vector<Event> typed;
    for (size_t i = from; i < all.size() && all[i].w != 0x1B; ++i) typed.push_back(all[i]);
    return typed;
}

std::vector<Event> PressRelease(std::initializer_list<uint32_t> codes) {
    std::vector<Event> out;
    for (uint32_t code : codes) {
        out.push_back({code, 0});
        out.push_back({code, 0x80000000u});
    }
    return out;
}

std::vector<Event> WithoutTimes(std::vector<Event> ev) {
    for (Event& e : ev) e.l &= 0x80000000u;
    return ev;
}

bool Has(const std::vector<Event>& ev, uint32_t code, bool release) {
    for (const Event& e : ev)
        if (e.w == code && bool(e.l & 0x80000000u) == release) return true;
    return false;
}

TEST(X11RawKeys, KeysTypedAnywhereArriveWithTheirCodes) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no DISPLAY";
    if (std::system("command -v xdotool >/dev/null 2>&1") != 0) GTEST_SKIP() << "no xdotool";
    auto source = platform::CreateX11RawKeySource();
    Collector c;
    ASSERT_TRUE(source->Start(c.Sink())) << "no XInput 2 on this server";

    EXPECT_EQ(WithoutTimes(Type(c, "a")), PressRelease({'A'}));
    EXPECT_EQ(WithoutTimes(Type(c, "1 F5 F12 Left Home")), PressRelease({'1', 0x74, 0x7B, 0x25, 0x24}));
    // xdotool presses the left modifier along with a right one; what
    // matters is that each side arrives as its own code.
    struct Modifier {
        const char* name;
        uint32_t code;
    } modifiers[] = {{"Shift_L", 0xA0}, {"Shift_R", 0xA1}, {"Control_L", 0xA2}, {"Control_R", 0xA3},
                     {"Alt_L", 0xA4},   {"Alt_R", 0xA5},   {"Super_L", 0x5B},   {"Super_R", 0x5C}};
    for (const Modifier& m : modifiers) {
        std::vector<Event> ev = Type(c, m.name);
        EXPECT_TRUE(Has(ev, m.code, false) && Has(ev, m.code, true)) << m.name;
    }
    // Shift+1 is still the key '1' (the raw key, not the shifted symbol).
    std::vector<Event> shifted = Type(c, "shift+1");
    EXPECT_TRUE(Has(shifted, '1', false));
    EXPECT_FALSE(Has(shifted, 0, false));

    std::vector<Event> all = c.Now();
    for (size_t i = 1; i < all.size(); ++i)
        EXPECT_GE(all[i].l & 0x7FFFFFFFu, all[i - 1].l & 0x7FFFFFFFu) << "time stamps run forward";

    // Stopped means stopped: a second source sees the next keys, the first
    // one nothing.
    source->Stop();
    size_t before = c.Now().size();
    auto witness = platform::CreateX11RawKeySource();
    Collector w;
    ASSERT_TRUE(witness->Start(w.Sink()));
    EXPECT_EQ(WithoutTimes(Type(w, "b")), PressRelease({'B'}));
    witness->Stop();
    EXPECT_EQ(c.Now().size(), before);
}

TEST(X11RawKeys, TheDesktopSourceTakesRawEventsAndDoesNotDoubleOurOwnWindowsKeys) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no DISPLAY";
    if (std::system("command -v xdotool >/dev/null 2>&1") != 0) GTEST_SKIP() << "no xdotool";
    ASSERT_NE(App(), nullptr);
    if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "Qt is not on X11 here";
    // Our own window has the focus, so the key reaches Qt as well as the raw
    // stream; the hook must report it once.
    QWindow window;
    window.resize(100, 100);
    window.show();
    window.requestActivate();
    for (int i = 0; i < 200 && !window.isActive(); ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    platform::InstallDesktopKeySources();
    CKeyboardHook hook;
    Collector c;
    ASSERT_EQ(hook.StartHook(c.Sink()), 1);
    ASSERT_EQ(std::system("xdotool key x Escape"), 0);
    // Pump Qt until Escape's release came through, so a copy from the Qt
    // side would have been seen by now.
    bool done = false;
    for (int i = 0; i < 500 && !done; ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        done = Has(c.Now(), 0x1B, true);
    }
    for (int i = 0; i < 20; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    hook.StopHook();
    platform::SetKeyEventSourceFactory(nullptr);
    EXPECT_EQ(WithoutTimes(c.Now()), PressRelease({'X', 0x1B}));
}

TEST(X11RawKeys, AnUnreachableServerFailsToStart) {
    auto source = platform::CreateX11RawKeySource(":987");
    Collector c;
    EXPECT_FALSE(source->Start(c.Sink()));
    source->Stop();
}

}  // namespace
