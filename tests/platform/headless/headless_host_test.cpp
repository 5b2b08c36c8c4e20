#include "platform/headless/headless_host.h"

#include <gtest/gtest.h>

#include <functional>
#include <thread>
#include <vector>

using namespace platform;

namespace {

// A window that records what it receives and lets each test add behaviour.
struct Recorder : IWindowClient {
    struct Got {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        int64_t at;
    };
    HeadlessHost* host = nullptr;
    std::vector<Got> got;
    std::function<LRESULT(WindowId, UINT, WPARAM, LPARAM)> onMessage;
    std::function<bool(const Msg&)> preTranslate;
    COLORREF fill = RGB(10, 20, 30);

    LRESULT OnMessage(WindowId self, UINT m, WPARAM w, LPARAM l) override
    {
        got.push_back({m, w, l, host ? host->Clock().NowMs() : 0});
        return onMessage ? onMessage(self, m, w, l) : 0;
    }
    void OnPaint(WindowId, ICanvas& canvas, const Rect&) override { canvas.FillRect({0, 0, 1000, 1000}, fill); }
    bool PreTranslateMessage(WindowId, const Msg& m) override { return preTranslate && preTranslate(m); }

    std::vector<Got> Only(UINT m) const
    {
        std::vector<Got> r;
        for (const Got& g : got)
            if (g.message == m) r.push_back(g);
        return r;
    }
};

class HeadlessTest : public ::testing::Test {
protected:
    HeadlessHost host;

    WindowId Open(Recorder& r, Rect bounds, WindowKind kind = WindowKind::Dialog, WindowId owner = 0)
    {
        r.host = &host;
        WindowParams p;
        p.kind = kind;
        p.bounds = bounds;
        p.owner = owner;
        p.visible = true;
        return host.CreateWindow(&r, p);
    }
};

TEST_F(HeadlessTest, TimersFireInDueOrderAtTheirDueTimes)
{
    Recorder r;
    WindowId w = Open(r, {0, 0, 100, 100});
    host.SetTimer(w, 30, 20);
    host.SetTimer(w, 50, 300);
    host.SetTimer(w, 80, 2000);
    host.Advance(650);
    auto t = r.Only(WM_TIMER);
    std::vector<std::pair<WPARAM, int64_t>> seen;
    for (auto& g : t) seen.push_back({g.wParam, g.at});
    // 20 ms timer 32 times (20..640), 300 ms twice; the clock reads each due time.
    ASSERT_EQ(seen.size(), 34u);
    EXPECT_EQ(seen[0], (std::pair<WPARAM, int64_t>{30, 20}));
    auto at300 = std::find(seen.begin(), seen.end(), std::pair<WPARAM, int64_t>{50, 300});
    ASSERT_NE(at300, seen.end());
    // Timer 30 fell due at 300 too, but was set first.
    EXPECT_EQ(*(at300 - 1), (std::pair<WPARAM, int64_t>{30, 300}));
    for (size_t i = 1; i < seen.size(); ++i) EXPECT_LE(seen[i - 1].second, seen[i].second);
    EXPECT_EQ(host.Clock().NowMs(), 650);
}

TEST_F(HeadlessTest, RestartingATimerPostponesItsExpiry)
{
    Recorder r;
    WindowId w = Open(r, {0, 0, 100, 100});
    host.SetTimer(w, 30, 20);
    host.Advance(15);
    host.SetTimer(w, 30, 20);  // a second change within the period
    host.Advance(15);
    EXPECT_TRUE(r.Only(WM_TIMER).empty()) << "the restart must push the expiry to 35";
    host.Advance(5);
    auto t = r.Only(WM_TIMER);
    ASSERT_EQ(t.size(), 1u);
    EXPECT_EQ(t[0].at, 35);
}

TEST_F(HeadlessTest, KilledTimersAndTimersOfDestroyedWindowsStaySilent)
{
    Recorder a, b;
    WindowId wa = Open(a, {0, 0, 100, 100});
    WindowId wb = Open(b, {200, 0, 300, 100});
    // A one-shot pattern: the handler kills its own timer.
    a.onMessage = [&](WindowId self, UINT m, WPARAM id, LPARAM) {
        if (m == WM_TIMER) host.KillTimer(self, static_cast<UINT>(id));
        return LRESULT{0};
    };
    host.SetTimer(wa, 70, 100);
    host.SetTimer(wb, 1, 10);
    host.DestroyWindow(wb);
    host.Advance(1000);
    EXPECT_EQ(a.Only(WM_TIMER).size(), 1u);
    EXPECT_FALSE(host.IsTimerRunning(wa, 70));
    EXPECT_TRUE(b.Only(WM_TIMER).empty());
    EXPECT_EQ(b.got.back().message, static_cast<UINT>(WM_DESTROY));
}

TEST_F(HeadlessTest, PostedMessagesFromOtherThreadsArriveInPostingOrder)
{
    Recorder r;
    WindowId w = Open(r, {0, 0, 100, 100});
    constexpr int kEach = 2000;
    auto poster = [&](UINT message) {
        for (int i = 0; i < kEach; ++i) host.PostMessage(w, message, static_cast<WPARAM>(i), 0);
    };
    std::thread t1(poster, WM_USER + 43);
    std::thread t2(poster, WM_USER + 44);
    // Delivery may overlap the posting threads.
    for (int i = 0; i < 50; ++i) host.ProcessPending();
    t1.join();
    t2.join();
    host.ProcessPending();
    for (UINT m : {WM_USER + 43, WM_USER + 44}) {
        auto got = r.Only(m);
        ASSERT_EQ(got.size(), static_cast<size_t>(kEach));
        for (int i = 0; i < kEach; ++i) ASSERT_EQ(got[static_cast<size_t>(i)].wParam, static_cast<WPARAM>(i));
    }
}

TEST_F(HeadlessTest, PostingToAGoneWindowFailsAndQueuedMessagesAreDropped)
{
    Recorder r;
    WindowId w = Open(r, {0, 0, 100, 100});
    EXPECT_TRUE(host.PostMessage(w, WM_USER + 1, 0, 0));
    host.DestroyWindow(w);
    EXPECT_FALSE(host.PostMessage(w, WM_USER + 1, 0, 0));
    EXPECT_FALSE(host.PostMessage(9999, WM_USER + 1, 0, 0));
    host.ProcessPending();
    EXPECT_TRUE(r.Only(WM_USER + 1).empty());
}

// A dialog that ends itself the way the skinned dialogs do: its OK and close
// buttons report their ids (2010, 2004) as messages with lParam CE_CLICK.
struct ModalDialog : Recorder {
    ModalDialog()
    {
        onMessage = [this](WindowId self, UINT m, WPARAM, LPARAM l) -> LRESULT {
            if (m == WM_CREATE) host->DescribeWindow(self, u"CAttentionDlg", u"Delete this macro?");
            if (m == 2010 && l == 2) host->EndModal(self, IDOK);
            if (m == 2004 && l == 2) host->EndModal(self, IDCANCEL);
            return 0;
        };
    }
};

TEST_F(HeadlessTest, ScriptedModalRunsEndWithTheButtonTheScriptClicked)
{
    Recorder owner;
    WindowId main = Open(owner, {0, 0, 400, 300});
    host.ScriptModal(u"CAttentionDlg", [](HeadlessModal& m) { m.Send(2010, 0, 2); });
    host.ScriptModal([](HeadlessModal& m) { m.Send(2004, 0, 2); });

    ModalDialog ok, cancel, unscripted;
    WindowId d1 = Open(ok, {50, 50, 369, 152}, WindowKind::Dialog, main);
    EXPECT_EQ(host.RunModal(d1), IDOK);
    WindowId d2 = Open(cancel, {50, 50, 369, 152}, WindowKind::Dialog, main);
    EXPECT_EQ(host.RunModal(d2), IDCANCEL);
    WindowId d3 = Open(unscripted, {50, 50, 369, 152}, WindowKind::Dialog, main);
    EXPECT_EQ(host.RunModal(d3), IDCANCEL);

    const auto& log = host.ModalLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].kind, u"CAttentionDlg");
    EXPECT_EQ(log[0].text, u"Delete this macro?");
    EXPECT_EQ(log[0].result, IDOK);
    EXPECT_TRUE(log[0].scripted);
    EXPECT_EQ(log[1].result, IDCANCEL);
    EXPECT_TRUE(log[1].scripted);
    EXPECT_FALSE(log[2].scripted);
    // A finished run hides its dialog and gives activation back to the owner.
    EXPECT_FALSE(host.IsWindowVisible(d1));
    EXPECT_EQ(host.GetActiveWindow(), main);
}

TEST_F(HeadlessTest, ModalRunKeepsInputAwayFromTheOwnerAndEndsOnQuit)
{
    Recorder owner, modeless;
    WindowId main = Open(owner, {0, 0, 400, 300});
    WindowId free = Open(modeless, {0, 400, 100, 500});
    ModalDialog dlg;
    WindowId d = Open(dlg, {500, 0, 600, 100}, WindowKind::Dialog, main);
    host.ScriptModal([&](HeadlessModal& m) {
        size_t before = owner.Only(WM_LBUTTONDOWN).size();
        host.Click(main, {10, 10});
        EXPECT_EQ(owner.Only(WM_LBUTTONDOWN).size(), before) << "the owner is blocked while the dialog runs";
        host.Click(free, {10, 10});
        EXPECT_EQ(modeless.Only(WM_LBUTTONDOWN).size(), 1u) << "a window without the dialog on it is not";
        host.PostQuitMessage(3);
        m.Advance(1);
    });
    EXPECT_EQ(host.RunModal(d), kModalQuit);
    EXPECT_EQ(host.ExitCode(), 3);
}

TEST_F(HeadlessTest, ScriptTypesIntoARealEditBoxThroughTheDialogsFilter)
{
    Recorder owner;
    WindowId main = Open(owner, {0, 0, 400, 300});
    ModalDialog dlg;
    std::u16string seenChars;
    dlg.preTranslate = [&](const Msg& m) {
        if (m.message == WM_CHAR) seenChars += static_cast<char16_t>(m.wParam);
        // Enter and Escape never reach the edit or close the dialog; letters are refused.
        if (m.message == WM_KEYDOWN && (m.wParam == VK_RETURN || m.wParam == VK_ESCAPE)) return true;
        return m.message == WM_CHAR && !(m.wParam >= '0' && m.wParam <= '9') && m.wParam != 8;
    };
    WindowId d = Open(dlg, {50, 50, 250, 150}, WindowKind::Dialog, main);
    WindowId edit = host.CreateEdit(d, 2017, {70, 50, 168, 72}, EditParams{});
    host.SetWindowText(edit, u"50");
    dlg.got.clear();
    host.ScriptModal([&](HeadlessModal& m) {
        EXPECT_TRUE(m.TypeInto(2017, u"1a2"));
        m.Key(VK_RETURN);
        EXPECT_FALSE(m.Ended()) << "Enter was swallowed";
        EXPECT_FALSE(m.TypeInto(9999, u"x"));
        m.Send(2010, 0, 2);
    });
    EXPECT_EQ(host.RunModal(d), IDOK);
    EXPECT_EQ(host.GetWindowText(edit), u"12");
    EXPECT_EQ(seenChars, u"1a2");
    EXPECT_EQ(host.EditSelectionStart(edit), 2);
    // Every change of the text reached the dialog as EN_CHANGE of control 2017.
    int changes = 0;
    for (auto& g : dlg.Only(WM_COMMAND))
        if (LOWORD(g.wParam) == 2017 && HIWORD(g.wParam) == static_cast<int>(EN_CHANGE)) ++changes;
    EXPECT_EQ(changes, 2);
}

TEST_F(HeadlessTest, CaptureKeepsMouseMessagesOnTheCapturingWindow)
{
    Recorder a, b;
    Open(a, {0, 0, 100, 100});
    Open(b, {200, 0, 300, 100});
    a.onMessage = [&](WindowId self, UINT m, WPARAM, LPARAM) {
        if (m == WM_LBUTTONDOWN) host.SetCapture(self);
        if (m == WM_LBUTTONUP) host.ReleaseCapture();
        return LRESULT{0};
    };
    host.MoveMouse({50, 50});
    host.PressButton();
    b.got.clear();
    host.MoveMouse({250, 40});  // over b, right of a
    host.MoveMouse({-20, -5});  // left of and above a
    host.ReleaseButton();
    EXPECT_TRUE(b.Only(WM_MOUSEMOVE).empty());
    EXPECT_TRUE(b.Only(WM_LBUTTONUP).empty());
    auto moves = a.Only(WM_MOUSEMOVE);
    ASSERT_GE(moves.size(), 2u);
    EXPECT_EQ(GET_X_LPARAM(moves[moves.size() - 2].lParam), 250);
    EXPECT_EQ(GET_X_LPARAM(moves.back().lParam), -20);
    EXPECT_EQ(GET_Y_LPARAM(moves.back().lParam), -5);
    EXPECT_EQ(moves.back().wParam & MK_LBUTTON, MK_LBUTTON);
    ASSERT_EQ(a.Only(WM_LBUTTONUP).size(), 1u);
    EXPECT_EQ(host.GetCapture(), WindowId{0});
    // Without capture the next move goes to the window under the pointer.
    host.MoveMouse({250, 40});
    EXPECT_EQ(b.Only(WM_MOUSEMOVE).size(), 1u);
}

TEST_F(HeadlessTest, PopupLearnsOfDismissalWhenAnotherWindowIsClicked)
{
    Recorder main, other, popup;
    WindowId wm = Open(main, {0, 0, 400, 300});
    WindowId wo = Open(other, {500, 0, 700, 200});
    WindowId wp = Open(popup, {20, 40, 181, 150}, WindowKind::Popup, wm);
    EXPECT_EQ(host.GetActiveWindow(), wp) << "a popup takes activation when shown";
    host.Click(wp, {5, 5});
    EXPECT_TRUE(popup.Only(WM_ACTIVATE).size() == 1) << "clicking inside keeps it active";
    host.Click(wo, {10, 10});
    auto acts = popup.Only(WM_ACTIVATE);
    ASSERT_EQ(acts.size(), 2u);
    EXPECT_EQ(acts[1].wParam, WA_INACTIVE);
    // The other window got activation before its click.
    ASSERT_FALSE(other.got.empty());
    auto firstAct = std::find_if(other.got.begin(), other.got.end(), [](auto& g) { return g.message == WM_ACTIVATE; });
    auto firstDown = std::find_if(other.got.begin(), other.got.end(), [](auto& g) { return g.message == WM_LBUTTONDOWN; });
    EXPECT_LT(firstAct, firstDown);
    // Turning to another program dismisses a popup too.
    WindowId second = Open(popup, {20, 40, 181, 150}, WindowKind::Popup, wm);
    size_t before = popup.Only(WM_ACTIVATE).size();
    host.ActivateOtherProgram();
    ASSERT_EQ(popup.Only(WM_ACTIVATE).size(), before + 1);
    EXPECT_EQ(popup.Only(WM_ACTIVATE).back().wParam, WA_INACTIVE);
    EXPECT_EQ(host.GetActiveWindow(), WindowId{0});
    (void)second;
    // Destroying the owner takes the popup with it.
    host.DestroyWindow(wm);
    EXPECT_FALSE(host.IsWindow(wp));
}

TEST_F(HeadlessTest, PostedCaptionPressMovesTheWindowWithThePointer)
{
    Recorder r;
    WindowId w = Open(r, {100, 100, 300, 200});
    r.onMessage = [&](WindowId self, UINT m, WPARAM, LPARAM l) {
        if (m == WM_LBUTTONDOWN) host.PostMessage(self, WM_NCLBUTTONDOWN, HTCAPTION, l);
        return LRESULT{0};
    };
    host.MoveMouse({150, 150});
    host.PressButton();
    host.MoveMouse({180, 170});
    host.MoveMouse({200, 190});
    host.ReleaseButton();
    EXPECT_EQ(host.GetWindowRect(w), (Rect{150, 140, 350, 240}));
    EXPECT_TRUE(r.Only(WM_LBUTTONUP).empty()) << "the move swallows the release";
    host.MoveMouse({210, 190});
    EXPECT_EQ(host.GetWindowRect(w).left, 150) << "the drag ended with the release";
}

TEST_F(HeadlessTest, TrackingReportsHoverAfterRestAndLeaveOnce)
{
    Recorder a, b;
    WindowId wa = Open(a, {0, 0, 100, 100});
    Open(b, {200, 0, 300, 100});
    a.onMessage = [&](WindowId self, UINT m, WPARAM, LPARAM) {
        if (m == WM_MOUSEMOVE) host.TrackMouseEvent(self, TME_HOVER | TME_LEAVE, 50);
        return LRESULT{0};
    };
    host.MoveMouse({10, 10});
    host.Advance(30);
    host.MoveMouse({12, 10});  // the rest starts again
    host.Advance(40);
    EXPECT_TRUE(a.Only(WM_MOUSEHOVER).empty());
    host.Advance(20);
    auto hov = a.Only(WM_MOUSEHOVER);
    ASSERT_EQ(hov.size(), 1u);
    EXPECT_EQ(GET_X_LPARAM(hov[0].lParam), 12);
    host.MoveMouse({250, 10});
    host.MoveMouse({260, 10});
    EXPECT_EQ(a.Only(WM_MOUSELEAVE).size(), 1u);
    // Asking for a leave while the pointer is elsewhere answers at once.
    host.TrackMouseEvent(wa, TME_LEAVE, 0);
    host.ProcessPending();
    EXPECT_EQ(a.Only(WM_MOUSELEAVE).size(), 2u);
}

TEST_F(HeadlessTest, RepaintTouchesOnlyTheInvalidatedRectangle)
{
    Recorder r;
    WindowId w = Open(r, {0, 0, 40, 30});
    const IImage* img = host.Snapshot(w);
    ASSERT_NE(img, nullptr);
    EXPECT_EQ(img->Pixel(39, 29), RGB(10, 20, 30));
    int paints = host.PaintCount(w);
    r.fill = RGB(200, 0, 0);
    host.InvalidateRect(w, {10, 10, 20, 20});
    host.InvalidateRect(w, {15, 15, 25, 25});
    img = host.Snapshot(w);
    EXPECT_EQ(host.PaintCount(w), paints + 1) << "two requests, one paint";
    EXPECT_EQ(img->Pixel(10, 10), RGB(200, 0, 0));
    EXPECT_EQ(img->Pixel(24, 24), RGB(200, 0, 0));
    EXPECT_EQ(img->Pixel(9, 9), RGB(10, 20, 30));
    EXPECT_EQ(img->Pixel(30, 5), RGB(10, 20, 30));
}

TEST_F(HeadlessTest, KeysGoToTheActiveWindowAndEnterCanBeSwallowed)
{
    Recorder r;
    Open(r, {0, 0, 100, 100});
    r.preTranslate = [](const Msg& m) {
        return m.message == WM_KEYDOWN && (m.wParam == VK_RETURN || m.wParam == VK_ESCAPE);
    };
    host.PressKey(VK_RETURN);
    host.PressKey(VK_ESCAPE);
    host.PressKey('Q');
    auto downs = r.Only(WM_KEYDOWN);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].wParam, static_cast<WPARAM>('Q'));
    auto chars = r.Only(WM_CHAR);
    ASSERT_FALSE(chars.empty());
    EXPECT_EQ(chars.back().wParam, static_cast<WPARAM>('q'));
    auto ups = r.Only(WM_KEYUP);
    ASSERT_EQ(ups.size(), 3u);
    EXPECT_NE(static_cast<uint32_t>(ups[0].lParam) & 0x80000000u, 0u);
}

TEST_F(HeadlessTest, WheelGoesToTheWindowUnderThePointerWithItsDelta)
{
    Recorder a, b;
    Open(a, {0, 0, 100, 100});
    WindowId wb = Open(b, {200, 0, 300, 100});
    host.MoveMouseTo(wb, {30, 40});
    host.Wheel(-120);
    auto wheel = b.Only(WM_MOUSEWHEEL);
    ASSERT_EQ(wheel.size(), 1u);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(wheel[0].wParam), -120);
    EXPECT_EQ(GET_X_LPARAM(wheel[0].lParam), 30);
    EXPECT_TRUE(a.Only(WM_MOUSEWHEEL).empty());
    // A hidden window is not under the pointer any more.
    host.ShowWindow(wb, SW_HIDE);
    host.Wheel(120);
    EXPECT_EQ(b.Only(WM_MOUSEWHEEL).size(), 1u);
    EXPECT_EQ(host.WindowAt(host.ClientToScreen(wb, {30, 40})), WindowId{0});
}

TEST_F(HeadlessTest, DoubleClickArrivesAsItsOwnMessage)
{
    Recorder r;
    WindowId w = Open(r, {0, 0, 100, 100});
    host.MoveMouseTo(w, {5, 6});
    host.DoubleClick();
    std::vector<UINT> seq;
    for (auto& g : r.got)
        if (g.message >= WM_LBUTTONDOWN && g.message <= WM_LBUTTONDBLCLK) seq.push_back(g.message);
    EXPECT_EQ(seq, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));
}

}  // namespace
