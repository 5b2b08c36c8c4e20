#pragma once
// Window message numbers, mouse key flags, activation codes and virtual-key
// codes the program uses. The numbers are the desktop's classic ones, because
// the program's documents, files and the keyboard hook speak in them: control
// ids (2000..3600) and WM_USER-based messages (1024..1200) must not collide
// with the system messages below.
#include <cstdint>

using UINT = unsigned int;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

// ---- messages --------------------------------------------------------------
// Every message below reaches IWindowClient::OnMessage (window_host.h), whose
// comment tells what wParam and lParam carry for each.
constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CREATE = 0x0001;       // once, right after the window exists
constexpr UINT WM_DESTROY = 0x0002;      // once, the last message a window gets
constexpr UINT WM_MOVE = 0x0003;         // lParam = MAKELPARAM(x, y) screen position of the window
constexpr UINT WM_SIZE = 0x0005;         // lParam = MAKELPARAM(client width, client height)
constexpr UINT WM_ACTIVATE = 0x0006;     // wParam = WA_ACTIVE or WA_INACTIVE
constexpr UINT WM_SETFOCUS = 0x0007;     // sent to an edit box: it takes the keyboard focus
constexpr UINT WM_KILLFOCUS = 0x0008;    // sent to an edit box: it gives the focus back to its window
constexpr UINT WM_CLOSE = 0x0010;        // close asked (title bar, window manager, tray); the host never destroys on its own
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_SHOWWINDOW = 0x0018;   // wParam = 1 shown, 0 hidden
constexpr UINT WM_NCACTIVATE = 0x0086;   // not sent: WM_ACTIVATE stands for it
constexpr UINT WM_NCLBUTTONDOWN = 0x00A1;  // with wParam = HTCAPTION the host starts a window move
constexpr UINT WM_KEYDOWN = 0x0100;      // wParam = virtual-key code, lParam bit 30 = auto-repeat
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;         // wParam = UTF-16 code unit typed
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr UINT WM_COMMAND = 0x0111;      // from an edit box: wParam = MAKEWPARAM(control id, EN_*), lParam = edit id
constexpr UINT WM_TIMER = 0x0113;        // wParam = timer id
constexpr UINT WM_MOUSEMOVE = 0x0200;    // mouse messages: wParam = MK_* flags, lParam = MAKELPARAM(client x, client y)
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;  // replaces the second WM_LBUTTONDOWN of a double click
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_MBUTTONUP = 0x0208;
constexpr UINT WM_MOUSEWHEEL = 0x020A;   // wParam = MAKEWPARAM(MK_* flags, delta: +120 per notch away from the user)
                                          // lParam = MAKELPARAM(client x, client y)
constexpr UINT WM_MOUSEHOVER = 0x02A1;   // after TrackMouseEvent(TME_HOVER): pointer rested; lParam = client position
constexpr UINT WM_MOUSELEAVE = 0x02A3;   // after TrackMouseEvent(TME_LEAVE): pointer left the client area
constexpr UINT WM_DEVICECHANGE = 0x0219;
constexpr UINT WM_USER = 0x0400;

// ---- hit-test, activation, show and edit codes -----------------------------
constexpr WPARAM HTCLIENT = 1;
constexpr WPARAM HTCAPTION = 2;
constexpr WPARAM WA_INACTIVE = 0;
constexpr WPARAM WA_ACTIVE = 1;
constexpr WPARAM WA_CLICKACTIVE = 2;
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_RESTORE = 9;
constexpr UINT EN_SETFOCUS = 0x0100;
constexpr UINT EN_KILLFOCUS = 0x0200;
constexpr UINT EN_CHANGE = 0x0300;       // the text changed by typing or by SetWindowText
constexpr UINT TME_HOVER = 0x00000001;
constexpr UINT TME_LEAVE = 0x00000002;
constexpr UINT TME_CANCEL = 0x80000000;
constexpr intptr_t IDOK = 1;
constexpr intptr_t IDCANCEL = 2;

// ---- mouse key flags (wParam of mouse messages) ----------------------------
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;
constexpr WPARAM MK_MBUTTON = 0x0010;

// ---- packing helpers -------------------------------------------------------
// Coordinates travel as signed 16-bit halves, so a position left of or above
// a window (during capture) stays negative when unpacked with GET_X_LPARAM.
constexpr LPARAM MAKELPARAM(int lo, int hi)
{
    return static_cast<LPARAM>(static_cast<uint32_t>((lo & 0xFFFF) | ((hi & 0xFFFF) << 16)));
}
constexpr WPARAM MAKEWPARAM(int lo, int hi)
{
    return static_cast<WPARAM>(static_cast<uint32_t>((lo & 0xFFFF) | ((hi & 0xFFFF) << 16)));
}
constexpr int LOWORD(uintptr_t v) { return static_cast<int>(v & 0xFFFF); }
constexpr int HIWORD(uintptr_t v) { return static_cast<int>((v >> 16) & 0xFFFF); }
constexpr int GET_X_LPARAM(LPARAM l) { return static_cast<int16_t>(static_cast<uint16_t>(l & 0xFFFF)); }
constexpr int GET_Y_LPARAM(LPARAM l) { return static_cast<int16_t>(static_cast<uint16_t>((l >> 16) & 0xFFFF)); }
constexpr int GET_WHEEL_DELTA_WPARAM(WPARAM w) { return static_cast<int16_t>(static_cast<uint16_t>((w >> 16) & 0xFFFF)); }
constexpr int GET_KEYSTATE_WPARAM(WPARAM w) { return static_cast<int>(w & 0xFFFF); }
constexpr int WHEEL_DELTA = 120;

// ---- virtual-key codes -----------------------------------------------------
// Letters are their upper-case ASCII codes ('A' = 0x41), digits '0'..'9'.
constexpr UINT VK_LBUTTON = 0x01;
constexpr UINT VK_RBUTTON = 0x02;
constexpr UINT VK_CANCEL = 0x03;
constexpr UINT VK_MBUTTON = 0x04;
constexpr UINT VK_XBUTTON1 = 0x05;
constexpr UINT VK_XBUTTON2 = 0x06;
constexpr UINT VK_BACK = 0x08;
constexpr UINT VK_TAB = 0x09;
constexpr UINT VK_CLEAR = 0x0C;
constexpr UINT VK_RETURN = 0x0D;
constexpr UINT VK_SHIFT = 0x10;
constexpr UINT VK_CONTROL = 0x11;
constexpr UINT VK_MENU = 0x12;
constexpr UINT VK_PAUSE = 0x13;
constexpr UINT VK_CAPITAL = 0x14;
constexpr UINT VK_ESCAPE = 0x1B;
constexpr UINT VK_SPACE = 0x20;
constexpr UINT VK_PRIOR = 0x21;
constexpr UINT VK_NEXT = 0x22;
constexpr UINT VK_END = 0x23;
constexpr UINT VK_HOME = 0x24;
constexpr UINT VK_LEFT = 0x25;
constexpr UINT VK_UP = 0x26;
constexpr UINT VK_RIGHT = 0x27;
constexpr UINT VK_DOWN = 0x28;
constexpr UINT VK_SELECT = 0x29;
constexpr UINT VK_PRINT = 0x2A;
constexpr UINT VK_EXECUTE = 0x2B;
constexpr UINT VK_SNAPSHOT = 0x2C;
constexpr UINT VK_INSERT = 0x2D;
constexpr UINT VK_DELETE = 0x2E;
constexpr UINT VK_HELP = 0x2F;
constexpr UINT VK_LWIN = 0x5B;
constexpr UINT VK_RWIN = 0x5C;
constexpr UINT VK_APPS = 0x5D;
constexpr UINT VK_SLEEP = 0x5F;
constexpr UINT VK_NUMPAD0 = 0x60;  // .. VK_NUMPAD9 = 0x69
constexpr UINT VK_MULTIPLY = 0x6A;
constexpr UINT VK_ADD = 0x6B;
constexpr UINT VK_SEPARATOR = 0x6C;
constexpr UINT VK_SUBTRACT = 0x6D;
constexpr UINT VK_DECIMAL = 0x6E;
constexpr UINT VK_DIVIDE = 0x6F;
constexpr UINT VK_F1 = 0x70;  // .. VK_F24 = 0x87
constexpr UINT VK_F12 = 0x7B;
constexpr UINT VK_F24 = 0x87;
constexpr UINT VK_NUMLOCK = 0x90;
constexpr UINT VK_SCROLL = 0x91;
constexpr UINT VK_LSHIFT = 0xA0;
constexpr UINT VK_RSHIFT = 0xA1;
constexpr UINT VK_LCONTROL = 0xA2;
constexpr UINT VK_RCONTROL = 0xA3;
constexpr UINT VK_LMENU = 0xA4;
constexpr UINT VK_RMENU = 0xA5;
constexpr UINT VK_BROWSER_BACK = 0xA6;
constexpr UINT VK_BROWSER_FORWARD = 0xA7;
constexpr UINT VK_BROWSER_REFRESH = 0xA8;
constexpr UINT VK_BROWSER_STOP = 0xA9;
constexpr UINT VK_BROWSER_SEARCH = 0xAA;
constexpr UINT VK_BROWSER_FAVORITES = 0xAB;
constexpr UINT VK_BROWSER_HOME = 0xAC;
constexpr UINT VK_VOLUME_MUTE = 0xAD;
constexpr UINT VK_VOLUME_DOWN = 0xAE;
constexpr UINT VK_VOLUME_UP = 0xAF;
constexpr UINT VK_MEDIA_NEXT_TRACK = 0xB0;
constexpr UINT VK_MEDIA_PREV_TRACK = 0xB1;
constexpr UINT VK_MEDIA_STOP = 0xB2;
constexpr UINT VK_MEDIA_PLAY_PAUSE = 0xB3;
constexpr UINT VK_LAUNCH_MAIL = 0xB4;
constexpr UINT VK_LAUNCH_MEDIA_SELECT = 0xB5;
constexpr UINT VK_LAUNCH_APP1 = 0xB6;
constexpr UINT VK_LAUNCH_APP2 = 0xB7;
constexpr UINT VK_OEM_1 = 0xBA;       // ;:
constexpr UINT VK_OEM_PLUS = 0xBB;
constexpr UINT VK_OEM_COMMA = 0xBC;
constexpr UINT VK_OEM_MINUS = 0xBD;
constexpr UINT VK_OEM_PERIOD = 0xBE;
constexpr UINT VK_OEM_2 = 0xBF;       // /?
constexpr UINT VK_OEM_3 = 0xC0;       // `~
constexpr UINT VK_OEM_4 = 0xDB;       // [{
constexpr UINT VK_OEM_5 = 0xDC;       // \|
constexpr UINT VK_OEM_6 = 0xDD;       // ]}
constexpr UINT VK_OEM_7 = 0xDE;       // '"
constexpr UINT VK_OEM_102 = 0xE2;
