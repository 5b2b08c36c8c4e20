#include "settings/ui/dpi_section.h"

#include <algorithm>
#include <bit>
#include <string>
#include <vector>

#include "base/text_codec.h"
#include "profile/profile_record.h"
#include "settings/dpi_levels.h"
#include "settings/dpi_step_table.h"
#include "settings/ui/color_palette_dlg.h"
#include "settings/ui/dpi_value_setting_dlg.h"
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
// A disabled level's value: still readable, plainly not in use.
constexpr COLORREF kDisabledLabelColour = RGB(90, 90, 90);

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
    // A screen reader hears a bar in DPI, as its label shows it.
    std::vector<int> values;
    std::vector<std::u16string> texts;
    for (int i = 0; i < count; ++i) {
        values.push_back(DpiStepValue(i));
        texts.push_back(Ascii(std::to_string(values.back()) + " DPI"));
    }
    for (int k = 0; k < kDpiLevelCount; ++k)
        if (auto* bar = dlg.Find<CDPIValueShowControl>(kFirstDpiBar + UINT(k))) {
            bar->SetValueScale(values, texts);
            if (bar->Count() == count) continue;
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
            label->SetCaptionColour(enabled ? kLabelColour : kDisabledLabelColour);
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
    // Only an enabled level can be the current one (a damaged ordinal reads
    // as level 0, which may be off).
    const int current = LevelFromOrdinal(mask, profile.CurrentDPILevelValue);
    if ((mask >> current) & 1)
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

void CDpiSection::OnSensorChanged() { UpdateDpiBarStepCount(host_.Dialog()); }

void CDpiSection::MapMessages(CDlgBase& dlg)
{
    dlg.MapClickRange(kFirstDpiCheck, kDpiLevelCount, [this](int k) { OnLevelChecked(k); });
    for (int k = 0; k < kDpiLevelCount; ++k)
        dlg.MapMessage(kFirstDpiBar + UINT(k), [this, k](WPARAM w, LPARAM l) -> LRESULT {
            if (l == CE_CLICK) OnLevelBar(k);
            if (l == CE_STEP) OnLevelStep(k, w != 0);
            return 0;
        });
    dlg.MapClickRange(kFirstDpiSwatch, kDpiLevelCount, [this](int k) { OnLevelSwatch(k); });
}

void CDpiSection::OnLevelChecked(int k)
{
    CDlgBase& dlg = host_.Dialog();
    for (int i = 0; i < kDpiLevelCount; ++i)
        if (!dlg.Find<CCheckButton>(kFirstDpiCheck + UINT(i))) return;
    auto* check = dlg.Find<CCheckButton>(kFirstDpiCheck + UINT(k));
    ProfileRecord* p = host_.WorkingProfile();
    if (!p) {
        // The window is closing: the click changes nothing, not even the box.
        check->SetChecked(!check->IsChecked());
        host_.RepaintControl(check);
        return;
    }
    int ordinal = workingOrdinal_ ? *workingOrdinal_ : p->CurrentDPILevelValue;
    const SettingChange c = EditDpiLevelEnabled(*p, ordinal, k, check->IsChecked());
    if (c.refused) {
        // The last enabled level: the box simply stays checked.
        check->SetChecked(true);
        host_.RepaintControl(check);
        return;
    }
    if (workingOrdinal_) *workingOrdinal_ = ordinal;
    Refresh(p);
    if (c.Changed()) host_.ScheduleApply(c.group);
}

void CDpiSection::OnLevelBar(int k)
{
    CDlgBase& dlg = host_.Dialog();
    auto* bar = dlg.Find<CDPIValueShowControl>(kFirstDpiBar + UINT(k));
    if (!bar || !host_.WorkingProfile()) return;
    CDPIValueSettingDlg valueDlg(*bar, bar->Count(), dlg.GetSafeHwnd());
    if (host_.RunModal(valueDlg) != IDOK) return;
    // Read again: the window may have started closing while the dialog ran.
    ProfileRecord* p = host_.WorkingProfile();
    if (!p) return;
    const SettingChange c = EditDpiLevelStep(*p, k, bar->Position());
    Refresh(p);
    if (c.Changed()) host_.ScheduleApply(c.group);
}

void CDpiSection::OnLevelStep(int k, bool up)
{
    auto* bar = host_.Dialog().Find<CDPIValueShowControl>(kFirstDpiBar + UINT(k));
    ProfileRecord* p = host_.WorkingProfile();
    if (!bar || !p || bar->Count() < 1) return;
    const int step = std::clamp(bar->Position() + (up ? 1 : -1), 0, bar->Count() - 1);
    if (step == bar->Position()) return;
    // What OK in the value dialog does with the step it shows.
    const SettingChange c = EditDpiLevelStep(*p, k, step);
    Refresh(p);
    if (c.Changed()) host_.ScheduleApply(c.group);
}

void CDpiSection::OnLevelSwatch(int k)
{
    CDlgBase& dlg = host_.Dialog();
    auto* swatch = dlg.Find<CColorSelectButton>(kFirstDpiSwatch + UINT(k));
    ProfileRecord* p = host_.WorkingProfile();
    if (!swatch || !p) return;
    CColorPaletteDlg palette(*p, PaletteTarget{PaletteMode::Dpi, k, 0}, dlg.GetSafeHwnd());
    if (host_.RunModal(palette) != IDOK || !host_.WorkingProfile()) return;
    swatch->SetColour(p->DPILevelIndication[size_t(k)]);
    host_.RepaintControl(swatch);
    if (palette.Change().Changed()) host_.ScheduleApply(palette.Change().group);
}
