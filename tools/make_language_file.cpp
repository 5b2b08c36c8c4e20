// Turns a readable UTF-8 source of a language file (data/lang/*.txt) into the
// file the program installs: UTF-16LE with a byte-order mark and LF line ends.
//
//   make_language_file [--texts] SOURCE OUTPUT
//   make_language_file --po SOURCE.po OUTPUT
//
// Source rules:
//   - a line starting with '#' is a comment, a line of blanks is skipped;
//   - CR before LF is dropped, so a checkout with CR LF line ends still gives
//     LF-only files (the program rejects CR LF);
//   - trailing blanks are dropped; a value that needs leading or trailing
//     blanks is written between double quotes ("Sleep after "), and the
//     quotes are removed;
//   - every other line is copied as it stands.
// With --texts the first copied line must be "[Setting]" and every further one
// "N=text" with N a decimal number 0..599 used once and a non-empty text, so
// that a slip in a source fails the build instead of cutting the language off
// at that line when the program reads it.
//
// With --po the source is a gettext PO file of the translators (data/lang/
// <code>.po): each entry's msgctxt is the text number, its msgstr the text.
// An untranslated entry (empty msgstr) takes the English msgid, so that the
// program shows English rather than nothing; fuzzy entries count as
// translated here, the completeness test is what reports both. The output
// is "[Setting]" and "N=text" lines in number order, checked as with --texts.
#include <algorithm>
#include <cstdio>
#include <map>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kTextCount = 600;

bool Fail(const std::string& where, int lineNo, const std::string& why)
{
    std::cerr << where << ":" << lineNo << ": " << why << "\n";
    return false;
}

// UTF-8 to UTF-16LE bytes; false on a malformed sequence.
bool AppendUtf16Le(const std::string& s, std::string& out)
{
    auto put = [&out](unsigned u) {
        out.push_back(static_cast<char>(u & 0xFF));
        out.push_back(static_cast<char>((u >> 8) & 0xFF));
    };
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        unsigned cp = 0;
        size_t len = 0;
        if (c < 0x80) {
            cp = c, len = 1;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1F, len = 2;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F, len = 3;
        } else if ((c & 0xF8) == 0xF0) {
            cp = c & 0x07, len = 4;
        } else {
            return false;
        }
        if (i + len > s.size()) return false;
        for (size_t k = 1; k < len; ++k) {
            unsigned char d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        static const unsigned kMin[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            put(0xD800 + (cp >> 10));
            put(0xDC00 + (cp & 0x3FF));
        } else {
            put(cp);
        }
        i += len;
    }
    return true;
}

bool CheckTextLine(const std::string& line, std::set<int>& seen, std::string& why)
{
    size_t eq = line.find('=');
    if (eq == std::string::npos || eq == 0) {
        why = "expected N=text";
        return false;
    }
    for (size_t i = 0; i < eq; ++i) {
        if (line[i] < '0' || line[i] > '9') {
            why = "the number must be plain decimal digits";
            return false;
        }
    }
    if (eq > 3) {
        why = "number out of range";
        return false;
    }
    int n = std::stoi(line.substr(0, eq));
    if (n >= kTextCount) {
        why = "number out of range";
        return false;
    }
    if (eq + 1 >= line.size()) {
        why = "empty text";
        return false;
    }
    if (!seen.insert(n).second) {
        why = "number " + std::to_string(n) + " appears twice";
        return false;
    }
    return true;
}

// Drops a CR and trailing blanks, then removes the quotes of a quoted value.
std::string Clean(std::string line)
{
    if (!line.empty() && line.back() == '\r') line.pop_back();
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.pop_back();
    size_t eq = line.find('=');
    if (eq != std::string::npos && line.size() >= eq + 3 && line[eq + 1] == '"' && line.back() == '"') {
        line = line.substr(0, eq + 1) + line.substr(eq + 2, line.size() - eq - 3);
    }
    return line;
}

// A PO string's contents ("..." with C escapes); false when malformed.
bool PoString(const std::string& field, std::string& out)
{
    size_t a = field.find('"');
    size_t b = field.rfind('"');
    if (a == std::string::npos || b == a) return false;
    for (size_t i = a + 1; i < b; ++i) {
        char c = field[i];
        if (c != '\\') {
            out.push_back(c);
            continue;
        }
        if (++i >= b) return false;
        switch (field[i]) {
        case 'n': out.push_back('\n'); break;
        case 't': out.push_back('\t'); break;
        case '"': out.push_back('"'); break;
        case '\\': out.push_back('\\'); break;
        default: return false;
        }
    }
    return true;
}

struct PoEntry {
    std::string context, id, str;
    int line = 0;
};

// The entries of a PO file, header (no msgctxt) left out.
bool ReadPo(const std::string& source, std::istream& in, std::vector<PoEntry>& entries)
{
    PoEntry e;
    std::string* current = nullptr;
    bool inEntry = false;
    auto finish = [&] {
        if (inEntry && !e.context.empty()) entries.push_back(e);
        e = PoEntry{};
        current = nullptr;
        inEntry = false;
    };
    std::string raw;
    int lineNo = 0;
    while (std::getline(in, raw)) {
        ++lineNo;
        if (lineNo == 1 && raw.rfind("\xEF\xBB\xBF", 0) == 0) raw.erase(0, 3);
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        if (raw.find_first_not_of(" \t") == std::string::npos) {
            finish();
            continue;
        }
        if (raw[0] == '#') continue;
        std::string* field = nullptr;
        if (raw.rfind("msgctxt ", 0) == 0) {
            if (inEntry) finish();  // a new entry without a blank line before it
            field = &e.context;
        } else if (raw.rfind("msgid ", 0) == 0) {
            field = &e.id;
        } else if (raw.rfind("msgstr ", 0) == 0) {
            field = &e.str;
        } else if (raw[0] == '"' && current) {
            field = current;
        } else {
            return Fail(source, lineNo, "not a PO line");
        }
        if (!inEntry) e.line = lineNo;
        inEntry = true;
        const std::string text = raw[0] == '"' ? raw : raw.substr(raw.find(' '));
        if (!PoString(text, *field)) return Fail(source, lineNo, "malformed string");
        current = field;
    }
    finish();
    return true;
}

// The PO file as "[Setting]" and "N=text" lines, by number.
bool PoToLines(const std::string& source, std::istream& in, std::vector<std::pair<int, std::string>>& lines)
{
    std::vector<PoEntry> entries;
    if (!ReadPo(source, in, entries)) return false;
    std::map<int, std::string> byNumber;
    std::set<int> seen;
    for (const PoEntry& e : entries) {
        std::string text = e.str.empty() ? e.id : e.str;
        // Values the language file can only hold between quotes.
        if (!text.empty() && (text.front() == ' ' || text.back() == ' ' || text.front() == '"'))
            text = '"' + text + '"';
        std::string why;
        const std::string line = e.context + "=" + text;
        if (line.find('\n') != std::string::npos) return Fail(source, e.line, "a text may not hold a line break");
        if (!CheckTextLine(Clean(line), seen, why)) return Fail(source, e.line, why);
        byNumber[std::stoi(e.context)] = Clean(line);
    }
    if (byNumber.empty()) return Fail(source, 0, "no texts");
    lines.push_back({0, "[Setting]"});
    for (const auto& [n, line] : byNumber) lines.push_back({n, line});
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    bool texts = !args.empty() && args[0] == "--texts";
    const bool po = !args.empty() && args[0] == "--po";
    if (texts || po) args.erase(args.begin());
    if (args.size() != 2) {
        std::cerr << "usage: make_language_file [--texts|--po] SOURCE OUTPUT\n";
        return 2;
    }
    const std::string& source = args[0];
    std::ifstream in(source, std::ios::binary);
    if (!in) {
        std::cerr << source << ": cannot read\n";
        return 1;
    }

    std::string out = "\xFF\xFE";
    std::set<int> seen;
    std::string raw;
    int lineNo = 0;
    bool first = true;
    if (po) {
        std::vector<std::pair<int, std::string>> lines;
        if (!PoToLines(source, in, lines)) return 1;
        for (const auto& [n, line] : lines)
            if (!AppendUtf16Le(line + "\n", out)) return !Fail(source, n, "not valid UTF-8");
        first = false;
    }
    while (!po && std::getline(in, raw)) {
        ++lineNo;
        if (lineNo == 1 && raw.rfind("\xEF\xBB\xBF", 0) == 0) raw.erase(0, 3);
        if (!raw.empty() && raw[0] == '#') continue;
        std::string line = Clean(raw);
        if (line.find_first_not_of(" \t") == std::string::npos) continue;
        if (line.find('\r') != std::string::npos) return !Fail(source, lineNo, "stray carriage return");
        if (texts) {
            std::string why;
            if (first && line != "[Setting]") return !Fail(source, lineNo, "the first line must be [Setting]");
            if (!first && !CheckTextLine(line, seen, why)) return !Fail(source, lineNo, why);
        }
        first = false;
        if (!AppendUtf16Le(line + "\n", out)) return !Fail(source, lineNo, "not valid UTF-8");
    }
    if (first) return !Fail(source, lineNo, "no lines");

    // Written beside the target and renamed, so an interrupted build never
    // leaves a half file that a later build would take as up to date.
    const std::string tmp = args[1] + ".tmp";
    {
        std::ofstream o(tmp, std::ios::binary | std::ios::trunc);
        o.write(out.data(), static_cast<std::streamsize>(out.size()));
        if (!o) {
            std::cerr << tmp << ": cannot write\n";
            return 1;
        }
    }
    if (std::rename(tmp.c_str(), args[1].c_str()) != 0) {
        std::cerr << args[1] << ": cannot replace\n";
        return 1;
    }
    return 0;
}
