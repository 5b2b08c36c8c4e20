#include "buttons/ui/combo_popup.h"

#include "buttons/function_catalogue.h"
#include "buttons/ui/button_list_ids.h"
#include "ui/key_behaviour.h"

using namespace button_list;

namespace {

const CatalogueItem* RowOf(int value)
{
    const auto rows = GetMenuItems(ButtonMenu::Main);
    if (value < 1 || value > int(rows.size())) return nullptr;
    return &rows[size_t(value - 1)];
}

}  // namespace

CComboPopup::CComboPopup(int macroSets) : CItemPopup(kKindFunctionMenu, 161), macroSets_(macroSets) {}

void CComboPopup::BuildItems()
{
    for (const CatalogueItem& row : GetMenuItems(ButtonMenu::Main))
        AddItem(ItemCaption(row), 0, row.number, OpensSubMenu(row) ? 1 : 0);
}

bool CComboPopup::OnItemMouseMove(int x, int y)
{
    const int before = hovered_;
    const bool redraw = CItemPopup::OnItemMouseMove(x, y);
    if (hovered_ < 0 || hovered_ == before) return redraw;
    NotifyRowHovered(hovered_);
    return redraw;
}

bool CComboPopup::OnItemKey(UINT vk)
{
    // Right, or Enter, on a row with a sub-menu opens it as hovering it does.
    const PopupKey k = PopupKeyFor(vk);
    if ((k == PopupKey::OpenSub || k == PopupKey::Choose) && hovered_ >= 0 && hovered_ < int(items_.size()) &&
        items_[size_t(hovered_)].marker) {
        NotifyRowHovered(hovered_);
        return true;
    }
    return CItemPopup::OnItemKey(vk);
}

void CComboPopup::NotifyRowHovered(int index)
{
    const CatalogueItem* row = RowOf(items_[size_t(index)].value);
    if (!row) return;
    UINT message = kMsgPlainRowHovered;
    LPARAM lParam = row->number;
    switch (row->opens) {
    case CatalogueOpens::DpiMenu: message = kMsgDpiOpen; break;
    case CatalogueOpens::MultimediaMenu: message = kMsgMediaOpen; break;
    case CatalogueOpens::OfficeMenu: message = kMsgOfficeOpen; break;
    case CatalogueOpens::WindowsMenu: message = kMsgWindowsOpen; break;
    case CatalogueOpens::DpiLockMenu: message = kMsgLockOpen; break;
    case CatalogueOpens::MacroMenu:
        message = macroSets_ > 1 ? kMsgMacroSetsOpen : kMsgMacroOpen;
        lParam = 1;
        break;
    default: break;
    }
    NotifyParent(message, WPARAM(tag_), lParam);
}

bool CComboPopup::OnItemLButtonDown(int x, int y)
{
    const bool redraw = CItemPopup::OnItemLButtonDown(x, y);
    // A press on the mouse-button rows: the owner keeps the open menus above
    // everything while the choice is being made.
    if (hovered_ >= 0 && items_[size_t(hovered_)].value <= 4) NotifyParent(kMsgMenuPressed, 0, 0);
    return redraw;
}

bool CComboPopup::OnItemLButtonUp(int x, int y)
{
    if (hovered_ < 0 || hovered_ >= int(items_.size()) || !items_[size_t(hovered_)].rect.Contains(x, y))
        return CItemPopup::OnItemLButtonUp(x, y);
    const CatalogueItem* row = RowOf(items_[size_t(hovered_)].value);
    if (!row) return false;
    if (row->opens == CatalogueOpens::FireDialog) {
        NotifyParent(kMsgFireClicked, WPARAM(tag_), 0);
        return false;
    }
    if (row->opens == CatalogueOpens::KeyCombinationDialog) {
        NotifyParent(kMsgKeysClicked, WPARAM(tag_), 0);
        return false;
    }
    if (!row->hasCode) return false;  // a row that opens a sub-menu
    return CItemPopup::OnItemLButtonUp(x, y);
}

void CComboPopup::FillResult(const PopupItem& item)
{
    const CatalogueItem* row = RowOf(item.value);
    result_.caption = row ? ItemLabel(*row) : item.caption;
    result_.bytes = {};
    if (row) result_.bytes = {row->code.type, row->code.param, row->code.extra, 0};
}
