// The main window's start-up: its folders, scale and size, the first
// refresh, then what the first frame does not need (the macro library, the
// mouse, the tray icon), run once it has painted.
#include "app/tevlan_dlg.h"

#include <cstdio>
#include <filesystem>
#include <future>
#include <string>

#include "app/main_ids.h"
#include "app/open_failure_dlg.h"
#include "app/osd_dialog.h"
#include "app/progress_bar_dlg.h"
#include "app/game_switcher.h"
#include "base/text_codec.h"
#include "base/ui_text.h"
#include "macros/macro_library_file.h"
#include "persist/language_file.h"
#include "persist/settings_file.h"
#include "persist/unreadable_files.h"
#include "platform/fs/file_system.h"
#include "platform/shell/autostart.h"
#include "platform/shell/screen_scale.h"
#include "settings/dpi_step_table.h"
#include "ui/attention_dlg.h"
#include "ui/passive_controls.h"
#include "ui/skin_image.h"
#include "ui/ui_scale.h"

using namespace main_ids;

namespace {

constexpr int kBaseWidth = 1127;
constexpr int kBaseHeight = 740;
constexpr int kBackgroundResource = 364;
constexpr int kDecodeAheadPixels = 32 * 1024;

std::string WithSlash(std::string folder)
{
    if (!folder.empty() && folder.back() != '/') folder.push_back('/');
    return folder;
}

// Every missing level of a folder; failures are left to the file code,
// which falls back to defaults when it cannot write.
void MakeFolders(const std::string& folder)
{
    std::string path = folder;
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    if (path.empty() || platform::DirectoryExists(path)) return;
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        const std::string level = path.substr(0, slash);
        if (!platform::DirectoryExists(level)) platform::MakeDirectory(level);
    }
    platform::MakeDirectory(path);
}

}  // namespace

// ---- start-up ---------------------------------------------------------------------------

void CTevlanDlg::InitFoldersAndScale()
{
    if (startup_.dataDir) {
        std::string data = *startup_.dataDir;
        if (!data.empty() && data.front() != '/') data = std::filesystem::absolute(data).string();
        data = WithSlash(data);
        SetDataFolders(ProgramFolderFor(startup_.folders.executablePath), data);
        MakeFolders(data);
        MakeFolders(data + "config");
    } else {
        InitDataFolders(startup_.folders);
    }
    SetSkinProgramFolder(g_programFolder);
    Host().Graphics().SetProgramFolder(g_programFolder);

    Rect work = Host().GetWorkArea();
    if (platform::g_shellServices) work = platform::g_shellServices->QueryScreen().workArea;
    screenWidth = work.Width();
    screenHeight = work.Height();
    g_uiScale = platform::UiScaleForWorkArea(screenWidth, screenHeight, kBaseWidth, kBaseHeight);
    g_dpiFactor = platform::DpiFactorForLogicalDpi(Host().LogicalDpi());

    // The background picture decodes on another thread while the rest of
    // the start-up runs; the first paint takes it over.
    background_ = std::async(std::launch::async, [] {
        std::unique_ptr<CSkinImage> picture = CSkinImage::FromResource(kBackgroundResource);
        if (picture) picture->Raw().IsOpaque();  // the scan, off this thread too
        return picture;
    });
    LoadLanguage(g_uiScale);
    // The macro library is read after the first frame (RunDeferredStart),
    // or sooner by whatever needs it first.
    ForgetApplicationMacroLibrary();
    LoadSettingsAndProfiles();
    BuildDpiStepTable(g_sensorId);

    // Sized and centred before the controls are made, so they are laid out
    // for the client area they will really have.
    windowWidth = static_cast<int>(g_uiScale * kBaseWidth);
    windowHeight = static_cast<int>(g_uiScale * kBaseHeight);
    const int left = screenWidth > windowWidth ? static_cast<int>((screenWidth - windowWidth) * 0.5) : 0;
    const int top = screenHeight > windowHeight ? static_cast<int>((screenHeight - windowHeight) * 0.5) : 0;
    // Centred in the work area, not merely at its offsets from the screen's
    // corner: a panel at the top or left would otherwise cover the window.
    Host().SetWindowPos(hwnd_, Rect::FromSize(work.left + left, work.top + top, windowWidth, windowHeight));
}

bool CTevlanDlg::OnInitDialog()
{
    taskWindow_ = hwnd_;
    InitFoldersAndScale();
    CDlgBase::OnInitDialog();
    Host().DescribeWindow(hwnd_, u"main", u"");

    g_openDialogs.fill(0);
    if (link_) {
        link_->currentDpiOrdinal = 2;
        link_->ClearSchedule();
        link_->saveScheduled = false;
        link_->chargeState = 0;
        link_->batteryLevel = 10;
        link_->statusTickCount = 0;
        link_->suppressProgress = false;
    }
    keySequencePosition = 0;
    osd_.reset();
    osdCountdown = 0;

    // A hidden start shows no frame to wait for, and whether it may stay
    // hidden depends on the tray: there the icon comes first.
    if (startup_.startHidden) {
        AddTrayIcon();
        // Without a tray the window would be unreachable, so it shows normally.
        if (tray_ && tray_->IsShown()) showOnCreate = false;
    }
    RefreshFromProfile();
    // The large pictures the first frame shows whole (the mouse) decode on
    // other threads while the window is shown; a small one decodes faster
    // than a thread starts.
    for (int g = 0; g < kGroupCount; ++g)
        for (const auto& c : Group(g))
            if (auto* picture = dynamic_cast<CStaticImage*>(c.get()); picture && picture->IsShown() && picture->Image())
                if (const CSkinImage* image = picture->Image(); image->Width() * image->Height() >= kDecodeAheadPixels)
                    image->DecodeAhead();
    Host().SetTimer(hwnd_, kTimerNoMouse, kNoMouseCheckMs);
    // The tray icon (a D-Bus round trip on most desktops) and the search for
    // the mouse are not needed for the first frame: they start once it is
    // painted. A window started hidden is never painted, hence the timer.
    Host().SetTimer(hwnd_, kTimerDeferredStart, kDeferredStartFallbackMs);
    return true;
}

void CTevlanDlg::RunDeferredStart()
{
    if (deferredStartDone_) return;
    deferredStartDone_ = true;
    Host().KillTimer(hwnd_, kTimerDeferredStart);
    // The library first: priming and the first apply upload its macros.
    EnsureApplicationMacroLibrary();
    if (link_) {
        link_->ResetLinkState();
        if (!devices_.freshMouse) link_->PrimeSentImages();
    }
    if (!tray_) AddTrayIcon();
    // A data file that is there but could not be read was left alone; the
    // user has to know which one, and that it is not being saved over.
    if (const std::u16string unreadable = UnreadableFilesMessage(); !unreadable.empty() && !readFailure_) {
        std::fprintf(stderr, "tevlan: %s\n", U16ToUtf8(unreadable).c_str());
        readFailure_ = std::make_unique<CAttentionDlg>(u"", unreadable, 0);
        readFailure_->ShowModeless();
    }
    if (link_) {
        link_->ScanDevices();
        if (link_->anyPresent && link_->needStatusQuery) {
            link_->needStatusQuery = false;
            link_->QueryDeviceStatus();
        }
        RefreshFromProfile();
        RepaintWindow();
    }
    // The memory the start-up used and freed goes back to the system once
    // the repaints it caused (the refresh above, the status answer) are done.
    Host().SetTimer(hwnd_, kTimerReleaseMemory, kReleaseMemoryDelayMs);
}

DeviceLink* CTevlanDlg::ReadyLink()
{
    // Before the first frame the link has neither the macro library nor the
    // mouse: whatever would use it then gets the deferred start at once.
    if (!deferredStartDone_ && hwnd_ && !destroying_) RunDeferredStart();
    return link_.get();
}

void CTevlanDlg::AddTrayIcon()
{
    if (!platform::g_shellServices) return;
    CDesktopTray::Setup setup;
    setup.iconPath = g_programFolder + "skins/res/128.png";
    setup.autostartPath = platform::AutostartEntryPath(startup_.folders.configHome, startup_.folders.home);
    setup.autostartCommand = platform::AutostartCommand(startup_.folders.executablePath);
    setup.programFolder = g_programFolder;
    setup.dataFolder = g_userDataFolder;
    if (devices_.sim)
        setup.extraItems = {{0, u""},
                            {kTraySimDpiButton, u"Simulated mouse: DPI button (F9)"},
                            {kTraySimToggleCable, u"Simulated mouse: plug/unplug cable (F10)"},
                            {kTraySimToggleReceiver, u"Simulated mouse: plug/unplug receiver (F11)"}};
    tray_ = std::make_unique<CDesktopTray>(std::move(setup), Host(), hwnd_);
}

