#pragma once
// CComboPopup: a button's function menu, the sixteen rows of the catalogue.
// Rows with a sub-menu open it on hover (the owner is told which); the fire
// and key-combination rows open their dialogs on click; every other row
// reports its label and code.
#include "ui/item_popup.h"

class CComboPopup : public CItemPopup {
public:
    // macroSets: how many sets the library has; with more than one, the
    // macro row opens the list of sets instead of the first set's macros.
    explicit CComboPopup(int macroSets);

protected:
    void BuildItems() override;
    bool OnItemMouseMove(int x, int y) override;
    bool OnItemLButtonDown(int x, int y) override;
    bool OnItemLButtonUp(int x, int y) override;
    void FillResult(const PopupItem& item) override;
    bool OnItemKey(UINT vk) override;

private:
    // Tells the owner which row is hovered (it opens that row's sub-menu).
    void NotifyRowHovered(int index);
    int macroSets_;
};
