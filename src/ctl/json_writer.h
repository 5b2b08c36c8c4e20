#pragma once
// A small JSON writer for tevlanctl's --json output: one document, built
// front to back, commas and escaping handled here. Text of the program is
// UTF-16; it leaves as UTF-8 (a lone surrogate becomes U+FFFD).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class JsonWriter {
public:
    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // The name of the next member of the current object.
    void Key(std::string_view name);

    void String(std::u16string_view text);
    void Utf8String(std::string_view text);
    void Int(long long value);
    void Bool(bool value);
    void Null();

    // Shorthands for a member.
    void Member(std::string_view name, std::u16string_view text) { Key(name), String(text); }
    void MemberUtf8(std::string_view name, std::string_view text) { Key(name), Utf8String(text); }
    void MemberInt(std::string_view name, long long value) { Key(name), Int(value); }

    const std::string& Text() const { return out_; }

private:
    void BeforeValue();

    std::string out_;
    std::vector<bool> empty_;  // per open container: nothing written in it yet
    bool afterKey_ = false;
};

// What a script reading standard output gets when a command fails:
// {"error":"...","exitCode":N}.
std::string JsonErrorText(const std::string& message, int exitCode);

// The quoted, escaped JSON string of UTF-8 text.
std::string JsonQuote(std::string_view utf8);
