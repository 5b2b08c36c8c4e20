#pragma once
// CButtonListSection: the main window's list of programmable buttons, one
// combo per button (ids from kFirstCombo), each showing its button's
// function. The combos report with one shared message; their hover belongs
// to the mouse picture, their click to the button menus of this section.
//
// Window thread only (see ui/section_host.h).
#include "ui/section_host.h"

class CButtonListSection final : public CWindowSection {
public:
    static constexpr UINT kFirstCombo = 2013;  // + i for button i

    using CWindowSection::CWindowSection;
    // Sets each combo's label from the profile's button labels.
    void Refresh(const ProfileRecord* profile) override;
};
