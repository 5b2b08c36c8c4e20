// The assignment rules the window and the command line share: the left
// button that must stay, the key-combination capture, the fire dialog's
// boxes and the menus' places near the bottom of the screen.
#include <gtest/gtest.h>

#include <tuple>

#include "buttons/button_assignment.h"
#include "buttons/fire_input.h"
#include "buttons/key_capture.h"
#include "buttons/menu_placement.h"
#include "base/ui_text.h"
#include "profile/profile_record.h"

namespace {

constexpr ButtonFunctionCode kRight{0x10, 0x02, 0};

class Rules : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearUiTexts();
        g_uiTexts[kTextLeftButton] = u"Left button";
        g_uiTexts[kTextFire] = u"Fire+";
        g_uiTexts[kTextMacroLabelPrefix] = u"Macro: ";
        ResetProfileToDefaults(profile, 0);
    }
    void TearDown() override { ClearUiTexts(); }
    ProfileRecord profile;
};

}  // namespace

TEST_F(Rules, TheLastLeftButtonIsPutBackOnTheButtonJustAssigned)
{
    struct Case {
        const char* what;
        int leftOn;        // -1: the factory profile (left on button 0 only)
        int extraLeft;     // a second left button, or -1
        int button;
        bool restored;
    } cases[] = {
        {"right on the only left button", -1, -1, 0, true},
        {"right on one of two left buttons", -1, 6, 0, false},
        {"another button keeps the left one", -1, -1, 2, false},
        // The key dialog's button, not button 0, is the one put back.
        {"only left button moved to button 4", 4, -1, 4, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetProfileToDefaults(profile, 0);
        if (c.leftOn >= 0) {
            profile.buttons[0].code = kRight;
            profile.buttons[size_t(c.leftOn)].code = kLeftButtonCode;
        }
        if (c.extraLeft >= 0) profile.buttons[size_t(c.extraLeft)].code = kLeftButtonCode;
        const ProfileRecord before = profile;
        const auto out = AssignButtonFunction(profile, c.button, u"Ctrl+A", {0x70, 0x01, 0x04});
        const size_t b = size_t(c.button);
        EXPECT_EQ(out.leftButtonRestored, c.restored);
        EXPECT_EQ(out.sendButtons, !c.restored);
        EXPECT_EQ(out.warningText, c.restored ? kTextKeepLeftButton : 0);
        if (c.restored) {
            EXPECT_EQ(out.caption, u"Left button");
            EXPECT_EQ(profile.buttons[b].label, u"Left button");
            EXPECT_EQ(profile.buttons[b].code, kLeftButtonCode);
            for (size_t i = 0; i < 8; ++i)
                if (i != b) { EXPECT_EQ(profile.buttons[i], before.buttons[i]) << i; }
        } else {
            EXPECT_EQ(profile.buttons[b].code, (ButtonFunctionCode{0x70, 0x01, 0x04}));
        }
        EXPECT_GE(CountLeftButtons(profile), 1);
    }
}

TEST_F(Rules, IndexesPastTheButtonsAndMacroCopies)
{
    const ProfileRecord before = profile;
    for (int button : {kButtonCount, 13, -1, 2013}) {
        const auto out = AssignButtonFunction(profile, button, u"Right button", kRight);
        EXPECT_EQ(out.caption, u"Right button");
        EXPECT_FALSE(out.stored || out.sendButtons || out.warningText);
    }
    EXPECT_EQ(profile, before);

    MacroLibrary library;
    library.AppendSet(u"S");
    for (const char16_t* n : {u"a", u"b", u"third"}) library.AppendMacro(*library.SetAt(0), n);
    library.MacroAt(*library.SetAt(0), 2)->InsertAction(0, MacroAction::Key(0x41, false));
    EXPECT_FALSE(ChooseLibraryMacro(library, 0, 3));
    EXPECT_FALSE(ChooseLibraryMacro(library, 1, 0));
    const auto third = ChooseLibraryMacro(library, 0, 2);
    ASSERT_TRUE(third);
    EXPECT_EQ(third->label, u"Macro: third");
    EXPECT_EQ(third->code, (ButtonFunctionCode{0x90, 0x00, 0x02}));
    AssignButtonFunction(profile, 2, third->label, third->code, third->macro);
    EXPECT_EQ(profile.buttons[2].macro.actionNum, 1u);
    EXPECT_EQ(profile.buttons[2].macro.name, u"third");
    // A function without a macro empties the copy but keeps its name.
    AssignButtonFunction(profile, 2, u"Right button", kRight);
    EXPECT_EQ(profile.buttons[2].macro.actionNum, 0u);
    EXPECT_EQ(profile.buttons[2].macro.name, u"third");
}

TEST_F(Rules, KeyCaptureTakesOnlyKeysTheMouseCanSend)
{
    struct {
        int vk;
        const char16_t* name;  // nullptr: the event changes nothing
        uint8_t usage;
    } cases[] = {
        {0x41, u"A", 0x04},       {0x70, u"F1", 0x3A},    {0x28, u"Down Arrow", 0x51},
        {0xA0, nullptr, 0},       {0xA5, nullptr, 0},     {0x5B, nullptr, 0},  {0x5C, nullptr, 0},
        {0x141, nullptr, 0},      {-1, nullptr, 0},       {0x01, nullptr, 0},  // left mouse button: no key usage
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.vk);
        const auto key = CaptureKeyEvent(c.vk);
        ASSERT_EQ(bool(key), c.name != nullptr);
        if (!key) continue;
        EXPECT_EQ(key->name, c.name);
        EXPECT_EQ(key->usage, c.usage);
    }
    const auto ctrlShiftA = ConfirmKeyCombination(kModCtrl | kModShift, CaptureKeyEvent(0x41));
    ASSERT_TRUE(ctrlShiftA);
    EXPECT_EQ(ctrlShiftA->caption, u"Ctrl+Shift+A");
    EXPECT_EQ(ctrlShiftA->code, (ButtonFunctionCode{0x70, 0x03, 0x04}));
    EXPECT_FALSE(ConfirmKeyCombination(0, CaptureKeyEvent(0xA0)));
}

TEST_F(Rules, FireBoxes)
{
    using Fix = std::optional<std::tuple<std::u16string, int>>;
    auto fix = [](std::optional<FireBoxFix> f) -> Fix {
        return f ? Fix{{f->text, f->warningText}} : std::nullopt;
    };
    EXPECT_EQ(fix(CheckIntervalBox(u"300")), (Fix{{u"255", kTextFireIntervalRange}}));
    EXPECT_EQ(fix(CheckIntervalBox(u"255")), std::nullopt);
    EXPECT_EQ(fix(CheckIntervalBox(u"99999999999999999999999")), (Fix{{u"255", kTextFireIntervalRange}}));
    EXPECT_EQ(fix(CheckRepeatCountBox(u"256")), (Fix{{u"255", kTextRepeatCountMax}}));
    EXPECT_EQ(fix(CheckRepeatCountBox(u"")), std::nullopt);

    EXPECT_EQ(TypedCharacterWarning(u'7'), 0);
    EXPECT_EQ(TypedCharacterWarning(u'\b'), 0);
    EXPECT_EQ(TypedCharacterWarning(u'x'), kTextDigitsOnly);
    EXPECT_EQ(TypedCharacterWarning(u'-'), kTextDigitsOnly);

    struct {
        const char16_t* interval;
        const char16_t* count;
        int refusal;
        ButtonFunctionCode code;
    } cases[] = {
        {u"50", u"3", 0, {0x30, 0x32, 0x03}},  {u"4", u"3", kTextFireIntervalRange, {}},
        {u"0", u"0", kTextFireIntervalRange, {}}, {u"", u"", kTextFireIntervalRange, {}},
        {u"5x", u"", 0, {0x30, 5, 0}},           {u"260", u"9", 0, {0x30, 255, 9}},
    };
    for (const auto& c : cases) {
        const FireConfirmation r = ConfirmFire(c.interval, c.count);
        EXPECT_EQ(r.refusalText, c.refusal);
        if (c.refusal) continue;
        EXPECT_EQ(r.result.code, c.code);
        EXPECT_EQ(r.result.caption, u"Fire");  // the dialog's row, not the triple-click preset
    }
}

TEST(MenuPlacement, MenusMoveUpNearTheBottomOfTheScreen)
{
    const MenuBox combo{100, 200, 250, 230};
    struct {
        int windowTop;
        double s;
        MenuBox function, dpi, multimedia;
    } cases[] = {
        // Room below: the function menu opens 20 units above the combo's
        // bottom, the sub-menus further down by their own offsets.
        {100, 1.0, {261, 210, 561, 510}, {411, 332, 711, 632}, {411, 443, 711, 743}},
        // Window low on a 1000-pixel work area: everything moves up.
        {600, 1.0, {261, 106, 561, 406}, {411, 224, 711, 524}, {411, 195, 711, 495}},
        {100, 2.0, {422, 190, 1022, 790}, {572, 434, 1172, 1034}, {572, 656, 1172, 1256}},
        {300, 2.0, {422, 112, 1022, 712}, {572, 348, 1172, 948}, {572, 290, 1172, 890}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.windowTop * 10 + c.s);
        const MenuAnchor a{combo, c.windowTop, 1000, c.s};
        EXPECT_EQ(FunctionMenuBox(a), c.function);
        EXPECT_EQ(SubMenuBox(a, ButtonMenu::Dpi), c.dpi);
        EXPECT_EQ(SubMenuBox(a, ButtonMenu::Multimedia), c.multimedia);
    }
    // A long macro list ends at the bottom of the work area.
    const MenuAnchor low{combo, 600, 1000, 1.0};
    EXPECT_EQ(MacroMenuBox(low, 30).top, 400 - 30 * 22);
    const MenuBox sets = MacroMenuBox(low, 2);
    EXPECT_EQ(MacroCascadeBox(low, sets, 1, 3).left, sets.right);
    EXPECT_EQ(MacroCascadeBox(low, sets, 1, 3).top, std::min(sets.top + 22, 400 - 66));
}
