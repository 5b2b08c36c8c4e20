#include "profile/macro_model.h"

#include <iterator>

MacroAction MacroAction::Pause(uint32_t ms)
{
    return {kMacroPause, uint8_t(ms >> 16), uint8_t(ms >> 8), uint8_t(ms)};
}

MacroAction MacroAction::Key(uint8_t code, bool release)
{
    return {code, release ? kMacroRelease : uint8_t(0), 0, 0};
}

MacroAction MacroAction::Move(uint8_t axisCode, int8_t amount)
{
    return {axisCode, 0, 0, static_cast<uint8_t>(amount)};
}

MacroAction MacroKey::GetAction(int index) const
{
    if (index < 0 || index >= kMacroActionSlots) index = 0;
    return actions[static_cast<size_t>(index)];
}

bool MacroKey::SetAction(int index, MacroAction action)
{
    if (index < 0 || index >= kMacroActionSlots) return false;
    actions[static_cast<size_t>(index)] = action;
    return true;
}

bool MacroKey::InsertAction(int position, MacroAction action)
{
    // A count read from a file may claim more than the slots hold; treat it as full.
    if (actionNum >= static_cast<uint32_t>(kMacroActionSlots)) return false;
    int used = static_cast<int>(actionNum);
    if (position < 0) position = 0;
    if (position > used) position = used;
    for (int i = kMacroActionSlots - 1; i > position; --i) actions[size_t(i)] = actions[size_t(i - 1)];
    actions[size_t(position)] = action;
    ++actionNum;
    return true;
}

bool MacroKey::DeleteAction(int index)
{
    if (index < 0 || static_cast<uint32_t>(index) >= actionNum || index >= kMacroActionSlots) return false;
    for (int i = index; i < kMacroActionSlots - 1; ++i) actions[size_t(i)] = actions[size_t(i + 1)];
    actions[kMacroActionSlots - 1] = MacroAction{};
    --actionNum;
    return true;
}

int MacroKey::UsedActions() const
{
    return actionNum > static_cast<uint32_t>(kMacroActionSlots) ? kMacroActionSlots : static_cast<int>(actionNum);
}

void MacroLibrary::ClearLibrary()
{
    sets_.clear();
}

bool MacroLibrary::AppendSet(const std::u16string& name)
{
    MacroSet set;
    set.name = name;
    sets_.push_back(std::move(set));
    return true;
}

MacroSet* MacroLibrary::SetAt(int index)
{
    if (index < 0 || static_cast<size_t>(index) >= sets_.size()) return nullptr;
    return &*std::next(sets_.begin(), index);
}

const MacroSet* MacroLibrary::SetAt(int index) const
{
    return const_cast<MacroLibrary*>(this)->SetAt(index);
}

void MacroLibrary::DeleteSetByName(const std::u16string& name)
{
    for (auto it = sets_.begin(); it != sets_.end(); ++it) {
        if (it->name == name) {
            sets_.erase(it);
            return;
        }
    }
}

bool MacroLibrary::AppendMacro(MacroSet& set, const std::u16string& name)
{
    set.macros.emplace_back(name);
    return true;
}

MacroKey* MacroLibrary::MacroAt(MacroSet& set, int index)
{
    if (index < 0 || static_cast<size_t>(index) >= set.macros.size()) return nullptr;
    return &*std::next(set.macros.begin(), index);
}

const MacroKey* MacroLibrary::MacroAt(const MacroSet& set, int index) const
{
    if (index < 0 || static_cast<size_t>(index) >= set.macros.size()) return nullptr;
    return &*std::next(set.macros.begin(), index);
}

bool MacroLibrary::HasMacroNamed(const MacroSet& set, const std::u16string& name) const
{
    for (const auto& m : set.macros)
        if (m.name == name) return true;
    return false;
}

bool MacroLibrary::DeleteMacro(MacroSet& set, int index)
{
    if (index < 0 || static_cast<size_t>(index) >= set.macros.size()) return false;
    set.macros.erase(std::next(set.macros.begin(), index));
    return true;
}

void MacroLibrary::RenameMacro(MacroKey& macro, const std::u16string& name)
{
    macro.name = name;
}

bool IsValidMacroName(const std::u16string& name)
{
    return name.size() >= size_t(kMacroNameMinLength) && name.size() <= size_t(kMacroNameMaxLength);
}
