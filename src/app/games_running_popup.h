#pragma once
// CGamesRunningPopup: the running programs' names to pick a game from, in a
// list under an entry of the games dialog. It shows ten rows at most and
// scrolls with the wheel, and with the arrow keys as the hover moves past
// its edge; a thin bar on the right tells where the rows shown are. A click
// reports the name like every item menu (the result record's caption).
#include <string>
#include <vector>

#include "ui/item_popup.h"

class CGamesRunningPopup final : public CItemPopup {
public:
    static constexpr int kVisibleRows = 10;
    static constexpr int kRowHeight = 22;
    static constexpr int kRowsPerNotch = 3;

    // width in base units. The name current holds, or else the first one
    // starting with it, is hovered and scrolled into view.
    CGamesRunningPopup(const std::vector<std::u16string>& names, int width, const std::u16string& current);

    int FirstShown() const { return first_; }

    LRESULT OnMessage(HWND self, UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void DrawItems(platform::ICanvas& dc, const Rect& client) override;
    bool OnItemKey(UINT vk) override;

private:
    // Shows the rows from first on (kept within the list); the window keeps its size.
    void ScrollTo(int first);
    int Rows() const { return int(items_.size()); }

    int width_;
    int first_ = 0;
};
