#include "buttons/button_assignment.h"

#include "buttons/function_catalogue.h"
#include "base/ui_text.h"
#include "profile/profile_record.h"

int CountLeftButtons(const ProfileRecord& profile)
{
    int n = 0;
    for (const ButtonSlot& b : profile.buttons)
        if (b.code.type == kLeftButtonCode.type && b.code.param == kLeftButtonCode.param) ++n;
    return n;
}

bool StoreButtonFunction(ProfileRecord& profile, int button, const std::u16string& label, ButtonFunctionCode code,
                         const MacroKey* source)
{
    ButtonSlot* slot = GetButton(profile, button);
    if (!slot) return false;
    slot->label = label;
    slot->code = code;
    if (source && source != &slot->macro)
        slot->macro = *source;
    else if (!source)
        slot->macro.actionNum = 0;
    return true;
}

AssignmentOutcome AssignButtonFunction(ProfileRecord& profile, int button, const std::u16string& label,
                                       ButtonFunctionCode code, const MacroKey* source)
{
    AssignmentOutcome out;
    out.caption = label;
    if (button < 0 || button >= kButtonCount) return out;
    out.stored = StoreButtonFunction(profile, button, label, code, source);
    if (CountLeftButtons(profile) >= 1) {
        out.sendButtons = true;
        return out;
    }
    out.caption = UiText(kTextLeftButton);
    StoreButtonFunction(profile, button, out.caption, kLeftButtonCode, nullptr);
    out.leftButtonRestored = true;
    out.warningText = kTextKeepLeftButton;
    return out;
}

std::optional<LibraryMacroChoice> ChooseLibraryMacro(const MacroLibrary& library, int setIndex, int macroIndex)
{
    const MacroSet* set = library.SetAt(setIndex);
    if (!set) return std::nullopt;
    const MacroKey* macro = library.MacroAt(*set, macroIndex);
    if (!macro) return std::nullopt;
    return LibraryMacroChoice{MacroFunctionLabel(macro->name),
                              {kFunctionMacro, uint8_t(setIndex), uint8_t(macroIndex)}, macro};
}
