// Turns a readable UTF-8 source of a language file (data/lang/*.txt) into the
// file the program installs: UTF-16LE with a byte-order mark and LF line ends.
//
//   make_language_file [--texts] SOURCE OUTPUT
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
// "N=text" with N a decimal number 0..499 used once and a non-empty text, so
// that a slip in a source fails the build instead of cutting the language off
// at that line when the program reads it.
#include <cstdio>
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

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    bool texts = !args.empty() && args[0] == "--texts";
    if (texts) args.erase(args.begin());
    if (args.size() != 2) {
        std::cerr << "usage: make_language_file [--texts] SOURCE OUTPUT\n";
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
    while (std::getline(in, raw)) {
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
