#include "persist/ui/profile_tabs.h"

#include <string>
#include <vector>

#include "persist/settings_file.h"
#include "profile/profile_record.h"
#include "ui/dlg_base.h"
#include "ui/tab_control.h"

bool IsProfileShown(int p)
{
    const int count = GetProfileShowCount();
    for (int k = 0; k < count; ++k)
        if (GetProfileShowList(k) == p) return true;
    return false;
}

void RefreshProfileTabs(const CDlgBase& dlg)
{
    const HWND w = dlg.GetSafeHwnd();
    bool shownChanged = false;
    std::vector<const CTabControl*> changed;
    for (int p = 0; p < kProfileCount; ++p) {
        auto* tab = dlg.Find<CTabControl>(CProfileTabsSection::kFirstTab + UINT(p));
        if (!tab) continue;
        const bool shown = IsProfileShown(p);
        std::u16string name = GetProfileName(g_profiles[size_t(p)]);
        if (tab->IsVisible() != shown) shownChanged = true;
        if (shown && (tab->label != name || tab->LookChanged())) changed.push_back(tab);
        tab->SetVisible(shown);
        tab->label = std::move(name);
    }
    if (!w || !platform::g_windowHost) return;
    // A tab that comes or goes moves the tabs below it and the add button:
    // the whole window. Otherwise only the tabs whose caption or selected
    // look changed (an apply refreshes from the profile, and repainting the
    // whole window for it kept the window thread busy too long).
    if (shownChanged) {
        platform::g_windowHost->Invalidate(w);
        return;
    }
    for (const CTabControl* tab : changed) platform::g_windowHost->InvalidateRect(w, tab->GetRect());
}

void CProfileTabsSection::OnControlsCreated()
{
    for (int p = 0; p < kProfileCount; ++p)
        if (auto* tab = host_.Dialog().Find<CTabControl>(kFirstTab + UINT(p))) tab->BindSelection(selection_, p);
}

void CProfileTabsSection::Refresh(const ProfileRecord*) { RefreshProfileTabs(host_.Dialog()); }
