#include "ui/item_popup.h"
#include "ui/key_behaviour.h"

#include "ui/ui_scale.h"

namespace {
constexpr COLORREF kSeparator = RGB(0x35, 0xA0, 0xDE);
constexpr COLORREF kItemText = RGB(180, 180, 180);
constexpr COLORREF kItemTextHot = RGB(255, 255, 255);
}  // namespace

CItemPopup::CItemPopup(int kind, int itemWidth, int itemHeight) : itemWidth_(itemWidth), itemHeight_(itemHeight)
{
    kind_ = kind;
    Layout();
}

int CItemPopup::AddItem(const std::u16string& caption, int separator, int value, int marker)
{
    PopupItem item;
    item.caption = caption;
    item.separator = separator;
    item.value = value;
    item.marker = marker;
    items_.push_back(std::move(item));
    Layout();
    return static_cast<int>(items_.size());
}

void CItemPopup::Layout()
{
    const double s = g_uiScale;
    double y = static_cast<int>(s);
    const int left = static_cast<int>(s);
    const int right = static_cast<int>(itemWidth_ * s);
    for (PopupItem& item : items_) {
        int yi = static_cast<int>(y);
        if (item.separator) {
            item.rect = {left, yi + static_cast<int>(2 * s), right, yi + static_cast<int>(3 * s)};
            y += 4 * s;
        } else {
            item.rect = {left, yi, static_cast<int>((itemWidth_ + itemRightExtra_) * s),
                         yi + static_cast<int>(itemHeight_ * s)};
            y += itemHeight_ * s;
        }
    }
    SetWindowSize(static_cast<int>((itemWidth_ + 1) * s), static_cast<int>(y + s));
}

void CItemPopup::SetItemImages(const std::u16string& item, const std::u16string& itemHover, const std::u16string& sub,
                               const std::u16string& subHover)
{
    itemImages_[0] = CSkinImage::FromFile(item);
    itemImages_[1] = CSkinImage::FromFile(itemHover);
    itemImages_[2] = CSkinImage::FromFile(sub);
    itemImages_[3] = CSkinImage::FromFile(subHover);
}

void CItemPopup::DrawItems(platform::ICanvas& dc, const Rect&)
{
    for (size_t i = 0; i < items_.size(); ++i) {
        const PopupItem& item = items_[i];
        if (item.separator) {
            dc.FillRect(item.rect, kSeparator);
            continue;
        }
        bool hot = static_cast<int>(i) == hovered_;
        const auto& img = itemImages_[(item.marker ? 2 : 0) + (hot ? 1 : 0)];
        if (img) img->Draw(dc, item.rect);
        Rect text = item.rect.Inflate(-2, 0);
        dc.DrawText(item.caption, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS, font_,
                    hot ? kItemTextHot : kItemText);
    }
}

int CItemPopup::ItemAt(int x, int y) const
{
    for (size_t i = 0; i < items_.size(); ++i)
        if (!items_[i].separator && items_[i].rect.Contains(x, y)) return static_cast<int>(i);
    return -1;
}

bool CItemPopup::OnItemMouseMove(int x, int y)
{
    if (hovered_ >= 0 && hovered_ < static_cast<int>(items_.size()) && items_[hovered_].rect.Contains(x, y))
        return false;
    int before = hovered_;
    hovered_ = ItemAt(x, y);
    if (hovered_ >= 0) {
        if (items_[hovered_].marker) OnMarkedItemHovered(hovered_);
        return true;
    }
    return before != -1;
}

bool CItemPopup::OnItemLButtonDown(int x, int y)
{
    if (hovered_ >= 0 && hovered_ < static_cast<int>(items_.size()) && !items_[hovered_].rect.Contains(x, y)) {
        hovered_ = -1;
        return true;
    }
    return false;
}

bool CItemPopup::OnItemLButtonUp(int x, int y)
{
    if (hovered_ < 0 || hovered_ >= static_cast<int>(items_.size())) return false;
    if (!items_[hovered_].rect.Contains(x, y)) {
        hovered_ = -1;
        return true;
    }
    FillResult(items_[hovered_]);
    ReportChoice();
    return false;
}

void CItemPopup::ReportChoice()
{
    if (!onChoice_ || !parent_ || !platform::g_windowHost || !Host().IsWindow(parent_)) return;
    // Copies: the handler may close the popup, and this object with it.
    const ChoiceHandler handler = onChoice_;
    const PopupResult chosen = result_;
    handler(chosen);
}

void CItemPopup::FillResult(const PopupItem& item)
{
    result_.caption = item.caption;
    result_.bytes = {};
    result_.bytes[0] = static_cast<uint8_t>(item.value - 1);
}

bool CItemPopup::ClickItem(int i)
{
    if (i < 0 || i >= static_cast<int>(items_.size()) || items_[i].separator) return false;
    const Rect& r = items_[i].rect;
    Point p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    hovered_ = i;
    OnItemLButtonDown(p.x, p.y);
    // The report may close and end the popup; nothing of it is used after.
    if (OnItemLButtonUp(p.x, p.y) && hwnd_) Redraw();
    return true;
}

bool CItemPopup::OnItemKey(UINT vk)
{
    const int n = static_cast<int>(items_.size());
    switch (PopupKeyFor(vk, ShiftHeld())) {
    case PopupKey::HoverPrev:
    case PopupKey::HoverNext: {
        const int step = PopupKeyFor(vk, ShiftHeld()) == PopupKey::HoverPrev ? n - 1 : 1;
        int i = hovered_;
        for (int k = 0; k < n; ++k) {
            i = i < 0 ? (step == 1 ? 0 : n - 1) : (i + step) % n;
            if (!items_[i].separator) break;
        }
        if (n == 0 || items_[i].separator || i == hovered_) return false;
        hovered_ = i;
        Redraw();
        if (hwnd_) Host().AccessibleFocusChanged(hwnd_, hovered_ + 1);
        return true;
    }
    case PopupKey::OpenSub:
        if (hovered_ < 0 || !items_[hovered_].marker) return false;
        OnMarkedItemHovered(hovered_);
        return true;
    case PopupKey::CloseSub: return CloseSubMenu();
    case PopupKey::Close: Dismiss(); return true;
    case PopupKey::ContextMenu: {
        if (hovered_ < 0 || items_[hovered_].separator) return false;
        const Rect& r = items_[hovered_].rect;
        OnItemRButtonUp((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        return true;
    }
    case PopupKey::Choose:
        if (hovered_ < 0) return false;
        if (items_[hovered_].marker) {
            OnMarkedItemHovered(hovered_);
            return true;
        }
        return ClickItem(hovered_);
    case PopupKey::None: break;
    }
    return false;
}

std::vector<platform::AccessibleNode> CItemPopup::AccessibleNodes(HWND)
{
    std::vector<platform::AccessibleNode> out;
    for (size_t i = 0; i < items_.size(); ++i) {
        const PopupItem& item = items_[i];
        if (item.separator) continue;
        platform::AccessibleNode node;
        node.role = platform::AccessibleRole::MenuItem;
        node.id = static_cast<int>(i) + 1;
        node.name = item.caption;
        node.rect = item.rect;
        node.states = platform::accessible_state::kFocusable;
        if (static_cast<int>(i) == hovered_)
            node.states |= platform::accessible_state::kFocused | platform::accessible_state::kSelected;
        if (item.marker) node.states |= platform::accessible_state::kHasPopup;
        node.actions = {item.marker ? u"open" : u"click"};
        out.push_back(std::move(node));
    }
    return out;
}

bool CItemPopup::DoAccessibleAction(HWND, int controlId, int)
{
    const int i = controlId - 1;
    if (i < 0 || i >= static_cast<int>(items_.size()) || items_[i].separator) return false;
    if (items_[i].marker) {
        hovered_ = i;
        OnMarkedItemHovered(i);
        return true;
    }
    return ClickItem(i);
}
