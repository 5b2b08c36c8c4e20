#include "ctl/json_writer.h"

#include "base/text_codec.h"

std::string JsonQuote(std::string_view utf8)
{
    static const char hex[] = "0123456789abcdef";
    std::string out;
    out.reserve(utf8.size() + 2);
    out.push_back('"');
    for (size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c >= 0x80) {
            // Paths come from the command line and the file system as bytes;
            // the document stays valid UTF-8 whatever they hold.
            if (char32_t cp = 0; size_t n = DecodeUtf8At(utf8, i, &cp)) {
                const unsigned char next = static_cast<unsigned char>(utf8[i + 1]);
                if (c == 0xC2 && next <= 0x9F) {
                    // A C1 control (U+0080..U+009F, such as CSI) is escaped
                    // like DEL: a crafted name printed raw to a terminal
                    // could drive it.
                    out += "\\u00";
                    out.push_back(hex[next >> 4]);
                    out.push_back(hex[next & 0x0F]);
                    ++i;
                    continue;
                }
                out.append(utf8.substr(i, n));
                i += n - 1;
            } else {
                out += "\xEF\xBF\xBD";
            }
            continue;
        }
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
                out.push_back(char(c));
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

std::string JsonErrorText(const std::string& message, int exitCode)
{
    JsonWriter j;
    j.BeginObject();
    j.MemberUtf8("error", message);
    j.MemberInt("exitCode", exitCode);
    j.EndObject();
    return j.Text();
}
