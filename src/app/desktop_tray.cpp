#include "app/desktop_tray.h"

#include "app/main_ids.h"
#include "persist/language_file.h"
#include "persist/language_list.h"
#include "base/text_codec.h"
#include "base/ui_text.h"
#include "platform/shell/autostart.h"

using namespace main_ids;

namespace {

// Texts of the tray and its notifications.
constexpr int kTextAutostart = 560;
constexpr int kTextLanguage = 561;
constexpr int kTextBattery = 562;
constexpr int kTextReceiver = 563;
constexpr int kTextCable = 564;
constexpr int kTextLowTitle = 565;
constexpr int kTextLowLevel = 566;
constexpr int kTextLowAdvice = 567;
constexpr int kTextAutostartFailed = 568;
constexpr int kTextLanguageFailed = 569;
// Shown by the tray item that brings the window back (text 1 is the
// "Profiles" button's caption).
constexpr int kTextShow = 342;

bool SameBattery(const platform::TrayBattery& a, const platform::TrayBattery& b)
{
    return a.known == b.known && a.bars == b.bars && a.charging == b.charging && a.warning == b.warning;
}

}  // namespace

CDesktopTray::CDesktopTray(Setup setup, platform::IWindowHost& host, HWND window) : setup_(std::move(setup))
{
    if (!platform::g_shellServices) return;
    platform::TrayIconParams params;
    params.iconPath = setup_.iconPath;
    params.toolTip = u"Tevlan";
    params.menu = Menu();
    platform::PostTrayEventsTo(params, host, window, kMsgTrayIcon, kTrayIconId);
    shownTip_ = params.toolTip;
    icon_ = platform::g_shellServices->CreateTrayIcon(std::move(params));
}

std::vector<platform::TrayMenuItem> CDesktopTray::Menu() const
{
    std::vector<platform::TrayMenuItem> menu = {{kTrayShow, UiText(kTextShow)}};
    menu.insert(menu.end(), setup_.extraItems.begin(), setup_.extraItems.end());
    menu.push_back({0, u""});
    if (!setup_.autostartPath.empty())
        menu.push_back({kTrayAutostart, UiText(kTextAutostart), true, platform::IsAutostartOn(setup_.autostartPath)});
    // The choice for the next start: the data folder's, else what the locale picks.
    const std::u16string chosen =
        LanguageForCode(ChosenLanguageCode(setup_.programFolder, setup_.dataFolder, MessagesLocale())).code;
    platform::TrayMenuItem languages{0, UiText(kTextLanguage)};
    int id = kTrayFirstLanguage;
    for (const LanguageInfo& l : ShippedLanguages())
        languages.submenu.push_back({id++, l.nativeName, true, l.code == chosen});
    menu.push_back(std::move(languages));
    menu.push_back({0, u""});
    menu.push_back({kTrayExit, UiText(2)});
    return menu;
}

void CDesktopTray::RefreshMenu()
{
    if (icon_) icon_->SetMenu(Menu());
}

bool CDesktopTray::OnCommand(int id, std::u16string* error)
{
    if (id == kTrayAutostart) {
        std::string why;
        const bool on = !platform::IsAutostartOn(setup_.autostartPath);
        if (!platform::SetAutostart(setup_.autostartPath, on, setup_.autostartCommand, &why) && error)
            *error = UiText(kTextAutostartFailed) + u"\n" + Utf8ToU16(why);
        RefreshMenu();
        return true;
    }
    const int index = id - kTrayFirstLanguage;
    if (index >= 0 && id <= kTrayLastLanguage && size_t(index) < ShippedLanguages().size()) {
        if (!SaveLanguageSetting(setup_.dataFolder, ShippedLanguages()[size_t(index)].code) && error)
            *error = UiText(kTextLanguageFailed) + u"\n" + Utf8ToU16(setup_.dataFolder + "config/LanSetting.ini");
        RefreshMenu();
        return true;
    }
    return false;
}

void CDesktopTray::OnBattery(int level, int chargeState, bool present, bool receiver)
{
    if (level < 0 || level > 100) level = 0;
    const bool charging = chargeState == 1;
    platform::TrayBattery battery;
    std::u16string tip = u"Tevlan";
    if (present) {
        battery = {true, BatteryBars(level), charging, BatteryWarns(level, charging)};
        tip += u" — " + UiText(kTextBattery) + u" " + Ascii(std::to_string(level)) + u" %, " +
               UiText(receiver ? kTextReceiver : kTextCable);
        if (const int mark = marks_.Update(level, charging); mark && platform::g_shellServices) {
            platform::DesktopNotification n;
            n.title = UiText(kTextLowTitle);
            n.body = UiText(kTextLowLevel);
            if (const size_t at = n.body.find(u"%1"); at != std::u16string::npos)
                n.body.replace(at, 2, Ascii(std::to_string(level)));
            n.body += u" " + UiText(kTextLowAdvice);
            n.urgent = mark <= 5;
            platform::g_shellServices->Notify(n);
        }
    } else {
        marks_.Reset();
    }
    if (!icon_) return;
    if (!SameBattery(battery, shownBattery_)) icon_->SetBattery(battery);
    if (tip != shownTip_) icon_->SetToolTip(tip);
    shownBattery_ = battery;
    shownTip_ = tip;
}
