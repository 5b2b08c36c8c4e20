// Hand edits of actions and the values of the edit dialogs.
#include <gtest/gtest.h>

#include <vector>

#include "macros/macro_action_edits.h"
#include "macros/macro_edit_values.h"
#include "macros/macro_step_accounting.h"

namespace {

MacroAction Down(uint8_t k) { return MacroAction::Key(k, false); }
MacroAction Up(uint8_t k) { return MacroAction::Key(k, true); }
MacroAction Pause(uint32_t ms) { return MacroAction::Pause(ms); }

std::vector<MacroAction> Used(const MacroKey& m)
{
    return {m.actions.begin(), m.actions.begin() + m.UsedActions()};
}

MacroKey Macro(std::vector<MacroAction> actions, uint8_t steps)
{
    MacroKey m(u"m");
    for (size_t i = 0; i < actions.size(); ++i) m.InsertAction(int(i), actions[i]);
    m.commandActionNum = steps;
    return m;
}

std::vector<uint8_t> Bytes(MacroAction a) { return {a.b0, a.b1, a.b2, a.b3}; }

TEST(MacroInsert, ClicksKeysAndMovesGoAfterTheSelection)
{
    MacroKey m(u"m");
    ASSERT_FALSE(CheckMacroInsert(&m, MacroInsertKind::LeftClick).Refused());
    EXPECT_EQ(InsertMacroClick(m, -1, MacroInsertKind::LeftClick), 2);
    EXPECT_EQ(Used(m), (std::vector<MacroAction>{Down(0xE0), Pause(50), Up(0xE0)}));
    EXPECT_EQ(m.commandActionNum, 2);

    // After the press (selection 0): the key lands inside the click.
    EXPECT_EQ(InsertMacroKey(m, 0, 0x74), 3);
    EXPECT_EQ(Used(m), (std::vector<MacroAction>{Down(0xE0), Down(0x74), Pause(50), Up(0x74), Pause(50), Up(0xE0)}));
    EXPECT_EQ(m.commandActionNum, 4);

    // No selection: at the end.
    MacroAction left = MacroInsertStartAction(m, -1, MacroInsertKind::MoveLeft);
    EXPECT_EQ(Bytes(left), (std::vector<uint8_t>{0xE5, 0, 0, 0xFF}));
    EXPECT_EQ(InsertMacroMove(m, -1, left), 6);
    EXPECT_EQ(m.commandActionNum, 5);
    EXPECT_EQ(InsertMacroClick(m, 6, MacroInsertKind::RightClick), 9);
    EXPECT_EQ(m.GetAction(9), Up(0xE1));
}

TEST(MacroInsert, RefusedWithoutAMacroOrRoom)
{
    struct Case {
        uint8_t steps;
        int actions;
        MacroInsertKind kind;
        int text;
    };
    const Case cases[] = {
        {166, 10, MacroInsertKind::MiddleClick, 0},
        {167, 10, MacroInsertKind::MiddleClick, macro_text::kInsertFull},
        {167, 10, MacroInsertKind::Key, macro_text::kInsertFull},
        {167, 10, MacroInsertKind::MoveDown, 0},
        {168, 10, MacroInsertKind::MoveUp, macro_text::kInsertFull},
        {168, 10, MacroInsertKind::Pause, 0},  // a pause is no step
        // A file whose actions fill the slots though its step count is low.
        {3, 334, MacroInsertKind::LeftClick, macro_text::kInsertFull},
        {3, 335, MacroInsertKind::Pause, 0},
        {3, 336, MacroInsertKind::Pause, macro_text::kInsertFull},
    };
    for (const Case& c : cases) {
        MacroKey m = Macro(std::vector<MacroAction>(size_t(c.actions), Down('A')), c.steps);
        EXPECT_EQ(CheckMacroInsert(&m, c.kind).text, c.text) << int(c.steps) << " " << c.actions;
    }
    EXPECT_EQ(CheckMacroInsert(nullptr, MacroInsertKind::Pause).text, macro_text::kInsertWithoutMacro);
}

TEST(MacroInsert, PauseEditsThePauseBeforeThePositionOrInsertsOne)
{
    // Empty macro: a new pause at 0, selected; 100 -> 200 crosses 127 ms.
    MacroKey empty(u"m");
    EXPECT_EQ(Bytes(MacroInsertStartAction(empty, -1, MacroInsertKind::Pause)), (std::vector<uint8_t>{3, 0, 0, 100}));
    EXPECT_EQ(InsertMacroPause(empty, -1, 200), 0);
    EXPECT_EQ(Used(empty), (std::vector<MacroAction>{Pause(200)}));
    EXPECT_EQ(empty.commandActionNum, 1);

    // After a key: inserted after it, selected; 100 -> 60 stays short.
    MacroKey m = Macro({Down('A'), Pause(50), Up('A')}, 2);
    EXPECT_EQ(InsertMacroPause(m, 0, 60), 1);
    EXPECT_EQ(Used(m), (std::vector<MacroAction>{Down('A'), Pause(60), Pause(50), Up('A')}));
    EXPECT_EQ(m.commandActionNum, 2);

    // After a pause: that pause is edited, the selection stays.
    MacroKey p = Macro({Down('A'), Pause(50), Up('A')}, 2);
    ASSERT_TRUE(MacroPauseInsertEditsExisting(p, 1));
    EXPECT_EQ(Bytes(MacroInsertStartAction(p, 1, MacroInsertKind::Pause)), (std::vector<uint8_t>{3, 0, 0, 50}));
    EXPECT_EQ(InsertMacroPause(p, 1, 300), 1);
    EXPECT_EQ(Used(p), (std::vector<MacroAction>{Down('A'), Pause(300), Up('A')}));
    EXPECT_EQ(p.commandActionNum, 3);
}

TEST(MacroModify, PauseRuleAndWhatEachRowOpens)
{
    struct Pause127 {
        uint32_t from, to;
        int change;
    };
    const Pause127 rule[] = {{50, 200, 1}, {200, 50, -1}, {127, 128, 1}, {128, 127, -1}, {50, 100, 0}, {200, 4000, 0}};
    for (const Pause127& c : rule) {
        MacroKey m = Macro({Down('A'), Pause(c.from), Up('A')}, 10);
        ModifyMacroPause(m, 1, c.to);
        EXPECT_EQ(m.GetAction(1), Pause(c.to));
        EXPECT_EQ(int(m.commandActionNum) - 10, c.change) << c.from << " -> " << c.to;
    }

    struct Kind {
        uint8_t b0;
        MacroModifyKind kind;
    };
    const Kind kinds[] = {{0x00, MacroModifyKind::Pause}, {0x03, MacroModifyKind::Pause}, {0x07, MacroModifyKind::Pause},
                          {0x08, MacroModifyKind::Key},   {0xE0, MacroModifyKind::None},  {0xE5, MacroModifyKind::None},
                          {0xE7, MacroModifyKind::None},  {0xE8, MacroModifyKind::Key},   {0x41, MacroModifyKind::Key}};
    for (const Kind& k : kinds) EXPECT_EQ(MacroModifyKindOf({k.b0, 0, 0, 0}), k.kind) << int(k.b0);

    // A key keeps its direction and costs no step.
    MacroKey m = Macro({Down('A'), Up('A')}, 2);
    ModifyMacroKey(m, 1, 0x74);
    EXPECT_EQ(Used(m), (std::vector<MacroAction>{Down('A'), Up(0x74)}));
    EXPECT_EQ(m.commandActionNum, 2);
}

TEST(MacroDelete, StepsAndSelection)
{
    struct Case {
        int selection;
        int newSelection;
        int steps;  // after, from 3
    };
    const Case cases[] = {
        {0, 0, 2},    // key: one step less, the next action moves up
        {1, 1, 3},    // 200 ms pause: no step
        {2, 1, 2},    // the last: selection moves back
        {3, -1, 3},   // nothing selected there
        {-1, -1, 3},
    };
    for (const Case& c : cases) {
        MacroKey m = Macro({Down('A'), Pause(200), Up('A')}, 3);
        EXPECT_EQ(DeleteMacroAction(m, c.selection), c.newSelection) << c.selection;
        EXPECT_EQ(m.commandActionNum, c.steps) << c.selection;
    }
    MacroKey one = Macro({Down('A')}, 0);  // a file's count may already be 0
    EXPECT_EQ(DeleteMacroAction(one, 0), -1);
    EXPECT_EQ(one.commandActionNum, 0);
}

TEST(MacroDialogValues, TypedValuesBecomeActionBytes)
{
    EXPECT_EQ(Bytes(PickedKeyAction(Up('A'), 0x74)), (std::vector<uint8_t>{0x74, 0x80, 0, 0}));

    struct Time {
        std::u16string typed;
        std::vector<uint8_t> bytes;
    };
    // Pauses are held to the 4,095 ms one step on the mouse can keep.
    const Time times[] = {{u"4095", {3, 0x00, 0x0F, 0xFF}},
                          {u"4096", {3, 0x00, 0x0F, 0xFF}},
                          {u"15300000", {3, 0x00, 0x0F, 0xFF}},
                          {u"99999999999999999999999", {3, 0x00, 0x0F, 0xFF}},
                          {u"", {3, 0, 0, 0}},
                          {u"-5", {3, 0, 0, 0}}};
    for (const Time& t : times) EXPECT_EQ(Bytes(PauseFromText(t.typed)), t.bytes) << std::string(t.typed.begin(), t.typed.end());
    EXPECT_FALSE(PauseTextOverLimit(u"4095"));
    EXPECT_TRUE(PauseTextOverLimit(u"4096"));

    struct Move {
        int choice;
        std::u16string typed;
        std::vector<uint8_t> bytes;
        std::u16string shown;  // what the dialog shows for the result
    };
    const Move moves[] = {{5, u"200", {0xE5, 0, 0, 0x81}, u"127"}, {6, u"0", {0xE5, 0, 0, 0x01}, u"1"},
                          {7, u"5", {0xE6, 0, 0, 0xFB}, u"5"},     {8, u"127", {0xE6, 0, 0, 0x7F}, u"127"},
                          {7, u"-9", {0xE6, 0, 0, 0xFF}, u"1"}};
    for (const Move& mv : moves) {
        MacroAction a = MoveFromText({0xE5, 0, 7, 0}, mv.choice, mv.typed);
        EXPECT_EQ(Bytes(a), mv.bytes) << mv.choice;
        EXPECT_EQ(MoveText(a, mv.choice), mv.shown) << mv.choice;
    }
}

TEST(MacroDialogValues, NamesAndLoopCount)
{
    MacroSet set;
    set.macros.emplace_back(u"Copy");
    set.macros.emplace_back(u"Paste");
    const MacroKey& copy = set.macros.front();

    struct Name {
        std::u16string name;
        int add, rename;  // refusals for a new macro and for renaming "Copy"
    };
    const Name names[] = {
        {u"", macro_text::kNameEmpty, macro_text::kNameEmpty},
        {std::u16string(24, u'x'), 0, 0},
        {std::u16string(25, u'x'), macro_text::kNameTooLong, macro_text::kNameTooLong},
        {u"Copy", macro_text::kNameUsed, 0},
        {u"Paste", macro_text::kNameUsed, macro_text::kNameUsed},
        {u"paste", 0, 0},
    };
    for (const Name& n : names) {
        EXPECT_EQ(CheckNewMacroName(set, n.name).text, n.add) << n.name.size();
        EXPECT_EQ(CheckMacroRename(set, copy, n.name).text, n.rename) << n.name.size();
    }

    struct Loop {
        std::u16string typed;
        int value;
        std::optional<std::u16string> shown;
    };
    const Loop loops[] = {{u"300", 255, u"255"}, {u"0", 1, u"1"},   {u"", 1, u"1"},
                          {u"255", 255, {}},     {u"7", 7, {}},     {u"99999999999999999999", 255, u"255"}};
    for (const Loop& l : loops) {
        MacroLoopCount c = LoopCountFromText(l.typed);
        EXPECT_EQ(c.value, l.value);
        EXPECT_EQ(c.shown, l.shown);
    }
}

}  // namespace
