#include "persist/ui/profile_tab_places.h"

#include <algorithm>

Rect ProfileTabPlace(int k) { return {300, 430 + 25 * k, 462, 451 + 25 * k}; }

Rect AddProfileButtonPlace(int shownCount)
{
    int m = std::max(shownCount, 3);
    return {300, 433 + 25 * m, 346, 453 + 25 * m};
}

Rect ProfileActionButtonPlace(int shownCount, int i)
{
    const Rect add = AddProfileButtonPlace(shownCount);
    const int left = 300 + 55 * i;
    return {left, add.bottom + 6, left + 52, add.bottom + 26};
}
