#include "macros/macro_edit_values.h"

#include "macros/macro_action_edits.h"
#include "profile/profile_record.h"

namespace {

long long Clamp(long long v, long long lo, long long hi) { return v < lo ? lo : v > hi ? hi : v; }

bool IsNegativeChoice(int choice)
{
    return choice == int(MacroInsertKind::MoveLeft) || choice == int(MacroInsertKind::MoveUp);
}

MacroRefusal CheckNameShape(const std::u16string& name)
{
    if (name.empty()) return MacroRefusal::Text(macro_text::kNameEmpty);
    if (name.size() > size_t(kMacroNameMaxLength)) return MacroRefusal::Text(macro_text::kNameTooLong);
    return MacroRefusal::Accepted();
}

}  // namespace

MacroAction PickedKeyAction(MacroAction action, uint8_t key)
{
    action.b0 = key;
    return action;
}

MacroAction PauseFromText(const std::u16string& text)
{
    return MacroAction::Pause(uint32_t(Clamp(ParseDecimal(text), 0, kMacroPauseEditMaxMs)));
}

bool PauseTextOverLimit(const std::u16string& text) { return ParseDecimal(text) > int64_t(kMacroPauseEditMaxMs); }

std::u16string PauseText(const MacroAction& action) { return DecimalText(action.PauseMs()); }

MacroAction MoveFromText(MacroAction action, int choice, const std::u16string& text)
{
    const int amount = int(Clamp(ParseDecimal(text), kMacroMoveMin, kMacroMoveMax));
    const bool horizontal = choice == int(MacroInsertKind::MoveLeft) || choice == int(MacroInsertKind::MoveRight);
    action.b0 = horizontal ? kMacroMoveX : kMacroMoveY;
    action.b2 = 0;
    action.b3 = uint8_t(IsNegativeChoice(choice) ? -amount : amount);
    return action;
}

std::u16string MoveText(const MacroAction& action, int choice)
{
    const int amount = IsNegativeChoice(choice) ? -int(action.Amount()) : int(action.Amount());
    return DecimalText(amount);
}

int MoveTitleText(int choice)
{
    const int first = int(MacroInsertKind::MoveLeft);
    return 222 + int(Clamp(choice - first, 0, 3));
}

MacroRefusal CheckNewMacroName(const MacroSet& set, const std::u16string& name)
{
    MacroRefusal r = CheckNameShape(name);
    if (r.Refused()) return r;
    for (const MacroKey& m : set.macros)
        if (m.name == name) return MacroRefusal::Text(macro_text::kNameUsed);
    return MacroRefusal::Accepted();
}

MacroRefusal CheckMacroRename(const MacroSet& set, const MacroKey& macro, const std::u16string& name)
{
    MacroRefusal r = CheckNameShape(name);
    if (r.Refused()) return r;
    for (const MacroKey& m : set.macros)
        if (&m != &macro && m.name == name) return MacroRefusal::Text(macro_text::kNameUsed);
    return MacroRefusal::Accepted();
}

MacroLoopCount LoopCountFromText(const std::u16string& text)
{
    const long long v = ParseDecimal(text);
    MacroLoopCount c;
    if (v > kMacroLoopCountMax) {
        c.value = kMacroLoopCountMax;
        c.shown = DecimalText(kMacroLoopCountMax);
    } else if (v < kMacroLoopCountMin) {
        c.value = kMacroLoopCountMin;
        c.shown = DecimalText(kMacroLoopCountMin);
    } else {
        c.value = uint8_t(v);
    }
    return c;
}

std::u16string LoopCountText(const MacroKey& macro) { return DecimalText(macro.loopNum); }

bool IsMacroNumberChar(char16_t c) { return (c >= u'0' && c <= u'9') || c == u'\b'; }
