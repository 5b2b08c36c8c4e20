#pragma once
// What the program asks of the desktop shell: the screen and its work area,
// a web address in the default browser, the desktop's mouse settings, the
// open and save file dialogs, and the notification-area (tray) icon.
// Standard C++ only; the Qt implementation is qt_shell_services.h, and
// scripted_shell.h stands in for it in tests.
//
// Every call belongs to the window thread.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/window/window_host.h"

namespace platform {

struct ScreenInfo {
    Rect screen;       // the primary screen
    Rect workArea;     // the same less panels and docks
    int logicalDpi = 96;
    // The client size of a full-screen window: what the main window is
    // centred in and what decides the UI scale.
    int FullScreenClientWidth() const { return workArea.Width(); }
    int FullScreenClientHeight() const { return workArea.Height(); }
};

struct FileDialogParams {
    std::u16string title;
    std::u16string filter;         // "psf file(*.psf)|*.psf||" (file_filter.h)
    std::u16string defaultExt;     // "psf": added to a name typed without an extension
    std::u16string initialName;    // ".psf"
    std::string initialFolder;     // UTF-8; empty for the process's current folder
};

// Tray menu entries in order; id 0 is a separator. An entry with a submenu
// opens it and reports no choice of its own.
struct TrayMenuItem {
    TrayMenuItem(int id_ = 0, std::u16string text_ = {}, bool checkable_ = false, bool checked_ = false)
        : id(id_), text(std::move(text_)), checkable(checkable_), checked(checked_) {}
    int id = 0;
    std::u16string text;
    bool checkable = false;  // shows a check mark when checked
    bool checked = false;
    std::vector<TrayMenuItem> submenu;
};

// What the tray picture shows of the mouse's battery.
struct TrayBattery {
    bool known = false;      // false: the program's own picture only
    int bars = 0;            // 0 (empty) .. 4 (full)
    bool charging = false;   // a lightning mark
    bool warning = false;    // the warning picture instead of the bars
};

// A message in the desktop's notification area.
struct DesktopNotification {
    std::u16string title;
    std::u16string body;
    bool urgent = false;
};

struct TrayIconParams {
    std::string iconPath;          // UTF-8 image file; empty or unreadable: a drawn stand-in
    std::u16string toolTip;
    std::vector<TrayMenuItem> menu;
    // The icon was double-clicked (or, where the desktop only reports single
    // clicks on tray icons, clicked).
    std::function<void()> onActivate;
    // A menu item was chosen.
    std::function<void(int id)> onMenuItem;
};

class ITrayIcon {
public:
    virtual ~ITrayIcon() = default;  // removes the icon
    virtual void SetToolTip(const std::u16string& tip) = 0;
    virtual void SetMenu(const std::vector<TrayMenuItem>& menu) = 0;
    // False while the desktop shows no tray (it may get one later).
    virtual bool IsShown() const = 0;
    virtual void SetBattery(const TrayBattery& battery) = 0;
};

class IShellServices {
public:
    virtual ~IShellServices() = default;

    virtual ScreenInfo QueryScreen() = 0;
    // http, https and mailto addresses only; false when refused or no browser.
    virtual bool OpenWebAddress(const std::u16string& url) = 0;
    // Starts the desktop's mouse settings; false when none is installed.
    virtual bool OpenMouseSettings() = 0;
    // Modal; the chosen path (UTF-8) or nothing when cancelled.
    virtual std::optional<std::string> GetOpenFileName(const FileDialogParams& params) = 0;
    virtual std::optional<std::string> GetSaveFileName(const FileDialogParams& params) = 0;
    // Whether a tray icon would be visible now. Without one, hiding the main
    // window would lose it: minimise it instead.
    virtual bool IsTrayAvailable() = 0;
    virtual std::unique_ptr<ITrayIcon> CreateTrayIcon(TrayIconParams params) = 0;
    // Hands a message to the desktop's notification service; nothing
    // happens where there is none. Never waits for the desktop.
    virtual void Notify(const DesktopNotification& notification) = 0;
    // Hands memory the program freed back to the system (start-up decodes
    // and parses far more than it keeps). Nothing to do where unsupported.
    virtual void ReleaseFreeMemory() {}
};

// The process's shell services. Owner: main sets it once before the main
// window is created (a test fixture sets a ScriptedShell) and clears it after
// the last window is gone; read on the window thread only.
inline IShellServices* g_shellServices = nullptr;

// Only web and mail addresses may be handed to the desktop's opener.
bool IsWebAddress(const std::u16string& url);

// Tray callbacks that post what the main window's message table expects:
// activation as `callbackMessage` with wParam `iconId` and lParam
// WM_LBUTTONDBLCLK, a menu choice as WM_COMMAND with wParam = the item id.
// The menu itself is the tray's: the window need not build one on
// WM_RBUTTONUP.
void PostTrayEventsTo(TrayIconParams& params, IWindowHost& host, HWND window, UINT callbackMessage,
                      WPARAM iconId);

}  // namespace platform
