#pragma once
// Where the profile tabs and the buttons under them sit, in base units of the
// main window: the tab of the k-th shown profile, the add button below n
// shown profiles (never higher than below three), and the current profile's
// import, export and rename buttons (i = 0, 1, 2 from the left) in a row
// under the add button that moves with it.
//
// Pure geometry: no window, no state.
#include "platform/window/geometry.h"

Rect ProfileTabPlace(int k);
Rect AddProfileButtonPlace(int shownCount);
Rect ProfileActionButtonPlace(int shownCount, int i);
