#pragma once
// What the manager's two lists read: the macro names of the working
// library's sets, and the rows of one macro's actions (icon and text).
#include <string>

#include "profile/macro_model.h"
#include "ui/show_lists.h"

class CMacroSetSource : public IShowCollections {
public:
    explicit CMacroSetSource(const MacroLibrary& library) : library_(library) {}
    int CollectionCount() const override { return int(library_.count()); }
    int ItemCount(int collection) const override;
    std::u16string ItemText(int collection, int item) const override;

private:
    const MacroLibrary& library_;
};

// The rows of the macro the action list shows; none while macro is null.
class CMacroActionRows : public IShowRows {
public:
    void SetMacro(const MacroKey* macro) { macro_ = macro; }
    const MacroKey* Macro() const { return macro_; }
    int RowCount() const override { return macro_ ? macro_->UsedActions() : 0; }
    std::u16string RowText(int row) const override;
    int RowIcon(int row) const override;

private:
    const MacroKey* macro_ = nullptr;
};

// The text of one action row: "120ms", "Move Left 5", a key's name.
std::u16string MacroActionText(const MacroAction& action);
int MacroActionIcon(const MacroAction& action);
