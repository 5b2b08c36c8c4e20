#include "buttons/ui/macro_set_cascade_popup.h"

#include "buttons/ui/button_list_ids.h"
#include "profile/macro_model.h"

using namespace button_list;

CMacroSetCascadePopup::CMacroSetCascadePopup(const MacroLibrary& library)
    : CItemPopup(kKindMacroSets, 161), library_(library)
{
}

void CMacroSetCascadePopup::BuildItems()
{
    int value = 1;
    for (const MacroSet& set : library_.sets()) AddItem(set.name, 0, value++, 1);
}

Rect CMacroSetCascadePopup::RowRect(int setIndex) const
{
    if (setIndex < 0 || setIndex >= int(items_.size())) return {};
    return items_[size_t(setIndex)].rect;
}

// Every row opens its set: on hover, and on Right or Enter from the keyboard.
void CMacroSetCascadePopup::OnMarkedItemHovered(int index)
{
    if (index >= 0 && index < int(items_.size())) NotifyParent(kMsgMacroOpen, WPARAM(tag_), items_[size_t(index)].value);
}

bool CMacroSetCascadePopup::OnItemLButtonUp(int, int) { return false; }
