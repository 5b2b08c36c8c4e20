#include "settings/ui/sensor_section.h"

#include "settings/ui/settings_ids.h"

#include <string>

#include "base/ui_text.h"
#include "platform/shell/shell_services.h"
#include "profile/profile_record.h"
#include "settings/pointer_preferences.h"
#include "settings/sensor_settings.h"
#include "settings/ui/setting_slider.h"
#include "ui/check_button.h"
#include "ui/dlg_base.h"
#include "ui/passive_controls.h"
#include "ui/power_manage_button.h"
#include "ui/radio_state.h"
#include "ui/slider_control.h"

using namespace settings_ids;

namespace {

void Repaint(const CDlgBase& dlg, const CControlBase* c)
{
    if (c && dlg.GetSafeHwnd() && platform::g_windowHost)
        platform::g_windowHost->InvalidateRect(dlg.GetSafeHwnd(), c->GetRect());
}

void SetCaption(const CDlgBase& dlg, UINT id, const std::u16string& text)
{
    if (auto* c = dlg.Find<CStaticText>(id)) {
        c->SetLabelText(text);
        Repaint(dlg, c);
    }
}

void ShowCheck(const CDlgBase& dlg, UINT id, bool on)
{
    if (auto* c = dlg.Find<CCheckButton>(id)) {
        c->SetChecked(on);
        Repaint(dlg, c);
    }
}

void RepaintRadios(const CDlgBase& dlg, std::initializer_list<UINT> ids)
{
    for (UINT id : ids) Repaint(dlg, dlg.FindControl(id));
}

}  // namespace


void RefreshPollingRate(const CDlgBase& dlg, const ProfileRecord& profile)
{
    const int selected = PollingCaptionIndex(profile);
    SelectRadio(kFirstPollingRate + unsigned(selected));
    RepaintRadios(dlg, {kFirstPollingRate, kFirstPollingRate + 1, kFirstPollingRate + 2, kFirstPollingRate + 3});
    for (int i = 0; i < 4; ++i)
        if (CControlBase* c = dlg.FindControl(kFirstPollingRateText + UINT(i))) {
            c->SetAvailable(i == selected);
            Repaint(dlg, c);
        }
}

void RefreshSensorSettings(const CDlgBase& dlg, const ProfileRecord& profile)
{
    ScaleSettingSlider(dlg, kDebounce, DebounceMsCaption);
    // Its caption above is the section's switch: the slider has a name of its own.
    if (auto* s = dlg.Find<CSliderControl>(kDebounce)) s->SetAccessibleName(UiText(537));
    ScaleSettingSlider(dlg, kScrollSpeed, PositionCaption);
    ScaleSettingSlider(dlg, kPointerSpeed, PositionCaption);
    ScaleSettingSlider(dlg, kDoubleClickSpeed, PositionCaption);
    SelectRadio(ProfileSettingInt(profile, kSetLiftDetectionHeight) == 1 ? kLiftOffLow : kLiftOffHigh);
    RepaintRadios(dlg, {kLiftOffLow, kLiftOffHigh});

    ShowSettingSlider(dlg, kDebounce, kDebounceText, DebouncePositionOfMs(ProfileSettingInt(profile, kSetKeyDebounce)),
                      DebounceMsCaption);

    const int minutes = ProfileSettingInt(profile, kSetPowerDownTime);
    if (auto* dial = dlg.Find<CPowerManageButton>(kPowerDial)) {
        dial->SetValue(minutes);
        dial->SetValueUnit(UiText(267));
        Repaint(dlg, dial);
    }
    SetCaption(dlg, kPowerCaption, PowerSleepCaption(minutes));
    ShowCheck(dlg, kMoveLighting, ProfileSettingInt(profile, kSetMoveLightingOnOffMode) == 1);
    ShowCheck(dlg, kMotionWakeup, ProfileSettingInt(profile, kSetMotionWakeup) == 1);

    const bool page = ProfileSettingInt(profile, kSetScrollWheelPageEnable) == 1;
    SelectRadio(page ? kScrollPage : kScrollLines);
    RepaintRadios(dlg, {kScrollLines, kScrollPage});
    if (auto* lines = dlg.Find<CSliderControl>(kScrollSpeed)) lines->SetDisabled(page);
    ShowSettingSlider(dlg, kScrollSpeed, kScrollSpeedText, ProfileSettingInt(profile, kSetScrollWheelSpeed),
                      PositionCaption);
    ShowSettingSlider(dlg, kPointerSpeed, kPointerSpeedText, ProfileSettingInt(profile, kSetPointerSpeed),
                      PositionCaption);
    ShowSettingSlider(dlg, kDoubleClickSpeed, kDoubleClickSpeedText, ProfileSettingInt(profile, kSetDoubleClickSpeed),
                      PositionCaption);
    ShowCheck(dlg, kAcceleration, ProfileSettingInt(profile, kSetAccelerationEnable) == 1);
}

void StoreSensorSettings(const CDlgBase& dlg, ProfileRecord& profile)
{
    SetScrollWheelPageEnable(profile, IsRadioSelected(kScrollPage) ? 1 : 0);
    if (auto* c = dlg.Find<CCheckButton>(kMoveLighting)) SetMoveLightingOnOffMode(profile, c->IsChecked() ? 1 : 0);
    if (auto* c = dlg.Find<CCheckButton>(kMotionWakeup)) SetMotionWakeup(profile, c->IsChecked() ? 1 : 0);
    if (auto* dial = dlg.Find<CPowerManageButton>(kPowerDial)) SetPowerDownTime(profile, dial->Value());
    if (auto* s = dlg.Find<CSliderControl>(kScrollSpeed)) {
        SetScrollWheelSpeed(profile, s->Position());
        // There is no tilt control: the wheel's speed stands in for it.
        SetTiltSpeed(profile, s->Position());
    }
    if (auto* s = dlg.Find<CSliderControl>(kPointerSpeed)) SetPointerSpeed(profile, s->Position());
    if (auto* s = dlg.Find<CSliderControl>(kDoubleClickSpeed)) SetDoubleClickSpeed(profile, s->Position());
    if (auto* c = dlg.Find<CCheckButton>(kAcceleration)) SetAccelerationEnable(profile, c->IsChecked() ? 1 : 0);
    SetLiftDetectionHeight(profile, IsRadioSelected(kLiftOffLow) ? 1 : 2);
    auto* debounce = dlg.Find<CSliderControl>(kDebounce);
    SetKeyDebounce(profile, debounce ? debounce->Position() * 2 : 12);
}

void CSensorSection::MapMessages(CDlgBase& dlg)
{
    dlg.MapClickRange(kFirstPollingRate, kPollingRateCount, [this](int code) {
        Edit([code](ProfileRecord& p) { return EditPollingRate(p, code); });
    });
    dlg.MapClick(kLiftOffLow, [this] { Edit([](ProfileRecord& p) { return EditLiftOffDistance(p, 1); }); });
    dlg.MapClick(kLiftOffHigh, [this] { Edit([](ProfileRecord& p) { return EditLiftOffDistance(p, 2); }); });
    dlg.MapClick(kPowerDial, [this] {
        // The dial reports only a click on one of its wedges.
        if (auto* dial = host_.Dialog().Find<CPowerManageButton>(kPowerDial))
            Edit([v = dial->Value()](ProfileRecord& p) { return EditPowerDownTime(p, v); });
    });
    dlg.MapClick(kMoveLighting, [this] {
        if (auto* c = host_.Dialog().Find<CCheckButton>(kMoveLighting))
            Edit([on = c->IsChecked()](ProfileRecord& p) { return EditMoveLighting(p, on); });
    });
    dlg.MapClick(kMotionWakeup, [this] {
        if (auto* c = host_.Dialog().Find<CCheckButton>(kMotionWakeup))
            Edit([on = c->IsChecked()](ProfileRecord& p) { return EditMotionWakeup(p, on); });
    });
    dlg.MapClick(kAcceleration, [this] {
        if (auto* c = host_.Dialog().Find<CCheckButton>(kAcceleration))
            Edit([on = c->IsChecked()](ProfileRecord& p) { return EditPointerPrecision(p, on); });
    });
    dlg.MapClick(kScrollLines, [this] { Edit([](ProfileRecord& p) { return EditWheelPageMode(p, false); }); });
    dlg.MapClick(kScrollPage, [this] { Edit([](ProfileRecord& p) { return EditWheelPageMode(p, true); }); });

    MapSettingSlider(host_, dlg, kDebounce, kDebounceText, DebounceMsCaption, EditDebouncePosition);
    MapSettingSlider(host_, dlg, kScrollSpeed, kScrollSpeedText, PositionCaption, EditWheelLines);
    MapSettingSlider(host_, dlg, kPointerSpeed, kPointerSpeedText, PositionCaption, EditPointerSpeed);
    MapSettingSlider(host_, dlg, kDoubleClickSpeed, kDoubleClickSpeedText, PositionCaption, EditDoubleClickSpeed);

    dlg.MapClick(kDesktopMouseSettings, [] {
        if (platform::g_shellServices) platform::g_shellServices->OpenMouseSettings();
    });
}

void CSensorSection::Edit(const std::function<SettingChange(ProfileRecord&)>& edit)
{
    ProfileRecord* p = host_.WorkingProfile();
    if (!p) return;  // the window is closing
    const SettingChange c = edit(*p);
    // Every radio of a group, the one caption of the rate, the dial's caption
    // and the lines slider's state follow the profile, whatever was clicked.
    Refresh(p);
    if (c.Changed()) host_.ScheduleApply(c.group);
}

void CSensorSection::Refresh(const ProfileRecord* profile)
{
    if (!profile) return;
    RefreshPollingRate(host_.Dialog(), *profile);
    RefreshSensorSettings(host_.Dialog(), *profile);
}

void CSensorSection::Store(ProfileRecord& profile) { StoreSensorSettings(host_.Dialog(), profile); }
