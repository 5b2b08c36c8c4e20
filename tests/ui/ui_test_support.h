#pragma once
// A headless window host, the generated skin, and a dialog whose controls a
// test builds and whose control messages it records.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "base/ui_text.h"
#include "platform/headless/headless_host.h"
#include "ui/dlg_base.h"
#include "ui/radio_state.h"
#include "ui/skin_image.h"
#include "ui/ui_scale.h"
#include "ui/wnd_popup.h"

class TestDlg : public CDlgBase {
public:
    struct Event {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    explicit TestDlg(int width = 400, int height = 300, bool secondary = true) : CDlgBase(secondary)
    {
        windowWidth = width;
        windowHeight = height;
    }

    std::function<void(TestDlg&)> build;
    // Called for WM_MOUSEMOVE after the base handling (the main window routes
    // slider drags this way).
    std::function<void(WPARAM, int, int)> afterMouseMove;
    std::vector<Event> events;

    void CreateControls(Rect) override
    {
        if (build) build(*this);
    }
    void DrawBackground(platform::ICanvas& dc, const Rect& client) override
    {
        PaintBackgroundCache(dc, client);
        DrawControls(dc, client);
    }

    template <class T, class... A>
    T* Add(int group, A&&... args)
    {
        return AddControl(group, std::make_unique<T>(GetSafeHwnd(), std::forward<A>(args)...));
    }

    HWND AddEdit(int id, const Rect& r) { return CreateEditBox(id, r, {}); }

    int Count(UINT message, LPARAM lParam) const
    {
        int n = 0;
        for (const Event& e : events)
            if (e.message == message && e.lParam == lParam) ++n;
        return n;
    }
    int CountMessage(UINT message) const
    {
        int n = 0;
        for (const Event& e : events)
            if (e.message == message) ++n;
        return n;
    }
    const Event* Last(UINT message) const
    {
        for (auto it = events.rbegin(); it != events.rend(); ++it)
            if (it->message == message) return &*it;
        return nullptr;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= WM_USER && message < 4000) events.push_back({message, wParam, lParam});
        LRESULT r = CDlgBase::WindowProc(message, wParam, lParam);
        if (message == WM_MOUSEMOVE && afterMouseMove) afterMouseMove(wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return r;
    }
};

class UiTest : public ::testing::Test {
protected:
    platform::HeadlessHost host;

    void SetUp() override
    {
        platform::g_windowHost = &host;
        g_uiScale = 1.0f;
        SetSkinProgramFolder(TEVLAN_BINARY_DIR);
        g_radioStateWord = 0;
        g_dpiEnableMask = 0;
        g_openDialogs = {};
        ClearUiTexts();
        g_uiFont.face = u"DejaVu Sans";
        g_uiFont.height = 14;
    }
    void TearDown() override
    {
        CWndPopup::ReapDestroyed();
        g_uiScale = 1.0f;
        platform::g_windowHost = nullptr;
    }

    // Opens dlg modeless with the controls build adds.
    HWND Open(TestDlg& dlg, std::function<void(TestDlg&)> build = {}, HWND owner = 0)
    {
        dlg.build = std::move(build);
        EXPECT_TRUE(dlg.Create(owner));
        host.ProcessPending();
        return dlg.GetSafeHwnd();
    }
    void MoveTo(HWND w, int x, int y) { host.MoveMouseTo(w, {x, y}); }
    void ClickAt(HWND w, int x, int y) { host.Click(w, {x, y}); }
    std::u16string Skin(const char16_t* name) { return SkinPath(std::u16string(u"skins/") + name); }
    COLORREF PixelAt(HWND w, int x, int y)
    {
        const platform::IImage* img = host.Snapshot(w);
        return img ? img->Pixel(x, y) : 0xFFFFFFFF;
    }
};
