#include "buttons/function_catalogue.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <tuple>

#include "persist/ui_text.h"

namespace {

constexpr ButtonMenu kAllMenus[] = {ButtonMenu::Main,   ButtonMenu::Dpi,     ButtonMenu::Multimedia,
                                    ButtonMenu::Office, ButtonMenu::Windows, ButtonMenu::DpiLock};

std::tuple<int, int, int> Bytes(ButtonFunctionCode c) { return {c.type, c.param, c.extra}; }

const CatalogueItem& Item(ButtonMenu menu, int number)
{
    return GetMenuItems(menu)[static_cast<size_t>(number - 1)];
}

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

TEST_F(Catalogue, MenusHaveTheirRowCountsNumberedFromOne)
{
    const std::map<ButtonMenu, size_t> sizes = {{ButtonMenu::Main, 16},  {ButtonMenu::Dpi, 3},
                                                {ButtonMenu::Multimedia, 10}, {ButtonMenu::Office, 9},
                                                {ButtonMenu::Windows, 6}, {ButtonMenu::DpiLock, 11}};
    for (ButtonMenu m : kAllMenus) {
        auto items = GetMenuItems(m);
        ASSERT_EQ(items.size(), sizes.at(m));
        for (size_t i = 0; i < items.size(); ++i) EXPECT_EQ(items[i].number, static_cast<int>(i + 1));
    }
}

TEST_F(Catalogue, AssignableCodesAreUniqueAndTextNumbersValid)
{
    // The menus report a row by its caption and code; two rows with one code
    // would make a stored button ambiguous, two with one text indistinguishable.
    std::set<std::tuple<int, int, int>> codes;
    std::set<int> texts;
    for (ButtonMenu m : kAllMenus) {
        for (const CatalogueItem& it : GetMenuItems(m)) {
            if (it.caption) {
                EXPECT_EQ(it.textNumber, 0);
            } else {
                EXPECT_GT(it.textNumber, 0);
                EXPECT_LT(it.textNumber, kUiTextCount);
                EXPECT_TRUE(texts.insert(it.textNumber).second) << "text " << it.textNumber;
            }
            // A row either assigns a code or leads to a menu or dialog, never both.
            EXPECT_NE(it.hasCode, it.opens != CatalogueOpens::Nothing) << it.textNumber;
            if (it.hasCode) {
                EXPECT_TRUE(codes.insert(Bytes(it.code)).second) << it.textNumber;
            }
        }
    }
    EXPECT_EQ(codes.size(), 16u - 8u + 3u + 10u + 9u + 6u + 11u);
}

TEST_F(Catalogue, MainMenuLeadsWhereTheButtonMenuExpects)
{
    const std::map<int, CatalogueOpens> leads = {
        {6, CatalogueOpens::DpiMenu},         {7, CatalogueOpens::FireDialog},
        {9, CatalogueOpens::MacroMenu},       {10, CatalogueOpens::KeyCombinationDialog},
        {11, CatalogueOpens::MultimediaMenu}, {12, CatalogueOpens::OfficeMenu},
        {13, CatalogueOpens::WindowsMenu},    {15, CatalogueOpens::DpiLockMenu}};
    for (const CatalogueItem& it : GetMenuItems(ButtonMenu::Main)) {
        auto found = leads.find(it.number);
        EXPECT_EQ(it.opens, found == leads.end() ? CatalogueOpens::Nothing : found->second) << it.number;
        const bool marker = it.number == 6 || it.number == 9 || (it.number >= 11 && it.number <= 13) ||
                            it.number == 15;
        EXPECT_EQ(OpensSubMenu(it), marker) << it.number;
    }
    EXPECT_EQ(Item(ButtonMenu::Main, 7).label, LabelRule::FireCaption);
    EXPECT_EQ(Item(ButtonMenu::Main, 9).label, LabelRule::MacroName);
    EXPECT_EQ(Item(ButtonMenu::Main, 10).label, LabelRule::KeyCombination);
}

TEST_F(Catalogue, CodesAsTheMouseExpectsThem)
{
    using T = std::tuple<int, int, int>;
    EXPECT_EQ(Bytes(Item(ButtonMenu::Main, 1).code), T(0x10, 0x01, 0x00));
    EXPECT_EQ(Bytes(Item(ButtonMenu::Main, 4).code), T(0x10, 0x10, 0x00));
    EXPECT_EQ(Bytes(Item(ButtonMenu::Main, 5).code), T(0x10, 0x08, 0x00));
    EXPECT_EQ(Bytes(Item(ButtonMenu::Main, 8).code), T(0x30, 0x32, 0x03));
    EXPECT_EQ(Bytes(Item(ButtonMenu::Main, 14).code), T(0x60, 0x04, 0x00));
    EXPECT_EQ(Bytes(Item(ButtonMenu::Main, 16).code), T(0x00, 0x00, 0x00));
    EXPECT_EQ(Bytes(Item(ButtonMenu::Dpi, 1).code), T(0x40, 0x02, 0x00));
    EXPECT_EQ(Bytes(Item(ButtonMenu::Dpi, 3).code), T(0x40, 0x01, 0x00));
    // Consumer usages go low byte first.
    EXPECT_EQ(Bytes(Item(ButtonMenu::Multimedia, 1).code), T(0x80, 0x83, 0x01));
    EXPECT_EQ(Bytes(Item(ButtonMenu::Multimedia, 6).code), T(0x80, 0xE2, 0x00));
    EXPECT_EQ(Bytes(Item(ButtonMenu::Multimedia, 10).code), T(0x80, 0x92, 0x01));
    EXPECT_EQ(Bytes(Item(ButtonMenu::Windows, 1).code), T(0x80, 0x94, 0x01));
    EXPECT_EQ(Bytes(Item(ButtonMenu::Windows, 2).code), T(0x70, 0x04, 0x3D));
    EXPECT_EQ(Bytes(Item(ButtonMenu::Windows, 6).code), T(0x70, 0x08, 0x52));
    EXPECT_EQ(Bytes(Item(ButtonMenu::Office, 1).code), T(0x70, 0x01, 0x06));
    EXPECT_EQ(Bytes(Item(ButtonMenu::Office, 8).code), T(0x70, 0x08, 0x08));
    EXPECT_EQ(Bytes(Item(ButtonMenu::Office, 9).code), T(0x70, 0x01, 0x1D));
}

TEST_F(Catalogue, DpiLockRowsLockTheDpiTheirCaptionsShow)
{
    for (const CatalogueItem& it : GetMenuItems(ButtonMenu::DpiLock)) {
        EXPECT_EQ(Bytes(it.code), std::make_tuple(0x50, it.number, 0));
        const std::string dpi = std::to_string(DpiLockDpi(it.number));
        EXPECT_EQ(ItemCaption(it), std::u16string(dpi.begin(), dpi.end()));
    }
    const CatalogueItem& last = Item(ButtonMenu::DpiLock, 11);
    EXPECT_EQ(Bytes(last.code), std::make_tuple(0x50, 0x0B, 0x00));
    EXPECT_EQ(ItemLabel(last), u"DPI Lock-1200");
}

TEST_F(Catalogue, LabelsFollowTheirRules)
{
    EXPECT_EQ(ItemLabel(Item(ButtonMenu::Office, 1)), u"Copy");
    EXPECT_EQ(ItemLabel(Item(ButtonMenu::Main, 7)), u"Fire");
    EXPECT_EQ(FireFunctionLabel(), u"Fire");
    g_uiTexts[kTextFire] = u"Fire++";
    EXPECT_EQ(FireFunctionLabel(), u"Fire+");  // only one "+" goes
    g_uiTexts[kTextFire] = u"";
    EXPECT_EQ(FireFunctionLabel(), u"");

    EXPECT_EQ(MacroFunctionLabel(u"Combo 1"), u"Macro:Combo 1");
    EXPECT_EQ(MacroNameFromLabel(MacroFunctionLabel(u"Combo 1")), u"Combo 1");
    // A label edited in a file may be shorter than the prefix.
    EXPECT_EQ(MacroNameFromLabel(u"Mac"), u"");
    EXPECT_EQ(MacroNameFromLabel(u"Macro:"), u"");
}

TEST_F(Catalogue, FireCodeRefusesShortIntervalsAndNeverWrapsBelowFive)
{
    EXPECT_FALSE(MakeFireCode(0, 3));
    EXPECT_FALSE(MakeFireCode(4, 3));
    ASSERT_TRUE(MakeFireCode(5, 0));
    EXPECT_EQ(Bytes(*MakeFireCode(5, 0)), std::make_tuple(0x30, 5, 0));
    // The dialog's values 50 and 3 give the menu preset.
    EXPECT_EQ(*MakeFireCode(50, 3), Item(ButtonMenu::Main, 8).code);
    // 260 would be 4 in its low byte, below the device's minimum.
    EXPECT_EQ(Bytes(*MakeFireCode(260, 256)), std::make_tuple(0x30, 255, 255));
    EXPECT_EQ(Bytes(*MakeFireCode(1LL << 40, -1)), std::make_tuple(0x30, 255, 0));
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

    auto keyOnly = BuildKeyCombination(0, u"Esc", 0x29);
    ASSERT_TRUE(keyOnly);
    EXPECT_EQ(keyOnly->caption, u"Esc");

    EXPECT_FALSE(BuildKeyCombination(0, u"", 0));
    EXPECT_FALSE(BuildKeyCombination(0xF0, u"", 0));
}

TEST_F(Catalogue, FactoryButtonsMatchTheirMenuRowsAndKeepALeftButton)
{
    // Buttons 0-4 are the first five rows of the function menu, 5 and 6 the
    // first two DPI rows, 7 the fire preset under the fire dialog's text.
    for (int b = 0; b < 5; ++b) {
        EXPECT_EQ(kFactoryButtons[b].code, Item(ButtonMenu::Main, b + 1).code) << b;
        EXPECT_EQ(kFactoryButtons[b].textNumber, Item(ButtonMenu::Main, b + 1).textNumber) << b;
    }
    for (int b = 5; b < 7; ++b) {
        EXPECT_EQ(kFactoryButtons[b].code, Item(ButtonMenu::Dpi, b - 4).code) << b;
        EXPECT_EQ(kFactoryButtons[b].textNumber, Item(ButtonMenu::Dpi, b - 4).textNumber) << b;
    }
    EXPECT_EQ(kFactoryButtons[7].textNumber, kTextFire);
    EXPECT_EQ(kFactoryButtons[7].code, Item(ButtonMenu::Main, 8).code);
    EXPECT_EQ(kFactoryButtons[0].code, kLeftButtonCode);
}
