#include "ui/control_base.h"

#include "base/ui_text.h"

platform::FontSpec UiControlFont()
{
    platform::FontSpec f;
    f.face = g_uiFont.face;
    f.height = g_uiFont.height;
    f.weight = 400;
    return f;
}

CControlBase::CControlBase(HWND owner, UINT id, Rect rect, std::u16string caption, bool visible, bool available,
                           bool disabled, bool mouse)
    : id_(id), rect_(rect), visible_(visible), available_(available), disabled_(disabled), mouse_(mouse),
      caption_(std::move(caption)), owner_(owner), font_(UiControlFont())
{
}

CControlBase::~CControlBase() = default;

int CControlBase::SetActive(bool) { return 0; }

void CControlBase::SetRect(int left, int top, int right, int bottom) { rect_ = {left, top, right, bottom}; }

void CControlBase::GetRect(Rect* out) const
{
    if (out) *out = rect_;
}

void CControlBase::SetText(const std::u16string& text)
{
    if (text == caption_) return;
    caption_ = text;
    Invalidate();
}

std::u16string CControlBase::GetText() const { return caption_; }
void CControlBase::SetVisible(bool visible) { visible_ = visible; }
void CControlBase::SetAvailable(bool available) { available_ = available; }
int CControlBase::OnMouseMove(WPARAM, int, int) { return 0; }
int CControlBase::OnLButtonDown(WPARAM, int, int) { return 0; }
int CControlBase::OnLButtonUp(WPARAM, int, int) { return 0; }
int CControlBase::OnRButtonUp(WPARAM, int, int) { return 0; }
int CControlBase::OnLButtonDblClk(WPARAM, int, int) { return 0; }
void CControlBase::ReleaseImages() {}

void CControlBase::SetFont(int height, const std::u16string& face)
{
    font_ = UiControlFont();
    font_.height = height;
    font_.face = face;
}

LRESULT CControlBase::Send(UINT message, WPARAM wParam, LPARAM lParam) const
{
    if (!platform::g_windowHost || !owner_) return 0;
    return platform::g_windowHost->SendMessage(owner_, message, wParam, lParam);
}

void CControlBase::Invalidate() const
{
    if (platform::g_windowHost && owner_) platform::g_windowHost->InvalidateRect(owner_, rect_);
}

void CControlBase::DrawCaption(platform::ICanvas& dc, const std::u16string& text, const Rect& r, unsigned align,
                               COLORREF colour, int leftMargin, int rightMargin) const
{
    if (text.empty()) return;
    Rect t{r.left + leftMargin, r.top, r.right - rightMargin, r.bottom};
    if (t.IsEmpty()) return;
    dc.DrawText(text, t, DT_SINGLELINE | DT_VCENTER | DT_WORD_ELLIPSIS | align, font_, colour);
}

bool CControlBase::KeyClickPoint(KeyAction action, Point* at)
{
    if (action != KeyAction::Activate || !at) return false;
    *at = {(rect_.left + rect_.right) / 2, (rect_.top + rect_.bottom) / 2};
    return true;
}

void CControlBase::Describe(platform::AccessibleNode& node) const
{
    using platform::AccessibleRole;
    switch (Kind()) {
    case ControlKind::Decorative: node.role = caption_.empty() ? AccessibleRole::Image : AccessibleRole::StaticText; break;
    case ControlKind::Link: node.role = AccessibleRole::Link; break;
    default: node.role = AccessibleRole::Button; break;
    }
    if (node.name.empty()) node.name = accessibleName_.empty() ? caption_ : accessibleName_;
    if (IsFocusable(Kind())) {
        node.states |= platform::accessible_state::kFocusable;
        node.actions.push_back(u"click");
    }
}
