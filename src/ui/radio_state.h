#pragma once
// The two selection words shared by every window.
//
// g_radioStateWord: one bit per radio button of the application; a radio
// button shows checked while its bit is set, and clicking it clears the
// other bits of its group. Handlers and the profile code read and write the
// word directly. g_dpiEnableMask: its low byte says which of the eight DPI
// levels show as enabled (bit k for level k).
//
// Owner: the window thread; nothing else touches them, nor the table of
// groups the windows register.
#include <cstdint>
#include <initializer_list>

inline uint32_t g_radioStateWord = 0;
inline uint32_t g_dpiEnableMask = 0;

// A radio button of a group and its bit in g_radioStateWord.
struct RadioMember {
    unsigned id;
    uint32_t bit;
};
// Makes the members one group: selecting one clears the others' bits. Each
// window registers the groups of the radio buttons it makes, before it
// shows them; registering the same group again (a window opened a second
// time) changes nothing. Giving a registered id another bit, or a bit that
// another group already uses, throws std::logic_error: two groups sharing
// a bit would select each other's buttons.
void RegisterRadioGroup(std::initializer_list<RadioMember> members);
// Forgets every group (tests start from none).
void ClearRadioGroups();

// The bit of a radio button, or 0 when its id is in no group.
uint32_t RadioBit(unsigned id);
// All bits of the group the id belongs to, or 0.
uint32_t RadioGroupMask(unsigned id);
// Clears the id's group and sets its own bit; an id in no group changes nothing.
void SelectRadio(unsigned id);
bool IsRadioSelected(unsigned id);

// The DPI levels' value labels: clicking level k shows levels 0 .. k enabled.
void SelectDpiLevels(int k);
bool IsDpiLevelEnabled(int k);
