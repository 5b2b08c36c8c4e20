#include "buttons/key_capture.h"

#include "buttons/key_names.h"
#include "macros/macro_upload.h"

namespace {

bool IsModifierKey(int vk) { return vk == 0x5B || vk == 0x5C || (vk >= 0xA0 && vk <= 0xA5); }

}  // namespace

std::optional<CapturedKey> CaptureKeyEvent(int virtualKey)
{
    if (virtualKey < 0 || virtualKey > 255 || IsModifierKey(virtualKey)) return std::nullopt;
    const uint8_t usage = TranslateMacroCode(uint8_t(virtualKey));
    // 0 is no key; 0xE0 and up are modifiers and the mouse's own actions.
    if (usage == 0 || usage >= 0xE0) return std::nullopt;
    return CapturedKey{virtualKey, GetKeyName(virtualKey), usage};
}

std::optional<KeyCombination> ConfirmKeyCombination(uint8_t modifiers, const std::optional<CapturedKey>& key)
{
    return key ? BuildKeyCombination(modifiers, key->name, key->usage) : BuildKeyCombination(modifiers, u"", 0);
}
