#pragma once
// The profile tabs of the main window (2049 + p for profile p): only the
// shown profiles have a visible tab, each captioned with its profile's name.
// Where the shown tabs sit is the layout's business (it re-reads the shown
// list on every paint).
//
// Window thread only.
class CDlgBase;
struct ProfileRecord;

// Shows the tabs of the profiles in the shown list, hides the others and
// sets every tab's caption to its profile's name.
void RefreshProfileTabs(const CDlgBase& dlg);
// Whether profile p is among the first ProfileShowCount entries of the list.
bool IsProfileShown(int p);

#include "ui/section_host.h"

// The profile tabs as one object of the main window. The tabs share the
// window's selection: the index of the profile it shows, given here.
class CProfileTabsSection final : public CWindowSection {
public:
    static constexpr UINT kFirstTab = 2049;  // + p for profile p

    CProfileTabsSection(ISectionHost& host, int* selection) : CWindowSection(host), selection_(selection) {}
    void OnControlsCreated() override;
    // Every tab, whatever the working profile (the names come from all profiles).
    void Refresh(const ProfileRecord* profile) override;

private:
    int* selection_;
};
