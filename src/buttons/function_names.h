#pragma once
// Button functions as words a person types and reads back, for the command
// line and for scripts:
//
//   left  right  middle  forward  back  triple-click  profile-switch  disabled
//   dpi-up  dpi-down  dpi-cycle  dpi-lock-200 ... dpi-lock-1200
//   media-player  previous-track  next-track  stop  play-pause  mute
//   volume-up  volume-down  email  calculator
//   copy  paste  cut  select-all  new  save  print  file-manager  undo
//   computer  close-window  show-desktop  run  minimize-window  maximize-window
//   fire INTERVAL COUNT        interval 5-255, count 0-255
//   Ctrl+Shift+A               modifiers Ctrl, Shift, Alt, Win, then one key name
//   macro SET NAME             a macro of the library; quote names with spaces
//   code TT PP EE              any three bytes in hex, as a profile file may hold
//
// The names are the catalogue's own and never change with the language.
// Formatting a button and parsing the result gives the same code and label.
#include <optional>
#include <string>

#include "profile/function_types.h"
#include "profile/macro_model.h"

struct ParsedButtonFunction {
    std::u16string label;
    ButtonFunctionCode code;
    const MacroKey* macro = nullptr;  // for macro functions: the library's macro
};

// Nothing when the text names no function (unknown word, key, set or macro,
// fire interval below 5 or numbers past 255, malformed code bytes).
std::optional<ParsedButtonFunction> ParseButtonFunction(const std::u16string& text, const MacroLibrary& library);

// The words for what a button holds. The label tells the preset from the
// same code set by hand (triple-click against fire 50 3, copy against Ctrl+C)
// and names the macro; codes the program cannot name come out as "code".
std::u16string FormatButtonFunction(const std::u16string& label, ButtonFunctionCode code,
                                    const MacroLibrary& library);
