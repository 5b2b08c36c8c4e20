#pragma once
// The profile list the user sees: which of the five profiles are shown, in
// which order, and which one is current. Stored in the settings table
// (CurrentProfile, ProfileShowCount, ProfileShowList0..4); this is the model
// of those seven values that the profile operations work on.
//
//   list[0 .. count-1]   the shown profiles, top to bottom
//   list[count .. 4]     the hidden ones, in the order adding shows them again
//
// Hiding a profile never erases it; adding it again resets it. The list is
// always a permutation of 0..4 here, whatever the settings file held: with a
// repeated or missing index, deleting and adding would lose a profile for good.
//
// Window thread only (it reads and writes g_settings).
#include <array>

#include "profile/profile_record.h"

struct ProfileSlots {
    int current = 0;  // 0..4
    int count = 3;    // 1..5
    std::array<int, kProfileCount> list{0, 1, 2, 3, 4};

    bool operator==(const ProfileSlots&) const = default;

    // Position of a profile in the list, -1 for an index outside 0..4.
    int PositionOf(int index) const;
    bool IsShown(int index) const;
    // The profile the next add shows, or -1 when all five are shown.
    int NextHidden() const;
};

// The seven settings as a model: values out of range are limited, and a list
// that is not a permutation keeps the first use of each index in its order
// and gets the missing indexes after it, in ascending order.
ProfileSlots ReadProfileSlots();
// CurrentProfile, ProfileShowCount and the five list entries into g_settings
// (the table only; nothing is written to disk).
void StoreProfileSlots(const ProfileSlots& slots);

// Hides a shown profile: later entries move up by one and the profile goes
// to the end of the list; the count drops by one. False (slots unchanged)
// when the profile is not shown or is the last one shown.
bool HideProfile(ProfileSlots& slots, int index);
