#include "macros/macro_library_edits.h"

#include "macros/macro_library_file.h"

MacroRefusal AddMacroSet(MacroLibrary& library, const std::u16string& name)
{
    if (name.empty()) return MacroRefusal::Text(macro_text::kSetNameEmpty);
    for (const MacroSet& s : library.sets())
        if (s.name == name) return MacroRefusal::Text(macro_text::kSetNameUsed);
    library.AppendSet(name);
    return MacroRefusal::Accepted();
}

MacroRefusal DeleteMacroSet(MacroLibrary& library, const std::u16string& name, int* deletedIndex)
{
    int index = 0;
    for (const MacroSet& s : library.sets()) {
        if (s.name == name) {
            library.DeleteSetByName(name);
            if (deletedIndex) *deletedIndex = index;
            return MacroRefusal::Accepted();
        }
        ++index;
    }
    if (deletedIndex) *deletedIndex = -1;
    return MacroRefusal::Text(macro_text::kSetNameUnknown);
}

MacroRefusal ImportMacroLibrary(MacroLibrary& library, const std::string& path)
{
    // Read aside: a rejected file must not cost the library the user has.
    MacroLibrary read;
    if (!ReadMacroLibraryFile(read, path)) return MacroRefusal::File(macro_text::kImportFailed, path);
    library = std::move(read);
    return MacroRefusal::Accepted();
}

MacroRefusal ExportMacroLibrary(const MacroLibrary& library, const std::string& path)
{
    if (!WriteMacroLibraryFile(library, path)) return MacroRefusal::File(macro_text::kExportFailed, path);
    return MacroRefusal::Accepted();
}

std::u16string DefaultMacroExportName(const MacroLibrary& library)
{
    const MacroSet* first = library.SetAt(0);
    if (!first || first->macros.empty()) return u".mlf";
    return first->macros.front().name + u".mlf";
}
