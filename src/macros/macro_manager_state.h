#pragma once
// What the macro manager window shows and edits, apart from its controls:
// the shown set, the selected macro, and the rules of its set and macro
// commands. The window reads its controls, calls these and shows the
// refusal's text; the tests drive the same rules without a window.
//
// Indexes are 0-based; -1 means none. The library is the manager's working
// copy; the state keeps indexes, never pointers, so an import that replaces
// the whole library leaves nothing dangling.
#include <cstdint>
#include <string>

#include "macros/macro_edit_values.h"
#include "profile/macro_model.h"
#include "macros/macro_texts.h"

class MacroManagerState {
public:
    explicit MacroManagerState(MacroLibrary& library) : library_(library) {}

    // After the library was read: shows set `initialSet` (1-based, 0 for
    // none) with the macro the manager had selected when it last closed
    // (lastMacroIndex, -1 for none): that one is selected, or the first
    // macro shown without a selection when none was.
    void Open(int initialSet, int lastMacroIndex);

    int ShownSetIndex() const { return shownSet_; }
    int MacroSelection() const { return selection_; }
    MacroSet* ShownSet() const;
    // The macro the action list shows: the selected one, or with no
    // selection at opening, the first (see Open).
    MacroKey* CurrentMacro() const;
    int CurrentMacroIndex() const { return current_; }

    // A set chosen from the set menu: its first macro selected when it has one.
    void ShowSet(int index);
    // A click on the macro list; an index without a macro keeps the selection.
    void SelectMacro(int index);

    // Set menu commands. A refused name changes nothing. Deleting the shown
    // set shows the first remaining one; deleting an earlier set keeps the
    // shown set shown (its index moves down with it).
    MacroRefusal AddSet(const std::u16string& name);
    MacroRefusal DeleteSet(const std::u16string& name);

    // New macro: text 350 without a shown set; otherwise the name rules of
    // macro_edit_values.h. The new macro is selected.
    MacroRefusal CanAddMacro() const;
    MacroRefusal AddMacro(const std::u16string& name);
    MacroRefusal RenameSelectedMacro(const std::u16string& name);
    // Delete macro: text 233 without a selected macro (ask 232 first, then
    // DeleteSelectedMacro). The one before it is selected next.
    MacroRefusal CanDeleteMacro() const;
    void DeleteSelectedMacro();

    // Loop type of the current macro (1, 2 or 4); nothing without one.
    void SetLoopType(uint8_t loopType);
    // The loop-count box changed; only while the current macro repeats a count.
    MacroLoopCount SetLoopCountText(const std::u16string& text);

    // Replaces the library by a file; on success the same set index is shown
    // again (the first set when none was) with its first macro. A refused
    // file changes nothing.
    MacroRefusal Import(const std::string& path);

private:
    void Resolve();

    MacroLibrary& library_;
    int shownSet_ = -1;
    int selection_ = -1;
    int current_ = -1;
};
