#pragma once
// The bytes of a UTF-16LE text file with its byte-order mark, as the
// program's settings and profile files are written.
#include <string>

inline std::string Le(const std::u16string& s)
{
    std::string out = "\xFF\xFE";
    for (char16_t c : s) {
        out.push_back(char(c & 0xFF));
        out.push_back(char(c >> 8));
    }
    return out;
}
