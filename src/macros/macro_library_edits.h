#pragma once
// Whole-library edits of the macro manager and of the command line: adding
// and deleting sets, importing and exporting library files.
#include <string>

#include "profile/macro_model.h"
#include "macros/macro_texts.h"

// Appends a set. Refused with text 355 for an empty name and 356 for a name
// a set already has (exact comparison); the library is then unchanged.
MacroRefusal AddMacroSet(MacroLibrary& library, const std::u16string& name);

// Deletes the first set of that name; text 357 when there is none.
// `deletedIndex` receives the index the set had (-1 when refused).
MacroRefusal DeleteMacroSet(MacroLibrary& library, const std::u16string& name, int* deletedIndex = nullptr);

// Replaces `library` by the library file at `path`. A file that cannot be
// read or is not a library leaves `library` exactly as it was, and is
// refused with text 358 naming the file.
MacroRefusal ImportMacroLibrary(MacroLibrary& library, const std::string& path);

// Writes `library` to `path`; text 359 naming the file when that fails.
MacroRefusal ExportMacroLibrary(const MacroLibrary& library, const std::string& path);

// The file name an export offers: the first macro of the first set, ".mlf".
std::u16string DefaultMacroExportName(const MacroLibrary& library);
