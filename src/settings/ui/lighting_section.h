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

// The mode the profile's lighting uses; a mode byte past the ten per-mode
// entries (a damaged file) counts as mode 0, lighting off.
int LightingModeOf(const ProfileRecord& profile);
// "25%", "50%", "75%", "100%" for brightness positions 0 to 3.
std::u16string LightingBrightnessText(int position);
// Which parameter controls mode m shows.
bool LightingControlShown(unsigned id, int mode);

#include <functional>

#include "ui/section_host.h"

// The lighting section as one object of the main window. Whether its panel
// is open is the layout's to say (isOpen); closed, the mode's visibility
// rules wait until it opens.
class CLightingSection final : public CWindowSection {
public:
    CLightingSection(ISectionHost& host, std::function<bool()> isOpen)
        : CWindowSection(host), isOpen_(std::move(isOpen))
    {
    }
    void Refresh(const ProfileRecord* profile) override;
    void Store(ProfileRecord& profile) override;

private:
    std::function<bool()> isOpen_;
};
