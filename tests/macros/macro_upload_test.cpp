#include "macros/macro_upload.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "profile/profile_record.h"

namespace {

using Step = std::array<uint8_t, 3>;

MacroKey MakeMacro(std::u16string name, std::initializer_list<MacroAction> actions, uint8_t commandActionNum = 0)
{
    MacroKey m(std::move(name));
    for (const MacroAction& a : actions)
        m.InsertAction(int(m.actionNum), a);
    m.commandActionNum = commandActionNum;
    return m;
}

Step StepAt(const MacroImage& image, int n) { return {image[4 + 3 * n], image[5 + 3 * n], image[6 + 3 * n]}; }

TEST(MacroStepEncoding, KeysWithFoldedPauses)
{
    const MacroKey m = MakeMacro(u"m", {MacroAction::Key(0x41, false), MacroAction::Pause(50), MacroAction::Key(0x41, true)});
    const MacroImage image = BuildMacroImage(m, 3);
    EXPECT_EQ(StepAt(image, 0), (Step{0x30, 0x32, 0x04}));
    EXPECT_EQ(StepAt(image, 1), (Step{0xB0, 0x00, 0x04}));
    EXPECT_EQ(StepAt(image, 2), (Step{0, 0, 0}));
    EXPECT_EQ((std::array<uint8_t, 4>{image[0], image[1], image[2], image[3]}), (std::array<uint8_t, 4>{0x09, 0x90, 3, 0}));
}

TEST(MacroStepEncoding, ModifiersButtonsAndMoves)
{
    EXPECT_EQ(EncodeMacroStep(MacroAction::Key(0xA0, false), 0), (Step{0x20, 0x00, 0x02}));  // Left Shift
    EXPECT_EQ(EncodeMacroStep(MacroAction::Key(0xA5, true), 0), (Step{0xA0, 0x00, 0x40}));   // right Alt release
    EXPECT_EQ(EncodeMacroStep(MacroAction::Key(0xE0, false), 0), (Step{0x10, 0x00, 0x01}));  // left button
    EXPECT_EQ(EncodeMacroStep(MacroAction::Move(0xE5, -5), 0), (Step{0x40, 0x00, 0xFB}));
    EXPECT_EQ(EncodeMacroStep(MacroAction::Move(0xE7, -1), 0), (Step{0x60, 0x00, 0xFF}));
    // Long pauses are cut to what 12 bits hold.
    EXPECT_EQ(EncodeMacroStep(MacroAction::Key(0x41, false), 5000), (Step{0x3F, 0xFF, 0x04}));
    EXPECT_EQ(EncodeMacroStep(MacroAction::Key(0x41, false), 0x123), (Step{0x31, 0x23, 0x04}));
}

TEST(MacroStepEncoding, TranslationTable)
{
    EXPECT_EQ(TranslateMacroCode(0x5A), 0x1D);  // Z: ranges map element by element
    EXPECT_EQ(TranslateMacroCode(0x7B), 0x45);  // F12
    EXPECT_EQ(TranslateMacroCode(0xFB), 0x91);
    // The sideless modifier codes and unlisted keys reach the mouse as usage 0.
    for (uint8_t vk : {0x10, 0x11, 0x12, 0x0A, 0x5E, 0xFF})
        EXPECT_EQ(TranslateMacroCode(vk), 0) << int(vk);
}

TEST(MacroStepEncoding, PausesThatFoldIntoNothing)
{
    // A leading pause has no step before it; a second pause in a row is dropped.
    const MacroKey m = MakeMacro(u"m", {MacroAction::Pause(30), MacroAction::Key(0x42, false), MacroAction::Pause(20),
                                        MacroAction::Pause(900), MacroAction::Key(0x42, true)});
    const MacroImage image = BuildMacroImage(m, 1);
    EXPECT_EQ(StepAt(image, 0), (Step{0x30, 20, 0x05}));
    EXPECT_EQ(StepAt(image, 1), (Step{0xB0, 0, 0x05}));
    EXPECT_EQ(StepAt(image, 2), (Step{0, 0, 0}));
}

TEST(MacroStepEncoding, FullMacroStaysInsideTheImage)
{
    MacroKey m(u"big");
    for (int i = 0; i < kMacroActionSlots; ++i)
        m.InsertAction(i, MacroAction::Key(0x41, i % 2 == 1));
    const MacroImage image = BuildMacroImage(m, 8);
    // 169 steps fill bytes 4..510; the rest of the 336 do not fit and are cut.
    EXPECT_EQ(StepAt(image, 168), (Step{0x30, 0x00, 0x04}));
    EXPECT_EQ(image[511], 0xB0);
}

TEST(MacroPackets, LengthsCountDown)
{
    MacroKey m(u"m");
    for (int i = 0; i < 20; ++i)
        m.InsertAction(i, MacroAction::Key(uint8_t(0x41 + i), false));
    m.commandActionNum = 20;
    const MacroImage image = BuildMacroImage(m, 2);
    const auto packets = BuildMacroPackets(image, 2, m.commandActionNum);
    ASSERT_EQ(packets.size(), 3u);
    const uint8_t lengths[] = {26, 26, 11};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(std::vector<uint8_t>(packets[k].begin(), packets[k].begin() + 8),
                  (std::vector<uint8_t>{0x0C, 0x01, 0x0E, 0x00, 0x00, uint8_t((k << 4) | 3), lengths[k], 2}));
        EXPECT_TRUE(std::equal(packets[k].begin() + 8, packets[k].end(), image.begin() + 4 + 25 * k));
    }
    // The last packet: 10 meaningful bytes, then zeros from the image.
    EXPECT_EQ(packets[2][8], image[54]);
    EXPECT_EQ(packets[2][17], 0x04 + 19);
    EXPECT_EQ(packets[2][18], 0);
}

TEST(MacroPackets, EmptyMacroStillSendsOnePacket)
{
    const auto packets = BuildMacroPackets(BuildMacroImage(MacroKey(u"e"), 1), 1, 0);
    ASSERT_EQ(packets.size(), 1u);
    EXPECT_EQ(packets[0][5], 0x01);
    EXPECT_EQ(packets[0][6], 1);
}

TEST(MacroPackets, NibblesWrapPastFifteenPackets)
{
    MacroImage image;
    image.fill(0xAB);
    // 255 steps claimed: 765 bytes in 31 packets, most of them past the image.
    const auto packets = BuildMacroPackets(image, 5, 255);
    ASSERT_EQ(packets.size(), 31u);
    EXPECT_EQ(packets[15][5], 0xFF);  // packet 15 of 31 (31 mod 16 = 15)
    EXPECT_EQ(packets[16][5], 0x0F);
    EXPECT_EQ(packets[30][5], 0xEF);
    EXPECT_EQ(packets[30][6], 765 - 750 + 1);
    EXPECT_EQ(packets[29][6], 26);
    // Image bytes end at 511: packet 20 carries 504..528, of which 512 on are zeros.
    EXPECT_EQ(packets[20][8 + 7], 0xAB);
    EXPECT_EQ(packets[20][8 + 8], 0x00);
    EXPECT_EQ(packets[30][8], 0x00);
}

class MacroSlots : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (ButtonSlot& b : profile.buttons) {
            b.label = u"Left";
            b.code = {0x10, 0x01, 0x00};
        }
        set.name = u"Set 1";
        set.macros.push_back(MakeMacro(u"alpha", {}));
        set.macros.push_back(MakeMacro(u"beta", {}));
        set.macros.push_back(MakeMacro(u"gamma", {}));
        set.macros.back().loopType = 4;
        set.macros.back().loopNum = 9;
        std::next(set.macros.begin())->loopNum = 7;
    }
    void NameMacro(int button, const std::u16string& name)
    {
        profile.buttons[button].label = u"M:" + name;
        profile.buttons[button].macro.name = name;
        profile.buttons[button].code = {0x90, 0x01, 0x01};
    }
    void Assign() { AssignMacroSlots(profile, &set, slots, u"Off"); }

    ProfileRecord profile;
    MacroSet set;
    std::vector<int32_t> slots;
};

TEST_F(MacroSlots, SharedSlotsInButtonOrder)
{
    NameMacro(2, u"gamma");
    NameMacro(5, u"beta");
    NameMacro(6, u"gamma");
    Assign();
    EXPECT_EQ(slots, (std::vector<int32_t>{-1, 1, 0}));
    EXPECT_EQ(profile.buttons[2].code, (ButtonFunctionCode{0x90, 0x41, 0x00}));  // index 1, loop type 4
    EXPECT_EQ(profile.buttons[6].code, (ButtonFunctionCode{0x90, 0x41, 0x00}));
    EXPECT_EQ(profile.buttons[5].code, (ButtonFunctionCode{0x90, 0x22, 0x07}));  // index 2, loop type 2, 7 times
    EXPECT_EQ(profile.buttons[0].code, (ButtonFunctionCode{0x10, 0x01, 0x00}));
}

TEST_F(MacroSlots, UnknownNameDisablesTheButton)
{
    NameMacro(1, u"Alpha");  // names compare case-sensitively
    NameMacro(3, u"alpha");
    Assign();
    EXPECT_EQ(profile.buttons[1].label, u"Off");
    EXPECT_EQ(profile.buttons[1].code, (ButtonFunctionCode{0, 0, 0}));
    EXPECT_EQ(profile.buttons[3].code, (ButtonFunctionCode{0x90, 0x21, 0x01}));
    EXPECT_EQ(slots, (std::vector<int32_t>{0, -1, -1}));
}

TEST_F(MacroSlots, TheRecordsNameCountsNotTheLabel)
{
    // Labels made in another language: their prefix is not this language's.
    NameMacro(1, u"beta");
    profile.buttons[1].label = u"Macro :beta";
    NameMacro(2, u"gamma");
    profile.buttons[2].label = u"M:alpha";
    Assign();
    EXPECT_EQ(slots, (std::vector<int32_t>{-1, 0, 1}));
    EXPECT_EQ(profile.buttons[1].label, u"Macro :beta");
    EXPECT_EQ(profile.buttons[1].code, (ButtonFunctionCode{0x90, 0x21, 0x07}));
}

TEST_F(MacroSlots, EmptySetKeepsSlotsAndDisablesMacroButtons)
{
    NameMacro(4, u"beta");
    Assign();
    ASSERT_EQ(slots, (std::vector<int32_t>{-1, 0, -1}));
    NameMacro(7, u"beta");
    MacroSet empty;
    AssignMacroSlots(profile, &empty, slots, u"Off");
    EXPECT_EQ(slots, (std::vector<int32_t>{-1, 0, -1}));
    EXPECT_EQ(profile.buttons[4].code, (ButtonFunctionCode{0, 0, 0}));
    EXPECT_EQ(profile.buttons[7].label, u"Off");
    AssignMacroSlots(profile, nullptr, slots, u"Off");  // no set at all
    EXPECT_EQ(slots.size(), 3u);
}

}  // namespace
