#pragma once
// The macro library file, config/MacroLibraryFile.mlf in the data folder (and
// any exported .mlf): a UTF-16LE text file with a byte-order mark and LF line
// ends, read by line position alone.
//
//   [MacroLibrary]
//   MacroSetNum=<sets>
//   for each set i:
//   \tMacroSet<i>Name=<name>
//   \t\tMacroKeyNum=<macros>
//     for each macro j (numbered from 0 in every set):
//   \t\tMacroKey<j>Name=<name>
//   \t\t\tMacroKey<j>LoopType=<loopType>
//   \t\t\tMacroKey<j>LoopNum=<loopNum>
//   \t\t\tMacroActionNum=<actionNum>
//   \t\t\tMacroCommandActionNum=<commandActionNum>
//   \t\t\tAllAction=<336 slots as 8 upper-case hex digits b0 b1 b2 b3: 2,688 digits>
//
// Numbers are unsigned decimal. On reading, the text before the first "=" of
// a line is ignored and the value is everything after it (so a name may hold
// "="). A missing "=", an empty value, an action line of any other length,
// a header that is not exactly "[MacroLibrary]" or a file that ends early
// rejects the whole file; CR LF files fail at the header. Lines after the
// last counted set are ignored. A count below 1 means no sets (or no macros
// in that set). Loop type, loop count and step count keep their low byte
// (300 reads as 44). The action count is clamped to 0..336 so that no reader
// of the macro ever indexes past its slots; the step count is kept as read.
//
// Two copies of the library live for the whole run; the file is the only
// channel between them:
//   g_macroLibrary      the application's, read at start-up and again when
//                       the macro manager closes; menus and upload read it;
//   g_macroWorkLibrary  the macro manager's, read when it opens and written
//                       back after each change it saves.
// Owner: the window thread.
#include <string>
#include <string_view>

#include "profile/macro_model.h"
#include "base/parse_error.h"

extern MacroLibrary g_macroLibrary;
extern MacroLibrary g_macroWorkLibrary;

// The library file below the data folder.
inline constexpr const char* kMacroLibraryRelativePath = "config/MacroLibraryFile.mlf";
// The single empty set that replaces a missing or broken application library.
inline constexpr const char16_t* kDefaultMacroSetName = u"Mouse Macro Set";

// The file's text without the byte-order mark.
std::u16string FormatMacroLibrary(const MacroLibrary& library);

// Parses the bytes of a whole file (byte-order mark first) into `library`,
// which is cleared first. False when the file is rejected; `library` is then
// left empty, and *error (when given) says at which line and why. Safe on
// any input.
bool ParseMacroLibrary(std::string_view fileBytes, MacroLibrary& library, ParseError* error = nullptr);

// Writes the library (atomically); false when the file cannot be written.
bool WriteMacroLibraryFile(const MacroLibrary& library, const std::string& path);
// Reads the file into `library` (cleared first); false when it cannot be read
// or is rejected, with `library` left empty (and *error saying where and
// why). Never writes anything.
bool ReadMacroLibraryFile(MacroLibrary& library, const std::string& path, ParseError* error = nullptr);

// The application library's read: on any failure the library becomes the one
// empty default set, which is written to `path` at once. A successful read
// never writes. True when the file was read as it stood.
bool LoadApplicationMacroLibrary(MacroLibrary& library, const std::string& path);

// The standard path (g_userDataFolder + kMacroLibraryRelativePath).
std::string MacroLibraryPath();
// g_macroLibrary from the standard path, with the application recovery.
bool LoadApplicationMacroLibrary();
// The window does not read g_macroLibrary before its first frame: it reads
// it right after, and whatever needs it sooner (a button menu, a tevlanctl
// request, an apply) calls this, which reads it the first time only.
void EnsureApplicationMacroLibrary();
// Empties g_macroLibrary and marks it unread, so that the next
// EnsureApplicationMacroLibrary reads the file (a window starting).
void ForgetApplicationMacroLibrary();
bool ApplicationMacroLibraryRead();
// g_macroWorkLibrary from the standard path; left empty when that fails.
bool LoadWorkingMacroLibrary();
