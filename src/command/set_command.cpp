#include "command/set_command.h"

#include <cstdlib>

#include "base/text_codec.h"
#include "base/ui_text.h"
#include "command/setting_table.h"

namespace {

// What a refused value is followed by: the values the setting takes, as a
// list (%2 "125, 250, 500, 1000") or as a range (%2 "0-30 (ms, even)").
constexpr int kTextAllowedList = 487;
constexpr int kTextAllowedRange = 488;

// "polling is one of 125, 250, 500, 1000.": what a setting takes, in the
// language's words, for a refusal to end with.
std::u16string AllowedValues(const SettingDescriptor& d)
{
    const std::string values = d.currentValues ? d.currentValues() : d.values;
    const bool list = values.find('|') != std::string::npos;
    std::u16string shown;
    for (char ch : values) shown += ch == '|' ? std::u16string(u", ") : std::u16string(1, char16_t(ch));
    std::u16string s = UiText(list ? kTextAllowedList : kTextAllowedRange);
    if (s.empty()) return {};
    if (auto at = s.find(u"%1"); at != std::u16string::npos) s.replace(at, 2, Utf8ToU16(d.name));
    if (auto at = s.find(u"%2"); at != std::u16string::npos) s.replace(at, 2, shown);
    return s;
}

// The window's refusal for a value the setting does not take, followed by what it does take.
CommandOutcome OutOfRange(const SettingDescriptor& d)
{
    CommandOutcome o = RefusedOutcome(kTextValueOutOfRange);
    if (const std::u16string allowed = AllowedValues(d); !allowed.empty()) o.message += u" " + allowed;
    return o;
}

// The position of `text` among the '|'-separated words of `values`, or -1.
long WordPosition(const std::string& values, const std::string& text)
{
    long position = 0;
    for (size_t from = 0;; ++position) {
        const size_t bar = values.find('|', from);
        if (values.compare(from, bar == std::string::npos ? std::string::npos : bar - from, text) == 0) return position;
        if (bar == std::string::npos) return -1;
        from = bar + 1;
    }
}

// The value as the setting is typed, or the usage error / refusal that says what it takes.
bool ParseValue(const SettingDescriptor& d, const std::string& v, long& value, CommandOutcome& fail)
{
    const std::string name = d.name;
    if (d.parse) {
        if (d.parse(v, value)) return true;
    } else {
        switch (d.kind) {
        case SettingKind::Number:
            if (!ParseWholeNumber(v, value)) break;
            if (value >= d.min && value <= d.max) return true;
            fail = OutOfRange(d);
            return false;
        case SettingKind::Switch: {
            bool on = false;
            if (ParseSwitchWord(v, on)) return value = on, true;
            fail = UsageOutcome(name + " is on or off, not \"" + v + "\"");
            return false;
        }
        case SettingKind::Colour: {
            uint32_t colour = 0;
            if (ParseColourWord(v, colour)) return value = long(colour), true;
            fail = UsageOutcome(name + " is a colour like #FF8000, not \"" + v + "\"");
            return false;
        }
        case SettingKind::Word:
            if ((value = WordPosition(d.values, v)) >= 0) return true;
            break;
        }
    }
    if (d.kind == SettingKind::Number) {
        fail = UsageOutcome("the value of " + name + " is a number, not \"" + v + "\"");
    } else {
        const std::string values = d.values;
        const size_t bar = values.find('|');
        const bool two = bar != std::string::npos && values.find('|', bar + 1) == std::string::npos;
        fail = UsageOutcome(two ? name + " is " + values.substr(0, bar) + " or " + values.substr(bar + 1) + ", not \"" +
                                      v + "\""
                                : name + " is one of " + values + ", not \"" + v + "\"");
    }
    return false;
}

}  // namespace

CommandOutcome RunSetCommand(const std::vector<std::string>& w, ProfileRecord& p)
{
    if (w.size() < 3) return UsageOutcome("set needs a setting and a value: tevlanctl set NAME [N] VALUE");
    const std::string& name = w[1];
    const SettingDescriptor* d = FindSetting(name);
    if (!d) return UsageOutcome("there is no setting named \"" + name + "\" (tevlanctl get lists them)");
    long index = 0;
    size_t at = 2;
    if (d->indexCount) {
        if (w.size() < 4 || !ParseWholeNumber(w[2], index) || index < 1 || index > d->indexCount)
            return UsageOutcome(name + " needs a number from 1 to " + std::to_string(d->indexCount) + " and a value");
        --index;
        at = 3;
    }
    if (w.size() != at + 1) return UsageOutcome("set " + name + " takes one value: " + d->values);
    long value = 0;
    CommandOutcome fail;
    if (!ParseValue(*d, w[at], value, fail)) return fail;

    const SettingChange c = d->edit(p, int(index), value);
    if (c.refused && (!c.refusalText || c.refusalText == kTextValueOutOfRange)) return OutOfRange(*d);
    if (c.refused) return RefusedOutcome(c.refusalText);
    CommandOutcome o;
    o.changed = c.Changed();
    if (o.changed) o.Send(d->group);
    return o;
}

std::string SetResultText(const std::vector<std::string>& w, const ProfileRecord& profile)
{
    const SettingDescriptor* d = w.size() > 2 ? FindSetting(w[1]) : nullptr;
    if (!d) return {};
    const int at = d->indexCount ? int(std::strtol(w[2].c_str(), nullptr, 10)) - 1 : 0;
    return w[1] + (d->indexCount ? " " + w[2] : "") + " " + d->text(profile, at);
}
