#pragma once
// When the mouse changes profile for a game: a pure state machine that the
// window feeds with the profiles whose games run and with its modal state,
// and that answers with the profile to select (or -1 for none).
//
//   - A game's start remembers the current profile (when no other game ran)
//     and selects the game's profile; the later of two starts wins.
//   - A game's end selects the profile of the latest game still running, or
//     the remembered one when none runs.
//   - A profile chosen by hand stays until the next start or end.
//   - A hidden profile is never selected (the remembered one may have been
//     deleted meanwhile: then the current profile stays).
//   - While a modal dialog is open nothing is selected; the switch that fell
//     due happens when it closes.
#include <vector>

#include "persist/profile_slots.h"

class GameSwitchRules {
public:
    // running: the shown profiles with a running game, any order.
    int OnGamesRunning(const std::vector<int>& running, const ProfileSlots& slots);
    int OnModalDialog(bool open, const ProfileSlots& slots);

    // The running games' profiles, earliest start first.
    const std::vector<int>& Order() const { return order_; }
    int Remembered() const { return remembered_; }
    // A switch fell due while a dialog was open.
    bool Pending() const { return pending_; }

private:
    int Decide(const ProfileSlots& slots);

    std::vector<int> order_;
    int remembered_ = -1;
    bool modal_ = false;
    bool pending_ = false;
};
