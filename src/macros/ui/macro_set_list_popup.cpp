#include "macros/ui/macro_set_list_popup.h"

#include "macros/macro_texts.h"
#include "base/ui_text.h"

namespace {
constexpr COLORREF kRowText = RGB(255, 255, 255);
constexpr COLORREF kHot = RGB(53, 160, 222);
constexpr COLORREF kBack = RGB(0x26, 0x26, 0x26);
}  // namespace

CMacroSetListPopup::CMacroSetListPopup(const MacroLibrary& library, int itemWidth) : CItemPopup(5, itemWidth)
{
    int value = kFirstSet;
    for (const MacroSet& set : library.sets()) AddItem(set.name, 0, value++, 0);
    AddItem({}, 1, 0, 0);
    AddItem(UiText(macro_text::kSetMenuAdd), 0, kAdd, 0);
    AddItem(UiText(macro_text::kSetMenuDelete), 0, kDelete, 0);
}

void CMacroSetListPopup::DrawItems(platform::ICanvas& dc, const Rect& client)
{
    dc.FillRect(client, kBack);
    for (size_t i = 0; i < items_.size(); ++i) {
        const PopupItem& item = items_[i];
        if (item.separator) {
            dc.FillRect(item.rect, kHot);
            continue;
        }
        if (int(i) == hovered_) dc.FillRect(item.rect, kHot);
        dc.DrawText(item.caption, item.rect.Inflate(-4, 0), DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS,
                    font_, kRowText);
    }
}

bool CMacroSetListPopup::OnItemLButtonUp(int x, int y)
{
    if (hovered_ < 0 || hovered_ >= int(items_.size())) return false;
    if (!items_[size_t(hovered_)].rect.Contains(x, y)) {
        hovered_ = -1;
        return true;
    }
    NotifyParent(reportMessage_, WPARAM(tag_), LPARAM(items_[size_t(hovered_)].value));
    return false;
}
