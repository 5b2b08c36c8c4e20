#include "macros/macro_upload.h"

#include <algorithm>

#include "base/ui_text.h"
#include "profile/profile_record.h"

namespace {

constexpr uint8_t kMacroFunction = 0x90;

struct CodeRange {
    uint8_t first;  // virtual-key code
    uint8_t last;
    uint8_t to;  // translated code of `first`; the range maps element by element
};

// Virtual-key code to the mouse's code. Keys become USB HID keyboard usage
// IDs; the left/right modifier keys become 0xE0-0xE7 (the generic Shift, Ctrl
// and Alt codes carry no side and stay 0); the macro model's mouse codes
// 0xE0-0xE7 become 0xF0-0xF7.
constexpr CodeRange kTranslation[] = {
    {0x08, 0x09, 0x2A}, {0x0D, 0x0D, 0x28}, {0x0E, 0x0E, 0x58}, {0x13, 0x13, 0x48}, {0x14, 0x14, 0x39},
    {0x1B, 0x1B, 0x29}, {0x20, 0x20, 0x2C}, {0x21, 0x21, 0x4B}, {0x22, 0x22, 0x4E}, {0x23, 0x23, 0x4D},
    {0x24, 0x24, 0x4A}, {0x25, 0x25, 0x50}, {0x26, 0x26, 0x52}, {0x27, 0x27, 0x4F}, {0x28, 0x28, 0x51},
    {0x2C, 0x2C, 0x46}, {0x2D, 0x2D, 0x49}, {0x2E, 0x2E, 0x4C}, {0x30, 0x30, 0x27}, {0x31, 0x39, 0x1E},
    {0x3B, 0x3B, 0x29}, {0x41, 0x5A, 0x04}, {0x5B, 0x5B, 0xE3}, {0x5C, 0x5C, 0xE7}, {0x5D, 0x5D, 0x65},
    {0x5F, 0x5F, 0x82}, {0x60, 0x60, 0x62}, {0x61, 0x69, 0x59}, {0x6A, 0x6A, 0x55}, {0x6B, 0x6B, 0x57},
    {0x6D, 0x6D, 0x56}, {0x6E, 0x6E, 0x63}, {0x6F, 0x6F, 0x54}, {0x70, 0x7B, 0x3A}, {0x90, 0x90, 0x53},
    {0x91, 0x91, 0x47}, {0xA0, 0xA0, 0xE1}, {0xA1, 0xA1, 0xE5}, {0xA2, 0xA2, 0xE0}, {0xA3, 0xA3, 0xE4},
    {0xA4, 0xA4, 0xE2}, {0xA5, 0xA5, 0xE6}, {0xBA, 0xBA, 0x33}, {0xBB, 0xBB, 0x2E}, {0xBC, 0xBC, 0x36},
    {0xBD, 0xBD, 0x2D}, {0xBE, 0xBF, 0x37}, {0xC0, 0xC0, 0x35}, {0xDB, 0xDB, 0x2F}, {0xDC, 0xDC, 0x31},
    {0xDD, 0xDD, 0x30}, {0xDE, 0xDE, 0x34}, {0xE0, 0xE7, 0xF0}, {0xF0, 0xF0, 0x81}, {0xF1, 0xF1, 0x83},
    {0xF2, 0xF2, 0x32}, {0xF3, 0xF3, 0x64}, {0xF4, 0xF4, 0x85}, {0xF5, 0xF9, 0x87}, {0xFA, 0xFB, 0x90},
};

constexpr std::array<uint8_t, 256> MakeTranslationTable()
{
    std::array<uint8_t, 256> table{};
    for (const CodeRange& r : kTranslation)
        for (int vk = r.first; vk <= r.last; ++vk)
            table[vk] = uint8_t(r.to + (vk - r.first));
    return table;
}

constexpr std::array<uint8_t, 256> kTranslationTable = MakeTranslationTable();
static_assert(kTranslationTable[0x41] == 0x04 && kTranslationTable[0x5A] == 0x1D);
static_assert(kTranslationTable[0x7B] == 0x45 && kTranslationTable[0xE7] == 0xF7);
static_assert(kTranslationTable[0x10] == 0 && kTranslationTable[0x11] == 0 && kTranslationTable[0x12] == 0);

bool IsMacroCode(const ButtonFunctionCode& code) { return code.type == kMacroFunction; }

void Disable(ButtonSlot& button, const std::u16string& disabledLabel)
{
    button.label = disabledLabel;
    button.code = ButtonFunctionCode{0, 0, 0};
}

int FindMacro(const MacroSet& set, const std::u16string& name)
{
    int j = 0;
    for (const MacroKey& m : set.macros) {
        if (m.name == name)
            return j;
        ++j;
    }
    return -1;
}

}  // namespace

uint8_t TranslateMacroCode(uint8_t virtualKey) { return kTranslationTable[virtualKey]; }

std::array<uint8_t, 3> EncodeMacroStep(const MacroAction& action, uint32_t pauseMs)
{
    const uint8_t code = TranslateMacroCode(action.b0);
    uint8_t type = kStepKey;
    uint8_t value = code;
    if (code >= 0xE0 && code <= 0xE7) {
        type = kStepModifier;
        value = uint8_t(1u << (code - 0xE0));
    } else if (code >= 0xF0 && code <= 0xF4) {
        type = kStepMouseButton;
        value = uint8_t(1u << (code - 0xF0));
    } else if (code == 0xF5) {
        type = kStepMoveX;
        value = action.b3;
    } else if (code == 0xF6) {
        type = kStepMoveY;
        value = action.b3;
    } else if (code == 0xF7) {
        type = kStepWheel;
        value = action.b3;
    }
    const uint32_t pause = std::min(pauseMs, kMacroStepMaxPauseMs);
    return {uint8_t((action.b1 & kMacroRelease) | (type << 4) | ((pause >> 8) & 0x0F)), uint8_t(pause & 0xFF), value};
}

MacroImage BuildMacroImage(const MacroKey& macro, uint8_t deviceIndex)
{
    // 336 actions give at most 4 + 3 x 336 = 1,012 bytes; only the first 512
    // form the image, as the mouse holds no more.
    std::array<uint8_t, 1024> buffer{};
    buffer[0] = 0x09;
    buffer[1] = kMacroFunction;
    buffer[2] = deviceIndex;
    buffer[3] = macro.commandActionNum;
    size_t at = 4;
    const int used = macro.UsedActions();
    for (int j = 0; j < used; ++j) {
        const MacroAction& action = macro.actions[j];
        if (action.IsPause())
            continue;
        uint32_t pause = 0;
        if (j + 1 < used && macro.actions[j + 1].IsPause())
            pause = macro.actions[j + 1].PauseMs();
        const auto step = EncodeMacroStep(action, pause);
        std::copy(step.begin(), step.end(), buffer.begin() + at);
        at += 3;
    }
    MacroImage image{};
    std::copy(buffer.begin(), buffer.begin() + kMacroImageSize, image.begin());
    return image;
}

std::vector<MacroPacket> BuildMacroPackets(const MacroImage& image, uint8_t deviceIndex, uint8_t commandActionNum)
{
    const int length = int(commandActionNum) * 3;
    const int count = std::max(1, (length + kMacroPacketDataBytes - 1) / kMacroPacketDataBytes);
    std::vector<MacroPacket> packets;
    packets.reserve(count);
    for (int k = 0; k < count; ++k) {
        MacroPacket p{};
        p[0] = 0x0C;
        p[1] = 0x01;
        p[2] = 0x0E;
        p[5] = uint8_t(((k & 0x0F) << 4) | (count & 0x0F));
        const int remaining = length - kMacroPacketDataBytes * k;
        p[6] = uint8_t(remaining > kMacroPacketDataBytes ? kMacroPacketDataBytes + 1 : remaining + 1);
        p[7] = deviceIndex;
        for (int d = 0; d < kMacroPacketDataBytes; ++d) {
            const int src = 4 + kMacroPacketDataBytes * k + d;
            p[8 + d] = src < kMacroImageSize ? image[src] : 0;
        }
        packets.push_back(p);
    }
    return packets;
}

ButtonFunctionCode MacroButtonCode(int slot, const MacroKey& macro)
{
    return ButtonFunctionCode{kMacroFunction, uint8_t(((slot + 1) & 0x0F) | (macro.loopType << 4)),
                              uint8_t(macro.loopType == 2 ? macro.loopNum : 0)};
}

void AssignMacroSlots(ProfileRecord& profile, const MacroSet* firstSet, std::vector<int32_t>& macroSlotOf,
                      const std::u16string& disabledLabel)
{
    if (firstSet && firstSet->macroNum() > 0) {
        macroSlotOf.assign(firstSet->macroNum(), -1);
        int nextSlot = 0;
        for (ButtonSlot& button : profile.buttons) {
            if (!IsMacroCode(button.code))
                continue;
            const int j = FindMacro(*firstSet, button.macro.name);
            if (j < 0) {
                Disable(button, disabledLabel);
                continue;
            }
            if (macroSlotOf[j] == -1)
                macroSlotOf[j] = nextSlot++;
            button.code = MacroButtonCode(macroSlotOf[j], *std::next(firstSet->macros.begin(), j));
        }
    }
    // Without a first set nothing above ran: macro buttons left from another
    // library name macros the mouse will never get.
    for (ButtonSlot& button : profile.buttons) {
        if (IsMacroCode(button.code) &&
            (!firstSet || FindMacro(*firstSet, button.macro.name) < 0))
            Disable(button, disabledLabel);
    }
}

void AssignMacroSlots(ProfileRecord& profile, const MacroSet* firstSet, std::vector<int32_t>& macroSlotOf)
{
    AssignMacroSlots(profile, firstSet, macroSlotOf, UiText(34));
}
