#pragma once
// CComboLightingPopup: the lighting mode menu under the mode combo, one item
// per effect in the order of kLightingMenu. The result's first byte is the
// chosen item's index in that table.
#include "ui/item_popup.h"

class CComboLightingPopup final : public CItemPopup {
public:
    static constexpr int kKind = 9;
    static constexpr int kItemWidth = 188;

    CComboLightingPopup();

protected:
    void BuildItems() override;
};
