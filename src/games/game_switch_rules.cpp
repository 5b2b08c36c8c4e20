#include "games/game_switch_rules.h"

#include <algorithm>

int GameSwitchRules::OnGamesRunning(const std::vector<int>& running, const ProfileSlots& slots)
{
    auto runs = [&](int p) {
        return slots.IsShown(p) && std::find(running.begin(), running.end(), p) != running.end();
    };
    std::vector<int> next;
    for (int p : order_)
        if (runs(p)) next.push_back(p);
    std::vector<int> started;
    for (int p : running)
        if (runs(p) && std::find(next.begin(), next.end(), p) == next.end() &&
            std::find(started.begin(), started.end(), p) == started.end())
            started.push_back(p);
    std::sort(started.begin(), started.end());
    if (next.size() == order_.size() && started.empty()) return -1;  // nothing started or ended
    if (order_.empty()) remembered_ = slots.current;
    next.insert(next.end(), started.begin(), started.end());
    order_ = std::move(next);
    pending_ = true;
    return Decide(slots);
}

int GameSwitchRules::OnModalDialog(bool open, const ProfileSlots& slots)
{
    modal_ = open;
    return !open && pending_ ? Decide(slots) : -1;
}

int GameSwitchRules::Decide(const ProfileSlots& slots)
{
    if (modal_) return -1;
    pending_ = false;
    const int target = order_.empty() ? remembered_ : order_.back();
    if (order_.empty()) remembered_ = -1;
    if (target < 0 || !slots.IsShown(target) || target == slots.current) return -1;
    return target;
}
