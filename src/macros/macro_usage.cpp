#include "macros/macro_usage.h"

#include "profile/function_types.h"
#include "base/text_codec.h"
#include "base/ui_text.h"

namespace {

constexpr int kTextMacroUse = 485;

std::u16string Fill(std::u16string s, const std::u16string& first, const std::u16string& second)
{
    if (auto at = s.find(u"%1"); at != std::u16string::npos) s.replace(at, 2, first);
    if (auto at = s.find(u"%2"); at != std::u16string::npos) s.replace(at, 2, second);
    return s;
}

}  // namespace

std::vector<MacroUse> ButtonsUsingMacro(const ProfileTable& profiles, const std::u16string& name)
{
    std::vector<MacroUse> uses;
    for (int p = 0; p < kProfileCount; ++p) {
        const ProfileRecord& record = profiles[size_t(p)];
        for (int b = 0; b < kButtonCount; ++b) {
            const ButtonSlot& button = record.buttons[size_t(b)];
            if (button.code.type != kFunctionMacro) continue;
            if (button.macro.name == name) uses.push_back({p, b});
        }
    }
    return uses;
}

std::vector<MacroUse> ButtonsUsingMacro(const std::u16string& name)
{
    return ButtonsUsingMacro(g_profiles, name);
}

std::u16string DescribeMacroUses(const ProfileTable& profiles, const std::vector<MacroUse>& uses)
{
    std::u16string lines;
    for (const MacroUse& u : uses) {
        if (!lines.empty()) lines += u'\n';
        lines += Fill(UiText(kTextMacroUse), GetProfileName(profiles[size_t(u.profile)]),
                      Ascii(std::to_string(u.button + 1)));
    }
    return lines;
}
