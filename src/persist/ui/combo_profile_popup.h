#pragma once
// CComboProfilePopup: the profile list that the "Profiles" button opens
// above itself. Seven rows of 25 units: a header, the five list positions
// (the shown profiles by name, top to bottom, then empty rows) and a row
// that adds a profile.
//
// It reports to its owner with its report message, wParam the event and
// lParam the row's value (1 header, 2..6 positions, 7 add):
//   left click on a profile row or the add row   wParam CE_CLICK (2)
//   right click on a profile row                  wParam CE_RCLICK (11)
// The header and the empty rows neither light up nor report.
#include <array>
#include <string>

#include "ui/item_popup.h"

class CComboProfilePopup final : public CItemPopup {
public:
    static constexpr int kKind = 7;
    static constexpr int kHeaderRow = 1;
    static constexpr int kFirstProfileRow = 2;
    static constexpr int kAddRow = 7;

    // names: the captions of the five positions (empty for positions past
    // the shown count); currentRow: the row of the current profile, or 0.
    CComboProfilePopup(std::array<std::u16string, 5> names, int currentRow);

    // Whether a row lights up under the pointer and answers a click.
    bool IsSelectable(int value) const;

protected:
    void BuildItems() override;
    void DrawItems(platform::ICanvas& dc, const Rect& client) override;
    bool OnItemMouseMove(int x, int y) override;
    bool OnItemLButtonUp(int x, int y) override;
    bool OnItemRButtonUp(int x, int y) override;

private:
    // The selectable row under a point, as an index into the items, or -1.
    int SelectableAt(int x, int y) const;

    std::array<std::u16string, 5> names_;
    int currentRow_;
    std::unique_ptr<CSkinImage> header_;
};
