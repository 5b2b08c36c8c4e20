#include "macros/macro_action_edits.h"

#include "macros/macro_step_accounting.h"

namespace {

uint8_t ButtonOf(MacroInsertKind kind)
{
    switch (kind) {
    case MacroInsertKind::RightClick: return kMacroRightButton;
    case MacroInsertKind::MiddleClick: return kMacroMiddleButton;
    default: return kMacroLeftButton;
    }
}

bool IsClick(MacroInsertKind k) { return k <= MacroInsertKind::MiddleClick; }
bool IsMove(MacroInsertKind k) { return k >= MacroInsertKind::MoveLeft; }

// Press, short pause, release at p..p+2; the selection lands on the release.
int InsertPressAndRelease(MacroKey& macro, int selection, uint8_t code, int steps)
{
    const int p = MacroInsertPosition(macro, selection);
    macro.InsertAction(p, MacroAction::Key(code, false));
    macro.InsertAction(p + 1, MacroAction::Pause(kInsertedPressMs));
    macro.InsertAction(p + 2, MacroAction::Key(code, true));
    macro_steps::Add(macro, steps);
    return p + 2;
}

}  // namespace

int MacroInsertPosition(const MacroKey& macro, int selection)
{
    const int used = macro.UsedActions();
    if (selection < 0 || selection >= used) return used;
    return selection + 1;
}

MacroRefusal CheckMacroInsert(const MacroKey* macro, MacroInsertKind kind)
{
    if (!macro) return MacroRefusal::Text(macro_text::kInsertWithoutMacro);
    int steps = 0, slots = 1;
    if (IsClick(kind)) steps = macro_steps::kInsertedClick, slots = 3;
    else if (kind == MacroInsertKind::Key) steps = macro_steps::kInsertedKey, slots = 3;
    else if (IsMove(kind)) steps = macro_steps::kInsertedMove;
    // A file may hold more actions than its step count suggests; a half
    // inserted click (press without release) would leave the key held, so
    // the slots are checked as well as the steps.
    if (!macro_steps::Fit(*macro, steps) || macro->UsedActions() + slots > kMacroActionSlots)
        return MacroRefusal::Text(macro_text::kInsertFull);
    return MacroRefusal::Accepted();
}

MacroAction MacroInsertStartAction(const MacroKey& macro, int selection, MacroInsertKind kind)
{
    switch (kind) {
    case MacroInsertKind::Key: return MacroAction::Key('A', false);
    case MacroInsertKind::MoveLeft: return MacroAction::Move(kMacroMoveX, -1);
    case MacroInsertKind::MoveRight: return MacroAction::Move(kMacroMoveX, 1);
    case MacroInsertKind::MoveUp: return MacroAction::Move(kMacroMoveY, -1);
    case MacroInsertKind::MoveDown: return MacroAction::Move(kMacroMoveY, 1);
    case MacroInsertKind::Pause:
        if (MacroPauseInsertEditsExisting(macro, selection))
            return macro.GetAction(MacroInsertPosition(macro, selection) - 1);
        return MacroAction::Pause(kInsertedPauseMs);
    default: return MacroAction::Key(ButtonOf(kind), false);
    }
}

int InsertMacroClick(MacroKey& macro, int selection, MacroInsertKind kind)
{
    return InsertPressAndRelease(macro, selection, ButtonOf(kind), macro_steps::kInsertedClick);
}

int InsertMacroKey(MacroKey& macro, int selection, uint8_t key)
{
    return InsertPressAndRelease(macro, selection, key, macro_steps::kInsertedKey);
}

int InsertMacroMove(MacroKey& macro, int selection, MacroAction move)
{
    const int p = MacroInsertPosition(macro, selection);
    macro.InsertAction(p, move);
    macro_steps::Add(macro, macro_steps::kInsertedMove);
    return p;
}

bool MacroPauseInsertEditsExisting(const MacroKey& macro, int selection)
{
    const int p = MacroInsertPosition(macro, selection);
    return p > 0 && macro_steps::IsPauseCode(macro.GetAction(p - 1).b0);
}

int InsertMacroPause(MacroKey& macro, int selection, uint32_t ms)
{
    const int p = MacroInsertPosition(macro, selection);
    if (MacroPauseInsertEditsExisting(macro, selection)) {
        ModifyMacroPause(macro, p - 1, ms);
        return selection;
    }
    macro.InsertAction(p, MacroAction::Pause(ms));
    macro_steps::Add(macro, macro_steps::ForPauseEdit(kInsertedPauseMs, ms));
    return p;
}

MacroModifyKind MacroModifyKindOf(const MacroAction& action)
{
    if (macro_steps::IsPauseCode(action.b0)) return MacroModifyKind::Pause;
    if (action.b0 >= kMacroLeftButton && action.b0 <= kMacroWheel) return MacroModifyKind::None;
    return MacroModifyKind::Key;
}

void ModifyMacroPause(MacroKey& macro, int index, uint32_t ms)
{
    if (index < 0 || index >= macro.UsedActions()) return;
    const uint32_t old = macro.GetAction(index).PauseMs();
    macro.SetAction(index, MacroAction::Pause(ms));
    macro_steps::Add(macro, macro_steps::ForPauseEdit(old, ms));
}

void ModifyMacroKey(MacroKey& macro, int index, uint8_t key)
{
    if (index < 0 || index >= macro.UsedActions()) return;
    MacroAction a = macro.GetAction(index);
    a.b0 = key;
    macro.SetAction(index, a);
}

int DeleteMacroAction(MacroKey& macro, int selection)
{
    if (selection < 0 || selection >= macro.UsedActions()) return -1;
    const MacroAction gone = macro.GetAction(selection);
    macro.DeleteAction(selection);
    macro_steps::Add(macro, macro_steps::ForDeletedAction(gone));
    const int used = macro.UsedActions();
    if (used == 0) return -1;
    return selection >= used ? used - 1 : selection;
}
