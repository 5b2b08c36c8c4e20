#include "buttons/ui/button_captions.h"

#include "profile/profile_record.h"
#include "ui/combo_button.h"
#include "ui/dlg_base.h"

void RefreshButtonCaptions(const CDlgBase& dlg, int profileIndex)
{
    if (profileIndex < 0 || profileIndex >= kProfileCount) return;
    const ProfileRecord& profile = g_profiles[size_t(profileIndex)];
    for (int i = 0; i < kButtonCount; ++i) {
        auto* combo = dlg.Find<CComboButton>(UINT(2013 + i));
        if (!combo) continue;
        combo->SetLabel(profile.buttons[size_t(i)].label);
        if (dlg.GetSafeHwnd() && platform::g_windowHost)
            platform::g_windowHost->InvalidateRect(dlg.GetSafeHwnd(), combo->GetRect());
    }
}
