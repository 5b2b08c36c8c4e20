#pragma once
// CProfileRKeyPopup: the slot menu of one profile (a right click on its tab
// or on its row of the profile list): import, export, rename, delete. The
// result's first byte is the action, 0 to 3 in that order; the tag the
// owner gives at creation says which profile it is about.
#include "ui/item_popup.h"

class CProfileRKeyPopup final : public CItemPopup {
public:
    static constexpr int kKind = 13;
    enum Action { kImport = 0, kExport = 1, kRename = 2, kDelete = 3 };

    CProfileRKeyPopup();

protected:
    void BuildItems() override;
};
