#include "command/command_outcome.h"

#include <cstdlib>

#include "base/text_codec.h"
#include "base/ui_text.h"
#include "profile/profile_record.h"

CommandOutcome UsageOutcome(const std::string& text)
{
    CommandOutcome o;
    o.kind = CommandOutcome::Usage;
    o.message = Utf8ToU16(text);
    return o;
}

CommandOutcome RefusedOutcome(int text, const std::string& path)
{
    CommandOutcome o;
    o.kind = CommandOutcome::Refused;
    o.message = UiText(text);
    if (!path.empty()) {
        const size_t at = o.message.find(u"%1");
        if (at != std::u16string::npos)
            o.message.replace(at, 2, Utf8ToU16(path));
        else
            o.message += u" " + Utf8ToU16(path);
    }
    if (o.message.empty()) o.message = u"refused (language text " + Ascii(std::to_string(text)) + u")";
    return o;
}

bool ParseWholeNumber(const std::string& text, long& value)
{
    if (text.empty() || text.size() > 9) return false;
    size_t i = text[0] == '-' ? 1 : 0;
    if (i == text.size()) return false;
    for (size_t k = i; k < text.size(); ++k)
        if (text[k] < '0' || text[k] > '9') return false;
    value = std::strtol(text.c_str(), nullptr, 10);
    return true;
}

bool ParseSwitchWord(const std::string& text, bool& on)
{
    if (text == "on" || text == "1" || text == "yes" || text == "true") return on = true, true;
    if (text == "off" || text == "0" || text == "no" || text == "false") return on = false, true;
    return false;
}

bool ParseColourWord(std::string text, uint32_t& colour)
{
    if (!text.empty() && text[0] == '#') text.erase(0, 1);
    if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) return false;
    const unsigned long v = std::strtoul(text.c_str(), nullptr, 16);
    colour = Rgb(uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v));
    return true;
}
