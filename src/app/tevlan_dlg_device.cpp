// The main window's side of the device link (IDeviceHost): posted tasks,
// timers, the progress display and the saves that follow the changes.
#include "app/tevlan_dlg.h"

#include <algorithm>

#include "app/connection_display.h"
#include "app/osd_dialog.h"
#include "app/progress_bar_dlg.h"
#include "device/device_core_files.h"
#include "base/text_codec.h"
#include "base/ui_text.h"
#include "settings/ui/dpi_section.h"
#include "ui/passive_controls.h"

using namespace main_ids;

// ---- IDeviceHost ------------------------------------------------------------------------

void CTevlanDlg::PostToWindowThread(std::function<void()> task)
{
    {
        std::lock_guard<std::mutex> lock(taskMutex_);
        tasks_.push_back(std::move(task));
    }
    if (HWND w = taskWindow_.load(); w && platform::g_windowHost)
        platform::g_windowHost->PostMessage(w, kMsgRunTask, 0, 0);
}

void CTevlanDlg::RunPostedTask()
{
    std::function<void()> task;
    {
        std::lock_guard<std::mutex> lock(taskMutex_);
        if (tasks_.empty()) return;
        task = std::move(tasks_.front());
        tasks_.pop_front();
    }
    task();
}

void CTevlanDlg::StartTimer(int id, int periodMs)
{
    if (!hwnd_ || destroying_) return;
    if (id == kTimerSave) {
        ScheduleSave(periodMs);
        return;
    }
    if (id == kTimerApply) applyScheduled_ = true;
    Host().SetTimer(hwnd_, static_cast<UINT>(id), periodMs);
}

void CTevlanDlg::StopTimer(int id)
{
    if (id == kTimerApply) applyScheduled_ = false;
    if (hwnd_) Host().KillTimer(hwnd_, static_cast<UINT>(id));
}

void CTevlanDlg::ShowProgress(int textNumber)
{
    // A window the user does not see shows no progress either.
    if (destroying_ || closing_ || !hwnd_ || !Host().IsWindowVisible(hwnd_) || Host().IsIconic(hwnd_)) return;
    progressStartMs_ = Host().Clock().NowMs();
    progressEnding_ = false;
    // One display: a transfer queued while one shows continues its bar.
    if (!progress_) {
        progress_ = std::make_unique<CProgressBarDlg>(UiText(textNumber));
        if (!progress_->Create(hwnd_)) {
            progress_.reset();
            return;
        }
    }
    Host().SetTimer(hwnd_, kTimerProgress, kProgressTickMs);
}

void CTevlanDlg::OnProgressTick()
{
    if (!progress_ || progressEnding_ || !link_ || !link_->Writing()) {
        // The full bar stays one tick, so the end can be seen.
        if (progress_ && !progressEnding_) {
            progress_->SetProgress(100);
            progressEnding_ = true;
            return;
        }
        Host().KillTimer(hwnd_, kTimerProgress);
        progress_.reset();
        progressEnding_ = false;
        return;
    }
    // The share of the time so far in the time so far plus what the reports
    // still queued need; it never reaches the end before the queue does.
    const int64_t elapsed = Host().Clock().NowMs() - progressStartMs_;
    const int64_t left = int64_t(link_->WritesInFlight()) * kReportPacingMs;
    const int64_t percent = elapsed + left > 0 ? elapsed * 100 / (elapsed + left) : 0;
    progress_->SetProgress(int(std::min<int64_t>(percent, 99)));
}

void CTevlanDlg::OnDeviceWritesDone()
{
    if (saveAfterWrites_) SaveNow();
    if (progress_ && !progressEnding_) OnProgressTick();
}

// ---- saving ---------------------------------------------------------------------------

void CTevlanDlg::ScheduleSave(int quietMs)
{
    // Every change restarts the wait, so a burst is one save, but the first
    // change not yet saved sets the latest time.
    const int64_t now = Host().Clock().NowMs();
    if (!saveDue_) {
        saveDue_ = true;
        firstUnsavedMs_ = now;
    }
    const int64_t latest = firstUnsavedMs_ + kSaveLatestMs - now;
    Host().SetTimer(hwnd_, kTimerSave, static_cast<int>(std::clamp<int64_t>(latest, 1, quietMs)));
}

void CTevlanDlg::OnSaveTimer()
{
    Host().KillTimer(hwnd_, kTimerSave);
    // The files hold what the mouse has: a change still on its way out is
    // saved once it has gone (OnDeviceWritesDone), and one whose apply is
    // still due restarts this timer when it runs.
    if (applyScheduled_) return;
    if (link_ && (link_->Writing() || link_->ApplyWaiting())) {
        saveAfterWrites_ = true;
        return;
    }
    SaveNow();
}

bool CTevlanDlg::ApplyAll()
{
    DeviceLink* link = ReadyLink();
    if (!link || closing_ || destroying_) return false;
    // Whatever was scheduled goes with it now.
    if (applyScheduled_) StopTimer(kTimerApply);
    link->ApplyWholeProfile();
    return link->Product(kProductA).handle || link->Product(kProductB).handle;
}

void CTevlanDlg::ShowOsd(const std::u16string& levelText, const std::u16string& valueText,
                         const std::u16string& rateText)
{
    if (destroying_) return;
    if (osd_ && osd_->GetSafeHwnd()) {
        osd_->SetTexts(levelText, valueText, rateText);
        osdCountdown = kOsdTicks;
        return;
    }
    osd_ = std::make_unique<COSDDialog>();
    osd_->SetTexts(levelText, valueText, rateText);
    if (!osd_->Create()) {
        osd_.reset();
        return;
    }
    Host().SetTimer(hwnd_, kTimerOsd, kOsdTickMs);
    osdCountdown = kOsdTicks;
}

void CTevlanDlg::UpdateBatteryDisplay(int batteryLevel, int chargeState)
{
    if (batteryLevel > 100) batteryLevel = 0;
    // The level counts once the mouse has answered a status request.
    if (tray_ && link_)
        tray_->OnBattery(batteryLevel, chargeState, link_->anyPresent && link_->sensorCode != 0,
                         !link_->Product(kProductA).present);
    // Until the mouse has answered a status request the level is only the
    // link's starting value, not a reading: show the connection without it.
    const bool answered = link_ && link_->sensorCode != 0;
    ShowBatteryAndConnection(*this, ConnectionOf(link_.get()), answered ? batteryLevel : -1, chargeState);
}

void CTevlanDlg::OnDpiStepTableChanged()
{
    // A new sensor: the lift-off header's availability and the level bars'
    // step count.
    for (auto& section : sections_) section->OnSensorChanged();
    layout_->PlaceMovableControls();
    RepaintWindow();
}

void CTevlanDlg::EndProgram()
{
    closing_ = true;
    if (hwnd_) Host().ShowWindow(hwnd_, SW_HIDE);
    CloseOpenDialogs();
    osd_.reset();
    // The modal run of the main window ends; its destruction then writes
    // whatever save is still due.
    Host().PostQuitMessage(0);
}

int CTevlanDlg::CurrentProfileIndex() { return DeviceCoreFiles::CurrentProfileIndex(); }
void CTevlanDlg::StoreSensorSettings(uint16_t sensorId, uint16_t preSensorCheck)
{
    DeviceCoreFiles::StoreSensorSettings(sensorId, preSensorCheck);
}
void CTevlanDlg::SaveCurrentProfileSetting() { DeviceCoreFiles::SaveCurrentProfileSetting(); }
void CTevlanDlg::SaveAllProfileFiles() { DeviceCoreFiles::SaveAllProfileFiles(); }
void CTevlanDlg::WriteProfileSlotFile(int index) { DeviceCoreFiles::WriteProfileSlotFile(index); }
