#pragma once
// Shell services for tests: a fixed screen, file dialogs that answer from a
// script, and a record of everything that was asked. Tray icons stay
// reachable so a test can click them.
#include <deque>

#include "platform/shell/shell_services.h"

namespace platform {

class ScriptedShell final : public IShellServices {
public:
    class Tray final : public ITrayIcon {
    public:
        Tray(ScriptedShell* shell, TrayIconParams params) : shell_(shell), params_(std::move(params)) {}
        ~Tray() override;
        void SetToolTip(const std::u16string& tip) override { params_.toolTip = tip; }
        void SetMenu(const std::vector<TrayMenuItem>& menu) override { params_.menu = menu; }
        bool IsShown() const override { return shell_->trayAvailable; }
        void SetBattery(const TrayBattery& battery) override { battery_ = battery; }
        const TrayBattery& Battery() const { return battery_; }
        const TrayIconParams& Params() const { return params_; }
        // What the user would do.
        void DoubleClick() const { if (params_.onActivate) params_.onActivate(); }
        void Choose(int id) const { if (params_.onMenuItem) params_.onMenuItem(id); }
    private:
        ScriptedShell* shell_;
        TrayIconParams params_;
        TrayBattery battery_;
    };

    // ---- the script ----
    ScreenInfo screen{Rect{0, 0, 1920, 1080}, Rect{0, 0, 1920, 1040}, 96};
    // Answers of the next dialogs, front first; none left means Cancel.
    std::deque<std::optional<std::string>> openAnswers;
    std::deque<std::optional<std::string>> saveAnswers;
    bool mouseSettingsInstalled = true;
    bool trayAvailable = true;

    // ---- the record ----
    std::vector<FileDialogParams> openDialogs;
    std::vector<FileDialogParams> saveDialogs;
    std::vector<std::u16string> webAddresses;  // accepted ones only
    int mouseSettingsRuns = 0;
    std::vector<Tray*> trays;                  // alive, oldest first
    std::vector<DesktopNotification> notifications;

    ScreenInfo QueryScreen() override { return screen; }
    bool OpenWebAddress(const std::u16string& url) override;
    bool OpenMouseSettings() override;
    std::optional<std::string> GetOpenFileName(const FileDialogParams& params) override;
    std::optional<std::string> GetSaveFileName(const FileDialogParams& params) override;
    bool IsTrayAvailable() override { return trayAvailable; }
    std::unique_ptr<ITrayIcon> CreateTrayIcon(TrayIconParams params) override;
    void Notify(const DesktopNotification& n) override { notifications.push_back(n); }
};

}  // namespace platform
