#include "buttons/fire_input.h"

#include <algorithm>

namespace {

constexpr long long kSaturated = 1'000'000'000;

std::optional<FireBoxFix> Cap(const std::u16string& text, int warning)
{
    if (ReadLeadingNumber(text) <= 255) return std::nullopt;
    return FireBoxFix{u"255", warning};
}

}  // namespace

long long ReadLeadingNumber(const std::u16string& text)
{
    long long v = 0;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') break;
        v = std::min(kSaturated, v * 10 + (c - u'0'));
    }
    return v;
}

std::optional<FireBoxFix> CheckIntervalBox(const std::u16string& text) { return Cap(text, kTextFireIntervalRange); }

std::optional<FireBoxFix> CheckRepeatCountBox(const std::u16string& text) { return Cap(text, kTextRepeatCountMax); }

int TypedCharacterWarning(char16_t ch)
{
    if ((ch >= u'0' && ch <= u'9') || ch == u'\b') return 0;
    return kTextDigitsOnly;
}

FireConfirmation ConfirmFire(const std::u16string& intervalText, const std::u16string& countText)
{
    FireConfirmation out;
    const std::optional<ButtonFunctionCode> code =
        MakeFireCode(ReadLeadingNumber(intervalText), ReadLeadingNumber(countText));
    if (!code) {
        out.refusalText = kTextFireIntervalRange;
        return out;
    }
    out.result = {FireFunctionLabel(), *code};
    return out;
}
