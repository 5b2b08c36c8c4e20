// The headless host's painting: each top-level window paints into an image
// of its own, only where it was invalidated, and tests read that image and
// what assistive technology would read in the window.
#include <string>
#include <utility>
#include <vector>

#include "platform/headless/headless_host.h"
#include "platform/headless/headless_window.h"

namespace platform {

namespace {

// Limits the canvas a client paints on to the dirty rectangle, whatever
// clip the client sets itself, so that a partial repaint cannot touch
// pixels outside what was invalidated (the Qt host clips the same way).
class ClippedCanvas final : public ICanvas {
public:
    ClippedCanvas(ICanvas& inner, const Rect& base) : inner_(inner), base_(base) { inner_.SetClip(base_); }
    ~ClippedCanvas() override { inner_.ResetClip(); }
    int Width() const override { return inner_.Width(); }
    int Height() const override { return inner_.Height(); }
    void FillRect(const Rect& r, COLORREF c) override { inner_.FillRect(r, c); }
    void FrameRect(const Rect& r, COLORREF c) override { inner_.FrameRect(r, c); }
    void DrawLine(Point a, Point b, COLORREF c, int w) override { inner_.DrawLine(a, b, c, w); }
    void FillPolygon(const std::vector<Point>& p, COLORREF c) override { inner_.FillPolygon(p, c); }
    void DrawImage(const IImage& i, const Rect& d, const Rect& s, int o) override { inner_.DrawImage(i, d, s, o); }
    void DrawText(const std::u16string& t, const Rect& r, unsigned f, const FontSpec& font, COLORREF c) override
    {
        inner_.DrawText(t, r, f, font, c);
    }
    Size MeasureText(const std::u16string& t, const FontSpec& f) override { return inner_.MeasureText(t, f); }
    void SetClip(const Rect& r) override
    {
        Rect c = r.Intersect(base_);
        // An empty intersection must clip everything, not nothing.
        inner_.SetClip(c.IsEmpty() ? Rect{0, 0, 0, 0} : c);
    }
    void ResetClip() override { inner_.SetClip(base_); }

private:
    ICanvas& inner_;
    Rect base_;
};

}  // namespace

void HeadlessHost::InvalidateRect(WindowId w, const Rect& r)
{
    Win* win = Find(w);
    if (!win) return;
    if (win->isEdit) {
        Win* parent = Find(win->owner);
        if (parent) parent->dirty = parent->dirty.Union(win->rect);
        return;
    }
    Rect c = r.Intersect(GetClientRect(w));
    win->dirty = win->dirty.Union(c);
}

void HeadlessHost::Invalidate(WindowId w) { InvalidateRect(w, GetClientRect(TopLevelOf(w))); }

void HeadlessHost::UpdateWindow(WindowId w) { PaintNow(TopLevelOf(w)); }

void HeadlessHost::PaintPending()
{
    std::vector<WindowId> order = zOrder_;
    for (WindowId w : order)
        if (const Win* win = Find(w); win && win->visible && !win->minimized && !win->dirty.IsEmpty()) PaintNow(w);
}

void HeadlessHost::PaintNow(WindowId w)
{
    Win* win = Find(w);
    if (!win || win->isEdit) return;
    Rect client = GetClientRect(w);
    if (!win->buffer || win->buffer->Width() != client.Width() || win->buffer->Height() != client.Height()) {
        win->buffer = graphics_->CreateImageCanvas(client.Width(), client.Height());
        win->dirty = client;
    }
    Rect dirty = win->dirty.Intersect(client);
    win->dirty = {};
    if (dirty.IsEmpty()) return;
    ++win->paintCount;
    IImageCanvas* buffer = win->buffer.get();
    {
        ClippedCanvas canvas(*buffer, dirty);
        if (win->client) win->client->OnPaint(w, canvas, dirty);
    }
    win = Find(w);
    if (!win) return;
    // The edit boxes are child windows: they cover the client's drawing.
    for (WindowId e : win->edits) {
        const Win* edit = Find(e);
        if (!edit || !edit->visible || !edit->rect.Intersects(dirty)) continue;
        ClippedCanvas canvas(*buffer, dirty);
        canvas.FillRect(edit->rect, edit->edit.backColour);
        canvas.DrawText(edit->text, edit->rect.Inflate(-2, 0), edit->edit.align | DT_SINGLELINE | DT_VCENTER,
                        edit->edit.font, edit->edit.textColour);
    }
}

const IImage* HeadlessHost::Snapshot(WindowId w)
{
    ProcessPending();
    Win* win = Find(TopLevelOf(w));
    if (!win) return nullptr;
    if (!win->buffer || !win->dirty.IsEmpty()) PaintNow(win->id);
    win = Find(TopLevelOf(w));
    return win && win->buffer ? &win->buffer->Image() : nullptr;
}

int HeadlessHost::PaintCount(WindowId w) const
{
    const Win* win = Find(w);
    return win ? win->paintCount : 0;
}

// ---- what assistive technology reads -------------------------------------

std::vector<AccessibleNode> HeadlessHost::AccessibleTree(WindowId w)
{
    ProcessPending();
    WindowRecord* r = Record(w);
    if (!r || !r->client) return {};
    return r->client->AccessibleNodes(w);
}

std::u16string HeadlessHost::AccessibleText(WindowId w)
{
    namespace st = accessible_state;
    std::u16string out;
    auto ascii = [&](const char* t) {
        for (; *t; ++t) out.push_back(static_cast<char16_t>(*t));
    };
    for (const AccessibleNode& n : AccessibleTree(w)) {
        ascii(AccessibleRoleWord(n.role));
        ascii(" \"");
        out += n.name;
        ascii("\"");
        if (!n.value.empty()) {
            ascii(" = ");
            out += n.value;
        }
        const std::pair<uint32_t, const char*> words[] = {{st::kChecked, " checked"},   {st::kFocused, " focused"},
                                                          {st::kDisabled, " disabled"}, {st::kExpanded, " expanded"},
                                                          {st::kSelected, " selected"}};
        for (const auto& [bit, word] : words)
            if (n.states & bit) ascii(word);
        out.push_back(u'\n');
    }
    return out;
}

}  // namespace platform
