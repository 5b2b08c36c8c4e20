#include "persist/ui/profile_rkey_popup.h"

#include "persist/data_folders.h"
#include "base/text_codec.h"
#include "base/ui_text.h"

CProfileRKeyPopup::CProfileRKeyPopup() : CItemPopup(kKind, 161)
{
    auto skin = [](const char* name) { return Utf8ToU16(ProgramPath(std::string("skins/") + name)); };
    SetItemImages(skin("menu_nr.png"), skin("menu_ov.png"), skin("menusub_nr.png"), skin("menusub_ov.png"));
}

void CProfileRKeyPopup::BuildItems()
{
    // Captions 90..93; the value minus one is the action.
    for (int i = 0; i < 4; ++i) AddItem(UiText(90 + i), 0, i + 1, 0);
    AddItem(UiText(kGamesItemText), 0, kGames + 1, 0);
}
