#include "ui/wnd_popup.h"
#include "ui/key_behaviour.h"

#include <algorithm>

#include "ui/control_base.h"
#include "ui/control_events.h"

namespace {
// Popups whose window has been destroyed, deleted at the next safe moment
// (never inside the host's own delivery of WM_DESTROY), and at the latest
// when the program ends. Owner: the window thread, through CWndPopup alone
// (its destructor, ReapDestroyed and WM_DESTROY); one per process because
// a popup outlives the dialog that opened it until it is reaped.
struct Graveyard {
    std::vector<CWndPopup*> dead;
    // The windows of the popups alive now, so that a new popup knows whether
    // it was opened from another one.
    std::vector<HWND> live;
    bool closing = false;
    ~Graveyard()
    {
        closing = true;
        for (CWndPopup* p : dead) delete p;
    }
};

Graveyard& Yard()
{
    static Graveyard g;
    return g;
}
}  // namespace

void CWndPopup::ReapDestroyed()
{
    auto dead = std::move(Yard().dead);
    Yard().dead.clear();
    for (CWndPopup* p : dead) delete p;
}

CWndPopup::CWndPopup() : font_(UiControlFont()) {}

CWndPopup::~CWndPopup()
{
    deleting_ = true;
    Graveyard& y = Yard();
    if (!y.closing) y.dead.erase(std::remove(y.dead.begin(), y.dead.end(), this), y.dead.end());
    if (hwnd_ && platform::g_windowHost && Host().IsWindow(hwnd_)) {
        closing_ = true;
        HWND w = hwnd_;
        hwnd_ = 0;
        Host().DestroyWindow(w);
    }
}

bool CWndPopup::Create(HWND parent, Rect rect, UINT reportMessage, int tag, UINT dismissalMessage)
{
    ReapDestroyed();
    if (!platform::g_windowHost || hwnd_) return false;
    parent_ = parent;
    // Opened while another popup is active: a sub-menu of that one.
    const HWND active = Host().GetActiveWindow();
    const auto& live = Yard().live;
    opener_ = active && std::find(live.begin(), live.end(), active) != live.end() ? active : 0;
    position_ = {rect.left, rect.top};
    reportMessage_ = reportMessage;
    dismissalMessage_ = dismissalMessage;
    tag_ = tag;
    platform::WindowParams p;
    p.kind = platform::WindowKind::Popup;
    p.owner = parent;
    p.bounds = rect.IsEmpty() ? Rect::FromSize(rect.left, rect.top, 1, 1) : rect;
    p.topmost = true;
    p.visible = false;
    return Host().CreateWindow(this, p) != 0;
}

void CWndPopup::SetWindowSize(int width, int height)
{
    size_ = {std::max(width, 1), std::max(height, 1)};
    if (hwnd_) Host().SetWindowPos(hwnd_, Rect::FromSize(position_.x, position_.y, size_.cx, size_.cy));
}

const platform::IImage* CWndPopup::Picture() const { return picture_ ? &picture_->Image() : nullptr; }

void CWndPopup::Redraw()
{
    if (!hwnd_) return;
    Rect client = Host().GetClientRect(hwnd_);
    if (client.IsEmpty()) client = Rect{0, 0, size_.cx, size_.cy};
    if (!picture_ || picture_->Width() != client.Width() || picture_->Height() != client.Height())
        picture_ = Host().Graphics().CreateImageCanvas(client.Width(), client.Height());
    if (!picture_) return;
    picture_->FillRect(client, RGB(0, 0, 0));
    picture_->FillRect(client.Inflate(-1, -1), RGB(0, 0, 0));
    DrawItems(*picture_, client);
    ++redrawCount_;
    Host().Invalidate(hwnd_);
}

bool CWndPopup::NotifyParent(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!parent_ || !platform::g_windowHost) return false;
    Host().SendMessage(parent_, message, wParam, lParam);
    return true;
}

Point CWndPopup::CursorInClient() const { return Host().ScreenToClient(hwnd_, Host().GetCursorPos()); }

void CWndPopup::DrawItems(platform::ICanvas&, const Rect&) {}
void CWndPopup::BuildItems() {}
bool CWndPopup::OnItemMouseMove(int, int) { return false; }
bool CWndPopup::OnItemLButtonDown(int, int) { return false; }
bool CWndPopup::OnItemLButtonUp(int, int) { return false; }
bool CWndPopup::OnItemRButtonUp(int, int) { return false; }

void CWndPopup::OnPaint(HWND, platform::ICanvas& canvas, const Rect&)
{
    if (picture_) canvas.DrawImage(picture_->Image(), Rect{0, 0, picture_->Width(), picture_->Height()});
}

LRESULT CWndPopup::OnMessage(HWND self, UINT message, WPARAM wParam, LPARAM lParam)
{
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    switch (message) {
    case WM_CREATE:
        hwnd_ = self;
        Yard().live.push_back(self);
        BuildItems();
        Host().SetWindowPos(self, Rect::FromSize(position_.x, position_.y, size_.cx, size_.cy));
        Redraw();
        Host().ShowWindow(self, SW_SHOW);
        return 0;
    case WM_MOUSEMOVE:
        if (!tracking_) tracking_ = Host().TrackMouseEvent(self, TME_HOVER | TME_LEAVE, 50);
        if (!buttonDown_ && OnItemMouseMove(x, y)) Redraw();
        return 0;
    case WM_MOUSEHOVER: {
        Point p = CursorInClient();
        OnItemMouseMove(p.x, p.y);
        return 0;
    }
    case WM_MOUSELEAVE: {
        tracking_ = false;
        if (buttonDown_) return 0;
        Point p = CursorInClient();
        if (OnItemMouseMove(p.x, p.y)) Redraw();
        return 0;
    }
    case WM_LBUTTONDOWN:
        buttonDown_ = true;
        Host().SetCapture(self);
        captured_ = true;
        if (OnItemLButtonDown(x, y)) Redraw();
        return 0;
    case WM_LBUTTONUP:
        if (captured_) {
            Host().ReleaseCapture();
            captured_ = false;
        }
        buttonDown_ = false;
        if (OnItemLButtonUp(x, y)) Redraw();
        return 0;
    case WM_RBUTTONUP: OnItemRButtonUp(x, y); return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SHIFT || wParam == VK_LSHIFT || wParam == VK_RSHIFT) shiftHeld_ = true;
        if (!buttonDown_) OnItemKey(static_cast<UINT>(wParam));
        return 0;
    case WM_KEYUP:
        if (wParam == VK_SHIFT || wParam == VK_LSHIFT || wParam == VK_RSHIFT) shiftHeld_ = false;
        return 0;
    case WM_ACTIVATE:
        // The user went elsewhere: tell the owner once per deactivation; it
        // closes the popup. A popup already closing says nothing more.
        if (wParam == WA_INACTIVE && !closing_) {
            if (dismissalMessage_) NotifyParent(dismissalMessage_, static_cast<WPARAM>(tag_), kind_);
        }
        return 0;
    case WM_CLOSE:
        if (closing_) return 0;
        closing_ = true;
        NotifyParent(WM_POPUP_CLOSED, 0, 0);
        Host().DestroyWindow(self);
        return 0;
    case WM_DESTROY: {
        closing_ = true;
        auto& live = Yard().live;
        live.erase(std::remove(live.begin(), live.end(), self), live.end());
        if (captured_ && Host().GetCapture() == self) Host().ReleaseCapture();
        hwnd_ = 0;
        if (!deleting_) Yard().dead.push_back(this);
        return 0;
    }
    default: return 0;
    }
}

bool CWndPopup::OnItemKey(UINT vk)
{
    if (PopupKeyFor(vk, shiftHeld_) != PopupKey::Close) return false;
    Dismiss();
    return true;
}

bool CWndPopup::CloseSubMenu()
{
    if (closing_ || !hwnd_ || !opener_ || !Host().IsWindow(opener_)) return false;
    const HWND back = opener_;
    // Closed as its owner closes it; the popup it came from takes the keys
    // again, so the user goes on choosing there.
    Host().SendMessage(hwnd_, WM_CLOSE, 0, 0);
    Host().SetForegroundWindow(back);
    return true;
}

void CWndPopup::Dismiss()
{
    if (closing_ || !hwnd_) return;
    if (dismissalMessage_)
        NotifyParent(dismissalMessage_, static_cast<WPARAM>(tag_), kind_);
    else
        Host().PostMessage(hwnd_, WM_CLOSE, 0, 0);
}
