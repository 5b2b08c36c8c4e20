#include "settings/ui/combo_lighting_popup.h"

#include "base/ui_text.h"
#include "settings/lighting_settings.h"

CComboLightingPopup::CComboLightingPopup() : CItemPopup(kKind, kItemWidth)
{
    SetItemImages(SkinPath(u"skins/menu_nr.png"), SkinPath(u"skins/menu_ov.png"), SkinPath(u"skins/menusub_nr.png"),
                  SkinPath(u"skins/menusub_ov.png"));
}

void CComboLightingPopup::BuildItems()
{
    for (size_t i = 0; i < kLightingMenu.size(); ++i) AddItem(UiText(kLightingMenu[i].textNumber), 0, int(i) + 1, 0);
}
