// A small program that exercises the Qt window host for real (not part of
// the product): a frameless main window with a button and a combo, a
// popup that closes when another window is clicked, a second window, an
// edit box and the translucent on-screen display. Run it under a display,
// click around, drag the main window by its background.
#include <string>

#include "platform/qt/qt_application.h"
#include "platform/qt/qt_window_host.h"

using namespace platform;

namespace {

IWindowHost* host = nullptr;
const FontSpec kFont{u"DejaVu Sans", 16, 0, 400};
const FontSpec kBold{u"DejaVu Sans", 20, 0, 700};
constexpr COLORREF kDark = RGB(0x1F, 0x1F, 0x1F);
constexpr COLORREF kGrey = RGB(0x32, 0x32, 0x32);
constexpr COLORREF kText = RGB(180, 180, 180);
constexpr COLORREF kAccent = RGB(0x35, 0xA0, 0xDE);
constexpr UINT kPopupChosen = WM_USER + 101;
constexpr UINT kPopupDismissed = WM_USER + 102;

std::u16string Num(int n)
{
    std::string s = std::to_string(n);
    return std::u16string(s.begin(), s.end());
}

struct Popup : IWindowClient {
    WindowId owner = 0;
    int hovered = -1;
    const char16_t* items[3] = {u"125Hz", u"500Hz", u"1000Hz"};

    Rect Item(int i) const { return {1, 1 + i * 26, 159, 1 + (i + 1) * 26}; }
    LRESULT OnMessage(WindowId self, UINT m, WPARAM w, LPARAM l) override
    {
        if (m == WM_MOUSEMOVE) {
            int h = -1;
            for (int i = 0; i < 3; ++i)
                if (Item(i).Contains(GET_X_LPARAM(l), GET_Y_LPARAM(l))) h = i;
            if (h != hovered) {
                hovered = h;
                host->Invalidate(self);
            }
        }
        if (m == WM_LBUTTONUP && hovered >= 0) host->SendMessage(owner, kPopupChosen, 0, hovered);
        if (m == WM_ACTIVATE && w == WA_INACTIVE) host->SendMessage(owner, kPopupDismissed, 0, 0);
        if (m == WM_CLOSE) host->DestroyWindow(self);
        return 0;
    }
    void OnPaint(WindowId, ICanvas& c, const Rect&) override
    {
        c.FillRect({0, 0, c.Width(), c.Height()}, RGB(0, 0, 0));
        for (int i = 0; i < 3; ++i) {
            c.FillRect(Item(i), i == hovered ? kAccent : kGrey);
            c.DrawText(items[i], Item(i), DT_CENTER | DT_VCENTER | DT_SINGLELINE, kFont,
                       i == hovered ? RGB(255, 255, 255) : kText);
        }
    }
};

struct Osd : IWindowClient {
    std::u16string level = u"DPI-3", value = u"1600", rate = u"1000Hz";
    LRESULT OnMessage(WindowId, UINT, WPARAM, LPARAM) override { return 0; }
    void OnPaint(WindowId, ICanvas& c, const Rect&) override
    {
        c.FillRect({0, 0, c.Width(), c.Height()}, RGB(164, 73, 164));
        c.DrawText(level, {0, 14, 180, 44}, DT_CENTER | DT_SINGLELINE, kBold, RGB(255, 255, 255));
        c.DrawText(value, {0, 44, 180, 92}, DT_CENTER | DT_SINGLELINE, {u"DejaVu Sans", 40, 0, 400}, RGB(255, 255, 255));
        c.DrawText(rate, {0, 92, 180, 122}, DT_CENTER | DT_SINGLELINE, kBold, RGB(255, 255, 255));
    }
};

struct Other : IWindowClient {
    int clicks = 0;
    LRESULT OnMessage(WindowId self, UINT m, WPARAM, LPARAM) override
    {
        if (m == WM_LBUTTONDOWN) {
            ++clicks;
            host->Invalidate(self);
        }
        return 0;
    }
    void OnPaint(WindowId, ICanvas& c, const Rect&) override
    {
        c.FillRect({0, 0, c.Width(), c.Height()}, kGrey);
        c.FrameRect({0, 0, c.Width(), c.Height()}, kAccent);
        c.DrawText(u"Another window: clicks " + Num(clicks), {0, 0, c.Width(), c.Height()},
                   DT_CENTER | DT_VCENTER | DT_SINGLELINE, kFont, kText);
    }
};

struct Main : IWindowClient {
    const Rect button{40, 80, 240, 120};
    const Rect combo{300, 80, 460, 120};
    const Rect close{560, 8, 590, 32};
    int clicks = 0;
    bool pressed = false;
    WindowId popup = 0;
    std::u16string status = u"Drag the background to move me";
    std::u16string rate = u"1000Hz";
    Popup popupClient;
    WindowId edit = 0;

    LRESULT OnMessage(WindowId self, UINT m, WPARAM w, LPARAM l) override
    {
        int x = GET_X_LPARAM(l), y = GET_Y_LPARAM(l);
        switch (m) {
        case WM_CREATE: {
            EditParams ep;
            ep.font = kFont;
            ep.align = DT_CENTER;
            ep.backColour = RGB(75, 75, 75);
            ep.textColour = RGB(255, 255, 255);
            edit = host->CreateEdit(self, 2017, {40, 160, 240, 190}, ep);
            host->SetWindowText(edit, u"50");
            break;
        }
        case WM_LBUTTONDOWN:
            if (button.Contains(x, y)) {
                pressed = true;
                host->SetCapture(self);
                host->InvalidateRect(self, button);
            } else if (combo.Contains(x, y)) {
                Point p = host->ClientToScreen(self, {combo.left, combo.bottom});
                WindowParams pp;
                pp.kind = WindowKind::Popup;
                pp.owner = self;
                pp.bounds = Rect::FromSize(p.x, p.y, 160, 80);
                pp.visible = true;
                popupClient.owner = self;
                popupClient.hovered = -1;
                if (popup) host->PostMessage(popup, WM_CLOSE, 0, 0);
                popup = host->CreateWindow(&popupClient, pp);
                status = u"Popup open";
                host->Invalidate(self);
            } else if (close.Contains(x, y)) {
                host->PostQuitMessage(0);
            } else {
                host->PostMessage(self, WM_NCLBUTTONDOWN, HTCAPTION, l);
            }
            break;
        case WM_LBUTTONUP:
            host->ReleaseCapture();
            if (pressed && button.Contains(x, y)) {
                ++clicks;
                status = u"Button clicked " + Num(clicks) + u" times";
            }
            pressed = false;
            host->Invalidate(self);
            break;
        case kPopupChosen:
            rate = popupClient.items[l];
            status = u"Chose " + rate;
            host->PostMessage(popup, WM_CLOSE, 0, 0);
            popup = 0;
            host->Invalidate(self);
            break;
        case kPopupDismissed:
            status = u"Popup dismissed";
            if (popup) host->PostMessage(popup, WM_CLOSE, 0, 0);
            popup = 0;
            host->Invalidate(self);
            break;
        case WM_COMMAND:
            if (LOWORD(w) == 2017 && HIWORD(w) == static_cast<int>(EN_CHANGE)) {
                status = u"Edit: " + host->GetWindowText(edit);
                host->Invalidate(self);
            }
            break;
        case WM_CLOSE: host->PostQuitMessage(0); break;
        default: break;
        }
        return 0;
    }
    void OnPaint(WindowId, ICanvas& c, const Rect&) override
    {
        c.FillRect({0, 0, c.Width(), c.Height()}, kDark);
        c.FillRect({0, 0, c.Width(), 40}, kGrey);
        c.DrawText(u"Tevlan window demo", {12, 0, 400, 40}, DT_LEFT | DT_VCENTER | DT_SINGLELINE, kBold, kText);
        c.FillRect(close, RGB(0x78, 0, 0));
        c.DrawText(u"x", close, DT_CENTER | DT_VCENTER | DT_SINGLELINE, kFont, RGB(255, 255, 255));
        c.FillRect(button, pressed ? kAccent : kGrey);
        c.FrameRect(button, kAccent);
        c.DrawText(u"Click me", button, DT_CENTER | DT_VCENTER | DT_SINGLELINE, kFont, pressed ? RGB(255, 255, 0) : kText);
        c.FillRect(combo, popup ? kAccent : kGrey);
        c.DrawText(rate + u"  \u25BE", combo, DT_CENTER | DT_VCENTER | DT_SINGLELINE, kFont, RGB(255, 255, 255));
        c.DrawText(status, {40, 220, 560, 260}, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS, kFont,
                   RGB(255, 255, 255));
        c.DrawText(u"A long caption that does not fit is cut with an ellipsis at its end",
                   {40, 280, 330, 310}, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS, kFont, kText);
        c.DrawLine({40, 330}, {560, 330}, kAccent, 2);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    QtApplication app(argc, argv);
    host = &app.Host();
    Rect work = host->GetWorkArea();

    Main mainClient;
    WindowParams mp;
    mp.bounds = Rect::FromSize(60, 60, 600, 360);
    mp.title = u"Tevlan demo";
    mp.visible = true;
    host->CreateWindow(&mainClient, mp);

    Other otherClient;
    WindowParams op;
    op.bounds = Rect::FromSize(720, 60, 320, 140);
    op.visible = true;
    host->CreateWindow(&otherClient, op);

    Osd osdClient;
    WindowParams osd;
    osd.kind = WindowKind::Overlay;
    osd.bounds = Rect::FromSize(work.right - 180, work.bottom - 140, 180, 140);
    osd.opacity = 128;
    osd.visible = true;
    host->CreateWindow(&osdClient, osd);

    return app.Run();
}
