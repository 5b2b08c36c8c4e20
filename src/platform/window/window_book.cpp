#include "platform/window/window_book.h"

#include <algorithm>

namespace platform {

WindowBook::~WindowBook()
{
    // Windows still open are forgotten without messages: their objects
    // usually went out of scope before the host did.
    windows_.clear();
}

WindowRecord* WindowBook::Record(WindowId w)
{
    auto it = windows_.find(w);
    return it == windows_.end() ? nullptr : it->second.get();
}

const WindowRecord* WindowBook::Record(WindowId w) const
{
    auto it = windows_.find(w);
    return it == windows_.end() ? nullptr : it->second.get();
}

WindowId WindowBook::TopLevelOf(WindowId w) const
{
    const WindowRecord* win = Record(w);
    if (!win) return 0;
    return win->isEdit ? win->owner : w;
}

bool WindowBook::IsOwnedBy(WindowId w, WindowId owner) const
{
    for (const WindowRecord* win = Record(w); win; win = Record(win->owner)) {
        if (win->owner == owner) return true;
        if (win->owner == win->id) break;
    }
    return false;
}

bool WindowBook::AcceptsInput(WindowId top) const
{
    const WindowRecord* win = Record(top);
    if (!win || !win->enabled || win->kind == WindowKind::Overlay) return false;
    // A modal run disables its owner, as a dialog does on the desktop; the
    // dialog itself, its popups and unrelated windows stay usable.
    for (const ModalFrame* f : modalStack_)
        if (!f->ended && GetOwner(f->window) == top) return false;
    return true;
}

bool WindowBook::IsGone(WindowId w) const
{
    std::lock_guard<std::mutex> lock(goneMutex_);
    return gone_.count(w) > 0;
}

// ---- lifetime ----------------------------------------------------------------

WindowId WindowBook::CreateWindow(IWindowClient* client, const WindowParams& params)
{
    WindowId owner = Record(params.owner) ? params.owner : 0;
    WindowId id = nextId_.fetch_add(1);
    std::unique_ptr<WindowRecord> win = NewWindow(id, client, params, owner);
    if (!win) return 0;
    win->id = id;
    win->client = client;
    win->kind = params.kind;
    win->owner = owner;
    windows_[id] = std::move(win);
    if (client && client->OnMessage(id, WM_CREATE, 0, 0) == -1) {
        DestroyWindow(id);
        return 0;
    }
    if (params.visible && Record(id))
        ShowWindow(id, params.kind == WindowKind::Overlay ? SW_SHOWNOACTIVATE : SW_SHOW);
    return Record(id) ? id : 0;
}

WindowId WindowBook::CreateEdit(WindowId parent, int controlId, const Rect& r, const EditParams& params)
{
    WindowRecord* p = Record(parent);
    if (!p || p->isEdit) return 0;
    WindowId id = nextId_.fetch_add(1);
    std::unique_ptr<WindowRecord> win = NewEdit(id, *p, r, params);
    if (!win) return 0;
    win->id = id;
    win->isEdit = true;
    win->owner = parent;
    win->controlId = controlId;
    p->edits.push_back(id);
    windows_[id] = std::move(win);
    return id;
}

void WindowBook::DestroyWindow(WindowId w)
{
    WindowRecord* win = Record(w);
    if (!win || win->destroying) return;
    win->destroying = true;
    // What it owns goes first: edit boxes, then owned windows in the order
    // they were made (the table's order, whatever their stacking).
    std::vector<WindowId> edits = win->edits;
    for (WindowId e : edits) DestroyWindow(e);
    std::vector<WindowId> owned;
    for (const auto& [id, o] : windows_)
        if (!o->isEdit && o->owner == w) owned.push_back(id);
    for (WindowId o : owned) DestroyWindow(o);

    win = Record(w);
    if (!win) return;
    {
        std::lock_guard<std::mutex> lock(goneMutex_);
        gone_.insert(w);
    }
    for (ModalFrame* f : modalStack_)
        if (f->window == w && !f->ended) {
            f->ended = true;
            f->result = IDCANCEL;
            if (f->wake) f->wake();
        }
    earlyEnds_.erase(w);
    if (capture_ == w) capture_ = 0;
    bool wasActive = active_ == w;
    if (wasActive) active_ = 0;
    if (win->isEdit)
        if (WindowRecord* parent = Record(win->owner)) {
            auto& v = parent->edits;
            v.erase(std::remove(v.begin(), v.end(), w), v.end());
        }
    Unhook(*win);
    if (win->client) win->client->OnMessage(w, WM_DESTROY, 0, 0);
    win = Record(w);
    if (!win) return;
    WindowId owner = win->owner;
    Release(*win);
    windows_.erase(w);
    if (wasActive) ActivateAfterLoss(owner);
}

bool WindowBook::IsWindow(WindowId w) const
{
    const WindowRecord* win = Record(w);
    return win && !win->destroying;
}

WindowId WindowBook::GetOwner(WindowId w) const
{
    const WindowRecord* win = Record(w);
    return win ? win->owner : 0;
}

void WindowBook::EnableWindow(WindowId w, bool enable)
{
    if (WindowRecord* win = Record(w)) win->enabled = enable;
}

void WindowBook::DescribeWindow(WindowId w, const std::u16string& kind, const std::u16string& text)
{
    if (WindowRecord* win = Record(w)) {
        win->describedKind = kind;
        win->describedText = text;
    }
}

std::pair<std::u16string, std::u16string> WindowBook::DescriptionOf(WindowId w) const
{
    const WindowRecord* win = Record(w);
    if (!win) return {};
    return {win->describedKind, win->describedText};
}

WindowId WindowBook::FindEdit(WindowId parent, int controlId) const
{
    const WindowRecord* p = Record(parent);
    if (!p) return 0;
    for (WindowId e : p->edits)
        if (const WindowRecord* edit = Record(e); edit && edit->controlId == controlId) return e;
    return 0;
}

// ---- messages ----------------------------------------------------------------

LRESULT WindowBook::SendMessage(WindowId w, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowRecord* win = Record(w);
    if (!win) return 0;
    if (win->isEdit) {
        // Edit boxes understand the few messages the dialogs send them.
        if (message == WM_SETFOCUS) SetFocus(w);
        if (message == WM_KILLFOCUS && GetFocus() == w) SetFocus(win->owner);
        return 0;
    }
    if (!win->client) return 0;
    LRESULT r = win->client->OnMessage(w, message, wParam, lParam);
    if (message == WM_NCLBUTTONDOWN && wParam == HTCAPTION && IsWindow(w)) StartWindowDrag(w);
    return r;
}

bool WindowBook::PostMessage(WindowId w, UINT message, WPARAM wParam, LPARAM lParam)
{
    {
        std::lock_guard<std::mutex> lock(goneMutex_);
        if (w == 0 || w >= nextId_.load() || gone_.count(w)) return false;
    }
    Enqueue(Msg{w, message, wParam, lParam});
    return true;
}

void WindowBook::PostQuitMessage(int exitCode)
{
    exitCode_ = exitCode;
    quit_ = true;
    QuitRequested();
}

void WindowBook::NotifyParent(WindowId edit, UINT code)
{
    const WindowRecord* win = Record(edit);
    if (!win || win->destroying) return;
    SendMessage(win->owner, WM_COMMAND, MAKEWPARAM(win->controlId, static_cast<int>(code)),
                static_cast<LPARAM>(edit));
}

// ---- capture and activation --------------------------------------------------

void WindowBook::SetCapture(WindowId w)
{
    if (IsWindow(w)) capture_ = TopLevelOf(w);
}

void WindowBook::ReleaseCapture()
{
    WindowId was = capture_;
    capture_ = 0;
    CaptureReleased(was);
}

void WindowBook::Activate(WindowId w, WPARAM how)
{
    const WindowRecord* win = Record(w);
    if (!win || win->isEdit || win->kind == WindowKind::Overlay) return;
    WillActivate(w);
    if (w == active_) return;
    WindowId old = active_;
    active_ = w;
    if (IsWindow(old)) {
        Deactivating(old);
        SendMessage(old, WM_ACTIVATE, WA_INACTIVE, 0);
    }
    if (active_ != w || !IsWindow(w)) return;  // the old window's handler moved things on
    Activated(w);
    SendMessage(w, WM_ACTIVATE, how, 0);
}

void WindowBook::ActivateAfterLoss(WindowId owner)
{
    // The desktop hands activation back to the owner when an owned window
    // goes away or hides. When the owner cannot take it, nothing of ours is
    // active, and so nothing of ours may keep the keyboard focus either:
    // keys typed next must not land in a window the user left.
    if (active_) return;
    if (IsWindow(owner) && IsWindowVisible(owner)) Activate(owner, WA_ACTIVE);
    if (!active_) NothingActive();
}

void WindowBook::LoseActivation(WindowId w)
{
    if (active_ != w || !w) return;
    active_ = 0;
    ActivateAfterLoss(GetOwner(w));
}

void WindowBook::DeactivateAll()
{
    WindowId was = active_;
    if (IsWindow(was)) Deactivating(was);
    active_ = 0;
    NothingActive();
    if (IsWindow(was)) SendMessage(was, WM_ACTIVATE, WA_INACTIVE, 0);
}

// ---- modal runs --------------------------------------------------------------

bool WindowBook::ModalEnded(WindowId w) const
{
    for (const ModalFrame* f : modalStack_)
        if (f->window == w) return f->ended;
    return !IsWindow(w) || earlyEnds_.count(w) > 0;
}

void WindowBook::EndModal(WindowId w, LRESULT result)
{
    for (auto it = modalStack_.rbegin(); it != modalStack_.rend(); ++it)
        if ((*it)->window == w) {
            if (!(*it)->ended) {
                (*it)->ended = true;
                (*it)->result = result;
            }
            if ((*it)->wake) (*it)->wake();
            return;
        }
    if (IsWindow(w)) earlyEnds_[w] = result;
}

void WindowBook::EndAllModal(LRESULT result)
{
    for (ModalFrame* f : modalStack_) {
        if (!f->ended) {
            f->ended = true;
            f->result = result;
        }
        if (f->wake) f->wake();
    }
}

void WindowBook::KeepHiddenWhenRun(WindowId w)
{
    if (WindowRecord* win = Record(w)) win->keepHiddenWhenRun = true;
}

LRESULT WindowBook::RunModal(WindowId w)
{
    if (quit_) return kModalQuit;
    if (!IsWindow(w)) return IDCANCEL;
    ModalFrame frame;
    frame.window = w;
    frame.show = !Record(w)->keepHiddenWhenRun;
    if (auto it = earlyEnds_.find(w); it != earlyEnds_.end()) {
        frame.ended = true;
        frame.result = it->second;
        earlyEnds_.erase(it);
    }
    modalStack_.push_back(&frame);
    if (!frame.ended) RunModalLoop(frame);
    frame.wake = nullptr;
    modalStack_.erase(std::remove(modalStack_.begin(), modalStack_.end(), &frame), modalStack_.end());
    if (IsWindow(w)) {
        ShowWindow(w, SW_HIDE);
        if (IsWindow(w)) ModalRunDone(w);
    }
    return frame.result;
}

}  // namespace platform
