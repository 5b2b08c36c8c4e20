#include "platform/keyboard/key_map.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>

#include "platform/window/messages.h"

namespace platform {
namespace {

struct KeysymEntry {
    uint32_t keysym;
    uint8_t vk;
};

// Everything that is not a letter, a digit, a function key or a keypad digit.
constexpr KeysymEntry kTable[] = {
    {XK_BackSpace, VK_BACK}, {XK_Tab, VK_TAB}, {XK_ISO_Left_Tab, VK_TAB}, {XK_Clear, VK_CLEAR},
    {XK_Return, VK_RETURN}, {XK_Pause, VK_PAUSE}, {XK_Break, VK_PAUSE}, {XK_Escape, VK_ESCAPE},
    {XK_space, VK_SPACE}, {XK_Prior, VK_PRIOR}, {XK_Next, VK_NEXT}, {XK_End, VK_END}, {XK_Home, VK_HOME},
    {XK_Left, VK_LEFT}, {XK_Up, VK_UP}, {XK_Right, VK_RIGHT}, {XK_Down, VK_DOWN}, {XK_Select, VK_SELECT},
    {XK_Print, VK_SNAPSHOT}, {XK_Sys_Req, VK_SNAPSHOT}, {XK_Execute, VK_EXECUTE}, {XK_Insert, VK_INSERT},
    {XK_Delete, VK_DELETE}, {XK_Help, VK_HELP}, {XK_Menu, VK_APPS}, {XK_Caps_Lock, VK_CAPITAL},
    {XK_Num_Lock, VK_NUMLOCK}, {XK_Scroll_Lock, VK_SCROLL},
    // Modifiers keep their side. AltGr is the right Alt key of most layouts.
    {XK_Shift_L, VK_LSHIFT}, {XK_Shift_R, VK_RSHIFT}, {XK_Control_L, VK_LCONTROL}, {XK_Control_R, VK_RCONTROL},
    {XK_Alt_L, VK_LMENU}, {XK_Alt_R, VK_RMENU}, {XK_Meta_L, VK_LMENU}, {XK_Meta_R, VK_RMENU},
    {XK_ISO_Level3_Shift, VK_RMENU}, {XK_Mode_switch, VK_RMENU},
    {XK_Super_L, VK_LWIN}, {XK_Super_R, VK_RWIN}, {XK_Hyper_L, VK_LWIN}, {XK_Hyper_R, VK_RWIN},
    // Keypad: with Num Lock off the digits are the navigation keys, as on Windows.
    {XK_KP_Multiply, VK_MULTIPLY}, {XK_KP_Add, VK_ADD}, {XK_KP_Separator, VK_SEPARATOR},
    {XK_KP_Subtract, VK_SUBTRACT}, {XK_KP_Decimal, VK_DECIMAL}, {XK_KP_Divide, VK_DIVIDE},
    {XK_KP_Enter, VK_RETURN}, {XK_KP_Space, VK_SPACE}, {XK_KP_Tab, VK_TAB}, {XK_KP_Equal, VK_OEM_PLUS},
    {XK_KP_Home, VK_HOME}, {XK_KP_End, VK_END}, {XK_KP_Prior, VK_PRIOR}, {XK_KP_Next, VK_NEXT},
    {XK_KP_Left, VK_LEFT}, {XK_KP_Up, VK_UP}, {XK_KP_Right, VK_RIGHT}, {XK_KP_Down, VK_DOWN},
    {XK_KP_Insert, VK_INSERT}, {XK_KP_Delete, VK_DELETE}, {XK_KP_Begin, VK_CLEAR},
    // Punctuation of a US layout, plain and shifted.
    {XK_semicolon, VK_OEM_1}, {XK_colon, VK_OEM_1}, {XK_equal, VK_OEM_PLUS}, {XK_plus, VK_OEM_PLUS},
    {XK_comma, VK_OEM_COMMA}, {XK_minus, VK_OEM_MINUS}, {XK_underscore, VK_OEM_MINUS},
    {XK_period, VK_OEM_PERIOD}, {XK_greater, VK_OEM_PERIOD}, {XK_slash, VK_OEM_2}, {XK_question, VK_OEM_2},
    {XK_grave, VK_OEM_3}, {XK_asciitilde, VK_OEM_3}, {XK_dead_grave, VK_OEM_3},
    {XK_bracketleft, VK_OEM_4}, {XK_braceleft, VK_OEM_4}, {XK_backslash, VK_OEM_5}, {XK_bar, VK_OEM_5},
    {XK_bracketright, VK_OEM_6}, {XK_braceright, VK_OEM_6}, {XK_apostrophe, VK_OEM_7},
    {XK_quotedbl, VK_OEM_7},
    // The extra key beside the left Shift of ISO keyboards: its unshifted symbol.
    {XK_less, VK_OEM_102},
    // Shifted digits.
    {XK_exclam, '1'}, {XK_at, '2'}, {XK_numbersign, '3'}, {XK_dollar, '4'}, {XK_percent, '5'},
    {XK_asciicircum, '6'}, {XK_ampersand, '7'}, {XK_asterisk, '8'}, {XK_parenleft, '9'}, {XK_parenright, '0'},
    // Multimedia and browser keys.
    {XF86XK_AudioMute, VK_VOLUME_MUTE}, {XF86XK_AudioLowerVolume, VK_VOLUME_DOWN},
    {XF86XK_AudioRaiseVolume, VK_VOLUME_UP}, {XF86XK_AudioNext, VK_MEDIA_NEXT_TRACK},
    {XF86XK_AudioPrev, VK_MEDIA_PREV_TRACK}, {XF86XK_AudioStop, VK_MEDIA_STOP},
    {XF86XK_AudioPlay, VK_MEDIA_PLAY_PAUSE}, {XF86XK_AudioPause, VK_MEDIA_PLAY_PAUSE},
    {XF86XK_Mail, VK_LAUNCH_MAIL}, {XF86XK_AudioMedia, VK_LAUNCH_MEDIA_SELECT},
    {XF86XK_MyComputer, VK_LAUNCH_APP1}, {XF86XK_Calculator, VK_LAUNCH_APP2},
    {XF86XK_Back, VK_BROWSER_BACK}, {XF86XK_Forward, VK_BROWSER_FORWARD}, {XF86XK_Refresh, VK_BROWSER_REFRESH},
    {XF86XK_Stop, VK_BROWSER_STOP}, {XF86XK_Search, VK_BROWSER_SEARCH}, {XF86XK_Favorites, VK_BROWSER_FAVORITES},
    {XF86XK_HomePage, VK_BROWSER_HOME}, {XF86XK_Sleep, VK_SLEEP},
};

}  // namespace

uint8_t VirtualKeyFromKeysym(uint32_t keysym) {
    if (keysym >= XK_a && keysym <= XK_z) return uint8_t('A' + (keysym - XK_a));
    if (keysym >= XK_A && keysym <= XK_Z) return uint8_t(keysym);
    if (keysym >= XK_0 && keysym <= XK_9) return uint8_t(keysym);
    if (keysym >= XK_F1 && keysym <= XK_F24) return uint8_t(VK_F1 + (keysym - XK_F1));
    if (keysym >= XK_KP_0 && keysym <= XK_KP_9) return uint8_t(VK_NUMPAD0 + (keysym - XK_KP_0));
    for (const KeysymEntry& e : kTable)
        if (e.keysym == keysym) return e.vk;
    return 0;
}

}  // namespace platform
