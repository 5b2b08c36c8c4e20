// The headless host's core: its windows' records, the posted-message queue
// and the virtual clock with the timers that fire as it moves.
#include "platform/headless/headless_host.h"

#include <algorithm>

#include "platform/draw/qt_canvas.h"
#include "platform/headless/headless_window.h"

namespace platform {

namespace {

constexpr int kMaxPostedPerTurn = 100000;

}  // namespace

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

}  // namespace platform
