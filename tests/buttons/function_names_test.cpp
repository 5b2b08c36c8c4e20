// Names of button functions for the command line: what is printed must read
// back as the same function, and what is typed wrong must be refused rather
// than guessed.
#include "buttons/function_names.h"

#include <gtest/gtest.h>

#include "buttons/function_catalogue.h"
#include "base/text_codec.h"
#include "base/ui_text.h"

namespace {

class Names : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearUiTexts();
        for (int n : {20, 27, 60, 63}) g_uiTexts[n] = u"Text " + Ascii(std::to_string(n));
        g_uiTexts[kTextFire] = u"Fire+";
        g_uiTexts[kTextDpiLock] = u"DPI lock";
        g_uiTexts[kTextMacroLabelPrefix] = u"Macro: ";
        library.AppendSet(u"First");
        library.AppendMacro(*library.SetAt(0), u"go");
        library.AppendSet(u"My \"big\" set");
        library.AppendMacro(*library.SetAt(1), u"two words");
    }
    void TearDown() override { ClearUiTexts(); }
    MacroLibrary library;
};

}  // namespace

TEST_F(Names, WhatIsPrintedReadsBackAsTheSameFunction)
{
    struct {
        std::u16string label;
        ButtonFunctionCode code;
        const char16_t* words;
    } cases[] = {
        {u"Text 20", {0x10, 0x01, 0}, u"left"},
        {u"Text 27", {0x30, 50, 3}, u"triple-click"},
        {u"Fire", {0x30, 50, 3}, u"fire 50 3"},  // the same bytes set through the fire dialog
        {u"Text 60", {0x70, 0x01, 0x06}, u"copy"},
        {u"Ctrl+C", {0x70, 0x01, 0x06}, u"Ctrl+C"},
        {u"Ctrl+Shift+A", {0x70, 0x03, 0x04}, u"Ctrl+Shift+A"},
        {u"Alt+Page Up", {0x70, 0x04, 0x4B}, u"\"Alt+Page Up\""},
        {u"Ctrl", {0x70, 0x01, 0x00}, u"Ctrl"},
        {u"DPI lock-1200", {0x50, 11, 0}, u"dpi-lock-1200"},
        {u"Macro: go", {0x90, 0, 0}, u"macro First go"},
        {u"Macro: two words", {0x90, 1, 0}, u"macro \"My \\\"big\\\" set\" \"two words\""},
        {u"from a file", {0x12, 0x34, 0x56}, u"code 12 34 56"},
        {u"Macro: gone", {0x90, 0x21, 0x01}, u"code 90 21 01"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(U16ToUtf8(c.words));
        const std::u16string words = FormatButtonFunction(c.label, c.code, library);
        EXPECT_EQ(words, c.words);
        const auto back = ParseButtonFunction(words, library);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->code, c.code);
        if (c.code.type != 0x12 && c.code.param != 0x21) { EXPECT_EQ(back->label, c.label); }
    }
    // Every catalogue row by its own name.
    for (ButtonMenu m : {ButtonMenu::Main, ButtonMenu::Dpi, ButtonMenu::Multimedia, ButtonMenu::Office,
                         ButtonMenu::Windows, ButtonMenu::DpiLock})
        for (const CatalogueItem& item : GetMenuItems(m)) {
            if (!item.hasCode) continue;
            const auto back = ParseButtonFunction(FormatButtonFunction(ItemLabel(item), item.code, library), library);
            ASSERT_TRUE(back) << item.name;
            EXPECT_EQ(back->code, item.code) << item.name;
            EXPECT_EQ(back->label, ItemLabel(item)) << item.name;
        }
}

TEST_F(Names, MistypedFunctionsAreRefused)
{
    for (const char16_t* words :
         {u"", u"fire 4 3", u"fire 256 1", u"fire 50 256", u"fire 50", u"fire -5 3", u"Ctrl+Ctrl+A", u"A+Ctrl",
          u"Ctrl+A+B", u"Shift_L", u"Win_L", u"Ctrl+", u"Undefined", u"leftt", u"dpi-menu", u"macro First nope",
          u"macro Nope go", u"macro First", u"code 1 2", u"code 100 0 0", u"\"Ctrl+A", u"left right"}) {
        EXPECT_FALSE(ParseButtonFunction(words, library)) << U16ToUtf8(words);
    }
    // Case does not matter for words and key names.
    const auto lower = ParseButtonFunction(u"ctrl+shift+a", library);
    ASSERT_TRUE(lower);
    EXPECT_EQ(lower->code, (ButtonFunctionCode{0x70, 0x03, 0x04}));
    EXPECT_EQ(lower->label, u"Ctrl+Shift+A");
    const auto macro = ParseButtonFunction(u"macro First go", library);
    ASSERT_TRUE(macro);
    EXPECT_EQ(macro->macro, library.MacroAt(*library.SetAt(0), 0));
}
