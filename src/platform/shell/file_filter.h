#pragma once
// The file dialogs take their filter the way the program's texts write it,
// "description|patterns|description|patterns||" with patterns separated by
// ';' ("psf file(*.psf)|*.psf||"). These helpers turn it into what the
// desktop's dialog wants and finish a chosen name.
#include <string>
#include <vector>

namespace platform {

struct FileFilterEntry {
    std::u16string description;
    std::vector<std::u16string> patterns;
    friend bool operator==(const FileFilterEntry&, const FileFilterEntry&) = default;
};

// Pairs in order; a description without patterns, or the empty pairs of the
// closing "||", are dropped.
std::vector<FileFilterEntry> ParseFileFilter(const std::u16string& filter);

// "description (p1 p2)" for each entry, the form Qt's dialogs read their
// patterns from (the last bracketed group counts, so a description that
// already shows its pattern is fine).
std::vector<std::u16string> QtNameFilters(const std::u16string& filter);

// Appends "." + extension to a chosen path whose file name has no extension
// (a name typed without one), as the dialogs promise for their default
// extension. A leading '.' alone (".psf") counts as an extension. UTF-8.
std::string WithDefaultExtension(const std::string& path, const std::string& extension);

}  // namespace platform
