#include "ui/long_message_dlg.h"

#include <algorithm>

#include "base/ui_text.h"
#include "ui/control_base.h"
#include "ui/passive_controls.h"
#include "ui/ui_scale.h"

namespace {

constexpr int kTextLeft = 16;
constexpr int kTextRight = CLongMessageDlg::kBaseWidth - 16;
constexpr int kTextTop = 44;           // below the frame's red rule (row 34) and some air
constexpr int kStandardHeight = 102;   // never smaller than the standard box
constexpr int kFrameTitleBand = 36;    // the frame's title strip and rule keep their height

std::unique_ptr<platform::IImageCanvas> MeasuringCanvas()
{
    if (!platform::g_windowHost) return nullptr;
    return platform::g_windowHost->Graphics().CreateImageCanvas(1, 1);
}

int Width(platform::ICanvas& dc, const std::u16string& s, const platform::FontSpec& font)
{
    return s.empty() ? 0 : dc.MeasureText(s, font).cx;
}

// The path cut in its middle, a third of what stays before "…" and the rest
// (the file's name first of all) after it, as long as fits in room.
std::u16string ShortenPath(platform::ICanvas& dc, const std::u16string& path, const platform::FontSpec& font,
                           int room)
{
    if (Width(dc, path, font) <= room) return path;
    auto cut = [&path](size_t keep) {
        std::u16string head = path.substr(0, keep / 3);
        std::u16string tail = path.substr(path.size() - (keep - keep / 3));
        // Never half a character written as a surrogate pair.
        if (!head.empty() && head.back() >= 0xD800 && head.back() <= 0xDBFF) head.pop_back();
        if (!tail.empty() && tail.front() >= 0xDC00 && tail.front() <= 0xDFFF) tail.erase(0, 1);
        return head + u"\u2026" + tail;
    };
    size_t lo = 0, hi = path.size() - 1;  // cut(lo) fits or is the shortest there is
    while (lo < hi) {
        const size_t mid = (lo + hi + 1) / 2;
        if (Width(dc, cut(mid), font) <= room) lo = mid;
        else hi = mid - 1;
    }
    return cut(lo);
}

// Lines the text wraps to at room pixels: words break at spaces, and
// ideographs may break anywhere, as the canvas wraps them.
int CountLines(platform::ICanvas& dc, const std::u16string& text, const platform::FontSpec& font, int room)
{
    std::vector<std::u16string> pieces;
    std::u16string piece;
    for (char16_t c : text) {
        const bool ideograph = c >= 0x2E80 && !(c >= 0xD800 && c <= 0xDFFF);
        if (ideograph && !piece.empty()) {
            pieces.push_back(piece);
            piece.clear();
        }
        piece += c;
        if (c == u' ' || ideograph) {
            pieces.push_back(piece);
            piece.clear();
        }
    }
    if (!piece.empty()) pieces.push_back(piece);
    int lines = 1;
    std::u16string line;
    for (const std::u16string& p : pieces) {
        std::u16string trimmed = line + p;
        while (!trimmed.empty() && trimmed.back() == u' ') trimmed.pop_back();
        if (!line.empty() && Width(dc, trimmed, font) > room) {
            ++lines;
            line = p;
        } else {
            line += p;
        }
    }
    return lines;
}

FramedDlgLook LookFor(int textHeight)
{
    FramedDlgLook look;
    look.baseWidth = CLongMessageDlg::kBaseWidth;
    look.baseHeight = std::max(kStandardHeight, kTextTop + textHeight + 4 + 8 + 20 + 12);
    look.frame = u"skins/Frame_warning.bmp";
    look.kind = u"attention";
    look.okId = CLongMessageDlg::kOk;
    look.titleBand = kFrameTitleBand;
    return look;
}

int LineHeightUnits()
{
    const platform::FontSpec font = UiControlFont();
    const auto dc = MeasuringCanvas();
    // The canvas spaces wrapped lines a little wider than one line's height.
    const int px = (dc ? dc->MeasureText(u"Ag", font).cy : font.height) + 2;
    return std::max(1, int((px + g_uiScale - 0.01f) / g_uiScale));
}

}  // namespace

CLongMessageDlg::Fitted CLongMessageDlg::Fit(const std::u16string& message, const std::u16string& path)
{
    Fitted f{message, 1};
    const auto dc = MeasuringCanvas();
    if (!dc) return f;
    const platform::FontSpec font = UiControlFont();
    // A little narrower than the text's box: a line the canvas would still
    // fit is wrapped here, and the box rather has a line to spare than one
    // too few.
    const int room = ScaleUnits(kTextRight - kTextLeft) * 94 / 100;
    if (!path.empty())
        if (const size_t at = message.find(path); at != std::u16string::npos)
            f.shown.replace(at, path.size(), ShortenPath(*dc, path, font, room));
    f.lines = CountLines(*dc, f.shown, font, room);
    return f;
}

CLongMessageDlg::CLongMessageDlg(const std::u16string& message, const std::u16string& path, HWND parent)
    : CLongMessageDlg(Fit(message, path), message, parent)
{
}

CLongMessageDlg::CLongMessageDlg(Fitted fitted, const std::u16string& message, HWND parent)
    : CFramedDlg(LookFor(fitted.lines * LineHeightUnits()), parent), message_(message), shown_(std::move(fitted.shown))
{
}

void CLongMessageDlg::AddControls()
{
    const int height = Look().baseHeight;
    AddCloseButton(300);
    AddPushButton(kOk, 240, height - 32, 309, height - 12, UiText(4));
    auto text = std::make_unique<CStaticText>(hwnd_, kText, ScaleRect(kTextLeft, kTextTop, kTextRight, height - 40),
                                              RGB(180, 180, 180), DT_CENTER | DT_WORDBREAK);
    text->SetLabelText(shown_);
    AddControl(0, std::move(text));
}
