#pragma once
// Storing a chosen function in a button, and the rule that keeps the mouse
// usable: some button of the profile must stay the left button, or the user
// could no longer click anything once the profile is on the mouse. Both the
// window and the command line store through here; neither shows anything
// from here, they get told what to show.
#include <optional>
#include <string>

#include "profile/function_types.h"
#include "profile/macro_model.h"

struct ProfileRecord;

// The warning shown when the last left button was taken away, and how long
// after the menu closed it comes (the menu must be gone before a modal box).
inline constexpr int kTextKeepLeftButton = 151;
inline constexpr int kLeftButtonWarningDelayMs = 100;

// Buttons of the profile whose code plays the left button (type 0x10, bit
// 0x01 exactly, whatever the third byte).
int CountLeftButtons(const ProfileRecord& profile);

// Replaces label and code of button 0..7. The button's macro copy is emptied
// (action count 0, name kept) and, with a source, becomes a full copy of it.
// False for an index that is no button.
bool StoreButtonFunction(ProfileRecord& profile, int button, const std::u16string& label,
                         ButtonFunctionCode code, const MacroKey* source);

struct AssignmentOutcome {
    std::u16string caption;          // what the button's list entry shows now
    bool stored = false;             // the profile changed
    bool sendButtons = false;        // the key reports are due (pending keys + the 20 ms apply timer)
    bool leftButtonRestored = false; // the rule put the left button back on this very button
    int warningText = 0;             // kTextKeepLeftButton after kLeftButtonWarningDelayMs, or 0
};

// The one store operation of every assignment path (menus, dialogs, macro
// menu, command line): stores the function in button 0..7, then applies the
// left-button rule. When no button would be left, the button just assigned
// (not some other one) becomes the left button again with the label of text
// 20, nothing is to be sent, and the outcome carries the warning's text
// number. Any other index (a list entry that only shows a caption) changes
// nothing in the profile.
AssignmentOutcome AssignButtonFunction(ProfileRecord& profile, int button, const std::u16string& label,
                                       ButtonFunctionCode code, const MacroKey* source = nullptr);

// A macro of the library as the macro menu assigns it: label text 190 and
// the name, code 0x90, set index, macro index (the slot pass replaces the
// last two bytes before anything goes to the mouse), and the macro itself.
// Nothing when the set or the macro does not exist.
struct LibraryMacroChoice {
    std::u16string label;
    ButtonFunctionCode code;
    const MacroKey* macro = nullptr;
};
std::optional<LibraryMacroChoice> ChooseLibraryMacro(const MacroLibrary& library, int setIndex, int macroIndex);
