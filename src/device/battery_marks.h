#pragma once
// When a falling battery deserves a word to the user, and how its level
// looks in the tray. One rule for the window's desktop notifications and
// for `tevlanctl watch`, so both speak up at the same moments.
//
// The marks are 20, 10 and 5 %. A mark is passed when the level falls to it
// or below while the mouse is not charging. Each mark speaks once: it is
// armed again only after the level has risen clearly above it (a reading
// that wobbles by a percent at the mark must not repeat the warning), and a
// charging mouse never warns. A fall past several marks at once speaks once,
// naming the lowest. The first reading only arms the marks above it: a
// program that starts at 15 % shows the warning icon but does not announce
// a fall it did not see.
#include <array>

inline constexpr std::array<int, 3> kBatteryMarks = {20, 10, 5};
// Below this level the tray shows the warning picture.
inline constexpr int kBatteryWarningLevel = 20;
// How far above a mark the level must climb before the mark is armed again.
inline constexpr int kBatteryRearmMargin = 3;

class CBatteryMarks {
public:
    // A new reading: level 0..100 (anything above counts as 0, as the mouse
    // reports an unknown level), charging as the status answer says. The
    // mark just passed (20, 10 or 5), or 0.
    int Update(int level, bool charging);
    // Back to "no reading yet" (the mouse went away).
    void Reset() { seen_ = false; }

private:
    bool seen_ = false;
    std::array<bool, kBatteryMarks.size()> armed_{};
};

// The tray picture of a level: 0 (empty) to 4 (full) bars.
int BatteryBars(int level);
// The warning picture replaces the level below 20 % unless charging.
bool BatteryWarns(int level, bool charging);
