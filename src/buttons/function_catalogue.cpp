#include "buttons/function_catalogue.h"

#include <algorithm>

#include "persist/ui_text.h"

namespace {

constexpr CatalogueItem Assign(int number, int text, ButtonFunctionCode code)
{
    return {number, text, nullptr, true, code, LabelRule::Caption, CatalogueOpens::Nothing};
}

constexpr CatalogueItem Leads(int number, int text, CatalogueOpens opens, LabelRule label = LabelRule::Caption)
{
    return {number, text, nullptr, false, {}, label, opens};
}

constexpr ButtonFunctionCode Key(uint8_t modifiers, uint8_t usage) { return {kFunctionKey, modifiers, usage}; }

constexpr CatalogueItem kMainMenu[] = {
    Assign(1, 20, {kFunctionMouseButton, kMouseLeft, 0}),
    Assign(2, 21, {kFunctionMouseButton, kMouseRight, 0}),
    Assign(3, 22, {kFunctionMouseButton, kMouseMiddle, 0}),
    // Item 4 is the fifth (forward) button, item 5 the fourth (back).
    Assign(4, 23, {kFunctionMouseButton, kMouseForward, 0}),
    Assign(5, 24, {kFunctionMouseButton, kMouseBack, 0}),
    Leads(6, 25, CatalogueOpens::DpiMenu),
    Leads(7, 26, CatalogueOpens::FireDialog, LabelRule::FireCaption),
    Assign(8, 27, {kFunctionFire, 50, 3}),
    Leads(9, 28, CatalogueOpens::MacroMenu, LabelRule::MacroName),
    Leads(10, 29, CatalogueOpens::KeyCombinationDialog, LabelRule::KeyCombination),
    Leads(11, 30, CatalogueOpens::MultimediaMenu),
    Leads(12, 31, CatalogueOpens::OfficeMenu),
    Leads(13, 32, CatalogueOpens::WindowsMenu),
    Assign(14, 33, {kFunctionMenuItem14, 0x04, 0}),
    Leads(15, 36, CatalogueOpens::DpiLockMenu),
    Assign(16, 34, {kFunctionDisabled, 0, 0}),
};

constexpr CatalogueItem kDpiMenu[] = {
    Assign(1, 40, {kFunctionDpiStep, 2, 0}),
    Assign(2, 41, {kFunctionDpiStep, 3, 0}),
    Assign(3, 42, {kFunctionDpiStep, 1, 0}),
};

constexpr CatalogueItem kMultimediaMenu[] = {
    Assign(1, 45, ConsumerCode(0x0183)), Assign(2, 46, ConsumerCode(0x00B6)),
    Assign(3, 47, ConsumerCode(0x00B5)), Assign(4, 48, ConsumerCode(0x00B7)),
    Assign(5, 49, ConsumerCode(0x00CD)), Assign(6, 50, ConsumerCode(0x00E2)),
    Assign(7, 51, ConsumerCode(0x00E9)), Assign(8, 52, ConsumerCode(0x00EA)),
    Assign(9, 53, ConsumerCode(0x018A)), Assign(10, 54, ConsumerCode(0x0192)),
};

// Key bytes are keyboard usage IDs: 0x04 A ... 0x1D Z, 0x3D F4, 0x51/0x52 down/up.
constexpr CatalogueItem kOfficeMenu[] = {
    Assign(1, 60, Key(kModCtrl, 0x06)),  // C
    Assign(2, 61, Key(kModCtrl, 0x19)),  // V
    Assign(3, 62, Key(kModCtrl, 0x1B)),  // X
    Assign(4, 63, Key(kModCtrl, 0x04)),  // A
    Assign(5, 64, Key(kModCtrl, 0x11)),  // N
    Assign(6, 65, Key(kModCtrl, 0x16)),  // S
    Assign(7, 66, Key(kModCtrl, 0x13)),  // P
    Assign(8, 67, Key(kModWin, 0x08)),   // E
    Assign(9, 68, Key(kModCtrl, 0x1D)),  // Z
};

constexpr CatalogueItem kWindowsMenu[] = {
    Assign(1, 75, ConsumerCode(0x0194)),
    Assign(2, 76, Key(kModAlt, 0x3D)),  // F4
    Assign(3, 77, Key(kModWin, 0x07)),  // D
    Assign(4, 78, Key(kModWin, 0x15)),  // R
    Assign(5, 79, Key(kModWin, 0x51)),  // Down Arrow
    Assign(6, 80, Key(kModWin, 0x52)),  // Up Arrow
};

constexpr CatalogueItem DpiLock(int n, const char16_t* caption)
{
    return {n, 0, caption, true, {kFunctionDpiLock, static_cast<uint8_t>(n), 0}, LabelRule::DpiLockCaption,
            CatalogueOpens::Nothing};
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
