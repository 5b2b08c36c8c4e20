#pragma once
// The macro manager's set menu: one row per set of the working library,
// then a separator and the add and delete commands. A click reports the
// row's value itself as lParam: set index + 2, or 0 (add) and 1 (delete).
#include "profile/macro_model.h"
#include "ui/item_popup.h"

class CMacroSetListPopup : public CItemPopup {
public:
    static constexpr int kAdd = 0;
    static constexpr int kDelete = 1;
    static constexpr int kFirstSet = 2;

    CMacroSetListPopup(const MacroLibrary& library, int itemWidth);

protected:
    void DrawItems(platform::ICanvas& dc, const Rect& client) override;
    bool OnItemLButtonUp(int x, int y) override;
};
