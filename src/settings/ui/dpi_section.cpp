#include "settings/ui/dpi_section.h"

#include <algorithm>
#include <bit>

#include "profile/profile_record.h"
#include "settings/dpi_step_table.h"
#include "settings/ui/settings_ids.h"
#include "ui/check_button.h"
#include "ui/color_select_button.h"
#include "ui/dlg_base.h"
#include "ui/dpi_radio_button.h"
#include "ui/dpi_value_show_control.h"

using namespace settings_ids;

namespace {

constexpr COLORREF kLabelColour = RGB(180, 180, 180);
constexpr COLORREF kCurrentLabelColour = RGB(255, 0, 0);

void Repaint(const CDlgBase& dlg, const CControlBase* c)
{
    if (c && dlg.GetSafeHwnd() && platform::g_windowHost)
        platform::g_windowHost->InvalidateRect(dlg.GetSafeHwnd(), c->GetRect());
}

}  // namespace

void UpdateDpiBarStepCount(const CDlgBase& dlg)
{
    const int count = DpiStepCount();
    if (count < 1) return;
    for (int k = 0; k < kDpiLevelCount; ++k)
        if (auto* bar = dlg.Find<CDPIValueShowControl>(kFirstDpiBar + UINT(k)); bar && bar->Count() != count) {
            bar->SetCount(count);
            Repaint(dlg, bar);
        }
}

void RefreshDpiSection(const CDlgBase& dlg, const ProfileRecord& profile, int* workingOrdinal)
{
    UpdateDpiBarStepCount(dlg);
    const uint8_t mask = profile.DPIOffOnFlagValue;
    for (int k = 0; k < kDpiLevelCount; ++k) {
        const bool enabled = (mask >> k) & 1;
        const int step = profile.XYSettingValue[size_t(k)];
        if (auto* check = dlg.Find<CCheckButton>(kFirstDpiCheck + UINT(k))) {
            check->SetChecked(enabled);
            Repaint(dlg, check);
        }
        if (auto* label = dlg.Find<CDPIRadioButton>(kFirstDpiLabel + UINT(k))) {
            // The label draws its value x 50: it holds the step table's entry.
            label->SetValue(DpiStepValue(step) / 50);
            label->SetDisabled(!enabled);
            label->SetCaptionColour(kLabelColour);
            Repaint(dlg, label);
        }
        if (auto* bar = dlg.Find<CDPIValueShowControl>(kFirstDpiBar + UINT(k))) {
            // A step past the table (a profile made for a larger sensor)
            // shows as the last step, as its label does.
            bar->SetPosition(std::clamp(step, 0, std::max(0, bar->Count() - 1)));
            Repaint(dlg, bar);
        }
        if (auto* swatch = dlg.Find<CColorSelectButton>(kFirstDpiSwatch + UINT(k))) {
            swatch->SetColour(profile.DPILevelIndication[size_t(k)]);
            Repaint(dlg, swatch);
        }
    }
    const int current = LevelFromOrdinal(mask, profile.CurrentDPILevelValue);
    if (auto* label = dlg.Find<CDPIRadioButton>(kFirstDpiLabel + UINT(current)))
        label->SetCaptionColour(kCurrentLabelColour);
    if (workingOrdinal) *workingOrdinal = profile.CurrentDPILevelValue;
}

void StoreDpiSection(const CDlgBase& dlg, ProfileRecord& profile, int workingOrdinal)
{
    unsigned mask = 0;
    for (int k = 0; k < kDpiLevelCount; ++k) {
        auto* check = dlg.Find<CCheckButton>(kFirstDpiCheck + UINT(k));
        if (!check) return;  // without all eight the mask cannot be read
        if (check->IsChecked()) mask |= 1u << k;
    }
    // The mouse needs one enabled level; an all-clear set of checks keeps
    // the levels the profile had.
    if (mask != 0) profile.DPIOffOnFlagValue = static_cast<uint8_t>(mask);
    const int enabled = std::popcount(static_cast<unsigned>(profile.DPIOffOnFlagValue));
    profile.CurrentDPILevelValue = static_cast<uint8_t>(std::clamp(workingOrdinal, 0, std::max(0, enabled - 1)));
}

void CDpiSection::Refresh(const ProfileRecord* profile)
{
    if (profile) RefreshDpiSection(host_.Dialog(), *profile, workingOrdinal_);
}

void CDpiSection::Store(ProfileRecord& profile)
{
    StoreDpiSection(host_.Dialog(), profile, workingOrdinal_ ? *workingOrdinal_ : profile.CurrentDPILevelValue);
}

void CDpiSection::OnStepTableChanged() { UpdateDpiBarStepCount(host_.Dialog()); }
