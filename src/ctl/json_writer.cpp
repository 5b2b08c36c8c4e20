#include "ctl/json_writer.h"

#include "persist/text_codec.h"

std::string JsonQuote(std::string_view utf8)
{
    static const char hex[] = "0123456789abcdef";
    std::string out;
    out.reserve(utf8.size() + 2);
    out.push_back('"');
    for (char ch : utf8) {
        const unsigned char c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20 || c == 0x7F) {
                out += "\\u00";
                out.push_back(hex[c >> 4]);
                out.push_back(hex[c & 0x0F]);
            } else {
                out.push_back(ch);
            }
        }
    }
    out.push_back('"');
    return out;
}

void JsonWriter::BeforeValue()
{
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!empty_.empty()) {
        if (!empty_.back())
            out_.push_back(',');
        empty_.back() = false;
    }
}

void JsonWriter::BeginObject()
{
    BeforeValue();
    out_.push_back('{');
    empty_.push_back(true);
}

void JsonWriter::EndObject()
{
    out_.push_back('}');
    empty_.pop_back();
}

void JsonWriter::BeginArray()
{
    BeforeValue();
    out_.push_back('[');
    empty_.push_back(true);
}

void JsonWriter::EndArray()
{
    out_.push_back(']');
    empty_.pop_back();
}

void JsonWriter::Key(std::string_view name)
{
    BeforeValue();
    out_ += JsonQuote(name);
    out_.push_back(':');
    afterKey_ = true;
}

void JsonWriter::String(std::u16string_view text) { Utf8String(U16ToUtf8(text)); }

void JsonWriter::Utf8String(std::string_view text)
{
    BeforeValue();
    out_ += JsonQuote(text);
}

void JsonWriter::Int(long long value)
{
    BeforeValue();
    out_ += std::to_string(value);
}

void JsonWriter::Bool(bool value)
{
    BeforeValue();
    out_ += value ? "true" : "false";
}

void JsonWriter::Null()
{
    BeforeValue();
    out_ += "null";
}
