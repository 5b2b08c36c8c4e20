#pragma once
// CTevlanDlg: the one main window. It owns every control of the settings
// pages (placed by its CMainLayout, filled and read back by its sections:
// one CWindowSection per panel, which reach the window through
// ISectionHost), the tray icon, the timers, the link to
// the mouse and the on-screen display, and it keeps the mouse and the files
// in step with the profile: a setting change schedules an apply 20 ms later
// (a second change within that time postpones it); the files are saved
// once the apply has gone out, within a second of the change, and the
// window's end writes a save that is still due. What the mouse reports of
// itself is saved the same way. Nothing of this blocks the window thread.
//
// Window thread only, except PostToWindowThread.
#include <atomic>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/desktop_tray.h"
#include "app/main_ids.h"
#include "app/main_layout.h"
#include "app/main_sections.h"
#include "app/open_failure_dlg.h"
#include "device/device_host.h"
#include "device/device_link.h"
#include "persist/data_folders.h"
#include "platform/hid/hid_transport.h"
#include "platform/shell/session_seat.h"
#include "platform/shell/shell_services.h"
#include "profile/pending_group.h"
#include "ui/dlg_base.h"
#include "ui/section_host.h"

class CAttentionDlg;
class CProgressBarDlg;
class CSkinImage;
class CGameSwitcher;
class COSDDialog;
namespace platform {
class SimMouse;
}

using main_ids::kMsgDeviceSettingsChanged;
using main_ids::kMsgRunTask;
using main_ids::kMsgSecondInstance;
using main_ids::kMsgTrayIcon;
using main_ids::kTimerNoMouse;
using main_ids::kTimerOsd;
using main_ids::kTrayExit;
using main_ids::kTrayIconId;
using main_ids::kTrayShow;
constexpr int kOsdTickMs = 300;
constexpr int kOsdTicks = 5;
constexpr int kNoMouseCheckMs = 2000;
constexpr UINT kTimerProgress = 126;  // the progress display follows the transfer
constexpr int kProgressTickMs = 40;

constexpr int kNoMouseTextNumber = 155;
// The tray item that brings the window back has its own text: text 1 is
// the "Profiles" button's caption.
constexpr int kTrayShowText = 342;
inline constexpr const char16_t* kMakerWebAddress = u"https://www.tevlan.example/";
inline constexpr const char16_t* kSupportText = u"Technical support: support@tevlan.example";
// The hidden key sequence that shows the support contact: five letters twice.
inline constexpr const char* kSupportKeySequence = "TEVLNTEVLN";

// Where the main window finds its folders.
struct MainWindowStartup {
    FolderEnvironment folders;           // executable path, XDG_CONFIG_HOME, home
    std::optional<std::string> dataDir;  // --data-dir: the data folder itself
    bool startHidden = false;            // --hidden: only the tray icon, where there is a tray
    // Where the login session is, asked only when the mouse may not be
    // opened; empty: taken as a local seat.
    std::function<platform::SessionPlace()> sessionPlace;
};

// The mouse the window talks to. All must outlive the window.
struct MainWindowDevices {
    platform::IHidBackend* hid = nullptr;     // hidraw or the sim, possibly traced
    platform::IClock* deviceClock = nullptr;  // paces the device I/O thread
    platform::SimMouse* sim = nullptr;        // set for --device sim: F9/F10/F11 and the tray entries
    // The mouse holds nothing of the profile yet (the simulated one starts
    // empty): the first apply sends it everything instead of only what
    // differs from the stored profile.
    bool freshMouse = false;
};

class CTevlanDlg final : public CDlgBase, public IDeviceHost, public ISectionHost {
public:
    CTevlanDlg(MainWindowStartup startup, MainWindowDevices devices);
    ~CTevlanDlg() override;

    // ---- CDlgBase ----
    bool OnInitDialog() override;
    void CreateControls(Rect client) override;
    void DrawBackground(platform::ICanvas& dc, const Rect& client) override;
    bool PreTranslateMessage(HWND self, const platform::Msg& msg) override;

    // ---- operations ----
    void BringToFront();
    void FactoryReset();
    // Ends the window the way its close button does.
    void CloseProgram();
    // The games bound to a profile, in their dialog (the profile menu's item).
    void OpenGamesDialog(int profile);
    // What the Apply button does: the whole active profile to the mouse
    // (every setting report and slotted macro, whatever it was sent
    // before), with the progress display, then saved. False when no mouse
    // is open to send to (the profile is still saved).
    bool ApplyAll();

    // ---- IDeviceHost ----
    void PostToWindowThread(std::function<void()> task) override;
    void StartTimer(int id, int periodMs) override;
    void StopTimer(int id) override;
    void RefreshFromProfile() override;
    void ShowProgress(int textNumber) override;
    void OnDeviceWritesDone() override;
    void ShowOsd(const std::u16string& levelText, const std::u16string& valueText,
                 const std::u16string& rateText) override;
    void UpdateBatteryDisplay(int batteryLevel, int chargeState) override;
    void OnDpiStepTableChanged() override;
    // The battery block and the connection indicator from the link; a mouse
    // that is there closes the no-mouse warning.
    void ShowConnectionState();
    void EndProgram() override;
    int CurrentProfileIndex() override;
    void StoreSensorSettings(uint16_t sensorId, uint16_t preSensorCheck) override;
    void SaveCurrentProfileSetting() override;
    void SaveAllProfileFiles() override;
    void WriteProfileSlotFile(int index) override;

    // ---- ISectionHost ----
    CDlgBase& Dialog() override { return *this; }
    ProfileRecord* WorkingProfile() override;
    // Sets the group's pending flag and (re)starts the 20 ms apply timer.
    void ScheduleApply(PendingGroup group) override;
    void MarkPending(PendingGroup group) override;
    void StoreToProfile() override;
    void RepaintControl(const CControlBase* control) override { InvalidateControl(control); }
    void RepaintWindow() override;
    void OpenPopup(int slot, CWndPopup* popup) override { SetPopup(slot, popup); }
    void ClosePopup(int slot) override { CDlgBase::ClosePopup(slot); }
    LRESULT RunModal(CDlgBase& dialog) override { return dialog.DoModal(hwnd_); }
    LRESULT MessageBox(const std::u16string& text) override;
    bool IsClosing() const override { return closing_ || destroying_; }

    // ---- state ----
    DeviceLink* Link() { return link_.get(); }
    COSDDialog* Osd() { return osd_.get(); }
    CAttentionDlg* StartupWarning() { return startupWarning_.get(); }
    // Shown instead of the start-up warning when the mouse is there but cannot be opened.
    COpenFailureDlg* OpenFailureWarning() { return openFailure_.get(); }
    platform::ITrayIcon* TrayIcon() { return tray_ ? tray_->Icon() : nullptr; }
    CDesktopTray* DesktopTray() { return tray_.get(); }
    bool ApplyScheduled() const { return applyScheduled_; }
    // A change waits for its save.
    bool SaveDue() const { return saveDue_; }
    // The progress display, while it shows.
    CProgressBarDlg* Progress() { return progress_.get(); }
    int screenWidth = 0;
    int screenHeight = 0;
    int osdCountdown = 0;
    int keySequencePosition = 0;
    CMainLayout& Layout() { return *layout_; }
    CGameSwitcher* GameSwitcher() { return gameSwitcher_.get(); }

    // Called once, when the window has painted for the first time (the
    // start-up benchmark listens here).
    std::function<void()> onFirstPaint;

    void OnPaint(HWND self, platform::ICanvas& canvas, const Rect& dirty) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool InvalidatesWholeWindow(UINT id) const override;

private:
    void MapMessages();
    void InitFoldersAndScale();
    void AddTrayIcon();
    void RunDeferredStart();  // what the first frame does not need
    // The link, once the deferred start has run (it runs now if not yet).
    DeviceLink* ReadyLink();
    void OnTimer(UINT id);
    void OnDestroy();
    void SaveNow();
    void ScheduleSave(int quietMs);
    void OnSaveTimer();
    void OnProgressTick();
    bool OnKeyDown(UINT vk, bool repeat);
    bool OnSimKey(UINT vk);
    void RunPostedTask();
    void SimPressDpiButton();
    void SimTogglePlug(bool cable);
    void OnSectionHeaderClicked(UINT id);
    // Runs the macro manager; afterwards the library is reread and the mouse updated.
    void OpenMacroManager();
    void CreateGameSwitcher();
    // A game's start or end selected this profile.
    void OnGameProfileSelected(int profile);

    MainWindowStartup startup_;
    MainWindowDevices devices_;
    std::unique_ptr<DeviceLink> link_;
    std::unique_ptr<CMainLayout> layout_;
    // Top to bottom of RefreshFromProfile, and the order their controls
    // are made in (see main_sections.h).
    std::vector<std::unique_ptr<CWindowSection>> sections_;
    std::vector<MainCreationStep> creationSteps_;
    CSliderDrag sliderDrag_;
    std::unique_ptr<COSDDialog> osd_;
    std::unique_ptr<CAttentionDlg> startupWarning_;
    std::unique_ptr<CAttentionDlg> readFailure_;  // data files that could not be read
    std::unique_ptr<COpenFailureDlg> openFailure_;
    std::unique_ptr<CDesktopTray> tray_;
    std::unique_ptr<CGameSwitcher> gameSwitcher_;
    // The background picture while it decodes; taken by the first paint.
    std::future<std::unique_ptr<CSkinImage>> background_;
    bool applyScheduled_ = false;  // timer 30 runs
    std::unique_ptr<CProgressBarDlg> progress_;
    int64_t progressStartMs_ = 0;
    bool progressEnding_ = false;  // the full bar shows for a last tick
    bool saveDue_ = false;         // a change is not in the files yet
    bool saveAfterWrites_ = false; // the save waits for the mouse's reports to go out
    int64_t firstUnsavedMs_ = 0;
    bool destroying_ = false;
    bool closing_ = false;  // the window is on its way out: handlers change nothing
    bool firstPaintSeen_ = false;
    bool deferredStartDone_ = false;

    // Tasks from other threads; the window's id is published for them only
    // while the window exists.
    std::mutex taskMutex_;
    std::deque<std::function<void()>> tasks_;
    std::atomic<HWND> taskWindow_{0};
};
