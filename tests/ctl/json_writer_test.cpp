#include "ctl/json_writer.h"

#include <gtest/gtest.h>

TEST(JsonWriter, EscapesWhatJsonForbidsAndWritesUtf16AsUtf8)
{
    JsonWriter j;
    j.BeginObject();
    j.Member("q", u"say \"hi\" \\ now");
    j.Member("ctl", u"a\nb\tc\x01\x1F\x7F\x80\x9B\x9F\xA0");
    j.Member("cjk", u"中文");
    j.Member("pair", u"\U0001F600");
    j.Member("lone", std::u16string(1, char16_t(0xD800)) + u"x");
    j.EndObject();
    EXPECT_EQ(j.Text(), "{\"q\":\"say \\\"hi\\\" \\\\ now\",\"ctl\":\"a\\nb\\tc\\u0001\\u001f\\u007f\\u0080\\u009b\\u009f\xC2\xA0\","
                        "\"cjk\":\"\xE4\xB8\xAD\xE6\x96\x87\",\"pair\":\"\xF0\x9F\x98\x80\","
                        "\"lone\":\"\xEF\xBF\xBDx\"}");
}

TEST(JsonWriter, PutsCommasBetweenMembersAndElementsOfNestedContainers)
{
    JsonWriter j;
    j.BeginObject();
    j.Key("a");
    j.BeginArray();
    j.BeginArray();
    j.EndArray();
    j.Int(-1);
    j.BeginObject();
    j.EndObject();
    j.Null();
    j.Bool(true);
    j.EndArray();
    j.MemberInt("b", 2);
    j.Key("c");
    j.BeginArray();
    j.EndArray();
    j.EndObject();
    EXPECT_EQ(j.Text(), "{\"a\":[[],-1,{},null,true],\"b\":2,\"c\":[]}");
}

TEST(JsonWriter, KeepsTheDocumentValidUtf8WhateverBytesAPathHolds)
{
    // A stray continuation byte, a truncated sequence, an encoded surrogate and
    // an overlong slash each become U+FFFD; a good sequence passes unchanged.
    EXPECT_EQ(JsonQuote("a\x80" "b"), "\"a\xEF\xBF\xBD" "b\"");
    EXPECT_EQ(JsonQuote("\xE4\xB8"), "\"\xEF\xBF\xBD\xEF\xBF\xBD\"");
    EXPECT_EQ(JsonQuote("\xED\xA0\x80"), "\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\"");
    EXPECT_EQ(JsonQuote("\xC0\xAF"), "\"\xEF\xBF\xBD\xEF\xBF\xBD\"");
    EXPECT_EQ(JsonQuote("/home/j\xC3\xB6rg"), "\"/home/j\xC3\xB6rg\"");
}
