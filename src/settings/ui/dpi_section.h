#pragma once
// The DPI section of the main window (group 1): eight level columns, each a
// value bar 3300 + k, a value label 3290 + k, an enable check 3260 + k and a
// colour swatch 3270 + k. These two functions only move values between a
// profile record and those controls; the handlers that edit levels live with
// the DPI dialogs.
//
// Window thread only.
class CDlgBase;
struct ProfileRecord;

// Profile -> controls. Loads the working ordinal (the current level among the
// enabled ones) from the profile into *workingOrdinal when it is given, and
// marks the current level's label red.
void RefreshDpiSection(const CDlgBase& dlg, const ProfileRecord& profile, int* workingOrdinal);
// Controls -> profile: the enable mask from the eight checks and the current
// level from the working ordinal. Level steps and colours are written by
// their own handlers and are left alone here.
void StoreDpiSection(const CDlgBase& dlg, ProfileRecord& profile, int workingOrdinal);
// The level bars take their step count from the sensor's DPI step table;
// called when that table changes.
void UpdateDpiBarStepCount(const CDlgBase& dlg);

#include "ui/section_host.h"

// The DPI section as one object of the main window. The working ordinal (the
// current level among the enabled ones while the window runs) lives with the
// device link; the section reads and writes it through the pointer it was
// given, or keeps the profile's own when there is none.
class CDpiSection final : public CWindowSection {
public:
    CDpiSection(ISectionHost& host, int* workingOrdinal) : CWindowSection(host), workingOrdinal_(workingOrdinal) {}
    void MapMessages(CDlgBase& dlg) override;
    // The eight level columns, at their places of dpi_section_layout.h.
    void CreateControls(ISectionPlaces& at, int part) override;
    void Refresh(const ProfileRecord* profile) override;
    void Store(ProfileRecord& profile) override;
    // The sensor's step table changed: the bars get its step count.
    void OnSensorChanged() override;

private:
    // A level's enable check was clicked (it has toggled itself already).
    void OnLevelChecked(int level);
    // A level's bar: the DPI value dialog. A level's swatch: the palette.
    void OnLevelBar(int level);
    // An arrow key on a level's bar: one step up or down, as the dialog would set it.
    void OnLevelStep(int level, bool up);
    void OnLevelSwatch(int level);

    int* workingOrdinal_;
};
