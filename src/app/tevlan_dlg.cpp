#include "app/tevlan_dlg.h"

#include <cstdio>
#include <filesystem>
#include <future>
#include <string>

#include "app/connection_display.h"
#include "app/firmware_reset_dlg.h"
#include "app/game_switcher.h"
#include "app/games_dlg.h"
#include "app/main_ids.h"
#include "app/open_failure_dlg.h"
#include "app/permission_message.h"
#include "app/osd_dialog.h"
#include "app/progress_bar_dlg.h"
#include "buttons/ui/button_list_ids.h"
#include "device/device_core_files.h"
#include "device/udev_rule_hint.h"
#include "macros/macro_library_file.h"
#include "macros/ui/macro_manager_dlg.h"
#include "persist/language_file.h"
#include "persist/profile_file.h"
#include "persist/profile_manager.h"
#include "persist/settings_file.h"
#include "base/text_codec.h"
#include "base/ui_text.h"
#include "persist/unreadable_files.h"
#include "platform/fs/file_system.h"
#include "platform/shell/autostart.h"
#include "platform/shell/screen_scale.h"
#include "platform/sim/sim_mouse.h"
#include "settings/dpi_step_table.h"
#include "ui/attention_dlg.h"
#include "ui/combo_button.h"
#include "ui/passive_controls.h"
#include "ui/skin_image.h"
#include "ui/ui_scale.h"

using namespace main_ids;

namespace {

// Why the mouse that is plugged in could not be opened, with what to run;
// null when the last scan had nothing to report.
std::unique_ptr<COpenFailureDlg> OpenFailureDialog(const DeviceLink& link, const MainWindowStartup& startup)
{
    const std::u16string node = Utf8ToU16(link.lastOpenPath.substr(0, link.lastOpenPath.find('#')));
    switch (link.lastOpenProblem) {
    case platform::HidOpenProblem::NoPermission: {
        const PermissionMessage m = NoPermissionMessage(
            node, startup.folders.executablePath,
            startup.sessionPlace ? startup.sessionPlace() : platform::SessionPlace::Unknown);
        return std::make_unique<COpenFailureDlg>(m.message, m.commands);
    }
    case platform::HidOpenProblem::Busy:
        return std::make_unique<COpenFailureDlg>(UiText(304) + u" " + node + u"\n" + UiText(305), u"");
    case platform::HidOpenProblem::Other:
        if (link.lastOpenError.empty()) return nullptr;
        return std::make_unique<COpenFailureDlg>(UiText(306) + u"\n" + Utf8ToU16(link.lastOpenError), u"");
    default: return nullptr;
    }
}

}  // namespace

CTevlanDlg::CTevlanDlg(MainWindowStartup startup, MainWindowDevices devices)
    : CDlgBase(false), startup_(std::move(startup)), devices_(devices)
{
    if (devices_.hid && devices_.deviceClock)
        link_ = std::make_unique<DeviceLink>(*devices_.hid, *devices_.deviceClock, *this, g_macroLibrary);
    layout_ = std::make_unique<CMainLayout>(*this);
    MainSectionsSetup setup;
    setup.selection = &g_workingProfile;
    setup.refreshWindow = [this] { RefreshFromProfile(); };
    setup.openGames = [this](int profile) { OpenGamesDialog(profile); };
    setup.dpiOrdinal = link_ ? &link_->currentDpiOrdinal : nullptr;
    setup.lightingOpen = [this] { return layout_->IsSectionOpen(MainSection::Lighting); };
    MainSections sections = MakeMainSections(*this, std::move(setup));
    sections_ = std::move(sections.all);
    creationSteps_ = std::move(sections.steps);
    MapMessages();
    CreateGameSwitcher();
}

CTevlanDlg::~CTevlanDlg()
{
    // A window still open here (a test that drops it) goes through the same
    // end as a closed one, so nothing that was due is lost.
    if (hwnd_ && platform::g_windowHost && platform::g_windowHost->IsWindow(hwnd_))
        platform::g_windowHost->DestroyWindow(hwnd_);
    taskWindow_ = 0;
    link_.reset();
}

// ---- message table ----------------------------------------------------------------------

void CTevlanDlg::MapMessages()
{
    MapMessage(kMsgSecondInstance, [this](WPARAM, LPARAM) {
        BringToFront();
        return LRESULT(0);
    });
    MapMessage(kMsgTrayIcon, [this](WPARAM w, LPARAM l) -> LRESULT {
        if (w != kTrayIconId) return 1;
        // The right-button menu is the tray's own; its choices come back as
        // WM_COMMAND kTrayShow / kTrayExit.
        if (l == LPARAM(WM_LBUTTONDBLCLK)) BringToFront();
        return 0;
    });
    MapMessage(kMsgDeviceSettingsChanged, [this](WPARAM w, LPARAM l) -> LRESULT {
        return link_ ? link_->OnDeviceSettingsChanged(int(w), int(l)) : 0;
    });
    MapMessage(kMsgRunTask, [this](WPARAM, LPARAM) {
        RunPostedTask();
        return LRESULT(0);
    });
    MapClick(kClose, [this] { CloseProgram(); });
    MapClick(kMinimise, [this] {
        // Hidden, the window is reached through the tray icon; a desktop
        // without a tray would lose it, so it is only minimised there.
        if (tray_ && tray_->IsShown())
            Host().ShowWindow(hwnd_, SW_HIDE);
        else
            Host().ShowWindow(hwnd_, SW_MINIMIZE);
    });
    MapClick(kApply, [this] { ApplyAll(); });
    MapClick(kReset, [this] { FactoryReset(); });
    MapClick(kMacroManager, [this] { OpenMacroManager(); });
    MapClick(kMakerLink, [] {
        if (platform::g_shellServices) platform::g_shellServices->OpenWebAddress(kMakerWebAddress);
    });
    for (int i = 0; i < kMainSectionCount; ++i) {
        const UINT id = SectionInfo(static_cast<MainSection>(i)).headerId;
        MapClick(id, [this, id] { OnSectionHeaderClicked(id); });
    }
    // Hover over a button's combo: the mouse picture shows which button it
    // is. The click belongs to the button menus.
    auto highlight = [this](WPARAM comboId) {
        const bool ours = comboId >= kFirstButtonCombo && comboId <= kLastHighlightCombo;
        layout_->SetHighlightedButton(ours ? static_cast<int>(comboId - kFirstButtonCombo) + 1 : 0);
    };
    SubscribeShared(kButtonComboMessage, CComboButton::kEnter, highlight);
    SubscribeShared(kButtonComboMessage, CComboButton::kLeave, [this](WPARAM) { layout_->SetHighlightedButton(0); });
    for (auto& section : sections_) section->MapMessages(*this);
}

void CTevlanDlg::OpenMacroManager()
{
    // The manager reads the library's file, which the first read may write.
    EnsureApplicationMacroLibrary();
    CMacroManagerDlg(1, hwnd_).DoModal();
    // The manager saved its library to the file, the only channel between
    // its copy and ours: reread it so the menus and the upload see the change.
    // A macro menu still open would show the old library's entries.
    ClosePopup(button_list::kSlotMacroSet);
    ClosePopup(button_list::kSlotSubMenu);
    g_macroLibrary.ClearLibrary();
    LoadApplicationMacroLibrary();
    if (link_ && link_->anyPresent) {
        // Changed macros and the buttons that name them go to the mouse now.
        link_->Schedule(PendingGroup::Keys);
        link_->ApplyToDevice();
    } else {
        RefreshFromProfile();
    }
}

void CTevlanDlg::CreateGameSwitcher()
{
    CGameSwitcher::Hooks hooks;
    hooks.postToWindow = [this](std::function<void()> task) { PostToWindowThread(std::move(task)); };
    hooks.selected = [this](int profile) { OnGameProfileSelected(profile); };
    hooks.modalOpen = [] { return CDlgBase::OwnedModalRuns() > 0; };
    hooks.deferTimer = [this](bool on) {
        if (on)
            StartTimer(kTimerGameDeferred, 250);
        else
            StopTimer(kTimerGameDeferred);
    };
    gameSwitcher_ = std::make_unique<CGameSwitcher>(std::move(hooks));
}

void CTevlanDlg::OnGameProfileSelected(int profile)
{
    RefreshFromProfile();
    for (PendingGroup g :
         {PendingGroup::Keys, PendingGroup::DpiAndMore, PendingGroup::Power, PendingGroup::Wake, PendingGroup::Windows})
        ScheduleApply(g);
    ShowOsd(UiText(kTextGameProfileOsd), GetProfileName(g_profiles[size_t(profile)]), u"");
}

void CTevlanDlg::OpenGamesDialog(int profile)
{
    if (profile < 0 || profile >= kProfileCount) return;
    CGamesDlg dialog(profile, hwnd_);
    if (dialog.DoModal() != IDOK) return;
    // The bindings live in the profile files: written now, and the watch
    // follows them.
    SaveNow();
    RefreshFromProfile();
}

void CTevlanDlg::OnSectionHeaderClicked(UINT id)
{
    if (!layout_->OnHeaderClicked(id)) return;
    RefreshFromProfile();
    // The sections below the header moved and their frames with them.
    RepaintWindow();
}

bool CTevlanDlg::InvalidatesWholeWindow(UINT id) const
{
    // Controls whose click changes other parts of the window: the profile
    // list, the tabs, the section headers and the left-hand captions.
    return id == kWholeWindowButton || (id >= kFirstProfileTab && id < kFirstProfileTab + UINT(kProfileTabCount)) ||
           (id >= kDpiHeader && id <= kPollingHeader) || (id >= kBatteryCaption && id <= kProfilesCaption);
}

LRESULT CTevlanDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER: OnTimer(static_cast<UINT>(wParam)); return 0;
    case WM_DESTROY: OnDestroy(); return CDlgBase::WindowProc(message, wParam, lParam);
    case WM_CLOSE: CloseProgram(); return 0;
    case WM_MOUSEMOVE: {
        const LRESULT r = CDlgBase::WindowProc(message, wParam, lParam);
        const bool pending = link_ && (link_->IsScheduled(PendingGroup::DpiAndMore) || link_->IsScheduled(PendingGroup::Windows));
        if (sliderDrag_.OnMouseMove(sections_, wParam, GET_X_LPARAM(lParam), pending))
            StartTimer(kTimerApply, kApplyDelayMs);
        return r;
    }
    case WM_LBUTTONUP: {
        // The end of a slider drag starts its apply here too: released
        // outside the window, no move would follow to start it.
        const LRESULT r = CDlgBase::WindowProc(message, wParam, lParam);
        const bool pending = link_ && (link_->IsScheduled(PendingGroup::DpiAndMore) || link_->IsScheduled(PendingGroup::Windows));
        if (sliderDrag_.OnMouseMove(sections_, 0, GET_X_LPARAM(lParam), pending)) StartTimer(kTimerApply, kApplyDelayMs);
        return r;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case kTrayShow: BringToFront(); return 0;
        case kTrayExit: CloseProgram(); return 0;
        case kTraySimDpiButton: SimPressDpiButton(); return 0;
        case kTraySimToggleCable: SimTogglePlug(true); return 0;
        case kTraySimToggleReceiver: SimTogglePlug(false); return 0;
        default:
            if (std::u16string error; tray_ && tray_->OnCommand(LOWORD(wParam), &error)) {
                if (!error.empty()) MessageBox(error);
                return 0;
            }
            break;
        }
        break;
    default: break;
    }
    return CDlgBase::WindowProc(message, wParam, lParam);
}

void CTevlanDlg::OnTimer(UINT id)
{
    switch (id) {
    case kTimerApply:
        Host().KillTimer(hwnd_, kTimerApply);
        applyScheduled_ = false;
        if (DeviceLink* link = ReadyLink()) link->ApplyToDevice();
        return;
    case kTimerOsd:
        if (osdCountdown > 0) {
            --osdCountdown;
        } else {
            Host().KillTimer(hwnd_, kTimerOsd);
            osd_.reset();
        }
        return;
    case kTimerSave: OnSaveTimer(); return;
    case kTimerProgress: OnProgressTick(); return;
    case kTimerDeferredStart:
        // Also when the start-up work has already run (an apply asked for
        // it first): the timer would otherwise keep firing.
        Host().KillTimer(hwnd_, kTimerDeferredStart);
        RunDeferredStart();
        return;
    case kTimerReleaseMemory:
        Host().KillTimer(hwnd_, kTimerReleaseMemory);
        if (platform::g_shellServices) platform::g_shellServices->ReleaseFreeMemory();
        return;
    case kTimerNoMouse:
        Host().KillTimer(hwnd_, kTimerNoMouse);
        if (!link_ || (!link_->Product(kProductA).handle && !link_->Product(kProductB).handle)) {
            // A mouse that is there but cannot be opened says why and what to do.
            if (link_ && !openFailure_) openFailure_ = OpenFailureDialog(*link_, startup_);
            if (openFailure_) {
                openFailure_->ShowModeless();
            } else if (!startupWarning_) {
                startupWarning_ = std::make_unique<CAttentionDlg>(u"", UiText(kNoMouseTextNumber), 0);
                startupWarning_->ShowModeless();
            }
        }
        return;
    case kTimerStatus:
        if (link_) link_->OnStatusTick();
        return;
    case kTimerGameDeferred:
        if (gameSwitcher_) gameSwitcher_->OnDeferTimer();
        return;
    default:
        for (auto& section : sections_)
            if (section->OnTimer(id)) return;
        return;
    }
}

void CTevlanDlg::SaveNow()
{
    if (hwnd_) Host().KillTimer(hwnd_, kTimerSave);
    saveDue_ = false;
    saveAfterWrites_ = false;
    if (link_) link_->saveScheduled = false;
    DeviceCoreFiles::SaveChangedFiles();
}

void CTevlanDlg::OnDestroy()
{
    // Closed during a game: the user's own profile goes back to the mouse and
    // into the settings file, as if the game had ended first.
    if (gameSwitcher_) {
        const int back = gameSwitcher_->ProfileToLeaveWith();
        gameSwitcher_->Stop();
        if (back >= 0 && SelectProfile(back).Done() && link_) {
            RefreshFromProfile();
            for (PendingGroup g : {PendingGroup::Keys, PendingGroup::DpiAndMore, PendingGroup::Power,
                                   PendingGroup::Wake, PendingGroup::Windows})
                ScheduleApply(g);
            link_->saveScheduled = true;
        }
    }
    // A change made in the last 20 ms has not been applied yet, and changes
    // made during a transfer wait for its end, which the window will not see:
    // both are queued now (quietly: no progress while the window goes away)
    // so that they reach the mouse and are saved below instead of dropped.
    if (applyScheduled_ && link_) {
        Host().KillTimer(hwnd_, kTimerApply);
        applyScheduled_ = false;
        link_->suppressProgress = true;
        destroying_ = true;
        EnsureApplicationMacroLibrary();
        link_->ApplyToDevice();
    }
    destroying_ = true;
    if (link_) {
        link_->suppressProgress = true;
        link_->FlushApply();
    }
    if (saveDue_ || (link_ && link_->saveScheduled)) SaveNow();
    Host().KillTimer(hwnd_, kTimerProgress);
    progress_.reset();
    taskWindow_ = 0;
    // Stops the listeners, lets the queued writes reach the mouse and closes
    // both handles. A long transfer still under way finishes with the window
    // already gone from the screen, so the closing does not look stuck.
    if (link_ && link_->PendingDeviceIo() > 0) Host().ShowWindow(hwnd_, SW_HIDE);
    link_.reset();
    tray_.reset();
    osd_.reset();
    startupWarning_.reset();
    readFailure_.reset();
    openFailure_.reset();
}

// ---- operations -------------------------------------------------------------------------

void CTevlanDlg::BringToFront()
{
    if (!hwnd_) return;
    Host().ShowWindow(hwnd_, Host().IsIconic(hwnd_) ? SW_RESTORE : SW_SHOWNORMAL);
    Host().SetForegroundWindow(hwnd_);
}

void CTevlanDlg::CloseProgram()
{
    closing_ = true;
    CloseOpenDialogs();
    EndDialog(IDOK);
}

ProfileRecord* CTevlanDlg::WorkingProfile()
{
    if (closing_ || destroying_) return nullptr;
    if (g_workingProfile < 0 || g_workingProfile >= kProfileCount) return nullptr;
    return &g_profiles[size_t(g_workingProfile)];
}

void CTevlanDlg::RefreshFromProfile()
{
    g_workingProfile = GetCurrentProfile();
    const ProfileRecord* profile = WorkingProfile();
    for (auto& section : sections_) section->Refresh(profile);
    ShowConnectionState();
    if (gameSwitcher_ && hwnd_ && !destroying_) gameSwitcher_->Rebind();
    // Tabs reordered, or the lift-off section come or gone with the sensor:
    // what moved leaves its old place to repaint as well.
    if (layout_->PlaceMovableControls()) RepaintWindow();
}

void CTevlanDlg::ShowConnectionState()
{
    const MouseConnection connection = ConnectionOf(link_.get());
    // A mouse that arrived answers the no-mouse warning.
    if (connection != MouseConnection::None) {
        if (startupWarning_) startupWarning_.reset();
        if (openFailure_) openFailure_.reset();
    }
    ShowConnection(*this, connection);
}

void CTevlanDlg::StoreToProfile()
{
    g_workingProfile = GetCurrentProfile();
    if (ProfileRecord* profile = WorkingProfile())
        for (auto& section : sections_) section->Store(*profile);
}

void CTevlanDlg::RepaintWindow()
{
    if (hwnd_) Host().Invalidate(hwnd_);
}

LRESULT CTevlanDlg::MessageBox(const std::u16string& text)
{
    CAttentionDlg box(u"", text, hwnd_);
    return box.DoModal();
}

void CTevlanDlg::MarkPending(PendingGroup group)
{
    if (!link_ || closing_ || destroying_) return;
    link_->Schedule(group);
}

void CTevlanDlg::ScheduleApply(PendingGroup group)
{
    if (!link_ || closing_ || destroying_) return;
    MarkPending(group);
    StartTimer(kTimerApply, kApplyDelayMs);
}

void CTevlanDlg::FactoryReset()
{
    CFirmwareResetDlg confirm(hwnd_);
    if (confirm.DoModal() != IDOK) return;
    if (DeviceLink* link = ReadyLink()) link->FactoryResetConfirmed();
}

// ---- painting ---------------------------------------------------------------------------

void CTevlanDlg::CreateControls(Rect client)
{
    if (controlsCreated) return;
    controlsCreated = true;
    layout_->CreateControls(client, creationSteps_);
    for (auto& section : sections_) section->OnControlsCreated();
}

void CTevlanDlg::DrawBackground(platform::ICanvas& dc, const Rect& client) { layout_->DrawBackground(dc, client); }

void CTevlanDlg::OnPaint(HWND self, platform::ICanvas& canvas, const Rect& dirty)
{
    if (background_.valid())
        if (std::unique_ptr<CSkinImage> picture = background_.get()) SetBackgroundBitmap(std::move(picture));
    if (Host().IsIconic(self)) {
        layout_->PaintMinimised(canvas, Host().GetClientRect(self));
        return;
    }
    CDlgBase::OnPaint(self, canvas, dirty);
    if (!firstPaintSeen_) {
        firstPaintSeen_ = true;
        // A timer, not a posted message: the toolkit hands the frame to the
        // display server only once its loop is about to wait, and a posted
        // message would run the deferred work before that, holding the
        // first frame back by all of it.
        if (!deferredStartDone_) Host().SetTimer(hwnd_, kTimerDeferredStart, 1);
        if (onFirstPaint) onFirstPaint();
    }
}
