#include "ui/dlg_base.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "base/ui_text.h"
#include "ui/radio_state.h"
#include "ui/ui_scale.h"
#include "ui/wnd_popup.h"

// ---- registry of open secondary dialogs ----------------------------------------

bool RegisterOpenDialog(HWND w)
{
    if (!w) return false;
    for (auto& e : g_openDialogs) {
        if (e == 0) {
            e = w;
            return true;
        }
    }
    return false;
}

void UnregisterOpenDialog(HWND w)
{
    if (!w) return;
    auto it = std::find(g_openDialogs.begin(), g_openDialogs.end(), w);
    if (it == g_openDialogs.end()) return;
    std::move(it + 1, g_openDialogs.end(), it);
    g_openDialogs.back() = 0;
}

void CloseOpenDialogs()
{
    if (!platform::g_windowHost) return;
    // A dialog that closes unregisters itself and the later entries move
    // down, so work on a copy.
    auto open = g_openDialogs;
    for (HWND w : open)
        if (w) platform::g_windowHost->SendMessage(w, WM_CLOSE, 0, 0);
}

// ---- life cycle ---------------------------------------------------------------------

CDlgBase::CDlgBase(bool secondary) : secondary_(secondary)
{
    dialogFont_.face = g_uiFont.face;
    dialogFont_.weight = 600;
    dialogFont_.height = 13;
    if (secondary_) MapMessage(2004, [this](WPARAM w, LPARAM l) { return OnCloseButton(w, l); });
}

CDlgBase::~CDlgBase()
{
    if (hwnd_ && platform::g_windowHost && platform::g_windowHost->IsWindow(hwnd_)) {
        HWND w = hwnd_;
        platform::g_windowHost->DestroyWindow(w);
    }
    for (auto& g : groups_) g.clear();
}

bool CDlgBase::Create(HWND owner)
{
    if (!platform::g_windowHost || hwnd_) return false;
    owner_ = owner;
    platform::WindowParams p;
    p.kind = platform::WindowKind::Dialog;
    p.owner = owner;
    p.title = WindowTitle();
    // Centred on the owner, or on the work area for a window without one.
    Rect around = owner ? Host().GetWindowRect(owner) : Host().GetWorkArea();
    int x = around.left + (around.Width() - windowWidth) / 2;
    int y = around.top + (around.Height() - windowHeight) / 2;
    p.bounds = Rect::FromSize(x, y, windowWidth, windowHeight);
    p.visible = false;
    HWND w = Host().CreateWindow(this, p);
    if (!w) return false;
    if (showOnCreate)
        Host().ShowWindow(w, SW_SHOW);
    else
        Host().KeepHiddenWhenRun(w);
    return true;
}

namespace {
int g_ownedModalRuns = 0;  // window thread only
}

int CDlgBase::OwnedModalRuns() { return g_ownedModalRuns; }

LRESULT CDlgBase::DoModal(HWND owner)
{
    if (!Create(owner)) return IDCANCEL;
    modal_ = true;
    if (owner) ++g_ownedModalRuns;
    LRESULT r = Host().RunModal(hwnd_);
    if (owner) --g_ownedModalRuns;
    modal_ = false;
    DestroyWindow();
    return r;
}

void CDlgBase::EndDialog(LRESULT result)
{
    if (!hwnd_) return;
    if (modal_)
        Host().EndModal(hwnd_, result);
    else
        DestroyWindow();
}

void CDlgBase::OnOK() { EndDialog(IDOK); }
void CDlgBase::OnCancel() { EndDialog(IDCANCEL); }

void CDlgBase::DestroyWindow()
{
    if (hwnd_ && platform::g_windowHost) Host().DestroyWindow(hwnd_);
}

LRESULT CDlgBase::OnCloseButton(WPARAM, LPARAM lParam)
{
    if (lParam != CE_CLICK) return 0;
    ReleaseControlImages();
    OnCancel();
    return 0;
}

bool CDlgBase::OnInitDialog()
{
    dialogFont_.face = g_uiFont.face;
    // 10 points at the screen's logical DPI, as the dialog font always was.
    dialogFont_.height = 10 * Host().LogicalDpi() / 72;
    Host().SetWindowText(hwnd_, WindowTitle());
    Rect client = Host().GetClientRect(hwnd_);
    CreateControls(client);
    if (secondary_) RegisterOpenDialog(hwnd_);
    return true;
}

// ---- message table ------------------------------------------------------------------

void CDlgBase::MapMessage(UINT message, Handler handler)
{
    if (!handlers_.emplace(message, std::move(handler)).second)
        throw std::logic_error("message " + std::to_string(message) + " is mapped twice");
}

void CDlgBase::MapClick(UINT id, std::function<void()> action)
{
    MapMessage(id, [action = std::move(action)](WPARAM, LPARAM l) -> LRESULT {
        if (l == CE_CLICK) action();
        return 0;
    });
}

void CDlgBase::MapClickRange(UINT first, int count, std::function<void(int)> action)
{
    for (int i = 0; i < count; ++i)
        MapMessage(first + UINT(i), [action, i](WPARAM, LPARAM l) -> LRESULT {
            if (l == CE_CLICK) action(i);
            return 0;
        });
}

void CDlgBase::SubscribeShared(UINT message, LPARAM code, std::function<void(WPARAM)> subscriber)
{
    auto table = shared_.find(message);
    if (table == shared_.end()) {
        MapMessage(message, [this, message](WPARAM w, LPARAM l) -> LRESULT {
            auto& subscribers = shared_[message];
            if (auto it = subscribers.find(l); it != subscribers.end()) {
                auto s = it->second;
                s(w);
            }
            return 0;
        });
        table = shared_.emplace(message, std::unordered_map<LPARAM, std::function<void(WPARAM)>>{}).first;
    }
    if (!table->second.emplace(code, std::move(subscriber)).second)
        throw std::logic_error("message " + std::to_string(message) + " has two subscribers for " +
                               std::to_string(code));
}

// ---- controls -----------------------------------------------------------------------

CControlBase* CDlgBase::FindControl(UINT id) const
{
    for (const auto& g : groups_)
        for (const auto& c : g)
            if (c && c->Id() == id) return c.get();
    return nullptr;
}

void CDlgBase::ReleaseControlImages()
{
    ForEachControl([](CControlBase* c) { c->ReleaseImages(); });
}

void CDlgBase::DrawControls(platform::ICanvas& dc, const Rect& area)
{
    // Controls learn the part really being painted, so one that has to clip
    // itself can give the canvas back its clip afterwards.
    Rect a = paintArea_.IsEmpty() ? area : area.Intersect(paintArea_);
    if (a.IsEmpty()) return;
    ForEachControl([&](CControlBase* c) {
        if (!c->IsShown()) return;
        if (c->GetRect().Intersects(a)) c->Draw(dc, a);
    });
    DrawFocusRing(dc, a);
}

void CDlgBase::InvalidateControl(const CControlBase* c) const
{
    if (c && hwnd_) Host().InvalidateRect(hwnd_, c->GetRect());
}

bool CDlgBase::InvalidatesWholeWindow(UINT) const { return false; }

// ---- background ---------------------------------------------------------------------

bool CDlgBase::LoadBackgroundResource(int id)
{
    auto img = CSkinImage::FromResource(id);
    if (!img) return false;
    SetBackgroundBitmap(std::move(img));
    return true;
}

bool CDlgBase::LoadBackgroundFile(const std::u16string& path)
{
    auto img = CSkinImage::FromFile(path);
    if (!img) return false;
    SetBackgroundBitmap(std::move(img));
    return true;
}

void CDlgBase::SetBackgroundBitmap(std::unique_ptr<CSkinImage> bitmap)
{
    if (bitmap) {
        backgroundWidth_ = bitmap->Width();
        backgroundHeight_ = bitmap->Height();
    }
    if (windowWidth > backgroundWidth_ || windowHeight > backgroundHeight_)
        backgroundInset_ = std::min(std::min(backgroundWidth_, 100), backgroundHeight_);
    else
        backgroundInset_ = 0;
    if (!bitmap || !platform::g_windowHost) return;

    // One pass over the picture's own bytes: asking every pixel through the
    // image interface took longer than the whole first paint.
    if (bitmap->Raw().Width() > 0 && bitmap->Raw().Height() > 0) backgroundColour_ = bitmap->Raw().AverageOverBlack();
    // The cache holds the whole picture at the window's scale, so that the
    // background lines up with the scaled layout drawn over it (and the
    // pixels a palette dialog reads back are the palette's).
    int cw = static_cast<int>(backgroundWidth_ * g_uiScale);
    int ch = static_cast<int>(backgroundHeight_ * g_uiScale);
    backgroundCache_.reset();
    backgroundPicture_.reset();
    const platform::IImage& raw = bitmap->Raw();
    if (raw.Width() == cw && raw.Height() == ch && raw.IsOpaque()) {
        backgroundPicture_ = bitmap->Shared();
        return;
    }
    backgroundCache_ = Host().Graphics().CreateImageCanvas(std::max(cw, 1), std::max(ch, 1));
    if (backgroundCache_) bitmap->Draw(*backgroundCache_, Rect{0, 0, cw, ch});
}

void CDlgBase::PaintBackgroundCache(platform::ICanvas& dc, const Rect& client) const
{
    if (!backgroundCache_ && !backgroundPicture_) {
        dc.FillRect(client, backgroundColour_);
        return;
    }
    const platform::IImage& img = backgroundPicture_ ? *backgroundPicture_ : backgroundCache_->Image();
    int w = std::min(img.Width(), client.Width());
    int h = std::min(img.Height(), client.Height());
    // An opaque picture covers its part: only the rest is filled (filling
    // the whole window first was a third of the first paint).
    if (!backgroundPicture_ || w <= 0 || h <= 0) {
        dc.FillRect(client, backgroundColour_);
    } else {
        if (client.right > w) dc.FillRect(Rect{w, client.top, client.right, client.bottom}, backgroundColour_);
        if (client.bottom > h) dc.FillRect(Rect{client.left, h, w, client.bottom}, backgroundColour_);
    }
    if (w > 0 && h > 0) dc.DrawImage(img, Rect{0, 0, w, h}, Rect{0, 0, w, h});
}

void CDlgBase::DrawFrameImage(platform::ICanvas& dc, const CSkinImage& frame) const
{
    frame.Draw(dc,
               Rect{0, 0, static_cast<int>(frame.Width() * g_uiScale), static_cast<int>(frame.Height() * g_uiScale)});
}

// ---- popups -------------------------------------------------------------------------

void CDlgBase::SetPopup(int slot, CWndPopup* popup)
{
    if (slot < 0 || slot >= kPopupSlotCount) return;
    popupSlots_[slot] = {popup, popup ? popup->GetSafeHwnd() : 0};
}

// The popup deletes itself when its window is destroyed, so a slot is only
// trusted while the window it recorded still exists.
CWndPopup* CDlgBase::Popup(int slot) const
{
    if (slot < 0 || slot >= kPopupSlotCount) return nullptr;
    const PopupRef& r = popupSlots_[slot];
    if (!r.popup || !platform::g_windowHost || !Host().IsWindow(r.hwnd)) return nullptr;
    return r.popup;
}

void CDlgBase::AddListPopup(CWndPopup* popup)
{
    if (popup) popupList_.push_back({popup, popup->GetSafeHwnd()});
}

CWndPopup* CDlgBase::ListPopup(size_t i) const
{
    if (i >= popupList_.size() || !platform::g_windowHost || !Host().IsWindow(popupList_[i].hwnd)) return nullptr;
    return popupList_[i].popup;
}

void CDlgBase::ClosePopupRef(PopupRef& ref)
{
    if (!ref.popup) return;
    if (pressed_ && pressed_ != hovered_) {
        pressed_->SetActive(false);
        pressed_ = nullptr;
    }
    if (platform::g_windowHost && Host().IsWindow(ref.hwnd)) Host().PostMessage(ref.hwnd, WM_CLOSE, 0, 0);
    ref = {};
}

void CDlgBase::ClosePopup(int slot)
{
    if (slot < 0 || slot >= kPopupSlotCount) return;
    ClosePopupRef(popupSlots_[slot]);
}

void CDlgBase::CloseListPopup(size_t index)
{
    if (index >= popupList_.size()) return;
    ClosePopupRef(popupList_[index]);
    popupList_.erase(popupList_.begin() + static_cast<std::ptrdiff_t>(index));
}

// ---- messages -----------------------------------------------------------------------

LRESULT CDlgBase::OnMessage(HWND self, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        hwnd_ = self;
        OnInitDialog();
        return 0;
    }
    if (message == WM_DESTROY) {
        if (secondary_) UnregisterOpenDialog(self);
        LRESULT r = WindowProc(message, wParam, lParam);
        hwnd_ = 0;
        hovered_ = pressed_ = focused_ = nullptr;
        return r;
    }
    return WindowProc(message, wParam, lParam);
}

LRESULT CDlgBase::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    switch (message) {
    case WM_MOUSEMOVE: OnMouseMove(wParam, x, y); return 0;
    case WM_MOUSELEAVE: OnMouseLeave(); return 0;
    case WM_MOUSEHOVER: OnMouseHover(); return 0;
    case WM_LBUTTONDOWN: OnLButtonDown(wParam, x, y); return 0;
    case WM_LBUTTONUP: OnLButtonUp(wParam, x, y); return 0;
    case WM_LBUTTONDBLCLK: OnLButtonDblClk(wParam, x, y); return 0;
    case WM_RBUTTONUP: OnRButtonUp(wParam, x, y); return 0;
    case WM_KEYDOWN:
        TrackModifier(static_cast<UINT>(wParam), true);
        if (OnControlKey(static_cast<UINT>(wParam), shiftHeld_)) return 0;
        break;
    case WM_KEYUP: TrackModifier(static_cast<UINT>(wParam), false); break;
    case WM_ACTIVATE:
        // A modifier released in another window must not stay held here
        // (Tab going back, a Q closing the window).
        if (LOWORD(wParam) == WA_INACTIVE) shiftHeld_ = controlHeld_ = altHeld_ = false;
        break;
    case WM_NCLBUTTONDOWN:
        if (wParam == HTCAPTION && hwnd_) Host().StartWindowDrag(hwnd_);
        return 0;
    default: break;
    }
    auto it = handlers_.find(message);
    if (it != handlers_.end()) {
        // Copy: the handler may end the window and its table while it runs.
        Handler h = it->second;
        return h(wParam, lParam);
    }
    if (message == WM_CLOSE && secondary_) {
        ReleaseControlImages();
        OnCancel();
    }
    return 0;
}

void CDlgBase::OnPaint(HWND self, platform::ICanvas& canvas, const Rect& dirty)
{
    if (Host().IsIconic(self)) return;
    Rect client = Host().GetClientRect(self);
    canvas.SetClip(dirty);
    paintArea_ = dirty;
    DrawBackground(canvas, client);
    paintArea_ = {};
    canvas.ResetClip();
}

// ---- the mouse ----------------------------------------------------------------------

void CDlgBase::OnMouseMove(WPARAM flags, int x, int y)
{
    if (!tracking_) tracking_ = Host().TrackMouseEvent(hwnd_, TME_HOVER | TME_LEAVE, 1);

    if (hovered_ && hovered_->Contains(x, y) && tracking_) {
        mousePos_ = {x, y};
        if (hovered_->OnMouseMove(flags, x, y)) InvalidateControl(hovered_);
        return;
    }
    // While the button is held on a control, hover does not move to another.
    if (buttonHeld_) return;

    mousePos_ = {x, y};
    CControlBase* previous = hovered_;
    CControlBase* found = nullptr;
    if (tracking_) {
        ForEachControl([&](CControlBase* c) {
            if (!c->IsShown() || !c->TakesMouse()) return;
            // Every control sees the move, so that the one the pointer left
            // drops its hover look.
            c->OnMouseMove(flags, x, y);
            if (c->Contains(x, y)) found = c;
        });
    }
    if (previous) InvalidateControl(previous);
    if (found) {
        hovered_ = found;
        InvalidateControl(hovered_);
    } else {
        hovered_ = nullptr;
    }
}

void CDlgBase::OnMouseLeave()
{
    tracking_ = false;
    if (buttonHeld_) return;
    if (hovered_) {
        mousePos_ = {-1, -1};
        hovered_->OnMouseMove(0, mousePos_.x, mousePos_.y);
        InvalidateControl(hovered_);
    }
    hovered_ = nullptr;
}

void CDlgBase::OnMouseHover()
{
    if (!hovered_) return;
    Point p = Host().ScreenToClient(hwnd_, Host().GetCursorPos());
    if (hovered_->Contains(p.x, p.y)) {
        mousePos_ = p;
        InvalidateControl(hovered_);
    }
}

void CDlgBase::OnLButtonDown(WPARAM flags, int x, int y)
{
    if (pressed_ && pressed_ != hovered_) {
        pressed_->SetActive(false);
        pressed_ = nullptr;
    }
    if (hovered_ && hovered_->Contains(x, y)) {
        buttonHeld_ = true;
        pressed_ = hovered_;
        pressedRect_ = hovered_->GetRect();
        if (hovered_->OnLButtonDown(flags, x, y)) InvalidateControl(hovered_);
        if (!captured_ || Host().GetCapture() != hwnd_) Host().SetCapture(hwnd_);
        captured_ = true;
        return;
    }
    // Not on a control: the whole window is its own title bar.
    pressedRect_ = {-1, -1, -1, -1};
    Host().StartWindowDrag(hwnd_);
}

void CDlgBase::OnLButtonUp(WPARAM flags, int x, int y)
{
    if (captured_) {
        Host().ReleaseCapture();
        captured_ = false;
    }
    buttonHeld_ = false;
    if (hovered_) {
        CControlBase* c = hovered_;
        Rect r = c->GetRect();
        // The click handler runs inside this call and may open dialogs or
        // popups; the hovered control is read again afterwards.
        int changed = c->OnLButtonUp(flags, x, y);
        if (changed && hovered_ && hwnd_) {
            if (InvalidatesWholeWindow(hovered_->Id()))
                Host().Invalidate(hwnd_);
            else
                InvalidateControl(hovered_);
        }
        if (pressedRect_.Contains(x, y) || r.Contains(x, y)) {
            mousePos_ = {x, y};
        } else {
            mousePos_ = {-1, -1};
            hovered_ = nullptr;
        }
    }
    doubleClicked_ = false;
    pressedRect_ = {-1, -1, -1, -1};
}

void CDlgBase::OnLButtonDblClk(WPARAM flags, int x, int y)
{
    if (!hovered_) return;
    CControlBase* hit = nullptr;
    for (const auto& g : groups_) {
        for (const auto& c : g)
            if (c && c->Contains(x, y)) {
                hit = c.get();
                break;
            }
        if (hit) break;
    }
    if (!hit) return;
    Rect r = hit->GetRect();
    hovered_->OnLButtonDblClk(flags, x, y);
    pressedRect_ = r;
    doubleClicked_ = true;
}

void CDlgBase::OnRButtonUp(WPARAM flags, int x, int y)
{
    if (!hovered_) return;
    bool inGroup0 =
        std::any_of(groups_[0].begin(), groups_[0].end(), [&](const auto& c) { return c && c->Contains(x, y); });
    if (inGroup0) hovered_->OnRButtonUp(flags, x, y);
}
