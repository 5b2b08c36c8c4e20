#include "persist/profile_slots.h"

#include "persist/settings_file.h"

int ProfileSlots::PositionOf(int index) const
{
    for (int k = 0; k < kProfileCount; ++k)
        if (list[size_t(k)] == index) return k;
    return -1;
}

bool ProfileSlots::IsShown(int index) const
{
    const int k = PositionOf(index);
    return k >= 0 && k < count;
}

int ProfileSlots::NextHidden() const
{
    return count < kProfileCount ? list[size_t(count)] : -1;
}

ProfileSlots ReadProfileSlots()
{
    ProfileSlots slots;
    slots.current = GetCurrentProfile();
    slots.count = GetProfileShowCount();
    std::array<bool, kProfileCount> used{};
    int n = 0;
    for (int k = 0; k < kProfileCount; ++k) {
        const int p = GetProfileShowList(k);
        if (used[size_t(p)]) continue;
        used[size_t(p)] = true;
        slots.list[size_t(n++)] = p;
    }
    for (int p = 0; p < kProfileCount; ++p)
        if (!used[size_t(p)]) slots.list[size_t(n++)] = p;
    return slots;
}

void StoreProfileSlots(const ProfileSlots& slots)
{
    SetCurrentProfile(slots.current);
    SetProfileShowCount(slots.count);
    for (int k = 0; k < kProfileCount; ++k) SetProfileShowList(k, slots.list[size_t(k)]);
}

bool HideProfile(ProfileSlots& slots, int index)
{
    const int k = slots.PositionOf(index);
    if (k < 0 || k >= slots.count || slots.count <= 1) return false;
    for (int j = k; j + 1 < kProfileCount; ++j) slots.list[size_t(j)] = slots.list[size_t(j + 1)];
    slots.list[kProfileCount - 1] = index;
    --slots.count;
    return true;
}
