#include "macros/ui/combo_action_insert_popup.h"

#include "base/ui_text.h"
#include "ui/skin_image.h"

CComboActionInsertPopup::CComboActionInsertPopup() : CItemPopup(14, 117)
{
    // Left, right and middle click, pause, key, then the four moves.
    constexpr int kTexts[9] = {20, 21, 22, 205, 206, 207, 208, 209, 210};
    for (int i = 0; i < 9; ++i) AddItem(UiText(kTexts[i]), 0, i + 1, 0);
    SetItemImages(SkinPath(u"skins/menu_nr.png"), SkinPath(u"skins/menu_ov.png"), SkinPath(u"skins/menusub_nr.png"),
                  SkinPath(u"skins/menusub_ov.png"));
}
