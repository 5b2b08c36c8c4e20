#include "macros/macro_manager_state.h"

#include "macros/macro_library_edits.h"

namespace {
int MacroCount(const MacroSet* set) { return set ? int(set->macroNum()) : 0; }
}  // namespace

MacroSet* MacroManagerState::ShownSet() const { return shownSet_ < 0 ? nullptr : library_.SetAt(shownSet_); }

MacroKey* MacroManagerState::CurrentMacro() const
{
    MacroSet* set = ShownSet();
    return set && current_ >= 0 ? library_.MacroAt(*set, current_) : nullptr;
}

void MacroManagerState::Resolve()
{
    MacroSet* set = ShownSet();
    if (!set) {
        shownSet_ = -1;
        selection_ = current_ = -1;
        return;
    }
    const int n = MacroCount(set);
    if (selection_ >= n) selection_ = n - 1;
    if (selection_ >= 0) current_ = selection_;
    if (current_ >= n) current_ = -1;
}

void MacroManagerState::Open(int initialSet, int lastMacroIndex)
{
    shownSet_ = initialSet - 1;
    selection_ = lastMacroIndex < 0 ? -1 : lastMacroIndex;
    current_ = lastMacroIndex < 0 ? 0 : lastMacroIndex;
    if (!ShownSet()) {
        shownSet_ = selection_ = current_ = -1;
        return;
    }
    const int n = MacroCount(ShownSet());
    // A stored index past the set's end (the set lost macros elsewhere) selects nothing.
    if (selection_ >= n) selection_ = -1;
    if (current_ >= n) current_ = -1;
}

void MacroManagerState::ShowSet(int index)
{
    shownSet_ = index;
    selection_ = current_ = MacroCount(ShownSet()) > 0 ? 0 : -1;
    Resolve();
}

void MacroManagerState::SelectMacro(int index)
{
    if (index >= 0 && index < MacroCount(ShownSet())) selection_ = current_ = index;
}

MacroRefusal MacroManagerState::AddSet(const std::u16string& name) { return AddMacroSet(library_, name); }

MacroRefusal MacroManagerState::DeleteSet(const std::u16string& name)
{
    int deleted = -1;
    MacroRefusal r = DeleteMacroSet(library_, name, &deleted);
    if (r.Refused()) return r;
    if (deleted == shownSet_) {
        ShowSet(library_.count() > 0 ? 0 : -1);
    } else if (deleted < shownSet_) {
        --shownSet_;
    }
    return r;
}

MacroRefusal MacroManagerState::CanAddMacro() const
{
    return ShownSet() ? MacroRefusal::Accepted() : MacroRefusal::Text(macro_text::kNewMacroWithoutSet);
}

MacroRefusal MacroManagerState::AddMacro(const std::u16string& name)
{
    MacroRefusal r = CanAddMacro();
    if (r.Refused()) return r;
    MacroSet& set = *ShownSet();
    r = CheckNewMacroName(set, name);
    if (r.Refused()) return r;
    library_.AppendMacro(set, name);
    selection_ = current_ = int(set.macroNum()) - 1;
    return r;
}

MacroRefusal MacroManagerState::RenameSelectedMacro(const std::u16string& name)
{
    MacroSet* set = ShownSet();
    MacroKey* macro = set && selection_ >= 0 ? library_.MacroAt(*set, selection_) : nullptr;
    if (!macro) return MacroRefusal::Text(macro_text::kNoMacroSelected);
    MacroRefusal r = CheckMacroRename(*set, *macro, name);
    if (!r.Refused()) library_.RenameMacro(*macro, name);
    return r;
}

MacroRefusal MacroManagerState::CanDeleteMacro() const
{
    MacroSet* set = ShownSet();
    if (!set || selection_ < 0 || selection_ >= MacroCount(set)) return MacroRefusal::Text(macro_text::kNoMacroSelected);
    return MacroRefusal::Accepted();
}

void MacroManagerState::DeleteSelectedMacro()
{
    if (CanDeleteMacro().Refused()) return;
    library_.DeleteMacro(*ShownSet(), selection_);
    const int n = MacroCount(ShownSet());
    if (n == 0) {
        selection_ = current_ = -1;
        return;
    }
    selection_ = current_ = selection_ - 1 < 0 ? 0 : selection_ - 1;
}

void MacroManagerState::SetLoopType(uint8_t loopType)
{
    if (MacroKey* m = CurrentMacro()) m->loopType = loopType;
}

MacroLoopCount MacroManagerState::SetLoopCountText(const std::u16string& text)
{
    MacroLoopCount c = LoopCountFromText(text);
    MacroKey* m = CurrentMacro();
    if (!m || m->loopType != 2) return {m ? m->loopNum : uint8_t(1), std::nullopt};
    m->loopNum = c.value;
    return c;
}

MacroRefusal MacroManagerState::Import(const std::string& path)
{
    MacroRefusal r = ImportMacroLibrary(library_, path);
    if (r.Refused()) return r;
    // With nothing shown before (an empty library), show the first set read.
    ShowSet(shownSet_ < 0 ? 0 : shownSet_);
    return r;
}
