#include "platform/headless/headless_host.h"

#include <algorithm>
#include <cassert>

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

struct HeadlessHost::Win {
    WindowId id = 0;
    IWindowClient* client = nullptr;
    WindowKind kind = WindowKind::Dialog;
    WindowId owner = 0;
    Rect rect;  // screen for a top-level window, parent client for an edit
    std::u16string text;
    bool visible = false;
    bool enabled = true;
    bool minimized = false;
    bool topmost = false;
    int opacity = 255;
    bool destroying = false;
    // painting
    std::unique_ptr<IImageCanvas> buffer;
    Rect dirty;
    int paintCount = 0;
    // mouse tracking
    UINT track = 0;
    int hoverMs = 0;
    int64_t hoverDue = 0;
    // dialog description
    std::u16string describedKind;
    std::u16string describedText;
    // edit boxes
    bool isEdit = false;
    int controlId = 0;
    EditParams edit;
    int selStart = 0;
    int selEnd = 0;
    std::vector<WindowId> edits;
    WindowId lastFocus = 0;

    bool IsTop() const { return !isEdit; }
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

HeadlessHost::~HeadlessHost()
{
    // Windows still open are forgotten without messages: their objects
    // usually went out of scope before the host did.
    windows_.clear();
}

IGraphics& HeadlessHost::Graphics() { return *graphics_; }

HeadlessHost::Win* HeadlessHost::Find(WindowId w)
{
    auto it = windows_.find(w);
    return it == windows_.end() ? nullptr : it->second.get();
}

const HeadlessHost::Win* HeadlessHost::Find(WindowId w) const
{
    auto it = windows_.find(w);
    return it == windows_.end() ? nullptr : it->second.get();
}

WindowId HeadlessHost::TopLevelOf(WindowId w) const
{
    const Win* win = Find(w);
    if (!win) return 0;
    return win->isEdit ? win->owner : w;
}

bool HeadlessHost::IsOwnedBy(WindowId w, WindowId owner) const
{
    for (const Win* win = Find(w); win; win = Find(win->owner)) {
        if (win->owner == owner) return true;
        if (win->owner == win->id) break;
    }
    return false;
}

bool HeadlessHost::AcceptsInput(WindowId top) const
{
    const Win* win = Find(top);
    if (!win || !win->enabled || win->kind == WindowKind::Overlay) return false;
    // A modal run disables its owner, as a dialog does on the desktop; the
    // dialog itself, its popups and unrelated windows stay usable.
    for (const ModalFrame* f : modalStack_)
        if (!f->ended && GetOwner(f->window) == top) return false;
    return true;
}

// ---- lifetime --------------------------------------------------------------

WindowId HeadlessHost::CreateWindow(IWindowClient* client, const WindowParams& params)
{
    auto win = std::make_unique<Win>();
    WindowId id = nextId_.fetch_add(1);
    win->id = id;
    win->client = client;
    win->kind = params.kind;
    win->owner = Find(params.owner) ? params.owner : 0;
    win->rect = params.bounds;
    win->text = params.title;
    win->topmost = params.topmost || params.kind != WindowKind::Dialog;
    win->opacity = std::clamp(params.opacity, 0, 255);
    windows_[id] = std::move(win);
    zOrder_.push_back(id);
    Find(id)->dirty = Rect{0, 0, params.bounds.Width(), params.bounds.Height()};
    if (client && client->OnMessage(id, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(id);
        return 0;
    }
    if (params.visible && Find(id))
        ShowWindow(id, params.kind == WindowKind::Overlay ? SW_SHOWNOACTIVATE : SW_SHOW);
    return Find(id) ? id : 0;
}

void HeadlessHost::DestroyWindow(WindowId w)
{
    Win* win = Find(w);
    if (!win || win->destroying) return;
    win->destroying = true;
    // What it owns goes first: edit boxes, then owned top-level windows.
    std::vector<WindowId> edits = win->edits;
    for (WindowId e : edits) DestroyWindow(e);
    std::vector<WindowId> owned;
    for (WindowId t : zOrder_)
        if (const Win* o = Find(t); o && o->owner == w) owned.push_back(t);
    for (WindowId t : owned) DestroyWindow(t);

    win = Find(w);
    if (!win) return;
    {
        std::lock_guard<std::mutex> lock(postMutex_);
        gone_.insert(w);
    }
    for (auto it = timers_.begin(); it != timers_.end();)
        it = it->first.first == w ? timers_.erase(it) : std::next(it);
    for (ModalFrame* f : modalStack_)
        if (f->window == w && !f->ended) {
            f->ended = true;
            f->result = IDCANCEL;
        }
    earlyEnds_.erase(w);
    if (capture_ == w) capture_ = 0;
    if (dragging_ == w) dragging_ = 0;
    if (focus_ == w) focus_ = 0;
    if (win->isEdit) {
        if (Win* parent = Find(win->owner)) {
            auto& v = parent->edits;
            v.erase(std::remove(v.begin(), v.end(), w), v.end());
            if (parent->lastFocus == w) parent->lastFocus = 0;
            if (focus_ == 0 && active_ == parent->id) focus_ = parent->id;
            InvalidateRect(parent->id, win->rect);
        }
    } else {
        zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), w), zOrder_.end());
    }
    IWindowClient* client = win->client;
    bool wasActive = active_ == w;
    if (wasActive) active_ = 0;
    if (client) client->OnMessage(w, WM_DESTROY, 0, 0);
    WindowId owner = Find(w) ? Find(w)->owner : 0;
    windows_.erase(w);
    if (wasActive) ActivateAfterLoss(owner);
}

bool HeadlessHost::IsWindow(WindowId w) const
{
    const Win* win = Find(w);
    return win && !win->destroying;
}

WindowId HeadlessHost::GetOwner(WindowId w) const
{
    const Win* win = Find(w);
    return win ? win->owner : 0;
}

// ---- messages --------------------------------------------------------------

LRESULT HeadlessHost::SendMessage(WindowId w, UINT message, WPARAM wParam, LPARAM lParam)
{
    Win* win = Find(w);
    if (!win) return 0;
    if (win->isEdit) {
        // Edit boxes understand the few messages the dialogs send them.
        if (message == WM_SETFOCUS) SetFocus(w);
        if (message == WM_KILLFOCUS && focus_ == w) SetFocus(win->owner);
        return 0;
    }
    if (!win->client) return 0;
    LRESULT r = win->client->OnMessage(w, message, wParam, lParam);
    if (message == WM_NCLBUTTONDOWN && wParam == HTCAPTION && IsWindow(w)) StartWindowDrag(w);
    return r;
}

bool HeadlessHost::PostMessage(WindowId w, UINT message, WPARAM wParam, LPARAM lParam)
{
    std::lock_guard<std::mutex> lock(postMutex_);
    if (w == 0 || w >= nextId_.load() || gone_.count(w)) return false;
    posted_.push_back(Msg{w, message, wParam, lParam});
    return true;
}

void HeadlessHost::PostQuitMessage(int exitCode)
{
    exitCode_ = exitCode;
    quit_ = true;
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
            if (gone_.count(m.hwnd)) continue;
        }
        any = true;
        SendMessage(m.hwnd, m.message, m.wParam, m.lParam);
    }
    if (quit_)
        for (ModalFrame* f : modalStack_)
            if (!f->ended) {
                f->ended = true;
                f->result = kModalQuit;
            }
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
    for (const auto& [id, win] : windows_)
        if ((win->track & TME_HOVER) && win->hoverDue <= limit && (!found || win->hoverDue < best)) {
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
    for (auto& [id, win] : windows_) {
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
    while (!quit_ && NextDue(target, &due)) {
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
    while (!quit_ && NextDue(stop, &due)) Advance(static_cast<int>(std::max<int64_t>(0, due - clock_.NowMs())));
    return exitCode_;
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
    for (auto& [id, win] : windows_)
        if ((win->track & TME_LEAVE) && id != under) leaving.push_back(id);
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
    WindowId target = capture_ ? capture_ : WindowAt(screen);
    if (Win* win = Find(target); win && (win->track & TME_HOVER))
        win->hoverDue = clock_.NowMs() + win->hoverMs;  // the pointer moved: the rest starts again
    CheckLeave();
    if (target && (capture_ || AcceptsInput(target))) SendMouse(WM_MOUSEMOVE, target, KeyFlags());
    AfterInput();
}

void HeadlessHost::PressButton(MouseButton b)
{
    int i = static_cast<int>(b);
    buttons_[i] = true;
    WindowId target = capture_ ? capture_ : WindowAt(cursor_);
    if (target && !capture_) {
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
    WindowId target = capture_ ? capture_ : WindowAt(cursor_);
    if (target && (capture_ || AcceptsInput(target))) {
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
    WindowId target = capture_ ? capture_ : WindowAt(cursor_);
    if (target && (capture_ || AcceptsInput(target))) SendMouse(WM_LBUTTONDBLCLK, target, KeyFlags());
    AfterInput();
    ReleaseButton(MouseButton::Left);
}

void HeadlessHost::Wheel(int delta)
{
    WindowId target = capture_ ? capture_ : WindowAt(cursor_);
    if (target && (capture_ || AcceptsInput(target))) {
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

void HeadlessHost::SetCapture(WindowId w)
{
    if (IsWindow(w)) capture_ = TopLevelOf(w);
}

void HeadlessHost::ReleaseCapture()
{
    capture_ = 0;
    CheckLeave();
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
    capture_ = 0;
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

void HeadlessHost::Activate(WindowId w, WPARAM how)
{
    Win* win = Find(w);
    if (!win || win->isEdit || win->kind == WindowKind::Overlay || w == active_) return;
    WindowId old = active_;
    active_ = w;
    if (Win* o = Find(old)) {
        if (Find(focus_) && TopLevelOf(focus_) == old) o->lastFocus = focus_;
        SendMessage(old, WM_ACTIVATE, WA_INACTIVE, 0);
    }
    if (active_ != w || !Find(w)) return;  // the old window's handler moved things on
    win = Find(w);
    focus_ = Find(win->lastFocus) ? win->lastFocus : w;
    SendMessage(w, WM_ACTIVATE, how, 0);
}

void HeadlessHost::ActivateAfterLoss(WindowId owner)
{
    // The desktop hands activation back to the owner when an owned window
    // goes away or hides.
    if (active_) return;
    if (const Win* o = Find(owner); o && o->visible && !o->destroying) {
        Activate(owner, WA_ACTIVE);
        return;
    }
    focus_ = 0;
}

void HeadlessHost::ShowWindow(WindowId w, int cmd)
{
    Win* win = Find(w);
    if (!win) return;
    bool wasVisible = win->visible;
    if (cmd == SW_HIDE) {
        win->visible = false;
        if (win->isEdit && focus_ == w) focus_ = win->owner;
        if (capture_ == w) capture_ = 0;
        if (wasVisible) {
            if (win->isEdit) InvalidateRect(win->owner, win->rect);
            SendMessage(w, WM_SHOWWINDOW, 0, 0);
        }
        if (active_ == w) {
            active_ = 0;
            ActivateAfterLoss(Find(w) ? Find(w)->owner : 0);
        }
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

void HeadlessHost::EnableWindow(WindowId w, bool enable)
{
    if (Win* win = Find(w)) win->enabled = enable;
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

void HeadlessHost::DescribeWindow(WindowId w, const std::u16string& kind, const std::u16string& text)
{
    if (Win* win = Find(w)) {
        win->describedKind = kind;
        win->describedText = text;
    }
}

bool HeadlessHost::ModalEnded(WindowId w) const
{
    for (const ModalFrame* f : modalStack_)
        if (f->window == w) return f->ended;
    return !IsWindow(w) || earlyEnds_.count(w) > 0;
}

void HeadlessHost::EndModal(WindowId w, LRESULT result)
{
    for (auto it = modalStack_.rbegin(); it != modalStack_.rend(); ++it)
        if ((*it)->window == w) {
            if (!(*it)->ended) {
                (*it)->ended = true;
                (*it)->result = result;
            }
            return;
        }
    if (IsWindow(w)) earlyEnds_[w] = result;
}

LRESULT HeadlessHost::RunModal(WindowId w)
{
    if (!IsWindow(w) || quit_) return quit_ ? kModalQuit : IDCANCEL;
    ModalRecord record;
    auto describe = [&] {
        if (const Win* win = Find(w)) {
            record.kind = win->describedKind;
            record.text = win->describedText;
        }
    };
    describe();
    ModalFrame frame;
    frame.window = w;
    if (auto it = earlyEnds_.find(w); it != earlyEnds_.end()) {
        frame.ended = true;
        frame.result = it->second;
        earlyEnds_.erase(it);
    }
    modalStack_.push_back(&frame);
    if (!frame.ended) {
        ShowWindow(w, SW_SHOW);
        ProcessPending();
        describe();  // a dialog may say what it is only once it shows
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
    modalStack_.pop_back();
    if (IsWindow(w)) ShowWindow(w, SW_HIDE);
    record.result = frame.result;
    modalLog_.push_back(record);
    return frame.result;
}

void HeadlessHost::ScriptModal(const std::u16string& kind, ModalScript script)
{
    scripts_.emplace_back(kind, std::move(script));
}

// ---- edit boxes ------------------------------------------------------------

WindowId HeadlessHost::CreateEdit(WindowId parent, int controlId, const Rect& r, const EditParams& params)
{
    Win* p = Find(parent);
    if (!p || p->isEdit) return 0;
    auto win = std::make_unique<Win>();
    WindowId id = nextId_.fetch_add(1);
    win->id = id;
    win->isEdit = true;
    win->owner = parent;
    win->controlId = controlId;
    win->rect = r;
    win->edit = params;
    win->visible = params.visible;
    p->edits.push_back(id);
    windows_[id] = std::move(win);
    InvalidateRect(parent, r);
    return id;
}

WindowId HeadlessHost::FindEdit(WindowId parent, int controlId) const
{
    const Win* p = Find(parent);
    if (!p) return 0;
    for (WindowId e : p->edits)
        if (const Win* edit = Find(e); edit && edit->controlId == controlId) return e;
    return 0;
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

std::pair<std::u16string, std::u16string> HeadlessHost::DescriptionOf(WindowId w) const
{
    const Win* win = Find(w);
    if (!win) return {};
    return {win->describedKind, win->describedText};
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

void HeadlessHost::Notify(WindowId edit, UINT code)
{
    const Win* win = Find(edit);
    if (!win) return;
    SendMessage(win->owner, WM_COMMAND, MAKEWPARAM(win->controlId, static_cast<int>(code)),
                static_cast<LPARAM>(edit));
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
    if (changed) Notify(edit, EN_CHANGE);
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
    if (top != active_) Activate(top, WA_ACTIVE);
    if (focus_ == w) return;
    WindowId old = focus_;
    focus_ = w;
    if (Win* o = Find(old); o && o->isEdit) Notify(old, EN_KILLFOCUS);
    if (Find(w) && Find(w)->isEdit && focus_ == w) Notify(w, EN_SETFOCUS);
}

// ---- keys ------------------------------------------------------------------

bool HeadlessHost::DeliverKey(UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowId target = Find(focus_) ? focus_ : active_;
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
    WindowId was = active_;
    if (Win* w = Find(was); w && Find(focus_) && TopLevelOf(focus_) == was) w->lastFocus = focus_;
    active_ = 0;
    focus_ = 0;
    if (IsWindow(was)) SendMessage(was, WM_ACTIVATE, WA_INACTIVE, 0);
    ProcessPending();
}

std::vector<WindowId> HeadlessHost::TopLevelWindows() const { return zOrder_; }

}  // namespace platform
