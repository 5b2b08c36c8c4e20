#include "buttons/ui/button_list_section.h"

#include "profile/profile_record.h"
#include "ui/combo_button.h"
#include "ui/dlg_base.h"

void CButtonListSection::Refresh(const ProfileRecord* profile)
{
    if (!profile) return;
    for (int i = 0; i < kButtonCount; ++i) {
        auto* combo = host_.Dialog().Find<CComboButton>(kFirstCombo + UINT(i));
        if (!combo) continue;
        combo->SetLabel(profile->buttons[size_t(i)].label);
        host_.RepaintControl(combo);
    }
}
