#pragma once
// CMacroSetPopup: the macros of one set of the library, one row each, in
// library order. Choosing one reports label text 190 + its name and the code
// 0x90, set index, macro index; the popup also keeps which set and macro it
// was, so that sets and macros past 255 are still found.
#include "ui/item_popup.h"

class MacroLibrary;

class CMacroSetPopup final : public CItemPopup {
public:
    CMacroSetPopup(const MacroLibrary& library, int setIndex);
    int SetIndex() const { return setIndex_; }
    int ChosenMacro() const { return chosen_; }

protected:
    void BuildItems() override;
    void FillResult(const PopupItem& item) override;

private:
    const MacroLibrary& library_;
    int setIndex_;
    int chosen_ = -1;
};
