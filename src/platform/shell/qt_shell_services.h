#pragma once
// The shell services on a Qt desktop: QScreen for the screen, the desktop's
// URL opener, QFileDialog, QSystemTrayIcon, and the mouse settings program
// found on PATH. Needs a QApplication.
#include <memory>

#include "platform/shell/mouse_settings.h"
#include "platform/shell/shell_services.h"

class QIcon;
class QMenu;
class QSystemTrayIcon;

namespace platform {

class QtTrayIcon final : public ITrayIcon {
public:
    explicit QtTrayIcon(TrayIconParams params);
    ~QtTrayIcon() override;
    void SetToolTip(const std::u16string& tip) override;
    void SetMenu(const std::vector<TrayMenuItem>& menu) override;
    bool IsShown() const override;
    void SetBattery(const TrayBattery& battery) override;
    // For tests: the Qt objects behind the icon.
    QSystemTrayIcon* Icon() const { return icon_.get(); }
    QMenu* Menu() const { return menu_.get(); }

private:
    void AddItems(QMenu* menu, const std::vector<TrayMenuItem>& items);

    TrayIconParams params_;
    std::unique_ptr<QIcon> baseIcon_;
    std::unique_ptr<QMenu> menu_;
    std::unique_ptr<QSystemTrayIcon> icon_;
};

class QtShellServices final : public IShellServices {
public:
    ScreenInfo QueryScreen() override;
    bool OpenWebAddress(const std::u16string& url) override;
    bool OpenMouseSettings() override;
    std::optional<std::string> GetOpenFileName(const FileDialogParams& params) override;
    std::optional<std::string> GetSaveFileName(const FileDialogParams& params) override;
    bool IsTrayAvailable() override;
    std::unique_ptr<ITrayIcon> CreateTrayIcon(TrayIconParams params) override;
    void Notify(const DesktopNotification& notification) override;
    void ReleaseFreeMemory() override;

    // The picture notifications show (the program's icon file, UTF-8).
    std::string notificationIcon;

    // What OpenMouseSettings would start, from $PATH and $XDG_CURRENT_DESKTOP.
    static std::optional<SettingsCommand> MouseSettingsCommand();
};

}  // namespace platform
