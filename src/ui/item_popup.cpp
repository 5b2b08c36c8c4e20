#include "ui/item_popup.h"

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
    NotifyParent(reportMessage_, static_cast<WPARAM>(tag_), reinterpret_cast<LPARAM>(&result_));
    return false;
}

void CItemPopup::FillResult(const PopupItem& item)
{
    result_.caption = item.caption;
    result_.bytes = {};
    result_.bytes[0] = static_cast<uint8_t>(item.value - 1);
}
