#include "buttons/ui/macro_set_popup.h"

#include "buttons/button_assignment.h"
#include "buttons/ui/button_list_ids.h"

CMacroSetPopup::CMacroSetPopup(const MacroLibrary& library, int setIndex)
    : CItemPopup(button_list::kKindMacroSetBase + setIndex, 161), library_(library), setIndex_(setIndex)
{
}

void CMacroSetPopup::BuildItems()
{
    const MacroSet* set = library_.SetAt(setIndex_);
    if (!set) return;
    int value = 1;
    for (const MacroKey& m : set->macros) AddItem(m.name, 0, value++, 0);
}

void CMacroSetPopup::FillResult(const PopupItem& item)
{
    chosen_ = item.value - 1;
    result_.bytes = {};
    result_.caption = item.caption;
    if (const auto choice = ChooseLibraryMacro(library_, setIndex_, chosen_)) {
        result_.caption = choice->label;
        result_.bytes = {choice->code.type, choice->code.param, choice->code.extra, 0};
    }
}
