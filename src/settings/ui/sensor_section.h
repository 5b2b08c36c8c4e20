#pragma once
// The sensor, power and pointer-preference controls of the main window:
// polling rate (group 4), lift-off distance (group 5), key debounce (group 6),
// the power dial and its two switches (group 0) and the pointer preferences
// (group 3). Profile <-> controls only; the handlers that change a setting
// live with their sections.
//
// Window thread only.
#include <string>

class CDlgBase;
struct ProfileRecord;

// The polling radios and the one caption of the selected rate.
void RefreshPollingRate(const CDlgBase& dlg, const ProfileRecord& profile);
// Lift-off, debounce, power, the two switches and the pointer preferences.
void RefreshSensorSettings(const CDlgBase& dlg, const ProfileRecord& profile);
// Controls -> profile. The polling fields are written by the polling
// handler only and stay as they are.
void StoreSensorSettings(const CDlgBase& dlg, ProfileRecord& profile);


#include <functional>

#include "settings/setting_change.h"
#include "settings/ui/settings_ids.h"
#include "ui/section_host.h"

// The top of the desktop settings button in the pointer preferences' panel:
// below the double-click speed, where its caption does not run into the
// pointer speed slider and the precision check. The panel's frame reaches it.
constexpr int kDesktopSettingsButtonTop = 252;

// Sensor, power and pointer preferences as one object of the main window.
// The acceleration check schedules the pointer-preference apply; the
// desktop settings button opens the desktop's own mouse settings.
class CSensorSection final : public CWindowSection {
public:
    // Its controls lie in five places of the window, made as five parts:
    // the power block of the left column and four panels of the right one.
    enum Part { kPartPower = 0, kPartPolling, kPartLiftOff, kPartDebounce, kPartPointer };

    using CWindowSection::CWindowSection;
    void MapMessages(CDlgBase& dlg) override;
    void CreateControls(ISectionPlaces& at, int part) override;
    // The debounce and pointer preference sliders, while their panels are open.
    bool OnPointerDrag(int x) override;
    void Refresh(const ProfileRecord* profile) override;
    void Store(ProfileRecord& profile) override;

private:
    // Runs an edit on the working profile, shows the result and schedules
    // its apply; does nothing while the window closes.
    void Edit(const std::function<SettingChange(ProfileRecord&)>& edit);
};
