#include "macros/ui/macro_list_sources.h"

#include "buttons/key_names.h"
#include "macros/macro_step_accounting.h"
#include "profile/profile_record.h"

int CMacroSetSource::ItemCount(int collection) const
{
    const MacroSet* set = library_.SetAt(collection);
    return set ? int(set->macroNum()) : 0;
}

std::u16string CMacroSetSource::ItemText(int collection, int item) const
{
    const MacroSet* set = library_.SetAt(collection);
    const MacroKey* macro = set ? library_.MacroAt(*set, item) : nullptr;
    return macro ? macro->name : std::u16string();
}

std::u16string MacroActionText(const MacroAction& a)
{
    if (macro_steps::IsPauseCode(a.b0)) return DecimalText(a.PauseMs()) + u"ms";
    const int amount = a.b3 < 128 ? a.b3 : 256 - a.b3;
    const bool positive = a.b3 < 128;
    switch (a.b0) {
    case kMacroMoveX: return (positive ? u"Move Right " : u"Move Left ") + DecimalText(amount);
    case kMacroMoveY: return (positive ? u"Move Down " : u"Move Up ") + DecimalText(amount);
    case kMacroWheel: return (positive ? u"Wheel Down " : u"Wheel Up ") + DecimalText(amount);
    default: return GetKeyName(a.b0);
    }
}

int MacroActionIcon(const MacroAction& a)
{
    if (macro_steps::IsPauseCode(a.b0)) return IShowRows::kPause;
    if (a.b0 >= kMacroMoveX && a.b0 <= kMacroWheel) return IShowRows::kPress;
    return a.IsRelease() ? IShowRows::kRelease : IShowRows::kPress;
}

std::u16string CMacroActionRows::RowText(int row) const
{
    return macro_ && row >= 0 && row < RowCount() ? MacroActionText(macro_->GetAction(row)) : std::u16string();
}

int CMacroActionRows::RowIcon(int row) const
{
    return macro_ && row >= 0 && row < RowCount() ? MacroActionIcon(macro_->GetAction(row)) : IShowRows::kPress;
}
