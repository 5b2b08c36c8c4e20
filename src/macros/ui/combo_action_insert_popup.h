#pragma once
// The macro manager's insert-action menu: the nine kinds of action it can
// insert, in MacroInsertKind order. The result record's first byte is the
// choice (0-8).
#include "ui/item_popup.h"

class CComboActionInsertPopup : public CItemPopup {
public:
    CComboActionInsertPopup();
};
