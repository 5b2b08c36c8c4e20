#include "base/text_codec.h"

size_t DecodeUtf8At(std::string_view s, size_t i, char32_t* cp)
{
    const unsigned char c = static_cast<unsigned char>(s[i]);
    size_t n = 0;
    unsigned char lo = 0x80, hi = 0xBF;  // the range of the second byte
    if (c < 0x80) {
        *cp = c;
        return 1;
    } else if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
        *cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        *cp = c & 0x0F;
        if (c == 0xE0) lo = 0xA0;
        if (c == 0xED) hi = 0x9F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        *cp = c & 0x07;
        if (c == 0xF0) lo = 0x90;
        if (c == 0xF4) hi = 0x8F;
    } else {
        return 0;
    }
    if (n > s.size() - i) return 0;
    for (size_t k = 1; k < n; ++k) {
        const unsigned char b = static_cast<unsigned char>(s[i + k]);
        if (k == 1 ? (b < lo || b > hi) : (b < 0x80 || b > 0xBF)) return 0;
        *cp = (*cp << 6) | (b & 0x3F);
    }
    return n;
}


std::u16string Utf8ToU16(std::string_view s)
{
    std::u16string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        char32_t cp = 0;
        const size_t len = DecodeUtf8At(s, i, &cp);
        if (len == 0) {
            // Each byte that is no part of a character keeps its value as a
            // lone low surrogate, so that it can still be shown as that byte.
            out.push_back(static_cast<char16_t>(kUndecodableByteBase + static_cast<unsigned char>(s[i])));
            ++i;
            continue;
        }
        i += len;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

std::string U16ToUtf8(std::u16string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        char32_t cp = s[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;  // a lone surrogate cannot be written as UTF-8
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

std::u16string PathToText(std::string_view path)
{
    std::u16string text = Utf8ToU16(path);
    for (char16_t& c : text)
        if (c == u'\n') c = char16_t(kUndecodableByteBase + '\n');
    return text;
}

std::string TextToPath(std::u16string_view text)
{
    std::string path;
    size_t from = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const bool lowSurrogate = c >= 0xDC00 && c <= 0xDFFF;
        const bool paired = lowSurrogate && i > 0 && text[i - 1] >= 0xD800 && text[i - 1] <= 0xDBFF;
        if (!lowSurrogate || paired || c > kUndecodableByteBase + 0xFF) continue;
        path += U16ToUtf8(text.substr(from, i - from));
        path.push_back(static_cast<char>(c - kUndecodableByteBase));
        from = i + 1;
    }
    return path + U16ToUtf8(text.substr(from));
}

std::u16string Ascii(std::string_view s)
{
    return std::u16string(s.begin(), s.end());
}
