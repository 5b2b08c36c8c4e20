#include "app/game_switcher.h"

#include "persist/profile_manager.h"

CGameSwitcher::CGameSwitcher(Hooks hooks) : hooks_(std::move(hooks)) {}

CGameSwitcher::~CGameSwitcher() { Stop(); }

void CGameSwitcher::Rebind()
{
    if (stopped_) return;
    GameBindings bindings = ReadGameBindings(g_profiles, ReadProfileSlots());
    if (bindings == bindings_ && watch_.Running() == bindings.Any()) return;
    bindings_ = std::move(bindings);
    watch_.Stop();
    const int generation = ++*generation_;
    if (!bindings_.Any()) {
        // No game bound: whatever ran has ended for the rules.
        OnRunningGames({});
        return;
    }
    std::vector<std::string> names = bindings_.AllNames();
    if (names.size() > 32) names.resize(32);  // 5 profiles x 3 entries never reach it
    std::weak_ptr<int> alive = generation_;
    watch_.Start([names](const platform::ProcessNames& process) { return RunningGamesMask(process, names); },
                 [this, alive, generation, names](uint32_t mask) {
                     std::vector<std::string> running;
                     for (size_t i = 0; i < names.size(); ++i)
                         if (mask & (1u << i)) running.push_back(names[i]);
                     hooks_.postToWindow([this, alive, generation, running] {
                         auto current = alive.lock();
                         if (current && *current == generation) OnRunningGames(running);
                     });
                 },
                 1000, source_);
}

void CGameSwitcher::UseProcessSource(platform::ProcessWatch::Source source)
{
    source_ = std::move(source);
    if (!watch_.Running()) return;
    watch_.Stop();
    Rebind();
}

void CGameSwitcher::OnRunningGames(const std::vector<std::string>& running)
{
    const bool modal = hooks_.modalOpen && hooks_.modalOpen();
    if (!modal && deferred_) OnDeferTimer();  // the dialog closed before the timer saw it
    const ProfileSlots slots = ReadProfileSlots();
    if (modal) rules_.OnModalDialog(true, slots);
    const int select = rules_.OnGamesRunning(ProfilesWithRunningGames(bindings_, running), slots);
    if (modal && !rules_.Pending()) {
        rules_.OnModalDialog(false, slots);  // nothing held back: no timer needs to watch the dialog
    } else if (modal && !deferred_) {
        deferred_ = true;
        if (hooks_.deferTimer) hooks_.deferTimer(true);
    }
    Select(select);
}

void CGameSwitcher::OnDeferTimer()
{
    if (hooks_.modalOpen && hooks_.modalOpen()) return;
    deferred_ = false;
    if (hooks_.deferTimer) hooks_.deferTimer(false);
    Select(rules_.OnModalDialog(false, ReadProfileSlots()));
}

void CGameSwitcher::Select(int profile)
{
    if (profile < 0 || !SelectProfile(profile).Done()) return;
    if (hooks_.selected) hooks_.selected(profile);
}

int CGameSwitcher::ProfileToLeaveWith() const
{
    if (rules_.Order().empty()) return -1;
    const ProfileSlots slots = ReadProfileSlots();
    const int back = rules_.Remembered();
    return back >= 0 && back != slots.current && slots.IsShown(back) ? back : -1;
}

void CGameSwitcher::Stop()
{
    stopped_ = true;
    ++*generation_;
    watch_.Stop();
}
