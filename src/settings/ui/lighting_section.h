#pragma once
// The lighting section of the main window (group 2): the mode combo 3120,
// speed and brightness sliders with their captions, eight colour slots and
// the two direction radios. Profile <-> controls only; the mode menu and the
// colour slot handlers live with the lighting dialogs.
//
// Window thread only.
#include <string>

class CDlgBase;
struct ProfileRecord;

// Profile -> controls for the profile's mode, then the mode's visibility
// rules while the section is open (sectionOpen: its header is checked).
void RefreshLighting(const CDlgBase& dlg, const ProfileRecord& profile, bool sectionOpen);
// Controls -> profile: speed, brightness and direction of the current mode.
void StoreLighting(const CDlgBase& dlg, ProfileRecord& profile);

// Which parameter controls mode m shows (what the mode uses, by control).
bool LightingControlShown(unsigned id, int mode);

#include <array>
#include <functional>

#include "settings/setting_change.h"
#include "ui/section_host.h"

struct PopupResult;

// The lighting section as one object of the main window. Whether its panel
// is open is the layout's to say (isOpen); closed, the mode's visibility
// rules wait until it opens.
class CLightingSection final : public CWindowSection {
public:
    CLightingSection(ISectionHost& host, std::function<bool()> isOpen)
        : CWindowSection(host), isOpen_(std::move(isOpen))
    {
    }
    void MapMessages(CDlgBase& dlg) override;
    // The panel: mode combo, words, sliders, colour slots, direction radios.
    void CreateControls(ISectionPlaces& at, int part) override;
    void Refresh(const ProfileRecord* profile) override;
    void Store(ProfileRecord& profile) override;
    // Timers 1..8: the single click on colour slot 0..7 that no second click
    // followed toggles its selection.
    bool OnTimer(UINT id) override;
    // The speed and brightness sliders, while the panel is open.
    bool OnPointerDrag(int x) override;

private:
    void Edit(const std::function<SettingChange(ProfileRecord&)>& edit);
    void OpenModeMenu();
    void CloseModeMenu();
    void OnModeChosen(const PopupResult& result);
    void OnColourSlot(int slot, LPARAM event);

    std::function<bool()> isOpen_;
    std::array<bool, 8> afterDoubleClick_{};
};
