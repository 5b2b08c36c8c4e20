#include "platform/shell/file_filter.h"

namespace platform {
namespace {

std::u16string Trim(const std::u16string& s) {
    size_t b = s.find_first_not_of(u' ');
    if (b == std::u16string::npos) return {};
    size_t e = s.find_last_not_of(u' ');
    return s.substr(b, e - b + 1);
}

std::vector<std::u16string> Split(const std::u16string& s, char16_t sep) {
    std::vector<std::u16string> parts;
    size_t start = 0;
    for (;;) {
        size_t end = s.find(sep, start);
        parts.push_back(s.substr(start, end == std::u16string::npos ? std::u16string::npos : end - start));
        if (end == std::u16string::npos) return parts;
        start = end + 1;
    }
}

}  // namespace

std::vector<FileFilterEntry> ParseFileFilter(const std::u16string& filter) {
    std::vector<FileFilterEntry> entries;
    std::vector<std::u16string> fields = Split(filter, u'|');
    for (size_t i = 0; i + 1 < fields.size(); i += 2) {
        FileFilterEntry e;
        e.description = Trim(fields[i]);
        for (const std::u16string& p : Split(fields[i + 1], u';')) {
            std::u16string t = Trim(p);
            if (!t.empty()) e.patterns.push_back(t);
        }
        if (!e.description.empty() && !e.patterns.empty()) entries.push_back(std::move(e));
    }
    return entries;
}

std::vector<std::u16string> QtNameFilters(const std::u16string& filter) {
    std::vector<std::u16string> out;
    for (const FileFilterEntry& e : ParseFileFilter(filter)) {
        std::u16string f = e.description + u" (";
        for (size_t i = 0; i < e.patterns.size(); ++i) f += (i ? u" " : u"") + e.patterns[i];
        out.push_back(f + u")");
    }
    return out;
}

std::string WithDefaultExtension(const std::string& path, const std::string& extension) {
    if (extension.empty() || path.empty() || path.back() == '/') return path;
    size_t slash = path.rfind('/');
    std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
    if (name.find('.') != std::string::npos) return path;
    return path + "." + extension;
}

}  // namespace platform
