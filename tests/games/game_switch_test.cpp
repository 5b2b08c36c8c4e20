// Game profiles on a fake process list: each step replaces the running
// processes (or selects by hand, or opens/closes a dialog) and says which
// profile the mouse must be on afterwards.
#include <gtest/gtest.h>

#include "games/game_binding.h"
#include "games/game_switch_rules.h"

namespace {

using platform::ProcessNames;

struct Step {
    enum Kind { Processes, Manual, DialogOpen, DialogClose, Hide } kind;
    std::vector<ProcessNames> processes;  // Processes: the whole list now
    int profile = -1;                     // Manual: chosen by hand; Hide: hidden
    int expectCurrent;                    // the current profile after the step
};

struct Case {
    const char* name;
    // Profile i binds binds[i] (profiles 0..2 shown, 0 current at start).
    std::array<std::vector<std::u16string>, 3> binds;
    std::vector<Step> steps;
};

const ProcessNames kShell{"/usr/bin/bash", "-bash"};
const ProcessNames kQuake{"/usr/games/quake", "quake"};
const ProcessNames kDoom{"/opt/doom/doom", "./doom"};
const ProcessNames kWine{"/usr/bin/wine64-preloader", "C:\\Games\\X\\GAME.EXE"};
const ProcessNames kScript{"/usr/bin/python3.11", "/home/u/bin/tool.py"};

TEST(GameSwitch, FollowsTheRunningGames)
{
    const std::vector<Case> cases = {
        {"start and end", {{{}, {u"quake"}, {}}},
         {{Step::Processes, {kShell, kQuake}, -1, 1}, {Step::Processes, {kShell}, -1, 0}}},
        {"later start wins, its end returns to the earlier game", {{{}, {u"quake"}, {u"doom"}}},
         {{Step::Processes, {kQuake}, -1, 1},
          {Step::Processes, {kQuake, kDoom}, -1, 2},
          {Step::Processes, {kQuake}, -1, 1},
          {Step::Processes, {}, -1, 0}}},
        {"the earlier game ending while the later runs keeps the later", {{{}, {u"quake"}, {u"doom"}}},
         {{Step::Processes, {kQuake}, -1, 1},
          {Step::Processes, {kQuake, kDoom}, -1, 2},
          {Step::Processes, {kDoom}, -1, 2},
          {Step::Processes, {}, -1, 0}}},
        {"a manual choice stays until the next end", {{{}, {u"quake"}, {}}},
         {{Step::Processes, {kQuake}, -1, 1},
          {Step::Manual, {}, 2, 2},
          {Step::Processes, {kQuake, kShell}, -1, 2},  // no start or end: stays
          {Step::Processes, {}, -1, 0}}},
        {"a manual choice yields to the next start", {{{}, {u"quake"}, {u"doom"}}},
         {{Step::Processes, {kQuake}, -1, 1}, {Step::Manual, {}, 0, 0}, {Step::Processes, {kQuake, kDoom}, -1, 2}}},
        {"a dialog defers the switch until it closes", {{{}, {u"quake"}, {}}},
         {{Step::DialogOpen, {}, -1, 0},
          {Step::Processes, {kQuake}, -1, 0},
          {Step::DialogClose, {}, -1, 1},
          {Step::DialogOpen, {}, -1, 1},
          {Step::Processes, {}, -1, 1},
          {Step::DialogClose, {}, -1, 0}}},
        {"a game that starts and ends behind a dialog changes nothing", {{{}, {u"quake"}, {}}},
         {{Step::DialogOpen, {}, -1, 0},
          {Step::Processes, {kQuake}, -1, 0},
          {Step::Processes, {}, -1, 0},
          {Step::DialogClose, {}, -1, 0}}},
        {"hiding the game's profile ends its game", {{{}, {u"quake"}, {}}},
         {{Step::Processes, {kQuake}, -1, 1}, {Step::Hide, {}, 1, 0}, {Step::Processes, {kQuake, kShell}, -1, 0}}},
        {"a hidden profile's game is ignored", {{{}, {}, {u"quake"}}},
         {{Step::Hide, {}, 2, 0}, {Step::Processes, {kQuake}, -1, 0}}},
        {"the remembered profile deleted meanwhile: the current stays", {{{}, {}, {u"quake"}}},
         {{Step::Manual, {}, 1, 1},
          {Step::Processes, {kQuake}, -1, 2},
          {Step::Hide, {}, 1, 2},
          {Step::Processes, {}, -1, 2}}},
        {".exe names match in any case, through argv[0] only", {{{}, {u"game.exe"}, {}}},
         {{Step::Processes, {kWine}, -1, 1}, {Step::Processes, {}, -1, 0}}},
        {"other names are case-sensitive", {{{}, {u"Quake"}, {}}}, {{Step::Processes, {kQuake}, -1, 0}}},
        {"a script by its argv[0]", {{{}, {u"tool.py"}, {}}}, {{Step::Processes, {kScript}, -1, 1}}},
        {"a name is a whole last component", {{{}, {u"games"}, {u"uake"}}}, {{Step::Processes, {kQuake}, -1, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ProfileTable profiles;
        for (int p = 0; p < 3; ++p)
            for (size_t s = 0; s < c.binds[p].size(); ++s) SetGameFile(profiles[p], int(s), c.binds[p][s]);
        ProfileSlots slots;  // 0, 1, 2 shown; 0 current
        GameSwitchRules rules;
        std::vector<ProcessNames> processes;
        auto feed = [&] {
            const GameBindings bindings = ReadGameBindings(profiles, slots);
            const auto running = RunningGames(processes, bindings.AllNames());
            return rules.OnGamesRunning(ProfilesWithRunningGames(bindings, running), slots);
        };
        for (size_t i = 0; i < c.steps.size(); ++i) {
            const Step& step = c.steps[i];
            SCOPED_TRACE(i);
            int select = -1;
            switch (step.kind) {
            case Step::Processes: processes = step.processes; select = feed(); break;
            case Step::Manual: slots.current = step.profile; break;
            case Step::DialogOpen: select = rules.OnModalDialog(true, slots); break;
            case Step::DialogClose: select = rules.OnModalDialog(false, slots); break;
            case Step::Hide: ASSERT_TRUE(HideProfile(slots, step.profile)); select = feed(); break;
            }
            if (select >= 0) {
                EXPECT_NE(select, slots.current) << "selecting the current profile again";
                slots.current = select;
            }
            EXPECT_EQ(slots.current, step.expectCurrent);
        }
    }
}

}  // namespace
