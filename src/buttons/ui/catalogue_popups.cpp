#include "buttons/ui/catalogue_popups.h"

#include "buttons/ui/button_list_ids.h"

using namespace button_list;

CCataloguePopup::CCataloguePopup(ButtonMenu menu, int kind) : CItemPopup(kind, 161), menu_(menu) {}

void CCataloguePopup::BuildItems()
{
    for (const CatalogueItem& row : GetMenuItems(menu_)) AddItem(ItemCaption(row), 0, row.number, 0);
}

void CCataloguePopup::FillResult(const PopupItem& item)
{
    const auto rows = GetMenuItems(menu_);
    result_.caption = item.caption;
    result_.bytes = {};
    if (item.value < 1 || item.value > int(rows.size())) return;
    const CatalogueItem& row = rows[size_t(item.value - 1)];
    result_.caption = ItemLabel(row);
    result_.bytes = {row.code.type, row.code.param, row.code.extra, 0};
}

CDPIPopup::CDPIPopup() : CCataloguePopup(ButtonMenu::Dpi, kKindDpi) {}
CDPILockPopup::CDPILockPopup() : CCataloguePopup(ButtonMenu::DpiLock, kKindLock) {}
CMultimediaPopup::CMultimediaPopup() : CCataloguePopup(ButtonMenu::Multimedia, kKindMedia) {}
COfficePopup::COfficePopup() : CCataloguePopup(ButtonMenu::Office, kKindOffice) {}
CWindowsManagePopup::CWindowsManagePopup() : CCataloguePopup(ButtonMenu::Windows, kKindWindows) {}
