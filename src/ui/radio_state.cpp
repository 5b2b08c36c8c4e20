#include "ui/radio_state.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct RadioEntry {
    unsigned id;
    uint32_t bit;
    uint32_t group;
};

std::vector<RadioEntry>& Table()
{
    static std::vector<RadioEntry> table;
    return table;
}

const RadioEntry* Find(unsigned id)
{
    if (id == 0) return nullptr;
    for (const auto& e : Table())
        if (e.id == id) return &e;
    return nullptr;
}

}  // namespace

void RegisterRadioGroup(std::initializer_list<RadioMember> members)
{
    uint32_t group = 0;
    for (const RadioMember& m : members) group |= m.bit;
    bool known = true;
    for (const RadioMember& m : members) {
        const RadioEntry* e = Find(m.id);
        if (e && (e->bit != m.bit || e->group != group))
            throw std::logic_error("radio " + std::to_string(m.id) + " is registered with another bit");
        known = known && e;
    }
    if (known) return;
    for (const RadioEntry& e : Table())
        if (e.group & group) throw std::logic_error("radio groups share a bit");
    for (const RadioMember& m : members) Table().push_back({m.id, m.bit, group});
}

void ClearRadioGroups() { Table().clear(); }

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
