#pragma once
// Text is UTF-16 inside the program (every file it writes is UTF-16LE); UTF-8
// appears only at the edges: paths, the terminal and the window toolkit.
#include <string>
#include <string_view>

// A byte that is not part of a well-formed sequence becomes the lone
// surrogate kUndecodableByteBase + byte (U+DC80..U+DCFF), so that it can be
// shown as "\xNN" (PrintableText); written back as UTF-8 it is U+FFFD.
inline constexpr char16_t kUndecodableByteBase = 0xDC00;
// The code point of the well-formed UTF-8 sequence at s[i] and its length, or
// length 0 when there is none there: a stray or missing continuation byte, an
// overlong form, an encoded surrogate or a value past U+10FFFF.
size_t DecodeUtf8At(std::string_view s, size_t i, char32_t* cp);

std::u16string Utf8ToU16(std::string_view s);
std::string U16ToUtf8(std::u16string_view s);
// A path (any bytes but NUL) as text for the program's files, and back,
// byte for byte: undecodable bytes become U+DC80..U+DCFF as in Utf8ToU16,
// and a line feed, which would end the line the path is stored on, becomes
// the lone surrogate U+DC0A. TextToPath turns every lone U+DC00..U+DCFF back
// into its byte; the rest is UTF-8.
std::u16string PathToText(std::string_view path);
std::string TextToPath(std::u16string_view text);
// ASCII-only helpers for the many literal keys and numbers of the files.
std::u16string Ascii(std::string_view s);
