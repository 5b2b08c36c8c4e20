#pragma once
// The main window's tray icon and what it tells the desktop: its menu (show,
// start with the desktop, language, exit), the mouse's battery in its
// picture and tooltip, and a desktop notification when the battery falls
// past 20, 10 and 5 %.
//
// Window thread only. The menu's choices arrive as WM_COMMAND at the window,
// which hands the ids it does not know to OnCommand.
#include <memory>
#include <string>
#include <vector>

#include "device/battery_marks.h"
#include "platform/shell/shell_services.h"

class CDesktopTray {
public:
    struct Setup {
        std::string iconPath;        // the program's picture (UTF-8)
        std::string autostartPath;   // the user's autostart entry; empty: no such item
        std::string autostartCommand;
        std::string programFolder;   // where the language files are
        std::string dataFolder;      // where the language choice is kept
        std::vector<platform::TrayMenuItem> extraItems;  // after "show" (the simulated mouse's)
    };

    // Creates the icon; posts its events to `window` through `host`.
    CDesktopTray(Setup setup, platform::IWindowHost& host, HWND window);

    platform::ITrayIcon* Icon() const { return icon_.get(); }
    bool IsShown() const { return icon_ && icon_->IsShown(); }

    // A tray menu choice the window does not handle itself; false when the
    // id is not the tray's. `error` gets what went wrong, in words for the user.
    bool OnCommand(int id, std::u16string* error);

    // The status tick's battery: level 0..100, chargeState 0 none, 1
    // charging, 2 full; present false while no mouse is connected.
    void OnBattery(int level, int chargeState, bool present, bool receiver);

    // The menu as it is now (tests read the check marks).
    std::vector<platform::TrayMenuItem> Menu() const;

private:
    void RefreshMenu();

    Setup setup_;
    std::unique_ptr<platform::ITrayIcon> icon_;
    CBatteryMarks marks_;
    platform::TrayBattery shownBattery_;
    std::u16string shownTip_;
};
