// Every function a user can give a button, chosen by its name, stored through
// the one assignment path and applied: the simulated mouse must end up with
// the right key report for that button.
#include <gtest/gtest.h>

#include "../device/device_test_support.h"
#include "buttons/button_assignment.h"
#include "buttons/function_catalogue.h"
#include "buttons/function_names.h"
#include "base/text_codec.h"

namespace {

constexpr ButtonMenu kMenus[] = {ButtonMenu::Main,   ButtonMenu::Dpi,     ButtonMenu::Multimedia,
                                 ButtonMenu::Office, ButtonMenu::Windows, ButtonMenu::DpiLock};
constexpr int kButton = 5;  // device index 5 is record button 5

struct Case {
    std::u16string words;
    std::array<uint8_t, 3> report;  // what the mouse holds afterwards
    std::u16string label;           // empty: not checked
};

class CatalogueToMouse : public LinkTest {
protected:
    void SetUp() override
    {
        ClearUiTexts();
        g_uiTexts[kTextFire] = u"Fire+";
        g_uiTexts[kTextMacroLabelPrefix] = u"Macro: ";
        g_uiTexts[34] = u"Disabled";
        library.AppendSet(u"First");
        library.AppendSet(u"Second set");
        for (const char16_t* name : {u"one", u"two", u"three"}) library.AppendMacro(*library.SetAt(0), name);
        library.AppendMacro(*library.SetAt(1), u"jump");
        MacroKey& jump = *library.MacroAt(*library.SetAt(1), 0);
        jump.InsertAction(0, MacroAction::Key(0x20, false));
        jump.InsertAction(1, MacroAction::Key(0x20, true));
        jump.commandActionNum = 2;
        jump.loopType = 1;
        StartUp();
    }
    void TearDown() override { ClearUiTexts(); }
};

}  // namespace

TEST_F(CatalogueToMouse, EveryFunctionReachesTheMouseAsItsKeyReport)
{
    std::vector<Case> cases;
    for (ButtonMenu menu : kMenus)
        for (const CatalogueItem& item : GetMenuItems(menu))
            if (item.hasCode) cases.push_back({Ascii(item.name), {item.code.type, item.code.param, item.code.extra}, {}});
    cases.push_back({u"fire 100 3", {0x30, 100, 3}, u"Fire"});
    cases.push_back({u"Ctrl+A", {0x70, 0x01, 0x04}, u"Ctrl+A"});
    cases.push_back({u"Ctrl+Shift", {0x70, 0x03, 0x00}, u"Ctrl+Shift"});
    // Macros go out under the device slot the slot pass gives them (first
    // free slot 1, loop type in the high nibble), whatever set they are in.
    cases.push_back({u"macro First three", {0x90, 0x21, 0x01}, u"Macro: three"});
    cases.push_back({u"macro \"Second set\" jump", {0x90, 0x11, 0x00}, u"Macro: jump"});
    ASSERT_EQ(cases.size(), 47u + 5u);

    for (const Case& c : cases) {
        SCOPED_TRACE(U16ToUtf8(c.words));
        // Start from something no case produces, so every case must send.
        Active().buttons[kButton].code = {0x10, 0x08, 0};
        ApplyAll();
        const auto parsed = ParseButtonFunction(c.words, library);
        ASSERT_TRUE(parsed);
        const AssignmentOutcome out = AssignButtonFunction(Active(), kButton, parsed->label, parsed->code, parsed->macro);
        EXPECT_TRUE(out.stored && out.sendButtons);
        if (!c.label.empty()) { EXPECT_EQ(Active().buttons[kButton].label, c.label); }
        ApplyAll();
        EXPECT_EQ(sim.State().buttons[kButton], c.report);
    }
}

TEST_F(CatalogueToMouse, MacroOfTheSecondSetIsUploadedWithItsButton)
{
    const auto choice = ChooseLibraryMacro(library, 1, 0);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->code, (ButtonFunctionCode{0x90, 0x01, 0x00}));
    AssignButtonFunction(Active(), kButton, choice->label, choice->code, choice->macro);
    EXPECT_EQ(Active().buttons[kButton].macro, *choice->macro);  // the button keeps its own copy
    ApplyAll();
    EXPECT_EQ(sim.State().buttons[kButton], (std::array<uint8_t, 3>{0x90, 0x11, 0x00}));
    ASSERT_EQ(sim.State().macros.count(1), 1u);
    EXPECT_EQ(sim.State().macros.at(1).data, (std::vector<uint8_t>{0x30, 0, 0x2C, 0xB0, 0, 0x2C}));
    EXPECT_EQ(Active().buttons[kButton].label, u"Macro: jump");
}
