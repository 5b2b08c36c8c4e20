#include "platform/keyboard/key_map.h"

#include <gtest/gtest.h>

#include <X11/XF86keysym.h>
#include <X11/keysym.h>

#include <QKeyEvent>

#include "platform/keyboard/qt_key_source.h"

namespace {

using platform::VirtualKeyFromKeysym;
using platform::VirtualKeyFromQtKey;

TEST(KeyMap, LettersOfEitherCaseAndDigitsAreTheirUpperCaseAscii) {
    for (uint32_t i = 0; i < 26; ++i) {
        EXPECT_EQ(VirtualKeyFromKeysym(XK_a + i), 'A' + i);
        EXPECT_EQ(VirtualKeyFromKeysym(XK_A + i), 'A' + i);
        EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_A + int(i), false), 'A' + i);
    }
    for (uint32_t i = 0; i < 10; ++i) {
        EXPECT_EQ(VirtualKeyFromKeysym(XK_0 + i), '0' + i);
        EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_0 + int(i), false), '0' + i);
    }
    // The shifted digits of our own windows' events are still their keys.
    EXPECT_EQ(VirtualKeyFromKeysym(XK_exclam), '1');
    EXPECT_EQ(VirtualKeyFromKeysym(XK_parenright), '0');
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_At, false), '2');
}

TEST(KeyMap, FunctionKeysRunFromF1To24) {
    EXPECT_EQ(VirtualKeyFromKeysym(XK_F1), 0x70);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_F12), 0x7B);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_F24), 0x87);
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_F1, false), 0x70);
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_F24, false), 0x87);
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_F25, false), 0);
}

TEST(KeyMap, ArrowsAndNavigation) {
    EXPECT_EQ(VirtualKeyFromKeysym(XK_Left), 0x25);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_Up), 0x26);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_Right), 0x27);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_Down), 0x28);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_Prior), 0x21);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_Next), 0x22);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_Delete), 0x2E);
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_Left, false), 0x25);
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_Down, false), 0x28);
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_PageUp, false), 0x21);
    // Keypad: digits with Num Lock, navigation without.
    EXPECT_EQ(VirtualKeyFromKeysym(XK_KP_7), 0x67);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_KP_Home), 0x24);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_KP_Enter), 0x0D);
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_7, true), 0x67);
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_Plus, true), 0x6B);
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_Plus, false), 0xBB);
}

TEST(KeyMap, ModifiersKeepTheirSideAndTheWindowsKeysAre5BAnd5C) {
    EXPECT_EQ(VirtualKeyFromKeysym(XK_Shift_L), 0xA0);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_Shift_R), 0xA1);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_Control_L), 0xA2);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_Control_R), 0xA3);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_Alt_L), 0xA4);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_Alt_R), 0xA5);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_ISO_Level3_Shift), 0xA5);  // AltGr
    EXPECT_EQ(VirtualKeyFromKeysym(XK_Super_L), 0x5B);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_Super_R), 0x5C);
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_Shift, false), 0xA0);
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_Control, false), 0xA2);
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_Alt, false), 0xA4);
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_AltGr, false), 0xA5);
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_Super_R, false), 0x5C);
}

TEST(KeyMap, PunctuationMediaAndUnknownSymbols) {
    EXPECT_EQ(VirtualKeyFromKeysym(XK_semicolon), 0xBA);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_minus), 0xBD);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_grave), 0xC0);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_apostrophe), 0xDE);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_less), 0xE2);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_space), 0x20);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_Escape), 0x1B);
    EXPECT_EQ(VirtualKeyFromKeysym(XF86XK_AudioRaiseVolume), 0xAF);
    EXPECT_EQ(VirtualKeyFromKeysym(XF86XK_AudioPlay), 0xB3);
    EXPECT_EQ(VirtualKeyFromKeysym(XK_eacute), 0);
    EXPECT_EQ(VirtualKeyFromKeysym(0), 0);
    EXPECT_EQ(VirtualKeyFromQtKey(Qt::Key_unknown, false), 0);
}

}  // namespace
