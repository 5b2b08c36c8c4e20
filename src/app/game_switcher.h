#pragma once
// CGameSwitcher: the main window's part of game profiles. It keeps a process
// watch running while some shown profile has a game bound (and none
// otherwise), turns the watch's reports into selections through the
// switching rules, and holds a switch back while a modal dialog of the
// window is open: a 250 ms timer then looks for it to close.
//
// Window thread only; the watch thread only posts.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "games/game_binding.h"
#include "games/game_switch_rules.h"
#include "platform/procs/process_watch.h"

class CGameSwitcher {
public:
    struct Hooks {
        std::function<void(std::function<void()>)> postToWindow;  // from the watch thread
        std::function<void(int profile)> selected;                // after SelectProfile: refresh, apply, show
        std::function<bool()> modalOpen;
        std::function<void(bool on)> deferTimer;                  // starts or stops kTimerGameDeferred
    };

    explicit CGameSwitcher(Hooks hooks);
    ~CGameSwitcher();

    // Rereads the bindings of the shown profiles; starts, restarts or stops
    // the watch when they changed. Cheap when nothing changed.
    void Rebind();
    // The deferral timer's tick.
    void OnDeferTimer();
    // The profile to go back to when the window closes during a game, or -1.
    int ProfileToLeaveWith() const;
    // Stops the watch for good (the window ends).
    void Stop();

    bool Watching() const { return watch_.Running(); }
    // Tests: the watch scans this list instead of /proc (restarting a
    // running watch), and scans it again at once on ScanNow.
    void UseProcessSource(platform::ProcessWatch::Source source);
    void ScanNow() { watch_.ScanNow(); }

private:
    void OnRunningGames(const std::vector<std::string>& running);
    void Select(int profile);

    Hooks hooks_;
    GameBindings bindings_;
    GameSwitchRules rules_;
    platform::ProcessWatch watch_;
    platform::ProcessWatch::Source source_;
    // Reports of an earlier watch that arrive after a restart are dropped.
    std::shared_ptr<int> generation_ = std::make_shared<int>(0);
    bool deferred_ = false;
    bool stopped_ = false;
};
