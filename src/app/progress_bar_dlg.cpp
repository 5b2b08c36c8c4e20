#include "app/progress_bar_dlg.h"

#include <algorithm>

#include "base/ui_text.h"
#include "ui/skin_image.h"
#include "ui/ui_scale.h"

CProgressBarDlg::CProgressBarDlg(std::u16string text) : text_(std::move(text)) {}

CProgressBarDlg::~CProgressBarDlg() { Destroy(); }

bool CProgressBarDlg::Create(HWND owner)
{
    platform::IWindowHost* host = platform::g_windowHost;
    if (!host || hwnd_) return false;
    frame_ = CSkinImage::FromFile(SkinPath(u"skins/Frame_progress_nr.bmp"));
    bar_ = CSkinImage::FromFile(SkinPath(u"skins/Frame_progress_ov.bmp"));
    const int w = ScaleUnits(kBaseWidth);
    const int h = ScaleUnits(kBaseHeight);
    Rect area = owner ? host->GetWindowRect(owner) : host->GetWorkArea();
    platform::WindowParams p;
    // An overlay: shown without activation, and transparent to the pointer,
    // so that nothing the user does is taken from the main window.
    p.kind = platform::WindowKind::Overlay;
    p.owner = owner;
    p.bounds = Rect::FromSize(area.left + (area.Width() - w) / 2,
                              std::max(area.top, area.bottom - h - ScaleUnits(kBottomMargin)), w, h);
    p.title = UiText(525);
    p.topmost = true;
    p.visible = true;
    hwnd_ = host->CreateWindow(this, p);
    if (hwnd_) host->DescribeWindow(hwnd_, u"progress", text_);
    return hwnd_ != 0;
}

void CProgressBarDlg::Destroy()
{
    if (hwnd_ && platform::g_windowHost && platform::g_windowHost->IsWindow(hwnd_))
        platform::g_windowHost->DestroyWindow(hwnd_);
    hwnd_ = 0;
}

void CProgressBarDlg::SetProgress(int percent)
{
    percent = std::clamp(percent, 0, 100);
    if (percent == progress_) return;
    const int before = BarWidth(std::min(progress_, percent));
    const int after = BarWidth(std::max(progress_, percent));
    progress_ = percent;
    if (hwnd_ && platform::g_windowHost)
        platform::g_windowHost->InvalidateRect(hwnd_, Rect{ScaleUnits(before), ScaleUnits(kBarTop),
                                                            ScaleUnits(after) + 1,
                                                            ScaleUnits(kBarTop) + ScaleUnits(kBarHeight)});
}

LRESULT CProgressBarDlg::OnMessage(HWND, UINT message, WPARAM, LPARAM)
{
    if (message == WM_DESTROY) hwnd_ = 0;
    return 0;
}

void CProgressBarDlg::OnPaint(HWND self, platform::ICanvas& dc, const Rect&)
{
    platform::IWindowHost* host = platform::g_windowHost;
    const Rect client = host ? host->GetClientRect(self) : Rect{0, 0, dc.Width(), dc.Height()};
    if (frame_)
        frame_->Draw(dc, client, Rect{0, 0, kBaseWidth, kBaseHeight});
    else
        dc.FillRect(client, RGB(0x32, 0x32, 0x32));
    platform::FontSpec font;
    font.face = g_uiFont.face;
    font.height = ScaleUnits(18);
    // As wide as the window: the texts of the language files are longer than
    // the short caption strip the picture was drawn for.
    dc.DrawText(text_, Rect{ScaleUnits(10), ScaleUnits(3), ScaleUnits(419), ScaleUnits(23)},
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS, font, RGB(190, 190, 190));
    const int w = BarWidth(progress_);
    if (w <= 0) return;
    const Rect dst{0, ScaleUnits(kBarTop), ScaleUnits(w), ScaleUnits(kBarTop) + ScaleUnits(kBarHeight)};
    if (bar_)
        bar_->Draw(dc, dst, Rect{0, kBarTop, w, kBarTop + kBarHeight});
    else
        dc.FillRect(dst, RGB(0x35, 0xA0, 0xDE));
}
