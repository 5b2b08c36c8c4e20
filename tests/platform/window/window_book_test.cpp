// The window bookkeeping both hosts share, run once against each host: the
// headless one the tests use and the Qt one the program uses.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "host_under_test.h"

using namespace platform;

namespace {

struct Client : IWindowClient {
    std::string name;
    std::vector<std::string>* destroyed = nullptr;
    std::vector<UINT> got;
    std::vector<WPARAM> activations;
    std::function<void(WindowId, UINT, WPARAM, LPARAM)> onMessage;

    LRESULT OnMessage(WindowId self, UINT m, WPARAM w, LPARAM l) override
    {
        got.push_back(m);
        if (m == WM_ACTIVATE) activations.push_back(w);
        if (m == WM_DESTROY && destroyed) destroyed->push_back(name);
        if (onMessage) onMessage(self, m, w, l);
        return 0;
    }
    void OnPaint(WindowId, ICanvas& c, const Rect&) override { c.FillRect({0, 0, c.Width(), c.Height()}, RGB(9, 9, 9)); }
    size_t Count(UINT m) const { return static_cast<size_t>(std::count(got.begin(), got.end(), m)); }
};

class WindowBookTest : public ::testing::Test {
protected:
    std::unique_ptr<HostUnderTest> driver = MakeHostUnderTest();
    WindowBook& host = driver->Host();
    std::deque<Client> clients;  // outlive the windows
    std::vector<std::string> destroyed;

    ~WindowBookTest() override
    {
        for (auto& [id, name] : opened) host.DestroyWindow(id);
        driver->Pump();
    }

    WindowId Open(const std::string& name, Rect bounds, WindowKind kind = WindowKind::Dialog, WindowId owner = 0,
                  bool visible = true)
    {
        Client& c = clients.emplace_back();
        c.name = name;
        c.destroyed = &destroyed;
        WindowParams p;
        p.kind = kind;
        p.bounds = bounds;
        p.owner = owner;
        p.visible = visible;
        WindowId w = host.CreateWindow(&c, p);
        opened.emplace_back(w, name);
        return w;
    }
    Client& ClientOf(WindowId w)
    {
        for (size_t i = 0; i < opened.size(); ++i)
            if (opened[i].first == w) return clients[i];
        throw std::logic_error("no such window");
    }

private:
    std::vector<std::pair<WindowId, std::string>> opened;
};

TEST_F(WindowBookTest, AWindowGoesAfterWhatItOwnsOldestFirst)
{
    WindowId main = Open("main", {0, 0, 400, 300});
    WindowId first = Open("first", {20, 20, 200, 200}, WindowKind::Dialog, main);
    WindowId second = Open("second", {40, 40, 220, 220}, WindowKind::Popup, main);
    Open("grandchild", {60, 60, 100, 100}, WindowKind::Popup, first);
    WindowId edit = host.CreateEdit(main, 2017, {10, 10, 90, 30}, EditParams{});
    ASSERT_NE(edit, WindowId{0});
    // Stacking must not matter: the first-made window is raised above the second.
    host.SetForegroundWindow(first);
    EXPECT_TRUE(host.PostMessage(main, WM_USER + 7, 0, 0));
    bool ownerStillThere = false;
    ClientOf(second).onMessage = [&](WindowId, UINT m, WPARAM, LPARAM) {
        if (m == WM_DESTROY) ownerStillThere = host.GetOwner(second) == main && !host.IsWindow(main);
    };

    host.DestroyWindow(main);
    driver->Pump();
    EXPECT_EQ(destroyed, (std::vector<std::string>{"grandchild", "first", "second", "main"}));
    EXPECT_TRUE(ownerStillThere) << "an owned window goes while its owner is already on its way out";
    for (WindowId w : {main, first, second, edit}) EXPECT_FALSE(host.IsWindow(w));
    EXPECT_EQ(ClientOf(main).Count(WM_USER + 7), 0u) << "a message posted before the end is dropped";
    EXPECT_FALSE(host.PostMessage(main, WM_USER + 7, 0, 0));
    EXPECT_EQ(host.GetActiveWindow(), WindowId{0});
}

TEST_F(WindowBookTest, ActivationGoesBackToAShownOwnerOrToNobody)
{
    struct Case {
        const char* name;
        bool destroy;       // else hidden
        bool ownerShown;
    };
    for (const Case& c : {Case{"destroyed, owner shown", true, true}, Case{"hidden, owner shown", false, true},
                          Case{"destroyed, owner hidden", true, false}, Case{"hidden, owner hidden", false, false}}) {
        SCOPED_TRACE(c.name);
        WindowId main = Open("main", {0, 0, 400, 300}, WindowKind::Dialog, 0, c.ownerShown);
        WindowId popup = Open("popup", {20, 40, 181, 150}, WindowKind::Popup, main);
        ASSERT_EQ(host.GetActiveWindow(), popup);
        size_t before = ClientOf(main).activations.size();
        if (c.destroy)
            host.DestroyWindow(popup);
        else
            host.ShowWindow(popup, SW_HIDE);
        driver->Pump();
        WindowId expected = c.ownerShown ? main : 0;
        EXPECT_EQ(host.GetActiveWindow(), expected);
        if (c.ownerShown) {
            ASSERT_EQ(ClientOf(main).activations.size(), before + 1);
            EXPECT_EQ(ClientOf(main).activations.back(), static_cast<WPARAM>(WA_ACTIVE));
        } else {
            EXPECT_EQ(host.GetFocus(), WindowId{0}) << "with nothing active nothing keeps the keys";
        }
        host.DestroyWindow(main);
        driver->Pump();
    }
}

TEST_F(WindowBookTest, ModalRunsEndAsTheirDialogSays)
{
    enum class Then { EndOk, Destroy, EndEarly };
    struct Case {
        const char* name;
        Then then;
        LRESULT result;
    };
    for (const Case& c : {Case{"ends itself", Then::EndOk, IDOK}, Case{"destroyed while it runs", Then::Destroy, IDCANCEL},
                          Case{"ended before it ran", Then::EndEarly, 7}}) {
        SCOPED_TRACE(c.name);
        WindowId main = Open("main", {0, 0, 400, 300});
        WindowId other = Open("other", {500, 0, 700, 200});
        WindowId dlg = Open("dialog", {50, 50, 369, 152}, WindowKind::Dialog, main, false);
        size_t ownerClicks = ClientOf(main).Count(WM_LBUTTONDOWN);
        size_t otherClicks = ClientOf(other).Count(WM_LBUTTONDOWN);
        bool sawOwnerBlocked = false;
        ClientOf(dlg).onMessage = [&](WindowId self, UINT m, WPARAM w, LPARAM) {
            // Once it shows, the dialog acts from a posted message, as a
            // button of it would.
            if (m == WM_SHOWWINDOW && w) host.PostMessage(self, WM_USER + 1, 0, 0);
            if (m != WM_USER + 1) return;
            driver->Click(main, {10, 10});
            driver->Click(other, {10, 10});
            sawOwnerBlocked = ClientOf(main).Count(WM_LBUTTONDOWN) == ownerClicks &&
                              ClientOf(other).Count(WM_LBUTTONDOWN) == otherClicks + 1;
            if (c.then == Then::EndOk) host.EndModal(self, IDOK);
            if (c.then == Then::Destroy) host.DestroyWindow(self);
        };
        if (c.then == Then::EndEarly) host.EndModal(dlg, 7);
        EXPECT_EQ(host.RunModal(dlg), c.result);
        if (c.then != Then::EndEarly) {
            EXPECT_TRUE(sawOwnerBlocked) << "the owner is blocked while the dialog runs, other windows are not";
        }
        if (host.IsWindow(dlg)) {
            EXPECT_FALSE(host.IsWindowVisible(dlg));
        }
        driver->Click(main, {10, 10});
        EXPECT_EQ(ClientOf(main).Count(WM_LBUTTONDOWN), ownerClicks + 1) << "the owner is free again";
        EXPECT_EQ(host.GetActiveWindow(), main);
        host.DestroyWindow(main);
        host.DestroyWindow(other);
        driver->Pump();
    }
}

TEST_F(WindowBookTest, CaptureBelongsToTheTopLevelWindowAndEndsWithIt)
{
    WindowId a = Open("a", {0, 0, 100, 100});
    WindowId b = Open("b", {200, 0, 300, 100});
    WindowId edit = host.CreateEdit(a, 2017, {10, 10, 90, 30}, EditParams{});
    host.SetCapture(edit);
    EXPECT_EQ(host.GetCapture(), a);
    host.ShowWindow(a, SW_HIDE);
    EXPECT_EQ(host.GetCapture(), WindowId{0}) << "a hidden window cannot hold the mouse";
    host.SetCapture(b);
    host.DestroyWindow(b);
    EXPECT_EQ(host.GetCapture(), WindowId{0});
    host.SetCapture(b);
    EXPECT_EQ(host.GetCapture(), WindowId{0}) << "a gone window cannot take it";
    EXPECT_EQ(host.FindEdit(a, 2017), edit);
    host.DestroyWindow(edit);
    EXPECT_EQ(host.FindEdit(a, 2017), WindowId{0});
    EXPECT_TRUE(host.IsWindow(a));
}

}  // namespace
