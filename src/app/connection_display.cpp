#include "app/connection_display.h"

#include "app/main_ids.h"
#include "device/device_link.h"
#include "base/text_codec.h"
#include "base/ui_text.h"
#include "ui/dlg_base.h"
#include "ui/passive_controls.h"

namespace {

std::u16string WithPercent(int text, int level)
{
    std::u16string s = UiText(text);
    if (auto at = s.find(u"%1"); at != std::u16string::npos) s.replace(at, 2, Ascii(std::to_string(level)));
    return s;
}

void Repaint(const CDlgBase& dlg, const CControlBase& c)
{
    if (dlg.GetSafeHwnd() && platform::g_windowHost) platform::g_windowHost->InvalidateRect(dlg.GetSafeHwnd(), c.GetRect());
}

}  // namespace

MouseConnection ConnectionOf(const DeviceLink* link)
{
    if (!link) return MouseConnection::None;
    const bool cable = link->Product(kProductA).handle != nullptr;
    const bool receiver = link->Product(kProductB).handle != nullptr;
    if (cable && receiver) return MouseConnection::Both;
    if (cable) return MouseConnection::Cable;
    return receiver ? MouseConnection::Receiver : MouseConnection::None;
}

std::u16string ConnectionCaption(MouseConnection connection, int batteryLevel)
{
    const bool read = batteryLevel >= 0;
    switch (connection) {
    case MouseConnection::Cable: return read ? WithPercent(kTextByCable, batteryLevel) : UiText(kTextCableOnly);
    case MouseConnection::Receiver:
        return read ? WithPercent(kTextByReceiver, batteryLevel) : UiText(kTextReceiverOnly);
    case MouseConnection::Both: return read ? WithPercent(kTextByBoth, batteryLevel) : UiText(kTextBothOnly);
    case MouseConnection::None: break;
    }
    return UiText(kTextNotConnected);
}

void ShowConnection(CDlgBase& dlg, MouseConnection connection)
{
    auto* battery = dlg.Find<CBattery>(main_ids::kBattery);
    const bool reading = battery && battery->displayState != CBattery::kNotConnected;
    if (connection == MouseConnection::None || !battery) {
        ShowBatteryAndConnection(dlg, connection, battery ? battery->level : 0, 0);
        return;
    }
    if (auto* indicator = dlg.Find<CStaticText>(kConnectionIndicatorId)) {
        const int level = battery->displayState == CBattery::kCharged ? 100 : battery->level;
        const std::u16string caption = ConnectionCaption(connection, reading ? level : -1);
        if (indicator->LabelText() != caption) {
            indicator->SetLabelText(caption);
            Repaint(dlg, *indicator);
        }
    }
}

void ShowBatteryAndConnection(CDlgBase& dlg, MouseConnection connection, int batteryLevel, int chargeState)
{
    const bool connected = connection != MouseConnection::None;
    if (auto* battery = dlg.Find<CBattery>(main_ids::kBattery)) {
        battery->absentText = UiText(kTextNotConnected);
        battery->chargingLevel += 25;
        if (battery->chargingLevel > 100) battery->chargingLevel = 25;
        // No fill before the mouse has answered: the gauge shows readings only.
        const int state = connected && batteryLevel >= 0 ? chargeState : CBattery::kNotConnected;
        const bool changed = battery->level != batteryLevel || battery->displayState != state ||
                             state == CBattery::kCharging;
        battery->level = batteryLevel;
        battery->displayState = state;
        if (changed) Repaint(dlg, *battery);
    }
    if (auto* text = dlg.Find<CStaticText>(main_ids::kBatteryPercent)) {
        const bool read = connected && batteryLevel >= 0;
        const std::u16string caption = read ? Ascii(std::to_string(batteryLevel) + "%") : u"";
        const bool visible = read && chargeState != CBattery::kCharging;
        if (text->LabelText() != caption || text->IsVisible() != visible) {
            text->SetLabelText(caption);
            text->SetVisible(visible);
            Repaint(dlg, *text);
        }
    }
    if (auto* indicator = dlg.Find<CStaticText>(kConnectionIndicatorId)) {
        const std::u16string caption = ConnectionCaption(connection, batteryLevel);
        if (indicator->LabelText() != caption) {
            indicator->SetLabelText(caption);
            Repaint(dlg, *indicator);
        }
    }
}
