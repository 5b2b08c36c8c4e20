// CDlgBase's keyboard focus, its key rules and what it tells assistive
// technology: one place for every window, so that each dialog gets the same
// Tab round, Enter and Escape, context-menu key and value stepping.
#include <algorithm>

#include "ui/dlg_base.h"
#include "ui/radio_state.h"
#include "ui/ui_scale.h"

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
    KeyAction a = KeyActionFor(kind, vk, shift, altHeld_);
    if (a == KeyAction::FocusNext || a == KeyAction::FocusPrev) return MoveFocus(a == KeyAction::FocusPrev);
    if (a == KeyAction::None || !focused_) return false;
    return DoKeyAction(focused_, a);
}

bool CDlgBase::DoKeyAction(CControlBase* c, KeyAction a)
{
    const ControlKind kind = c->Kind();
    if (a == KeyAction::ContextMenu) {
        // What a right click in the middle of the control opens.
        const Rect& r = c->GetRect();
        c->OnRButtonUp(0, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        return true;
    }
    if ((kind == ControlKind::Radio || kind == ControlKind::Tab) &&
        (a == KeyAction::StepBack || a == KeyAction::StepForward)) {
        // A radio or tab steps to its neighbour of the same kind and picks it.
        std::vector<CControlBase*> same;
        int at = -1;
        for (CControlBase* o : creation_) {
            if (!o->TakesFocus() || o->Kind() != kind) continue;
            // Radios step within their own group only.
            if (kind == ControlKind::Radio && RadioGroupMask(o->Id()) != RadioGroupMask(c->Id())) continue;
            if (o == c) at = static_cast<int>(same.size());
            same.push_back(o);
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
    const UINT id = c->Id();
    if (c->KeyStep(a)) {
        if (hwnd_) Host().AccessibleStateChanged(hwnd_, int(id));
        return true;
    }
    Point p;
    if (!c->KeyClickPoint(a, &p)) return a == KeyAction::Activate ? false : true;
    ClickControlAt(c, p);
    return true;
}

bool CDlgBase::PreTranslateMessage(HWND, const platform::Msg& msg)
{
    const UINT vk = static_cast<UINT>(msg.wParam);
    if (msg.message == WM_KEYDOWN || msg.message == WM_KEYUP) TrackModifier(vk, msg.message == WM_KEYDOWN);
    if (!secondary_ || msg.message != WM_KEYDOWN || !hwnd_) return false;
    // In an edit box Enter is never the box's own: it answers the dialog.
    const bool onControl = msg.hwnd == hwnd_ && focused_ && focused_->TakesFocus();
    switch (DialogKeyFor(vk, onControl ? focused_->Kind() : ControlKind::Decorative, controlHeld_, altHeld_)) {
    case DialogKeyAction::None: return false;
    case DialogKeyAction::Cancel:
        // As the close button or the desktop's close: a dialog that has to
        // refuse (while it records keys) answers WM_CLOSE itself.
        Host().SendMessage(hwnd_, WM_CLOSE, 0, 0);
        return true;
    case DialogKeyAction::Default: return ClickDefaultButton();
    }
    return false;
}

bool CDlgBase::ClickDefaultButton()
{
    const UINT id = DefaultButtonId();
    CControlBase* c = id ? FindControl(id) : nullptr;
    if (!c) return false;
    Point p;
    if (c->TakesFocus() && c->KeyClickPoint(KeyAction::Activate, &p)) ClickControlAt(c, p);
    // A default button that is off now still keeps Enter from the controls.
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
    const CControlBase* label = LabelOf(c);
    if (!label) return {};
    platform::AccessibleNode n;
    label->Describe(n);
    return n.name;
}

const CControlBase* CDlgBase::LabelOf(const CControlBase& c) const
{
    if (!IsFocusable(c.Kind())) return nullptr;
    // The label beside it: the nearest shown text nobody operates (a static
    // text or a disabled caption) right of a check box or radio, left of
    // anything else on its row, or else just above it.
    const Rect& r = c.GetRect();
    const bool boxFirst = c.Kind() == ControlKind::CheckBox || c.Kind() == ControlKind::Radio;
    const int midY = (r.top + r.bottom) / 2;
    const int reach = static_cast<int>(120 * g_uiScale);
    const CControlBase* best = nullptr;
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
            bestDistance = d;
        }
    }
    return best;
}

std::vector<platform::AccessibleNode> CDlgBase::DescribeControls() const
{
    std::vector<platform::AccessibleNode> out;
    std::vector<const CControlBase*> described;
    for (CControlBase* c : creation_) {
        if (!c->IsShown()) continue;
        platform::AccessibleNode n;
        n.rect = c->GetRect();
        c->Describe(n);
        const bool namedByLabel = n.name.empty();
        if (n.name.empty()) n.name = AccessibleNameOf(*c);
        if (c == focused_) n.states |= platform::accessible_state::kFocused;
        if (c->IsDisabled() && IsFocusable(c->Kind())) n.states |= platform::accessible_state::kDisabled;
        // Plain text and pictures without a name say nothing to a listener.
        if (!IsFocusable(c->Kind()) && n.name.empty() && n.value.empty()) continue;
        n.id = NodeIdOf(c);
        out.push_back(std::move(n));
        described.push_back(namedByLabel ? c : nullptr);
    }
    // A control read out by the text beside it points at that text, when
    // the text is a plain one (a caption that is a section's switch is a
    // control of its own).
    for (size_t i = 0; i < out.size(); ++i) {
        const CControlBase* label = described[i] ? LabelOf(*described[i]) : nullptr;
        if (label && label->Kind() == ControlKind::Decorative && !label->TakesMouse())
            out[i].labelledBy = NodeIdOf(label);
    }
    return out;
}

// Several texts of a window may share one id (the legend of the battery):
// each gets a node id of its own, the id with its rank among the shown
// controls of that id above the low 16 bits, so that every node can be
// found again. The first (and usually only) one keeps its plain id.
int CDlgBase::NodeIdOf(const CControlBase* c) const
{
    int rank = 0;
    for (CControlBase* o : creation_) {
        if (o == c) break;
        if (o->Id() == c->Id() && o->IsShown()) ++rank;
    }
    return static_cast<int>(c->Id()) | (rank << 16);
}

CControlBase* CDlgBase::ControlOfNode(int nodeId) const
{
    const UINT id = static_cast<UINT>(nodeId & 0xFFFF);
    int rank = nodeId >> 16;
    for (CControlBase* c : creation_) {
        if (c->Id() != id || !c->IsShown()) continue;
        if (rank-- == 0) return c;
    }
    return nullptr;
}

std::vector<platform::AccessibleNode> CDlgBase::AccessibleNodes(HWND) { return DescribeControls(); }

CControlBase* CDlgBase::OperableControl(int nodeId) const
{
    CControlBase* c = ControlOfNode(nodeId);
    return c && c->TakesFocus() ? c : nullptr;
}

bool CDlgBase::DoAccessibleAction(HWND, int controlId, int action)
{
    CControlBase* c = OperableControl(controlId);
    if (!c) return false;
    platform::AccessibleNode n;
    c->Describe(n);
    const std::u16string name =
        action >= 0 && static_cast<size_t>(action) < n.actions.size() ? n.actions[size_t(action)] : u"click";
    SetFocusedControl(c);
    // Each action is the key that does the same, so the owner cannot tell
    // a screen reader from the keyboard.
    if (name == u"increase") return DoKeyAction(c, KeyAction::StepForward);
    if (name == u"decrease") return DoKeyAction(c, KeyAction::StepBack);
    if (name == u"menu") return DoKeyAction(c, KeyAction::ContextMenu);
    Point p;
    return c->KeyClickPoint(KeyAction::Activate, &p) && ClickControlAt(c, p);
}

int CDlgBase::AccessibleValueOf(const CControlBase& c)
{
    platform::AccessibleNode n;
    c.Describe(n);
    return n.numericValue;
}

bool CDlgBase::SetAccessibleValue(HWND, int controlId, int value)
{
    CControlBase* c = OperableControl(controlId);
    if (!c || !HoldsAmount(c->Kind())) return false;
    SetFocusedControl(c);
    // Step by step with the arrow keys' own action, so that each position in
    // between is applied exactly as a key press would (a value between two
    // positions goes to the nearer one). A control whose value stops
    // changing has reached its end.
    for (int guard = 0; guard < 4096 && hwnd_; ++guard) {
        const int now = AccessibleValueOf(*c);
        if (now == value) return true;
        const bool up = value > now;
        DoKeyAction(c, up ? KeyAction::StepForward : KeyAction::StepBack);
        if (!hwnd_ || OperableControl(controlId) != c) return true;
        const int next = AccessibleValueOf(*c);
        if (next == now) return true;
        if (up ? next > value : next < value) {
            // Passed it: keep whichever side is nearer.
            if ((up ? next - value : value - next) > (up ? value - now : now - value))
                DoKeyAction(c, up ? KeyAction::StepBack : KeyAction::StepForward);
            return true;
        }
    }
    return true;
}
