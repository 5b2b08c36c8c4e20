#include "ui/radio_state.h"

#include <array>

namespace {

struct RadioEntry {
    unsigned id;
    uint32_t bit;
    uint32_t group;
};

constexpr uint32_t kProfileChoice = 0x7F;
constexpr uint32_t kSensorPair = 0x180;
constexpr uint32_t kDirection = 0x1800;
constexpr uint32_t kMacroLoop = 0xE000;
constexpr uint32_t kPolling = 0xF0000;
constexpr uint32_t kLiftOff = 0x300000;

constexpr std::array<RadioEntry, 20> kRadios{{
    {2006, 0x1, kProfileChoice},      {2080, 0x2, kProfileChoice},    {2081, 0x4, kProfileChoice},
    {2082, 0x8, kProfileChoice},      {2083, 0x10, kProfileChoice},   {2084, 0x20, kProfileChoice},
    {2085, 0x40, kProfileChoice},     {2009, 0x80, kSensorPair},      {2010, 0x100, kSensorPair},
    {3240, 0x800, kDirection},        {3250, 0x1000, kDirection},     {2031, 0x2000, kMacroLoop},
    {2032, 0x4000, kMacroLoop},       {2033, 0x8000, kMacroLoop},     {3030, 0x10000, kPolling},
    {3031, 0x20000, kPolling},        {3032, 0x40000, kPolling},      {3033, 0x80000, kPolling},
    {3510, 0x100000, kLiftOff},       {3511, 0x200000, kLiftOff},
}};

const RadioEntry* Find(unsigned id)
{
    if (id == 0) return nullptr;
    for (const auto& e : kRadios)
        if (e.id == id) return &e;
    return nullptr;
}

}  // namespace

uint32_t RadioBit(unsigned id)
{
    const RadioEntry* e = Find(id);
    return e ? e->bit : 0;
}

uint32_t RadioGroupMask(unsigned id)
{
    const RadioEntry* e = Find(id);
    return e ? e->group : 0;
}

void SelectRadio(unsigned id)
{
    const RadioEntry* e = Find(id);
    if (!e) return;
    g_radioStateWord = (g_radioStateWord & ~e->group) | e->bit;
}

bool IsRadioSelected(unsigned id)
{
    uint32_t bit = RadioBit(id);
    return bit != 0 && (g_radioStateWord & bit) != 0;
}

void SelectDpiLevels(int k)
{
    if (k < 0 || k > 7) return;
    uint32_t low = (1u << (k + 1)) - 1u;
    g_dpiEnableMask = (g_dpiEnableMask & ~0xFFu) | low;
}

bool IsDpiLevelEnabled(int k) { return k >= 0 && k < 8 && (g_dpiEnableMask & (1u << k)) != 0; }
