#include "app/osd_dialog.h"

#include "base/ui_text.h"
#include "ui/ui_scale.h"

namespace {

int Scaled(double v, float scale) { return static_cast<int>(v * scale); }

}  // namespace

OsdLayout ComputeOsdLayout(const Rect& workArea, const std::u16string& valueText, const std::u16string& rateText,
                           const std::u16string& fontFace, float scale)
{
    OsdLayout l;
    const int w = Scaled(kOsdBaseWidth, scale);
    const int h = Scaled(kOsdBaseHeight, scale);
    l.window = Rect::FromSize(workArea.right - w, workArea.bottom - h, w, h);

    l.levelFont.face = fontFace;
    l.levelFont.height = Scaled(24, scale);
    l.levelFont.width = Scaled(12, scale);
    l.levelFont.weight = 700;
    l.valueFont.face = fontFace;
    l.valueFont.height = Scaled(48, scale);
    l.valueFont.width = Scaled(24, scale);
    l.valueFont.weight = 400;

    l.level = {Scaled(58, scale), Scaled(20, scale)};
    // The value is centred by hand for the two faces the language files
    // choose: the Chinese face is narrower, so its wide values move less.
    const size_t n = valueText.size();
    int x = 50;
    if (fontFace == u"宋体")
        x = n == 5 ? 34 : n == 4 ? 44 : 50;
    else
        x = n == 5 ? 16 : n == 4 ? 34 : 50;
    l.value = {Scaled(x, scale), Scaled(44, scale)};
    l.rate = {Scaled(rateText.size() == 6 ? 50 : 57, scale), Scaled(92, scale)};
    if (rateText.empty()) {
        l.centred = true;
        l.level = {0, Scaled(30, scale)};
        l.value = {0, Scaled(66, scale)};
        if (n > 5) l.valueFont = l.levelFont;
    }
    return l;
}

COSDDialog::~COSDDialog() { Destroy(); }

bool COSDDialog::Create()
{
    platform::IWindowHost* host = platform::g_windowHost;
    if (!host || hwnd_) return false;
    const OsdLayout l = ComputeOsdLayout(host->GetWorkArea(), valueText_, rateText_, g_uiFont.face, g_uiScale);
    platform::WindowParams p;
    p.kind = platform::WindowKind::Overlay;
    p.bounds = l.window;
    p.title = u"Tevlan";
    p.topmost = true;
    p.opacity = kOsdOpacity;
    p.visible = true;
    hwnd_ = host->CreateWindow(this, p);
    if (hwnd_) host->DescribeWindow(hwnd_, u"osd", u"");
    return hwnd_ != 0;
}

void COSDDialog::Destroy()
{
    if (hwnd_ && platform::g_windowHost && platform::g_windowHost->IsWindow(hwnd_))
        platform::g_windowHost->DestroyWindow(hwnd_);
    hwnd_ = 0;
}

void COSDDialog::SetTexts(const std::u16string& levelText, const std::u16string& valueText,
                          const std::u16string& rateText)
{
    levelText_ = levelText;
    valueText_ = valueText;
    rateText_ = rateText;
    if (hwnd_ && platform::g_windowHost) platform::g_windowHost->Invalidate(hwnd_);
}

LRESULT COSDDialog::OnMessage(HWND, UINT message, WPARAM, LPARAM)
{
    if (message == WM_DESTROY) hwnd_ = 0;
    return 0;
}

void COSDDialog::OnPaint(HWND self, platform::ICanvas& dc, const Rect&)
{
    // The host hands us an off-screen canvas and shows it in one copy, so
    // the whole picture is simply redrawn each time.
    platform::IWindowHost* host = platform::g_windowHost;
    Rect client = host ? host->GetClientRect(self) : Rect{0, 0, dc.Width(), dc.Height()};
    dc.FillRect(client, kOsdFill);
    const Rect work = host ? host->GetWorkArea() : Rect{};
    const OsdLayout l = ComputeOsdLayout(work, valueText_, rateText_, g_uiFont.face, g_uiScale);
    const unsigned fmt = (l.centred ? DT_CENTER : DT_LEFT) | DT_TOP | DT_SINGLELINE | DT_NOCLIP;
    auto text = [&](const std::u16string& s, Point at, const platform::FontSpec& f) {
        dc.DrawText(s, Rect{at.x, at.y, client.right, client.bottom}, fmt, f, kOsdText);
    };
    if (l.centred) {
        // A game's title ("Game profile", longer in some languages) is made
        // narrower until it fits inside the margins instead of being cut.
        platform::FontSpec f = l.levelFont;
        const int room = client.Width() - 2 * Scaled(6, g_uiScale);
        for (int i = 0; i < 8 && f.height > 8 && dc.MeasureText(levelText_, f).cx > room; ++i) {
            f.height = f.height * 7 / 8;
            f.width = f.width * 7 / 8;
        }
        text(levelText_, l.level, f);
    } else {
        text(levelText_, l.level, l.levelFont);
    }
    if (l.centred) {
        // The centred value is a profile's name, which may be wider than the
        // box: it is cut with "…" inside a small margin, not at both edges.
        const int margin = Scaled(6, g_uiScale);
        dc.DrawText(valueText_, Rect{margin, l.value.y, client.right - margin, client.bottom},
                    DT_CENTER | DT_TOP | DT_SINGLELINE | DT_END_ELLIPSIS, l.valueFont, kOsdText);
    } else {
        text(valueText_, l.value, l.valueFont);
    }
    text(rateText_, l.rate, l.levelFont);
}
