#include "platform/keyboard/key_map.h"

#include <gtest/gtest.h>

#include <X11/XF86keysym.h>
#include <X11/keysym.h>

#include <QtCore/qnamespace.h>

#include "platform/keyboard/qt_key_source.h"

namespace {

using platform::VirtualKeyFromKeysym;
using platform::VirtualKeyFromQtKey;

TEST(KeyMap, KeySymbolsGiveTheirVirtualKeys) {
    for (uint32_t i = 0; i < 26; ++i) {
        EXPECT_EQ(VirtualKeyFromKeysym(XK_a + i), 'A' + i);
        EXPECT_EQ(VirtualKeyFromKeysym(XK_A + i), 'A' + i);
    }
    struct { uint32_t sym; int vk; } cases[] = {
        {XK_0, '0'}, {XK_9, '9'}, {XK_exclam, '1'}, {XK_parenright, '0'},  // shifted digits are their keys
        {XK_F1, 0x70}, {XK_F12, 0x7B}, {XK_F24, 0x87},
        {XK_Left, 0x25}, {XK_Up, 0x26}, {XK_Right, 0x27}, {XK_Down, 0x28}, {XK_Prior, 0x21}, {XK_Delete, 0x2E},
        {XK_Shift_L, 0xA0}, {XK_Shift_R, 0xA1}, {XK_Control_L, 0xA2}, {XK_Control_R, 0xA3},
        {XK_Alt_L, 0xA4}, {XK_Alt_R, 0xA5}, {XK_ISO_Level3_Shift, 0xA5}, {XK_Super_L, 0x5B}, {XK_Super_R, 0x5C},
        {XK_KP_7, 0x67}, {XK_KP_Home, 0x24}, {XK_KP_Enter, 0x0D},  // keypad with and without Num Lock
        {XK_semicolon, 0xBA}, {XK_grave, 0xC0}, {XK_less, 0xE2}, {XK_Escape, 0x1B},
        {XF86XK_AudioRaiseVolume, 0xAF}, {XF86XK_AudioPlay, 0xB3}, {XK_eacute, 0}, {0, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(VirtualKeyFromKeysym(c.sym), c.vk) << std::hex << c.sym;
}

TEST(KeyMap, QtKeysGiveTheSameCodesWithoutTheSides) {
    struct { int key; bool keypad; int vk; } cases[] = {
        {Qt::Key_A, false, 'A'}, {Qt::Key_Z, false, 'Z'}, {Qt::Key_5, false, '5'}, {Qt::Key_At, false, '2'},
        {Qt::Key_F1, false, 0x70}, {Qt::Key_F24, false, 0x87}, {Qt::Key_F25, false, 0},
        {Qt::Key_Left, false, 0x25}, {Qt::Key_Down, false, 0x28}, {Qt::Key_PageUp, false, 0x21},
        {Qt::Key_Shift, false, 0xA0}, {Qt::Key_Control, false, 0xA2}, {Qt::Key_Alt, false, 0xA4},
        {Qt::Key_AltGr, false, 0xA5}, {Qt::Key_Super_R, false, 0x5C},
        {Qt::Key_7, true, 0x67}, {Qt::Key_Plus, true, 0x6B}, {Qt::Key_Plus, false, 0xBB},
        {Qt::Key_unknown, false, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(VirtualKeyFromQtKey(c.key, c.keypad), c.vk) << std::hex << c.key;
}

}  // namespace
