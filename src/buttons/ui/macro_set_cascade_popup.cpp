#include "buttons/ui/macro_set_cascade_popup.h"

#include "buttons/ui/button_list_ids.h"
#include "macros/macro_model.h"

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

bool CMacroSetCascadePopup::OnItemMouseMove(int x, int y)
{
    const int before = hovered_;
    const bool redraw = CItemPopup::OnItemMouseMove(x, y);
    if (hovered_ >= 0 && hovered_ != before) NotifyParent(kMsgMacroOpen, WPARAM(tag_), items_[size_t(hovered_)].value);
    return redraw;
}

bool CMacroSetCascadePopup::OnItemLButtonUp(int, int) { return false; }
