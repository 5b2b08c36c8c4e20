#include "buttons/function_catalogue.h"

#include <algorithm>

#include "base/text_codec.h"
#include "base/ui_text.h"

namespace {

constexpr CatalogueItem Assign(int number, int text, ButtonFunctionCode code, const char* name)
{
    return {number, text, nullptr, true, code, LabelRule::Caption, CatalogueOpens::Nothing, name};
}

constexpr CatalogueItem Leads(int number, int text, CatalogueOpens opens, const char* name,
                              LabelRule label = LabelRule::Caption)
{
    return {number, text, nullptr, false, {}, label, opens, name};
}

constexpr ButtonFunctionCode Key(uint8_t modifiers, uint8_t usage) { return {kFunctionKey, modifiers, usage}; }

constexpr CatalogueItem kMainMenu[] = {
    Assign(1, 20, {kFunctionMouseButton, kMouseLeft, 0}, "left"),
    Assign(2, 21, {kFunctionMouseButton, kMouseRight, 0}, "right"),
    Assign(3, 22, {kFunctionMouseButton, kMouseMiddle, 0}, "middle"),
    // Item 4 is the fifth (forward) button, item 5 the fourth (back).
    Assign(4, 23, {kFunctionMouseButton, kMouseForward, 0}, "forward"),
    Assign(5, 24, {kFunctionMouseButton, kMouseBack, 0}, "back"),
    Leads(6, 25, CatalogueOpens::DpiMenu, "dpi-menu"),
    Leads(7, 26, CatalogueOpens::FireDialog, "fire", LabelRule::FireCaption),
    Assign(8, kTextTripleClick, {kFunctionFire, 50, 3}, "triple-click"),
    Leads(9, 28, CatalogueOpens::MacroMenu, "macro", LabelRule::MacroName),
    Leads(10, 29, CatalogueOpens::KeyCombinationDialog, "keys", LabelRule::KeyCombination),
    Leads(11, 30, CatalogueOpens::MultimediaMenu, "multimedia-menu"),
    Leads(12, 31, CatalogueOpens::OfficeMenu, "office-menu"),
    Leads(13, 32, CatalogueOpens::WindowsMenu, "windows-menu"),
    Assign(14, 33, {kFunctionMenuItem14, 0x04, 0}, "profile-switch"),
    Leads(15, 36, CatalogueOpens::DpiLockMenu, "dpi-lock-menu"),
    Assign(16, 34, {kFunctionDisabled, 0, 0}, "disabled"),
};

constexpr CatalogueItem kDpiMenu[] = {
    Assign(1, 40, {kFunctionDpiStep, 2, 0}, "dpi-up"),
    Assign(2, 41, {kFunctionDpiStep, 3, 0}, "dpi-down"),
    Assign(3, 42, {kFunctionDpiStep, 1, 0}, "dpi-cycle"),
};

constexpr CatalogueItem kMultimediaMenu[] = {
    Assign(1, 45, ConsumerCode(0x0183), "media-player"), Assign(2, 46, ConsumerCode(0x00B6), "previous-track"),
    Assign(3, 47, ConsumerCode(0x00B5), "next-track"), Assign(4, 48, ConsumerCode(0x00B7), "stop"),
    Assign(5, 49, ConsumerCode(0x00CD), "play-pause"), Assign(6, 50, ConsumerCode(0x00E2), "mute"),
    Assign(7, 51, ConsumerCode(0x00E9), "volume-up"), Assign(8, 52, ConsumerCode(0x00EA), "volume-down"),
    Assign(9, 53, ConsumerCode(0x018A), "email"), Assign(10, 54, ConsumerCode(0x0192), "calculator"),
};

// Key bytes are keyboard usage IDs: 0x04 A ... 0x1D Z, 0x3D F4, 0x51/0x52 down/up.
constexpr CatalogueItem kOfficeMenu[] = {
    Assign(1, 60, Key(kModCtrl, 0x06), "copy"),  // C
    Assign(2, 61, Key(kModCtrl, 0x19), "paste"),  // V
    Assign(3, 62, Key(kModCtrl, 0x1B), "cut"),  // X
    Assign(4, 63, Key(kModCtrl, 0x04), "select-all"),  // A
    Assign(5, 64, Key(kModCtrl, 0x11), "new"),  // N
    Assign(6, 65, Key(kModCtrl, 0x16), "save"),  // S
    Assign(7, 66, Key(kModCtrl, 0x13), "print"),  // P
    Assign(8, 67, Key(kModWin, 0x08), "file-manager"),   // E
    Assign(9, 68, Key(kModCtrl, 0x1D), "undo"),  // Z
};

constexpr CatalogueItem kWindowsMenu[] = {
    Assign(1, 75, ConsumerCode(0x0194), "computer"),
    Assign(2, 76, Key(kModAlt, 0x3D), "close-window"),  // F4
    Assign(3, 77, Key(kModWin, 0x07), "show-desktop"),  // D
    Assign(4, 78, Key(kModWin, 0x15), "run"),  // R
    Assign(5, 79, Key(kModWin, 0x51), "minimize-window"),  // Down Arrow
    Assign(6, 80, Key(kModWin, 0x52), "maximize-window"),  // Up Arrow
};

constexpr const char* kDpiLockNames[] = {"dpi-lock-200", "dpi-lock-300", "dpi-lock-400",  "dpi-lock-500",
                                          "dpi-lock-600", "dpi-lock-700", "dpi-lock-800",  "dpi-lock-900",
                                          "dpi-lock-1000", "dpi-lock-1100", "dpi-lock-1200"};

constexpr CatalogueItem DpiLock(int n, const char16_t* caption)
{
    return {n, 0, caption, true, {kFunctionDpiLock, static_cast<uint8_t>(n), 0}, LabelRule::DpiLockCaption,
            CatalogueOpens::Nothing, kDpiLockNames[n - 1]};
}

constexpr CatalogueItem kDpiLockMenu[] = {
    DpiLock(1, u"200"), DpiLock(2, u"300"),  DpiLock(3, u"400"),   DpiLock(4, u"500"),
    DpiLock(5, u"600"), DpiLock(6, u"700"),  DpiLock(7, u"800"),   DpiLock(8, u"900"),
    DpiLock(9, u"1000"), DpiLock(10, u"1100"), DpiLock(11, u"1200"),
};

std::u16string WithoutOneTrailingPlus(std::u16string s)
{
    if (!s.empty() && s.back() == u'+') s.pop_back();
    return s;
}

uint8_t ClampToByte(long long v) { return static_cast<uint8_t>(std::clamp<long long>(v, 0, 255)); }

}  // namespace

const std::array<FactoryButton, kProgrammableButtons> kFactoryButtons = {{
    {20, {kFunctionMouseButton, kMouseLeft, 0}},
    {21, {kFunctionMouseButton, kMouseRight, 0}},
    {22, {kFunctionMouseButton, kMouseMiddle, 0}},
    {23, {kFunctionMouseButton, kMouseForward, 0}},
    {24, {kFunctionMouseButton, kMouseBack, 0}},
    {40, {kFunctionDpiStep, 2, 0}},
    {41, {kFunctionDpiStep, 3, 0}},
    {kTextFire, {kFunctionFire, 50, 3}},
}};

std::span<const CatalogueItem> GetMenuItems(ButtonMenu menu)
{
    switch (menu) {
    case ButtonMenu::Main: return kMainMenu;
    case ButtonMenu::Dpi: return kDpiMenu;
    case ButtonMenu::Multimedia: return kMultimediaMenu;
    case ButtonMenu::Office: return kOfficeMenu;
    case ButtonMenu::Windows: return kWindowsMenu;
    case ButtonMenu::DpiLock: return kDpiLockMenu;
    }
    return {};
}

bool OpensSubMenu(const CatalogueItem& item)
{
    switch (item.opens) {
    case CatalogueOpens::DpiMenu:
    case CatalogueOpens::MacroMenu:
    case CatalogueOpens::MultimediaMenu:
    case CatalogueOpens::OfficeMenu:
    case CatalogueOpens::WindowsMenu:
    case CatalogueOpens::DpiLockMenu: return true;
    default: return false;
    }
}

std::u16string ItemCaption(const CatalogueItem& item)
{
    if (item.caption) return item.caption;
    return UiText(item.textNumber);
}

std::u16string ItemLabel(const CatalogueItem& item)
{
    switch (item.label) {
    case LabelRule::FireCaption: return FireFunctionLabel();
    case LabelRule::DpiLockCaption: return UiText(kTextDpiLock) + u"-" + ItemCaption(item);
    default: return ItemCaption(item);
    }
}

std::u16string FireFunctionLabel() { return WithoutOneTrailingPlus(UiText(kTextFire)); }

std::u16string ButtonCaption(const std::u16string& label, ButtonFunctionCode code)
{
    if (code.type != kFunctionFire || label == UiText(kTextTripleClick)) return label;
    std::u16string caption = UiText(kTextFireCaption);
    if (caption.empty()) return label;
    auto fill = [&caption](std::u16string_view mark, int value) {
        if (const size_t at = caption.find(mark); at != std::u16string::npos)
            caption.replace(at, mark.size(), Utf8ToU16(std::to_string(value)));
    };
    fill(u"%1", code.param);
    fill(u"%2", code.extra);
    return caption;
}

std::optional<ButtonFunctionCode> MakeFireCode(long long interval, long long count)
{
    if (interval <= 4) return std::nullopt;
    return ButtonFunctionCode{kFunctionFire, ClampToByte(interval), ClampToByte(count)};
}

std::u16string MacroFunctionLabel(const std::u16string& macroName)
{
    return UiText(kTextMacroLabelPrefix) + macroName;
}

std::u16string MacroNameFromLabel(const std::u16string& label)
{
    const size_t prefix = UiText(kTextMacroLabelPrefix).size();
    if (label.size() <= prefix) return {};
    return label.substr(prefix);
}

std::optional<KeyCombination> BuildKeyCombination(uint8_t modifiers, const std::u16string& keyName,
                                                  uint8_t keyUsage)
{
    KeyCombination result;
    result.code = {kFunctionKey, 0, keyUsage};
    const struct {
        uint8_t bit;
        const char16_t* text;
    } order[] = {{kModCtrl, u"Ctrl+"}, {kModShift, u"Shift+"}, {kModAlt, u"Alt+"}, {kModWin, u"Win+"}};
    for (const auto& m : order) {
        if (modifiers & m.bit) {
            result.caption += m.text;
            result.code.param |= m.bit;
        }
    }
    result.caption += keyName;
    result.caption = WithoutOneTrailingPlus(std::move(result.caption));
    if (result.caption.empty()) return std::nullopt;
    return result;
}
