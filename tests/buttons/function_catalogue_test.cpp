#include "buttons/function_catalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

#include "base/text_codec.h"
#include "base/ui_text.h"

namespace {

constexpr ButtonMenu kAllMenus[] = {ButtonMenu::Main,   ButtonMenu::Dpi,     ButtonMenu::Multimedia,
                                    ButtonMenu::Office, ButtonMenu::Windows, ButtonMenu::DpiLock};

std::tuple<int, int, int> Bytes(ButtonFunctionCode c) { return {c.type, c.param, c.extra}; }

const CatalogueItem& Item(ButtonMenu menu, int number) { return GetMenuItems(menu)[size_t(number - 1)]; }

class Catalogue : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearUiTexts();
        g_uiTexts[kTextFire] = u"Fire+";
        g_uiTexts[kTextDpiLock] = u"DPI Lock";
        g_uiTexts[kTextMacroLabelPrefix] = u"Macro:";
        g_uiTexts[60] = u"Copy";
    }
    void TearDown() override { ClearUiTexts(); }
};

}  // namespace

TEST_F(Catalogue, RowsAreNumberedWithUniqueCodesAndValidTexts)
{
    // The menus report a row by caption and code: two rows with one code would
    // make a stored button ambiguous, two with one text indistinguishable.
    std::set<std::tuple<int, int, int>> codes;
    std::set<int> texts;
    size_t assignable = 0;
    for (ButtonMenu m : kAllMenus) {
        auto items = GetMenuItems(m);
        for (size_t i = 0; i < items.size(); ++i) {
            const CatalogueItem& it = items[i];
            EXPECT_EQ(it.number, int(i + 1));
            if (!it.caption) {
                EXPECT_TRUE(it.textNumber > 0 && it.textNumber < kUiTextCount) << it.textNumber;
                EXPECT_TRUE(texts.insert(it.textNumber).second) << it.textNumber;
            }
            // A row assigns a code or leads to a menu or dialog, never both.
            EXPECT_NE(it.hasCode, it.opens != CatalogueOpens::Nothing) << it.textNumber;
            if (it.hasCode) {
                ++assignable;
                EXPECT_TRUE(codes.insert(Bytes(it.code)).second) << it.textNumber;
            }
        }
    }
    EXPECT_EQ(assignable, 8u + 3u + 10u + 9u + 6u + 11u);
    // Spot checks of byte order: consumer usages go low byte first.
    EXPECT_EQ(Bytes(Item(ButtonMenu::Multimedia, 1).code), std::make_tuple(0x80, 0x83, 0x01));
    EXPECT_EQ(Bytes(Item(ButtonMenu::Windows, 2).code), std::make_tuple(0x70, 0x04, 0x3D));
}

TEST_F(Catalogue, SubMenuMarkersAndDialogRows)
{
    std::set<int> marked;
    for (const CatalogueItem& it : GetMenuItems(ButtonMenu::Main))
        if (OpensSubMenu(it)) marked.insert(it.number);
    EXPECT_EQ(marked, (std::set<int>{6, 9, 11, 12, 13, 15}));
    EXPECT_EQ(Item(ButtonMenu::Main, 7).opens, CatalogueOpens::FireDialog);
    EXPECT_EQ(Item(ButtonMenu::Main, 10).opens, CatalogueOpens::KeyCombinationDialog);
}

TEST_F(Catalogue, Labels)
{
    EXPECT_EQ(ItemLabel(Item(ButtonMenu::Office, 1)), u"Copy");
    EXPECT_EQ(ItemLabel(Item(ButtonMenu::Main, 7)), u"Fire");
    const CatalogueItem& lock1200 = Item(ButtonMenu::DpiLock, 11);
    EXPECT_EQ(Bytes(lock1200.code), std::make_tuple(0x50, 0x0B, 0x00));
    EXPECT_EQ(ItemLabel(lock1200), u"DPI Lock-1200");
    for (const CatalogueItem& it : GetMenuItems(ButtonMenu::DpiLock))
        EXPECT_EQ(ItemCaption(it), Ascii(std::to_string(DpiLockDpi(it.code.param))));

    g_uiTexts[kTextFire] = u"Fire++";
    EXPECT_EQ(FireFunctionLabel(), u"Fire+");  // only one "+" goes

    EXPECT_EQ(MacroNameFromLabel(MacroFunctionLabel(u"Combo 1")), u"Combo 1");
    EXPECT_EQ(MacroNameFromLabel(u"Mac"), u"");  // a label from a file may be shorter than the prefix
}

TEST_F(Catalogue, FireCodeRefusesShortIntervalsAndNeverWrapsBelowFive)
{
    EXPECT_FALSE(MakeFireCode(4, 3));
    EXPECT_EQ(Bytes(*MakeFireCode(5, 0)), std::make_tuple(0x30, 5, 0));
    EXPECT_EQ(*MakeFireCode(50, 3), Item(ButtonMenu::Main, 8).code);  // the menu preset
    // 260 would be 4 in its low byte, below the device's minimum.
    EXPECT_EQ(Bytes(*MakeFireCode(260, 256)), std::make_tuple(0x30, 255, 255));
    EXPECT_EQ(Bytes(*MakeFireCode(1LL << 40, -1)), std::make_tuple(0x30, 255, 0));
}

TEST_F(Catalogue, AFireButtonShowsItsIntervalAndCountWhateverLabelItStores)
{
    g_uiTexts[kTextTripleClick] = u"Triple click";
    g_uiTexts[kTextFireCaption] = u"Fire %1 ms \u00D7 %2";
    // Two fire buttons set apart, the factory button 8 (stored as "Fire+"),
    // the triple-click preset and any other function.
    EXPECT_EQ(ButtonCaption(FireFunctionLabel(), *MakeFireCode(30, 3)), u"Fire 30 ms \u00D7 3");
    EXPECT_EQ(ButtonCaption(FireFunctionLabel(), *MakeFireCode(255, 0)), u"Fire 255 ms \u00D7 0");
    EXPECT_EQ(ButtonCaption(UiText(kTextFire), kFactoryButtons[7].code), u"Fire 50 ms \u00D7 3");
    EXPECT_EQ(ButtonCaption(u"Triple click", Item(ButtonMenu::Main, 8).code), u"Triple click");
    EXPECT_EQ(ButtonCaption(u"Copy", Item(ButtonMenu::Office, 1).code), u"Copy");
}

TEST_F(Catalogue, KeyCombinationCaptionAndCode)
{
    auto ctrlShiftA = BuildKeyCombination(kModShift | kModCtrl, u"A", 0x04);
    ASSERT_TRUE(ctrlShiftA);
    EXPECT_EQ(ctrlShiftA->caption, u"Ctrl+Shift+A");
    EXPECT_EQ(Bytes(ctrlShiftA->code), std::make_tuple(0x70, 0x03, 0x04));

    auto all = BuildKeyCombination(0xFF, u"F4", 0x3D);  // bits above Win are not modifiers
    ASSERT_TRUE(all);
    EXPECT_EQ(all->caption, u"Ctrl+Shift+Alt+Win+F4");
    EXPECT_EQ(all->code.param, 0x0F);

    auto modifiersOnly = BuildKeyCombination(kModCtrl, u"", 0);
    ASSERT_TRUE(modifiersOnly);
    EXPECT_EQ(modifiersOnly->caption, u"Ctrl");
    EXPECT_EQ(Bytes(modifiersOnly->code), std::make_tuple(0x70, 0x01, 0x00));

    EXPECT_FALSE(BuildKeyCombination(0xF0, u"", 0));
}

TEST_F(Catalogue, FactoryButtonsMatchTheirMenuRows)
{
    // Buttons 0-4 are the first five function-menu rows, 5 and 6 the first
    // two DPI rows, 7 the fire preset under the fire dialog's own text.
    for (int b = 0; b < kProgrammableButtons; ++b) {
        const CatalogueItem& row = b < 5 ? Item(ButtonMenu::Main, b + 1)
                                 : b < 7 ? Item(ButtonMenu::Dpi, b - 4)
                                         : Item(ButtonMenu::Main, 8);
        EXPECT_EQ(kFactoryButtons[b].code, row.code) << b;
        EXPECT_EQ(kFactoryButtons[b].textNumber, b < 7 ? row.textNumber : kTextFire) << b;
    }
}
