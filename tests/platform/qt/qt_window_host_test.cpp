// The Qt host on the off-screen platform: real widgets, real Qt events.
#include "platform/qt/qt_application.h"
#include "platform/qt/qt_window_host.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <deque>
#include <functional>
#include <thread>
#include <vector>

using namespace platform;

namespace {

QtApplication* g_app = nullptr;

struct Recorder : IWindowClient {
    struct Got {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    std::vector<Got> got;
    std::function<LRESULT(WindowId, UINT, WPARAM, LPARAM)> onMessage;
    std::function<bool(const Msg&)> preTranslate;
    COLORREF fill = RGB(0x1F, 0x1F, 0x1F);
    Rect pressed;  // drawn in the accent colour once clicked

    LRESULT OnMessage(WindowId self, UINT m, WPARAM w, LPARAM l) override
    {
        got.push_back({m, w, l});
        return onMessage ? onMessage(self, m, w, l) : 0;
    }
    void OnPaint(WindowId, ICanvas& c, const Rect&) override
    {
        c.FillRect({0, 0, c.Width(), c.Height()}, fill);
        if (!pressed.IsEmpty()) c.FillRect(pressed, RGB(0x35, 0xA0, 0xDE));
    }
    bool PreTranslateMessage(WindowId, const Msg& m) override { return preTranslate && preTranslate(m); }
    size_t Count(UINT m, WPARAM w = ~WPARAM{0}) const
    {
        size_t n = 0;
        for (const Got& g : got) n += g.message == m && (w == ~WPARAM{0} || g.wParam == w);
        return n;
    }
};

class QtHostTest : public ::testing::Test {
protected:
    QtWindowHost& host = g_app->QtHost();
    std::vector<WindowId> opened;
    std::deque<Recorder> recorders;  // outlive the windows, which TearDown destroys

    Recorder& Make() { return recorders.emplace_back(); }
    static void Pump()
    {
        // A reaction may post a message whose handler posts the next one.
        for (int i = 0; i < 5; ++i) QApplication::processEvents();
    }

    WindowId Open(Recorder& r, Rect bounds, WindowKind kind = WindowKind::Dialog, WindowId owner = 0)
    {
        WindowParams p;
        p.kind = kind;
        p.bounds = bounds;
        p.owner = owner;
        p.visible = true;
        WindowId w = host.CreateWindow(&r, p);
        opened.push_back(w);
        return w;
    }
    void TearDown() override
    {
        for (auto it = opened.rbegin(); it != opened.rend(); ++it) host.DestroyWindow(*it);
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QWidget* W(WindowId w) { return host.WidgetOf(w); }
};

TEST_F(QtHostTest, PaintsFromTheClientAndReactsToAClick)
{
    Recorder& r = Make();
    r.onMessage = [&](WindowId self, UINT m, WPARAM, LPARAM l) -> LRESULT {
        if (m == WM_LBUTTONUP) {
            int x = GET_X_LPARAM(l), y = GET_Y_LPARAM(l);
            r.pressed = {x - 5, y - 5, x + 5, y + 5};
            host.InvalidateRect(self, r.pressed);
        }
        return 0;
    };
    WindowId w = Open(r, {100, 100, 300, 200});
    ASSERT_NE(w, WindowId{0});
    EXPECT_EQ(r.got.front().message, static_cast<UINT>(WM_CREATE));
    QImage before = W(w)->grab().toImage();
    EXPECT_EQ(before.pixelColor(50, 50), QColor(0x1F, 0x1F, 0x1F));

    QTest::mouseClick(W(w), Qt::LeftButton, {}, QPoint(40, 30));
    EXPECT_EQ(r.Count(WM_LBUTTONDOWN), 1u);
    ASSERT_EQ(r.Count(WM_LBUTTONUP), 1u);
    QImage after = W(w)->grab().toImage();
    EXPECT_EQ(after.pixelColor(40, 30), QColor(0x35, 0xA0, 0xDE));
    EXPECT_EQ(after.pixelColor(60, 30), QColor(0x1F, 0x1F, 0x1F));
    EXPECT_EQ(host.GetWindowRect(w), (Rect{100, 100, 300, 200}));
    EXPECT_EQ(host.ClientToScreen(w, {1, 2}), (Point{101, 102}));
}

TEST_F(QtHostTest, PopupReportsDismissalWhenAnotherWindowIsClicked)
{
    Recorder& main = Make();
    Recorder& other = Make();
    Recorder& popup = Make();
    WindowId wm = Open(main, {0, 0, 400, 300});
    WindowId wo = Open(other, {500, 0, 700, 200});
    // The owner closes its popup when told it lost activation, as the menus do.
    popup.onMessage = [&](WindowId self, UINT m, WPARAM w, LPARAM) -> LRESULT {
        if (m == WM_ACTIVATE && w == WA_INACTIVE) host.PostMessage(wm, WM_USER + 5, 0, 0);
        if (m == WM_CLOSE) host.DestroyWindow(self);
        return 0;
    };
    WindowId wp = Open(popup, {20, 40, 181, 150}, WindowKind::Popup, wm);
    main.onMessage = [&](WindowId, UINT m, WPARAM, LPARAM) -> LRESULT {
        if (m == WM_USER + 5) host.PostMessage(wp, WM_CLOSE, 0, 0);
        return 0;
    };
    EXPECT_EQ(host.GetActiveWindow(), wp);
    EXPECT_TRUE(W(wp)->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(W(wp)->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(W(wp)->geometry(), QRect(20, 40, 161, 110));

    QTest::mouseClick(W(wp), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(popup.Count(WM_ACTIVATE, WA_INACTIVE), 0u);
    QTest::mouseClick(W(wo), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(popup.Count(WM_ACTIVATE, WA_INACTIVE), 1u);
    Pump();
    EXPECT_FALSE(host.IsWindow(wp)) << "closed by its owner after the dismissal";
    EXPECT_EQ(popup.got.back().message, static_cast<UINT>(WM_DESTROY));
    EXPECT_EQ(other.Count(WM_LBUTTONDOWN), 1u) << "the click still reaches the window clicked";
}

TEST_F(QtHostTest, PostedMessagesFromAnotherThreadArriveInOrder)
{
    Recorder& r = Make();
    WindowId w = Open(r, {0, 0, 50, 50});
    std::thread t([&] {
        for (int i = 0; i < 500; ++i) host.PostMessage(w, WM_USER + 43, static_cast<WPARAM>(i), 0);
    });
    t.join();
    Pump();
    std::vector<WPARAM> seen;
    for (auto& g : r.got)
        if (g.message == WM_USER + 43) seen.push_back(g.wParam);
    ASSERT_EQ(seen.size(), 500u);
    for (size_t i = 0; i < seen.size(); ++i) ASSERT_EQ(seen[i], i);
}

TEST_F(QtHostTest, ModalRunEndsWithTheResultItsHandlerGives)
{
    Recorder& main = Make();
    Recorder& dlg = Make();
    WindowId wm = Open(main, {0, 0, 400, 300});
    dlg.onMessage = [&](WindowId self, UINT m, WPARAM, LPARAM l) -> LRESULT {
        if (m == WM_SHOWWINDOW) host.PostMessage(self, 2010, 0, 2);  // "OK clicked" once it shows
        if (m == 2010 && l == 2) host.EndModal(self, IDOK);
        return 0;
    };
    WindowParams p;
    p.bounds = {50, 50, 369, 152};
    p.owner = wm;
    WindowId d = host.CreateWindow(&dlg, p);
    opened.push_back(d);
    EXPECT_EQ(host.RunModal(d), IDOK);
    EXPECT_FALSE(host.IsWindowVisible(d));
    EXPECT_EQ(W(d)->windowModality(), Qt::NonModal);
    // Ended before it ran: returns at once.
    host.EndModal(d, IDCANCEL);
    EXPECT_EQ(host.RunModal(d), IDCANCEL);
}

TEST_F(QtHostTest, EditBoxReportsChangesAndTheDialogFiltersKeys)
{
    Recorder& dlg = Make();
    dlg.preTranslate = [](const Msg& m) {
        if (m.message == WM_KEYDOWN && (m.wParam == VK_RETURN || m.wParam == VK_ESCAPE)) return true;
        return m.message == WM_CHAR && !(m.wParam >= '0' && m.wParam <= '9');
    };
    WindowId d = Open(dlg, {0, 0, 200, 100});
    EditParams ep;
    ep.align = DT_CENTER;
    WindowId e = host.CreateEdit(d, 2017, {70, 50, 168, 72}, ep);
    ASSERT_NE(e, WindowId{0});
    host.SetWindowText(e, u"50");
    host.SetEditSelection(e, -1, -1);
    auto* edit = qobject_cast<QLineEdit*>(W(e));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->cursorPosition(), 2);
    EXPECT_EQ(edit->geometry(), QRect(70, 50, 98, 22));
    host.SetFocus(e);
    QTest::keyClicks(edit, "7x8");
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(host.GetWindowText(e), u"5078");
    size_t changes = 0;
    for (auto& g : dlg.got)
        if (g.message == WM_COMMAND && LOWORD(g.wParam) == 2017 && HIWORD(g.wParam) == static_cast<int>(EN_CHANGE))
            ++changes;
    EXPECT_EQ(changes, 3u);  // "50" set, then 7 and 8 typed
}

// Tab moves between a dialog's edit boxes as Qt moves it; after the last
// one the window itself takes the keys again (its skinned controls' turn),
// and a Tab there stays with the window's client.
TEST_F(QtHostTest, TabMovesBetweenEditBoxesAndBackToTheWindow)
{
    Recorder& dlg = Make();
    WindowId d = Open(dlg, {0, 0, 300, 100});
    WindowId first = host.CreateEdit(d, 2017, {10, 10, 100, 30}, EditParams{});
    WindowId second = host.CreateEdit(d, 2018, {150, 10, 240, 30}, EditParams{});
    host.SetForegroundWindow(d);
    ASSERT_TRUE(QTest::qWaitForWindowActive(W(d)));
    host.SetFocus(first);
    ASSERT_EQ(QApplication::focusWidget(), W(first));

    QTest::keyClick(W(first), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), W(second));
    QTest::keyClick(W(second), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), W(first));
    QTest::keyClick(W(first), Qt::Key_Tab);
    QTest::keyClick(W(second), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), W(d));
    dlg.got.clear();
    QTest::keyClick(W(d), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), W(d));
    EXPECT_EQ(dlg.Count(WM_KEYDOWN, VK_TAB), 1u);
}

TEST_F(QtHostTest, KeysCarryTheCodesTheKeyboardHookGives)
{
    Recorder& r = Make();
    WindowId w = Open(r, {0, 0, 100, 100});
    struct Case {
        Qt::Key key;
        WPARAM vk;
    };
    // Modifiers are the left ones, as in the key names and the macro tables.
    for (const Case& c : {Case{Qt::Key_Shift, 0xA0}, Case{Qt::Key_Control, 0xA2}, Case{Qt::Key_Alt, 0xA4},
                          Case{Qt::Key_A, 'A'}, Case{Qt::Key_F9, 0x78}}) {
        r.got.clear();
        QTest::keyClick(W(w), c.key);
        ASSERT_EQ(r.Count(WM_KEYDOWN), 1u) << c.key;
        EXPECT_EQ(r.got.front().wParam, c.vk) << c.key;
    }
}

TEST_F(QtHostTest, CaptionPressMovesTheWindowWithThePointer)
{
    Recorder& r = Make();
    r.onMessage = [&](WindowId self, UINT m, WPARAM, LPARAM l) -> LRESULT {
        if (m == WM_LBUTTONDOWN) host.SendMessage(self, WM_NCLBUTTONDOWN, HTCAPTION, l);
        return 0;
    };
    WindowId w = Open(r, {100, 100, 300, 200});
    QTest::mousePress(W(w), Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(W(w), QPoint(40, 30));
    QTest::mouseRelease(W(w), Qt::LeftButton, {}, QPoint(40, 30));
    EXPECT_EQ(host.GetWindowRect(w).TopLeft(), (Point{130, 120}));
    EXPECT_EQ(r.Count(WM_LBUTTONUP), 0u);
}

TEST_F(QtHostTest, OverlayIsTopmostTranslucentAndTakesNoInput)
{
    Recorder& main = Make();
    Recorder& osd = Make();
    WindowId wm = Open(main, {0, 0, 400, 300});
    WindowParams p;
    p.kind = WindowKind::Overlay;
    p.bounds = {1100, 600, 1280, 740};
    p.opacity = 128;
    p.visible = true;
    WindowId o = host.CreateWindow(&osd, p);
    opened.push_back(o);
    EXPECT_EQ(host.GetActiveWindow(), wm) << "showing the display activates nothing";
    EXPECT_NEAR(W(o)->windowOpacity(), 128 / 255.0, 0.01);
    EXPECT_TRUE(W(o)->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(W(o)->windowFlags().testFlag(Qt::WindowTransparentForInput));
    QTest::mouseClick(W(o), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(osd.Count(WM_LBUTTONDOWN), 0u);
}

TEST_F(QtHostTest, ApplicationIconComesFromAPngFile)
{
    EXPECT_FALSE(g_app->SetIcon("/nonexistent/icon.png"));
    QTemporaryDir dir;
    QImage img(16, 16, QImage::Format_ARGB32);
    img.fill(qRgb(0x35, 0xA0, 0xDE));
    ASSERT_TRUE(img.save(dir.filePath("icon.png")));
    EXPECT_TRUE(g_app->SetIcon(dir.filePath("icon.png").toStdString()));
    EXPECT_FALSE(QApplication::windowIcon().isNull());
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QtApplication app(argc, argv);
    g_app = &app;
    return RUN_ALL_TESTS();
}
