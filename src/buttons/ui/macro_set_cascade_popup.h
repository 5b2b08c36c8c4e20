#pragma once
// The list of macro sets the function menu's macro row opens when the
// library has more than one set: hovering a set opens that set's macros
// beside it (open message, lParam = set index + 1); the list itself assigns
// nothing.
#include "ui/item_popup.h"

class MacroLibrary;

class CMacroSetCascadePopup final : public CItemPopup {
public:
    explicit CMacroSetCascadePopup(const MacroLibrary& library);
    // The row of set k, in the popup's client coordinates.
    Rect RowRect(int setIndex) const;

protected:
    void BuildItems() override;
    void OnMarkedItemHovered(int index) override;
    bool OnItemLButtonUp(int x, int y) override;

private:
    const MacroLibrary& library_;
};
