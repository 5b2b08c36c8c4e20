#include "persist/ui/profile_tabs.h"

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
    for (int p = 0; p < kProfileCount; ++p) {
        auto* tab = dlg.Find<CTabControl>(UINT(CTabControl::kFirstId + p));
        if (!tab) continue;
        tab->SetVisible(IsProfileShown(p));
        tab->label = GetProfileName(g_profiles[size_t(p)]);
    }
    if (dlg.GetSafeHwnd() && platform::g_windowHost) platform::g_windowHost->Invalidate(dlg.GetSafeHwnd());
}
