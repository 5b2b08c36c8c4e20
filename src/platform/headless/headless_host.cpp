#include "platform/headless/headless_host.h"

#include <algorithm>
#include <cassert>
#include <tuple>

#include "platform/draw/qt_canvas.h"

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

constexpr int kMaxPostedPerTurn = 100000;

}  // namespace

struct HeadlessHost::Win final : WindowRecord {
    Rect rect;  // screen for a top-level window, parent client for an edit
    std::u16string text;
    bool visible = false;
    bool enabled = true;
    bool minimized = false;
    bool topmost = false;
    int opacity = 255;
    // painting
    std::unique_ptr<IImageCanvas> buffer;
    Rect dirty;
    int paintCount = 0;
    // mouse tracking
    UINT track = 0;
    int hoverMs = 0;
    int64_t hoverDue = 0;
    // edit boxes
    EditParams edit;
    int selStart = 0;
    int selEnd = 0;
    WindowId lastFocus = 0;  // a window's edit box that had the focus when it lost activation
};

// ---- HeadlessModal ---------------------------------------------------------

void HeadlessModal::ClickAt(Point client) { host.Click(window, client); }

LRESULT HeadlessModal::Send(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT r = host.SendMessage(window, message, wParam, lParam);
    host.ProcessPending();
    return r;
}

bool HeadlessModal::TypeInto(int editControlId, const std::u16string& text)
{
    WindowId edit = host.FindEdit(window, editControlId);
    if (!edit) return false;
    host.SetFocus(edit);
    host.SetEditSelection(edit, 0, -1);
    if (text.empty()) {
        host.PressKey(VK_DELETE);
    } else {
        host.TypeText(text);
    }
    return true;
}

void HeadlessModal::Key(UINT vk) { host.PressKey(vk); }

void HeadlessModal::Advance(int ms) { host.Advance(ms); }

void HeadlessModal::End(LRESULT result)
{
    if (!Ended()) host.EndModal(window, result);
}

bool HeadlessModal::Ended() const { return host.ModalEnded(window); }

// ---- construction ----------------------------------------------------------

HeadlessHost::HeadlessHost(Rect screen, Rect workArea, IGraphics* graphics)
    : screen_(screen), workArea_(workArea), graphics_(graphics), thread_(std::this_thread::get_id())
{
    if (!graphics_) {
        ownGraphics_ = std::make_unique<QtGraphics>();
        graphics_ = ownGraphics_.get();
    }
}

HeadlessHost::~HeadlessHost() = default;

IGraphics& HeadlessHost::Graphics() { return *graphics_; }

HeadlessHost::Win* HeadlessHost::Find(WindowId w) { return static_cast<Win*>(Record(w)); }

const HeadlessHost::Win* HeadlessHost::Find(WindowId w) const { return static_cast<const Win*>(Record(w)); }

// ---- lifetime --------------------------------------------------------------

std::unique_ptr<WindowRecord> HeadlessHost::NewWindow(WindowId id, IWindowClient*, const WindowParams& params,
                                                      WindowId)
{
    auto win = std::make_unique<Win>();
    win->rect = params.bounds;
    win->text = params.title;
    win->topmost = params.topmost || params.kind != WindowKind::Dialog;
    win->opacity = std::clamp(params.opacity, 0, 255);
    win->dirty = Rect{0, 0, params.bounds.Width(), params.bounds.Height()};
    zOrder_.push_back(id);
    return win;
}

void HeadlessHost::Unhook(WindowRecord& record)
{
    auto& win = static_cast<Win&>(record);
    WindowId w = win.id;
    for (auto it = timers_.begin(); it != timers_.end();)
        it = it->first.first == w ? timers_.erase(it) : std::next(it);
    if (dragging_ == w) dragging_ = 0;
    if (focus_ == w) focus_ = 0;
    if (win.isEdit) {
        if (Win* parent = Find(win.owner)) {
            if (parent->lastFocus == w) parent->lastFocus = 0;
            if (focus_ == 0 && GetActiveWindow() == parent->id) focus_ = parent->id;
            InvalidateRect(parent->id, win.rect);
        }
    } else {
        zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), w), zOrder_.end());
    }
}

// ---- messages --------------------------------------------------------------

void HeadlessHost::Enqueue(const Msg& msg)
{
    std::lock_guard<std::mutex> lock(postMutex_);
    posted_.push_back(msg);
}

bool HeadlessHost::DeliverPosted()
{
    bool any = false;
    for (int n = 0; n < kMaxPostedPerTurn; ++n) {
        Msg m;
        {
            std::lock_guard<std::mutex> lock(postMutex_);
            if (posted_.empty()) break;
            m = posted_.front();
            posted_.pop_front();
        }
        if (IsGone(m.hwnd)) continue;
        any = true;
        SendMessage(m.hwnd, m.message, m.wParam, m.lParam);
    }
    if (QuitPosted()) EndAllModal(kModalQuit);
    return any;
}

void HeadlessHost::ProcessPending()
{
    DeliverPosted();
    PaintPending();
    DeliverPosted();
}

// ---- timers and time -------------------------------------------------------

void HeadlessHost::SetTimer(WindowId w, UINT id, int ms)
{
    if (!IsWindow(w)) return;
    Timer& t = timers_[{w, id}];
    t.period = std::max(ms, 1);
    t.due = clock_.NowMs() + t.period;
    t.seq = ++timerSeq_;
}

void HeadlessHost::KillTimer(WindowId w, UINT id) { timers_.erase({w, id}); }

bool HeadlessHost::IsTimerRunning(WindowId w, UINT id) const { return timers_.count({w, id}) > 0; }

bool HeadlessHost::NextDue(int64_t limit, int64_t* due) const
{
    bool found = false;
    int64_t best = 0;
    for (const auto& [key, t] : timers_)
        if (t.due <= limit && (!found || t.due < best)) {
            best = t.due;
            found = true;
        }
    for (const auto& [id, record] : AllRecords())
        if (const auto* win = static_cast<const Win*>(record.get()); (win->track & TME_HOVER) && win->hoverDue <= limit && (!found || win->hoverDue < best)) {
            best = win->hoverDue;
            found = true;
        }
    if (found) *due = best;
    return found;
}

void HeadlessHost::FireOne(int64_t due)
{
    // Hover first: it fell due while the pointer rested, before any timer
    // of the same instant could move things.
    for (const auto& [id, record] : AllRecords()) {
        auto* win = static_cast<Win*>(record.get());
        if ((win->track & TME_HOVER) && win->hoverDue <= due) {
            WindowId w = id;
            win->track &= ~TME_HOVER;
            if (WindowAt(cursor_) == w) {
                Point p = ScreenToClient(w, cursor_);
                PostMessage(w, WM_MOUSEHOVER, KeyFlags(), MAKELPARAM(p.x, p.y));
            }
            return;
        }
    }
    const std::pair<WindowId, UINT>* key = nullptr;
    uint64_t seq = 0;
    for (const auto& [k, t] : timers_)
        if (t.due <= due && (!key || t.seq < seq)) {
            key = &k;
            seq = t.seq;
        }
    if (!key) return;
    auto k = *key;
    Timer& t = timers_[k];
    t.due += t.period;  // ties keep the order the timers were (re)started in
    SendMessage(k.first, WM_TIMER, k.second, 0);
}

void HeadlessHost::Advance(int ms)
{
    int64_t target = clock_.NowMs() + std::max(ms, 0);
    ProcessPending();
    int64_t due = 0;
    while (!QuitPosted() && NextDue(target, &due)) {
        if (due > clock_.NowMs()) clock_.Set(due);
        FireOne(due);
        ProcessPending();
    }
    if (target > clock_.NowMs()) clock_.Set(target);
    ProcessPending();
}

int HeadlessHost::Run()
{
    // No real time passes here: jump from one timer to the next until the
    // program quits, giving up after a virtual day with nothing to do.
    const int64_t stop = clock_.NowMs() + 24LL * 3600 * 1000;
    ProcessPending();
    int64_t due = 0;
    while (!QuitPosted() && NextDue(stop, &due)) Advance(static_cast<int>(std::max<int64_t>(0, due - clock_.NowMs())));
    return ExitCode();
}

// ---- painting --------------------------------------------------------------

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

// ---- mouse -----------------------------------------------------------------

WindowId HeadlessHost::WindowAt(Point screen) const
{
    // Topmost windows lie above the others; within each layer the later in
    // the z-order is above. Overlays never take the mouse.
    for (int layer = 1; layer >= 0; --layer)
        for (auto it = zOrder_.rbegin(); it != zOrder_.rend(); ++it) {
            const Win* win = Find(*it);
            if (!win || !win->visible || win->minimized || win->destroying) continue;
            if (win->kind == WindowKind::Overlay || static_cast<int>(win->topmost) != layer) continue;
            if (win->rect.Contains(screen)) return win->id;
        }
    return 0;
}

WPARAM HeadlessHost::KeyFlags() const
{
    WPARAM k = 0;
    if (buttons_[0]) k |= MK_LBUTTON;
    if (buttons_[1]) k |= MK_RBUTTON;
    if (buttons_[2]) k |= MK_MBUTTON;
    if (shift_) k |= MK_SHIFT;
    if (control_) k |= MK_CONTROL;
    return k;
}

void HeadlessHost::SendMouse(UINT message, WindowId target, WPARAM keys, LPARAM extra)
{
    (void)extra;
    if (!target) return;
    Point p = ScreenToClient(target, cursor_);
    SendMessage(target, message, keys, MAKELPARAM(p.x, p.y));
}

void HeadlessHost::AfterInput()
{
    CheckLeave();
    ProcessPending();
}

void HeadlessHost::CheckLeave()
{
    WindowId under = WindowAt(cursor_);
    std::vector<WindowId> leaving;
    for (const auto& [id, record] : AllRecords())
        if ((static_cast<const Win*>(record.get())->track & TME_LEAVE) && id != under) leaving.push_back(id);
    for (WindowId w : leaving) {
        Win* win = Find(w);
        if (!win) continue;
        win->track &= ~(TME_LEAVE | TME_HOVER);
        PostMessage(w, WM_MOUSELEAVE, 0, 0);
    }
}

void HeadlessHost::MoveMouse(Point screen)
{
    cursor_ = screen;
    if (dragging_) {
        if (Win* win = Find(dragging_)) {
            win->rect = dragRect_.Offset(screen.x - dragStart_.x, screen.y - dragStart_.y);
            SendMessage(dragging_, WM_MOVE, 0, MAKELPARAM(win->rect.left, win->rect.top));
        }
        ProcessPending();
        return;
    }
    WindowId target = GetCapture() ? GetCapture() : WindowAt(screen);
    if (Win* win = Find(target); win && (win->track & TME_HOVER))
        win->hoverDue = clock_.NowMs() + win->hoverMs;  // the pointer moved: the rest starts again
    CheckLeave();
    if (target && (GetCapture() || AcceptsInput(target))) SendMouse(WM_MOUSEMOVE, target, KeyFlags());
    AfterInput();
}

void HeadlessHost::PressButton(MouseButton b)
{
    int i = static_cast<int>(b);
    buttons_[i] = true;
    WindowId target = GetCapture() ? GetCapture() : WindowAt(cursor_);
    if (target && !GetCapture()) {
        if (!AcceptsInput(target)) {
            AfterInput();
            return;
        }
        Raise(target);
        Activate(target, WA_CLICKACTIVE);
        // A press on an edit box gives it the focus and goes no further.
        if (Win* top = Find(target)) {
            Point p = ScreenToClient(target, cursor_);
            for (WindowId e : top->edits) {
                const Win* edit = Find(e);
                if (edit && edit->visible && edit->enabled && edit->rect.Contains(p)) {
                    SetFocus(e);
                    SetEditSelection(e, -1, -1);
                    AfterInput();
                    return;
                }
            }
        }
    }
    if (IsWindow(target)) {
        static constexpr UINT kDown[3] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
        SendMouse(kDown[i], target, KeyFlags());
    }
    AfterInput();
}

void HeadlessHost::ReleaseButton(MouseButton b)
{
    int i = static_cast<int>(b);
    buttons_[i] = false;
    if (b == MouseButton::Left && dragging_) {
        // The desktop's move loop swallows the release that ends a drag.
        dragging_ = 0;
        AfterInput();
        return;
    }
    WindowId target = GetCapture() ? GetCapture() : WindowAt(cursor_);
    if (target && (GetCapture() || AcceptsInput(target))) {
        static constexpr UINT kUp[3] = {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP};
        SendMouse(kUp[i], target, KeyFlags());
    }
    AfterInput();
}

void HeadlessHost::DoubleClick()
{
    PressButton(MouseButton::Left);
    ReleaseButton(MouseButton::Left);
    buttons_[0] = true;
    WindowId target = GetCapture() ? GetCapture() : WindowAt(cursor_);
    if (target && (GetCapture() || AcceptsInput(target))) SendMouse(WM_LBUTTONDBLCLK, target, KeyFlags());
    AfterInput();
    ReleaseButton(MouseButton::Left);
}

void HeadlessHost::Wheel(int delta)
{
    WindowId target = GetCapture() ? GetCapture() : WindowAt(cursor_);
    if (target && (GetCapture() || AcceptsInput(target))) {
        Point p = ScreenToClient(target, cursor_);
        SendMessage(target, WM_MOUSEWHEEL, MAKEWPARAM(static_cast<int>(KeyFlags()), delta), MAKELPARAM(p.x, p.y));
    }
    AfterInput();
}

void HeadlessHost::Click(WindowId w, Point client, MouseButton b)
{
    MoveMouse(ClientToScreen(w, client));
    PressButton(b);
    ReleaseButton(b);
}

bool HeadlessHost::TrackMouseEvent(WindowId w, UINT flags, int hoverMs)
{
    Win* win = Find(w);
    if (!win || win->isEdit) return false;
    UINT what = flags & (TME_HOVER | TME_LEAVE);
    if (flags & TME_CANCEL) {
        win->track &= ~what;
        return true;
    }
    if (what & TME_HOVER) {
        win->track |= TME_HOVER;
        win->hoverMs = std::max(hoverMs, 1);
        win->hoverDue = clock_.NowMs() + win->hoverMs;
    }
    if (what & TME_LEAVE) {
        if (WindowAt(cursor_) != w) {
            PostMessage(w, WM_MOUSELEAVE, 0, 0);
        } else {
            win->track |= TME_LEAVE;
        }
    }
    return true;
}

void HeadlessHost::StartWindowDrag(WindowId w)
{
    WindowId top = TopLevelOf(w);
    Win* win = Find(top);
    if (!win || !buttons_[0]) return;
    ClearCapture();
    dragging_ = top;
    dragStart_ = cursor_;
    dragRect_ = win->rect;
}

// ---- placement and activation ----------------------------------------------

void HeadlessHost::Raise(WindowId w)
{
    WindowId top = TopLevelOf(w);
    if (!top) return;
    zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), top), zOrder_.end());
    zOrder_.push_back(top);
    // Owned windows stay above their owner.
    std::vector<WindowId> owned;
    for (WindowId t : zOrder_)
        if (t != top && IsOwnedBy(t, top)) owned.push_back(t);
    for (WindowId t : owned) {
        zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), t), zOrder_.end());
        zOrder_.push_back(t);
    }
}

void HeadlessHost::Deactivating(WindowId old)
{
    // The window remembers which of its edit boxes had the focus.
    if (Win* o = Find(old); o && Find(focus_) && TopLevelOf(focus_) == old) o->lastFocus = focus_;
}

void HeadlessHost::Activated(WindowId w)
{
    const Win* win = Find(w);
    focus_ = win && Find(win->lastFocus) ? win->lastFocus : w;
}

void HeadlessHost::ShowWindow(WindowId w, int cmd)
{
    Win* win = Find(w);
    if (!win) return;
    bool wasVisible = win->visible;
    if (cmd == SW_HIDE) {
        win->visible = false;
        if (win->isEdit && focus_ == w) focus_ = win->owner;
        if (GetCapture() == w) ClearCapture();
        if (wasVisible) {
            if (win->isEdit) InvalidateRect(win->owner, win->rect);
            SendMessage(w, WM_SHOWWINDOW, 0, 0);
        }
        LoseActivation(w);
        CheckLeave();
        return;
    }
    win->visible = true;
    win->minimized = cmd == SW_MINIMIZE || cmd == SW_SHOWMINIMIZED;
    if (win->isEdit) {
        InvalidateRect(w, win->rect);
        return;
    }
    if (!wasVisible) {
        win->dirty = GetClientRect(w);
        SendMessage(w, WM_SHOWWINDOW, 1, 0);
    }
    if (!IsWindow(w)) return;
    Raise(w);
    bool activate = cmd != SW_SHOWNOACTIVATE && !Find(w)->minimized && Find(w)->kind != WindowKind::Overlay;
    if (activate) Activate(w, WA_ACTIVE);
}

bool HeadlessHost::IsWindowVisible(WindowId w) const
{
    const Win* win = Find(w);
    return win && win->visible && (!win->isEdit || IsWindowVisible(win->owner));
}

bool HeadlessHost::IsIconic(WindowId w) const
{
    const Win* win = Find(w);
    return win && win->minimized;
}

void HeadlessHost::SetWindowPos(WindowId w, const Rect& r)
{
    Win* win = Find(w);
    if (!win) return;
    Rect old = win->rect;
    win->rect = r;
    if (win->isEdit) {
        InvalidateRect(win->owner, old);
        InvalidateRect(win->owner, r);
        return;
    }
    if (old.Width() != r.Width() || old.Height() != r.Height()) {
        win->dirty = GetClientRect(w);
        SendMessage(w, WM_SIZE, 0, MAKELPARAM(r.Width(), r.Height()));
    }
    if (IsWindow(w) && old.TopLeft() != r.TopLeft()) SendMessage(w, WM_MOVE, 0, MAKELPARAM(r.left, r.top));
}

void HeadlessHost::SetTopmost(WindowId w, bool topmost)
{
    if (Win* win = Find(w); win && !win->isEdit) win->topmost = topmost;
}

void HeadlessHost::SetOpacity(WindowId w, int opacity)
{
    if (Win* win = Find(w)) win->opacity = std::clamp(opacity, 0, 255);
}

Rect HeadlessHost::GetWindowRect(WindowId w) const
{
    const Win* win = Find(w);
    return win ? win->rect : Rect{};
}

Rect HeadlessHost::GetClientRect(WindowId w) const
{
    const Win* win = Find(w);
    return win ? Rect{0, 0, win->rect.Width(), win->rect.Height()} : Rect{};
}

Point HeadlessHost::ClientToScreen(WindowId w, Point p) const
{
    const Win* win = Find(w);
    if (!win) return p;
    if (win->isEdit) {
        const Win* parent = Find(win->owner);
        Point o = parent ? parent->rect.TopLeft() : Point{};
        return {p.x + o.x + win->rect.left, p.y + o.y + win->rect.top};
    }
    return {p.x + win->rect.left, p.y + win->rect.top};
}

Point HeadlessHost::ScreenToClient(WindowId w, Point p) const
{
    Point o = ClientToScreen(w, {0, 0});
    return {p.x - o.x, p.y - o.y};
}

void HeadlessHost::SetForegroundWindow(WindowId w)
{
    if (!IsWindow(w)) return;
    Raise(w);
    Activate(TopLevelOf(w), WA_ACTIVE);
}

void HeadlessHost::SetWindowText(WindowId w, const std::u16string& text)
{
    Win* win = Find(w);
    if (!win) return;
    if (win->isEdit) {
        SetEditText(w, text, static_cast<int>(text.size()));
        return;
    }
    win->text = text;
}

std::u16string HeadlessHost::GetWindowText(WindowId w) const
{
    const Win* win = Find(w);
    return win ? win->text : std::u16string();
}

// ---- modal runs ------------------------------------------------------------

LRESULT HeadlessHost::RunModal(WindowId w)
{
    if (!IsWindow(w) || QuitPosted()) return WindowBook::RunModal(w);
    ModalRecord record;
    std::tie(record.kind, record.text) = DescriptionOf(w);
    runningRecords_.push_back(&record);
    record.result = WindowBook::RunModal(w);
    runningRecords_.pop_back();
    modalLog_.push_back(record);
    return record.result;
}

void HeadlessHost::RunModalLoop(ModalFrame& frame)
{
    WindowId w = frame.window;
    ModalRecord& record = *runningRecords_.back();
    if (frame.show) ShowWindow(w, SW_SHOW);
    ProcessPending();
    if (IsWindow(w)) std::tie(record.kind, record.text) = DescriptionOf(w);  // a dialog may say what it is only once it shows
    auto script = std::find_if(scripts_.begin(), scripts_.end(),
                               [&](const auto& s) { return s.first.empty() || s.first == record.kind; });
    if (script != scripts_.end() && !frame.ended) {
        ModalScript run = std::move(script->second);
        scripts_.erase(script);
        record.scripted = true;
        HeadlessModal modal{*this, w, record.kind, record.text};
        run(modal);
        ProcessPending();
    }
    // Nothing real can end the run now: a script that left the dialog
    // open, or no script at all, answers cancel rather than hanging.
    if (!frame.ended) {
        frame.ended = true;
        frame.result = IDCANCEL;
    }
}

void HeadlessHost::ScriptModal(const std::u16string& kind, ModalScript script)
{
    scripts_.emplace_back(kind, std::move(script));
}

// ---- edit boxes ------------------------------------------------------------

std::unique_ptr<WindowRecord> HeadlessHost::NewEdit(WindowId, WindowRecord& parent, const Rect& r,
                                                    const EditParams& params)
{
    auto win = std::make_unique<Win>();
    win->rect = r;
    win->edit = params;
    win->visible = params.visible;
    InvalidateRect(parent.id, r);
    return win;
}

void HeadlessHost::SetEditSelection(WindowId edit, int start, int end)
{
    Win* win = Find(edit);
    if (!win || !win->isEdit) return;
    int n = static_cast<int>(win->text.size());
    auto clampPos = [n](int v) { return v < 0 || v > n ? n : v; };
    win->selStart = clampPos(start);
    win->selEnd = clampPos(end);
    if (win->selStart > win->selEnd) std::swap(win->selStart, win->selEnd);
}

int HeadlessHost::EditSelectionStart(WindowId edit) const
{
    const Win* win = Find(edit);
    return win ? win->selStart : 0;
}

int HeadlessHost::EditSelectionEnd(WindowId edit) const
{
    const Win* win = Find(edit);
    return win ? win->selEnd : 0;
}

void HeadlessHost::SetEditText(WindowId edit, const std::u16string& text, int caret)
{
    Win* win = Find(edit);
    if (!win) return;
    std::u16string t = text;
    if (win->edit.maxLength > 0 && static_cast<int>(t.size()) > win->edit.maxLength)
        t.resize(static_cast<size_t>(win->edit.maxLength));
    bool changed = t != win->text;
    win->text = t;
    SetEditSelection(edit, caret, caret);
    InvalidateRect(edit, {});
    if (changed) NotifyParent(edit, EN_CHANGE);
}

void HeadlessHost::EditChar(WindowId edit, char16_t c)
{
    Win* win = Find(edit);
    if (!win || !win->enabled) return;
    std::u16string t = win->text;
    int a = win->selStart, b = win->selEnd;
    if (c == 0x08) {
        if (a == b && a > 0) --a;
        t.erase(static_cast<size_t>(a), static_cast<size_t>(b - a));
        SetEditText(edit, t, a);
        return;
    }
    if (c < 0x20) return;  // Enter, Escape and Tab insert nothing
    if (win->edit.maxLength > 0 && static_cast<int>(t.size()) - (b - a) >= win->edit.maxLength) return;
    t.replace(static_cast<size_t>(a), static_cast<size_t>(b - a), 1, c);
    SetEditText(edit, t, a + 1);
}

void HeadlessHost::EditKey(WindowId edit, UINT vk)
{
    Win* win = Find(edit);
    if (!win || !win->enabled) return;
    int n = static_cast<int>(win->text.size());
    int a = win->selStart, b = win->selEnd;
    switch (vk) {
    case VK_DELETE: {
        if (a == b && b < n) ++b;
        std::u16string t = win->text;
        t.erase(static_cast<size_t>(a), static_cast<size_t>(b - a));
        SetEditText(edit, t, a);
        break;
    }
    case VK_LEFT: SetEditSelection(edit, std::max(0, a == b ? a - 1 : a), std::max(0, a == b ? a - 1 : a)); break;
    case VK_RIGHT: SetEditSelection(edit, std::min(n, a == b ? b + 1 : b), std::min(n, a == b ? b + 1 : b)); break;
    case VK_HOME: SetEditSelection(edit, 0, 0); break;
    case VK_END: SetEditSelection(edit, n, n); break;
    default: break;
    }
}

void HeadlessHost::SetFocus(WindowId w)
{
    Win* win = Find(w);
    if (!win || w == focus_) return;
    WindowId top = TopLevelOf(w);
    if (top != GetActiveWindow()) Activate(top, WA_ACTIVE);
    if (focus_ == w) return;
    WindowId old = focus_;
    focus_ = w;
    if (Win* o = Find(old); o && o->isEdit) NotifyParent(old, EN_KILLFOCUS);
    if (Find(w) && Find(w)->isEdit && focus_ == w) NotifyParent(w, EN_SETFOCUS);
}

// ---- keys ------------------------------------------------------------------

bool HeadlessHost::DeliverKey(UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowId target = Find(focus_) ? focus_ : GetActiveWindow();
    WindowId top = TopLevelOf(target);
    Win* topWin = Find(top);
    if (!topWin || !AcceptsInput(top)) return false;
    if (topWin->client && topWin->client->PreTranslateMessage(top, Msg{target, message, wParam, lParam})) return false;
    Win* t = Find(target);
    if (!t) return false;
    if (t->isEdit) {
        if (message == WM_CHAR) EditChar(target, static_cast<char16_t>(wParam));
        if (message == WM_KEYDOWN) EditKey(target, static_cast<UINT>(wParam));
        return true;
    }
    SendMessage(top, message, wParam, lParam);
    return true;
}

void HeadlessHost::KeyDown(UINT vk)
{
    if (vk == VK_SHIFT || vk == VK_LSHIFT || vk == VK_RSHIFT) shift_ = true;
    if (vk == VK_CONTROL || vk == VK_LCONTROL || vk == VK_RCONTROL) control_ = true;
    // A swallowed key-down is never translated into a character.
    bool delivered = DeliverKey(WM_KEYDOWN, vk, 1);
    char16_t c = 0;
    if (vk >= 'A' && vk <= 'Z') c = static_cast<char16_t>(shift_ ? vk : vk - 'A' + 'a');
    else if ((vk >= '0' && vk <= '9') || vk == VK_SPACE) c = static_cast<char16_t>(vk);
    else if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9) c = static_cast<char16_t>('0' + (vk - VK_NUMPAD0));
    else if (vk == VK_RETURN || vk == VK_BACK || vk == VK_ESCAPE || vk == VK_TAB) c = static_cast<char16_t>(vk);
    if (delivered && c && !control_) DeliverKey(WM_CHAR, c, 1);
    ProcessPending();
}

void HeadlessHost::KeyUp(UINT vk)
{
    if (vk == VK_SHIFT || vk == VK_LSHIFT || vk == VK_RSHIFT) shift_ = false;
    if (vk == VK_CONTROL || vk == VK_LCONTROL || vk == VK_RCONTROL) control_ = false;
    DeliverKey(WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u));
    ProcessPending();
}

void HeadlessHost::TypeText(const std::u16string& text)
{
    for (char16_t c : text) DeliverKey(WM_CHAR, c, 1);
    ProcessPending();
}

void HeadlessHost::ActivateOtherProgram()
{
    DeactivateAll();
    ProcessPending();
}

std::vector<WindowId> HeadlessHost::TopLevelWindows() const { return zOrder_; }

}  // namespace platform

namespace platform {

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
