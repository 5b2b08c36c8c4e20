#include "ui/dlg_base.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "persist/ui_text.h"
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
    p.title = u"Tevlan";
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
    Host().SetWindowText(hwnd_, u"Tevlan");
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

// ---- the keyboard -------------------------------------------------------------------

void CDlgBase::SetFocusedControl(CControlBase* c)
{
    if (c == focused_) return;
    if (focused_) {
        focused_->SetFocused(false);
        InvalidateRing(focused_);
    }
    focused_ = c;
    if (focused_) {
        focused_->SetFocused(true);
        InvalidateRing(focused_);
    }
    if (hwnd_ && platform::g_windowHost) Host().AccessibleFocusChanged(hwnd_, c ? int(c->Id()) : 0);
}

void CDlgBase::InvalidateRing(const CControlBase* c) const
{
    if (!c || !hwnd_) return;
    const int m = FocusRingWidth() + 1;
    const Rect& r = c->GetRect();
    Host().InvalidateRect(hwnd_, Rect{r.left - m, r.top - m, r.right + m, r.bottom + m});
}

int CDlgBase::FocusRingWidth() { return std::max(1, static_cast<int>(2 * g_uiScale + 0.5f)); }

bool CDlgBase::MoveFocus(bool backwards)
{
    std::vector<bool> takes;
    takes.reserve(creation_.size());
    int current = -1;
    for (size_t i = 0; i < creation_.size(); ++i) {
        takes.push_back(creation_[i]->TakesFocus());
        if (creation_[i] == focused_) current = static_cast<int>(i);
    }
    int next = NextFocusIndex(takes, current, backwards);
    const bool wraps = current >= 0 && (backwards ? next >= current : next <= current);
    if (!edits_.empty() && (next < 0 || wraps)) {
        SetFocusedControl(nullptr);
        Host().SetFocus(backwards ? edits_.back() : edits_.front());
        return true;
    }
    if (next < 0) return false;
    SetFocusedControl(creation_[static_cast<size_t>(next)]);
    return true;
}

HWND CDlgBase::CreateEditBox(int controlId, const Rect& r, const platform::EditParams& params)
{
    const HWND edit = Host().CreateEdit(hwnd_, controlId, r, params);
    if (edit) edits_.push_back(edit);
    return edit;
}

void CDlgBase::TrackModifier(UINT vk, bool down)
{
    if (vk == VK_SHIFT || vk == VK_LSHIFT || vk == VK_RSHIFT) shiftHeld_ = down;
    if (vk == VK_CONTROL || vk == VK_LCONTROL || vk == VK_RCONTROL) controlHeld_ = down;
    if (vk == VK_MENU || vk == VK_LMENU || vk == VK_RMENU) altHeld_ = down;
}

bool CDlgBase::OpenFirstMenu()
{
    for (CControlBase* c : creation_) {
        if (!c->TakesFocus() || c->Kind() != ControlKind::Combo) continue;
        SetFocusedControl(c);
        Point p;
        return c->KeyClickPoint(KeyAction::Activate, &p) && ClickControlAt(c, p);
    }
    return false;
}

bool CDlgBase::ClickControlAt(CControlBase* c, Point at)
{
    if (!c || !c->Contains(at.x, at.y)) return false;
    UINT id = c->Id();
    // Down and up at one point, as a click: the control reports and the
    // owner answers exactly as it does to the mouse.
    int changed = c->OnLButtonDown(0, at.x, at.y);
    changed |= c->OnLButtonUp(0, at.x, at.y);
    // The click may have ended the window.
    if (!hwnd_) return true;
    // The hover look a synthetic click leaves behind belongs to the pointer.
    if (c != hovered_ && FindControl(id) == c) c->OnMouseMove(0, -1, -1);
    // The ring is repainted even when the control's own look did not change.
    if (changed && InvalidatesWholeWindow(id))
        Host().Invalidate(hwnd_);
    else
        InvalidateRing(c);
    Host().AccessibleStateChanged(hwnd_, int(id));
    return true;
}

bool CDlgBase::OnControlKey(UINT vk, bool shift)
{
    ControlKind kind = focused_ && focused_->TakesFocus() ? focused_->Kind() : ControlKind::Decorative;
    KeyAction a = KeyActionFor(kind, vk, shift);
    if (a == KeyAction::FocusNext || a == KeyAction::FocusPrev) return MoveFocus(a == KeyAction::FocusPrev);
    if (a == KeyAction::None || !focused_) return false;
    if ((kind == ControlKind::Radio || kind == ControlKind::Tab) &&
        (a == KeyAction::StepBack || a == KeyAction::StepForward)) {
        // A radio or tab steps to its neighbour of the same kind and picks it.
        std::vector<CControlBase*> same;
        int at = -1;
        for (CControlBase* c : creation_) {
            if (!c->TakesFocus() || c->Kind() != kind) continue;
            // Radios step within their own group only.
            if (kind == ControlKind::Radio && RadioGroupMask(c->Id()) != RadioGroupMask(focused_->Id())) continue;
            if (c == focused_) at = static_cast<int>(same.size());
            same.push_back(c);
        }
        if (at < 0 || same.size() < 2) return false;
        int n = static_cast<int>(same.size());
        CControlBase* next = same[static_cast<size_t>((at + (a == KeyAction::StepBack ? n - 1 : 1)) % n)];
        SetFocusedControl(next);
        Point p;
        if (!next->KeyClickPoint(KeyAction::Activate, &p)) return true;
        ClickControlAt(next, p);
        return true;
    }
    const UINT id = focused_->Id();
    if (focused_->KeyStep(a)) {
        if (hwnd_) Host().AccessibleStateChanged(hwnd_, int(id));
        return true;
    }
    Point p;
    if (!focused_->KeyClickPoint(a, &p)) return a == KeyAction::Activate ? false : true;
    ClickControlAt(focused_, p);
    return true;
}

void CDlgBase::DrawFocusRing(platform::ICanvas& dc, const Rect& area) const
{
    if (!focused_ || !focused_->IsShown()) return;
    const int w = FocusRingWidth();
    const Rect& r = focused_->GetRect();
    Rect outer{r.left - w, r.top - w, r.right + w, r.bottom + w};
    if (!outer.Intersects(area)) return;
    dc.FillRect(Rect{outer.left, outer.top, outer.right, r.top}, kFocusRingColour);
    dc.FillRect(Rect{outer.left, r.bottom, outer.right, outer.bottom}, kFocusRingColour);
    dc.FillRect(Rect{outer.left, r.top, r.left, r.bottom}, kFocusRingColour);
    dc.FillRect(Rect{r.right, r.top, outer.right, r.bottom}, kFocusRingColour);
}

// ---- assistive technology ---------------------------------------------------------

std::u16string CDlgBase::AccessibleNameOf(const CControlBase& c) const
{
    platform::AccessibleNode probe;
    c.Describe(probe);
    // Plain pictures and texts are not named after their neighbours; a
    // gauge with a value is.
    if (!probe.name.empty() || (!IsFocusable(c.Kind()) && probe.value.empty())) return probe.name;
    // The label beside it: the nearest shown text nobody operates (a static
    // text or a disabled caption) right of a check box or radio, left of
    // anything else on its row, or else just above it.
    const Rect& r = c.GetRect();
    const bool boxFirst = c.Kind() == ControlKind::CheckBox || c.Kind() == ControlKind::Radio;
    const int midY = (r.top + r.bottom) / 2;
    const int reach = static_cast<int>(120 * g_uiScale);
    const CControlBase* best = nullptr;
    std::u16string bestName;
    long bestDistance = 0;
    for (CControlBase* o : creation_) {
        if (o == &c || !o->IsShown() || o->TakesFocus()) continue;
        platform::AccessibleNode label;
        o->Describe(label);
        if (label.name.empty()) continue;
        const Rect& l = o->GetRect();
        const bool onRow = l.top <= midY && midY <= l.bottom;
        long d = -1;
        if (onRow && boxFirst && l.left >= r.right - 2 && l.left - r.right <= reach)
            d = l.left - r.right;
        else if (onRow && l.right <= r.left + 2 && r.left - l.right <= reach)
            d = (boxFirst ? 2000 : 0) + (r.left - l.right);
        else if (l.bottom <= r.top + 2 && r.top - l.bottom <= reach / 2 && l.left <= r.left + 8 && l.right > r.left)
            d = 1000 + (r.top - l.bottom);
        if (d < 0) continue;
        if (!best || d < bestDistance) {
            best = o;
            bestName = label.name;
            bestDistance = d;
        }
    }
    return best ? bestName : std::u16string{};
}

std::vector<platform::AccessibleNode> CDlgBase::DescribeControls() const
{
    std::vector<platform::AccessibleNode> out;
    for (CControlBase* c : creation_) {
        if (!c->IsShown()) continue;
        platform::AccessibleNode n;
        n.id = static_cast<int>(c->Id());
        n.rect = c->GetRect();
        c->Describe(n);
        if (n.name.empty()) n.name = AccessibleNameOf(*c);
        if (c == focused_) n.states |= platform::accessible_state::kFocused;
        if (c->IsDisabled() && IsFocusable(c->Kind())) n.states |= platform::accessible_state::kDisabled;
        // Plain text and pictures without a name say nothing to a listener.
        if (!IsFocusable(c->Kind()) && n.name.empty() && n.value.empty()) continue;
        out.push_back(std::move(n));
    }
    return out;
}

std::vector<platform::AccessibleNode> CDlgBase::AccessibleNodes(HWND) { return DescribeControls(); }

bool CDlgBase::DoAccessibleAction(HWND, int controlId, int)
{
    for (CControlBase* c : creation_) {
        if (static_cast<int>(c->Id()) != controlId || !c->TakesFocus()) continue;
        SetFocusedControl(c);
        Point p;
        return c->KeyClickPoint(KeyAction::Activate, &p) && ClickControlAt(c, p);
    }
    return false;
}
