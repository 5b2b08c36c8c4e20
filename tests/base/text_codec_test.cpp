#include "base/text_codec.h"

#include <gtest/gtest.h>

namespace {

// A byte that is no part of a well-formed sequence keeps its value (as
// U+DC00 + byte), so a name that is not UTF-8 can be shown byte for byte.
TEST(Utf8Decoding, ChecksEverySequenceAndKeepsTheBytesOfBrokenOnes)
{
    auto esc = [](unsigned b) { return std::u16string(1, char16_t(kUndecodableByteBase + b)); };
    struct Case {
        std::string bytes;
        std::u16string text;
    };
    const Case cases[] = {
        {"caf\xE9.psf", u"caf" + esc(0xE9) + u".psf"},                 // Latin-1
        {"j\xC3\xB6rg", u"jörg"},                                     // good two-byte
        {"\xC3(", esc(0xC3) + u"("},                                  // lead byte without continuation
        {"\xE4\xB8", esc(0xE4) + esc(0xB8)},                          // cut short at the end
        {"\xE4\x28\xAD", esc(0xE4) + u"(" + esc(0xAD)},               // bad second byte
        {"\xC0\xAF", esc(0xC0) + esc(0xAF)},                          // overlong '/'
        {"\xED\xA0\x80", esc(0xED) + esc(0xA0) + esc(0x80)},          // an encoded surrogate
        {"\xF4\x90\x80\x80", esc(0xF4) + esc(0x90) + esc(0x80) + esc(0x80)},  // past U+10FFFF
        {"\xF0\x9F\x96\xB1", u"\U0001F5B1"},                          // good four-byte
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8ToU16(c.bytes), c.text) << c.bytes;
        // Going back out, what was broken is U+FFFD: the result is always UTF-8.
        for (char16_t u : Utf8ToU16(U16ToUtf8(Utf8ToU16(c.bytes))))
            EXPECT_FALSE(u >= kUndecodableByteBase + 0x80 && u <= kUndecodableByteBase + 0xFF) << c.bytes;
    }
}

}  // namespace
