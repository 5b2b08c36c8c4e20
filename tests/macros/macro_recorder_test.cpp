#include "macros/macro_recorder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Event {
    uint8_t key;
    bool release;
    uint32_t ms;
};

std::vector<MacroAction> Used(const MacroKey& m)
{
    return {m.actions.begin(), m.actions.begin() + m.UsedActions()};
}

MacroAction Down(uint8_t k) { return MacroAction::Key(k, false); }
MacroAction Up(uint8_t k) { return MacroAction::Key(k, true); }
MacroAction Pause(uint32_t ms) { return MacroAction::Pause(ms); }

TEST(MacroRecorder, TypingRecordsKeysAndTheRealGaps)
{
    // a, b typed with 100, 200, 100 ms between the events; a held key
    // repeats its press and a release may come twice.
    const std::vector<Event> typed = {{'A', false, 1000}, {'A', false, 1033}, {'A', false, 1066},
                                      {'A', true, 1100},  {'A', true, 1101},  {'B', false, 1300},
                                      {4, false, 1350},   {'B', true, 1400}};
    struct Case {
        bool pauses;
        std::vector<MacroAction> expected;
    };
    const Case cases[] = {
        {true, {Down('A'), Pause(100), Up('A'), Pause(200), Down('B'), Pause(100), Up('B')}},
        {false, {Down('A'), Up('A'), Down('B'), Up('B')}},
    };
    for (const Case& c : cases) {
        MacroKey m(u"m");
        MacroRecorder r;
        ASSERT_FALSE(r.Start(&m).Refused());
        for (const Event& e : typed) r.Feed(e.key, e.release, e.ms, c.pauses);
        EXPECT_EQ(Used(m), c.expected) << "pauses " << c.pauses;
        EXPECT_EQ(m.commandActionNum, 4) << "pauses " << c.pauses;
    }
}

TEST(MacroRecorder, PauseIsTheGapAcrossAWrapAndCapped)
{
    struct Case {
        uint32_t last, now, expected;
    };
    const Case cases[] = {
        {1000, 11000, 4095},                    // ten seconds
        {0x7FFFFFF0u, 0x00000010u, 0x20},       // the counter wrapped
        {0x80000000u | 500, 0x00000000u | 530, 30},  // release bit is not time
        {700, 700, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(RecordedPauseMs(c.last, c.now), c.expected) << c.last << " " << c.now;

    // Through the hook's words as well: the wrapped stamp gives the small gap.
    MacroKey m(u"m");
    MacroRecorder r;
    r.Start(&m);
    r.Feed(uint32_t('A'), 0x7FFFFFF0u, true);
    r.Feed(uint32_t('A'), 0x80000000u | 0x20u, true);
    EXPECT_EQ(Used(m), (std::vector<MacroAction>{Down('A'), Pause(0x30), Up('A')}));
}

TEST(MacroRecorder, StartReplacesOldActionsAndNeedsAMacro)
{
    MacroRecorder r;
    EXPECT_EQ(r.Start(nullptr).text, macro_text::kRecordWithoutMacro);
    EXPECT_FALSE(r.Recording());
    EXPECT_FALSE(r.Feed('A', false, 0, true).appended);

    MacroKey m(u"m");
    for (int i = 0; i < 5; ++i) m.InsertAction(i, Down(uint8_t('K' + i)));
    m.commandActionNum = 5;
    ASSERT_FALSE(r.Start(&m).Refused());
    EXPECT_EQ(m.actionNum, 0u);
    EXPECT_EQ(m.commandActionNum, 0);
    r.Feed('Z', false, 5000, true);
    EXPECT_EQ(Used(m), (std::vector<MacroAction>{Down('Z')}));
    EXPECT_EQ(m.commandActionNum, 1);

    r.Stop();
    EXPECT_FALSE(r.Feed('Y', false, 5100, true).appended);
    EXPECT_EQ(m.actionNum, 1u);
}

TEST(MacroRecorder, TheStepAfterThe168thStopsWithoutBeingAppended)
{
    for (bool pauses : {true, false}) {
        MacroKey m(u"m");
        MacroRecorder r;
        r.Start(&m);
        uint32_t t = 0;
        // Alternate press and release of one key: every event is a new step.
        for (int i = 0; i < 168; ++i) {
            auto res = r.Feed('Q', i % 2 == 1, t += 10, pauses);
            ASSERT_TRUE(res.appended) << i;
            ASSERT_FALSE(res.stop.Refused()) << i;
        }
        EXPECT_EQ(m.commandActionNum, 168);
        EXPECT_EQ(m.actionNum, pauses ? 335u : 168u);
        const MacroKey full = m;
        auto res = r.Feed('Q', false, t += 10, pauses);
        EXPECT_FALSE(res.appended);
        EXPECT_EQ(res.stop.text, macro_text::kRecordingFull);
        EXPECT_FALSE(r.Recording());
        EXPECT_EQ(m, full);
        EXPECT_FALSE(r.Feed('W', false, t += 10, pauses).appended);
    }
}

}  // namespace
