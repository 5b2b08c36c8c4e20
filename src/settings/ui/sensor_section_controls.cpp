// The sensor section's controls, part by part: the power block of the left
// column, then the polling rate, lift-off, key debounce and pointer
// preference panels of the right one; and the drag of their sliders.
#include "settings/ui/sensor_section.h"

#include <tuple>
#include <utility>

#include "base/ui_text.h"
#include "settings/sensor_settings.h"
#include "settings/ui/setting_slider.h"
#include "settings/ui/settings_ids.h"
#include "ui/check_button.h"
#include "ui/dlg_base.h"
#include "ui/image_button.h"
#include "ui/passive_controls.h"
#include "ui/power_manage_button.h"
#include "ui/radio_button.h"
#include "ui/radio_state.h"
#include "ui/section_controls.h"
#include "ui/skin_image.h"
#include "ui/slider_control.h"

using namespace settings_ids;
using namespace section_controls;

namespace {

void CreatePower(ISectionPlaces& at)
{
    const Rect dialPlace{81, 550, 221, 634};
    auto dial = std::make_unique<CPowerManageButton>(at.Owner(), kPowerDial, at.At(dialPlace));
    dial->LoadValueImages(SkinPath(u"skins/"));
    dial->SetValueUnit(UiText(267));
    at.Add(std::move(dial), dialPlace);
    // The caption and both switches sit a few units higher than they were,
    // so the second switch clears the frame's bottom edge (696).
    Text(at, kPowerCaption, {36, 635, 266, 653}, u"", DT_CENTER);
    for (auto [id, top] : {std::pair{kMoveLighting, 655}, std::pair{kMotionWakeup, 674}})
        Check(at, id, {50, top, 65, top + 15}, u"check_nr.png", u"check_ov.png", u"check_dn.png")->SetChecked(true);
    Text(at, kSwitchText, {70, 654, 270, 672}, UiText(268));
    Text(at, kSwitchText, {70, 673, 270, 691}, UiText(274));
}

void CreatePolling(ISectionPlaces& at)
{
    RegisterRadioGroup({{kFirstPollingRate, 0x10000},
                        {kFirstPollingRate + 1, 0x20000},
                        {kFirstPollingRate + 2, 0x40000},
                        {kFirstPollingRate + 3, 0x80000}});
    struct Rate {
        Rect place;
        const char16_t *nr, *dn;
    };
    static constexpr Rate kRates[kPollingRateCount] = {{{59, 20, 131, 91}, u"125hz_nr.png", u"125hz_dn.png"},
                                                       {{59, 91, 130, 163}, u"250hz_nr.png", u"250hz_dn.png"},
                                                       {{130, 91, 202, 163}, u"500hz_nr.png", u"500hz_dn.png"},
                                                       {{131, 20, 202, 91}, u"1000hz_nr.png", u"1000hz_dn.png"}};
    for (int i = 0; i < kPollingRateCount; ++i)
        // The rate is drawn in the picture; the screen reader needs it in words.
        Radio(at, kFirstPollingRate + UINT(i), kRates[i].place, kRates[i].nr, kRates[i].dn, kRates[i].dn)
            ->SetAccessibleName(UiText(261 + i));
    for (int i = 0; i < kPollingRateCount; ++i)
        Text(at, kFirstPollingRateText + UINT(i), {88, 83, 173, 101}, UiText(261 + i), DT_CENTER);
}

void CreateLiftOff(ISectionPlaces& at)
{
    RegisterRadioGroup({{kLiftOffLow, 0x100000}, {kLiftOffHigh, 0x200000}});
    for (auto [id, l] : {std::pair{kLiftOffLow, 80}, std::pair{kLiftOffHigh, 160}})
        Radio(at, id, {l, 27, l + 15, 42}, u"radio_nr.png", u"radio_ov.png", u"radio_dn.png");
    for (auto [id, l, t] : {std::tuple{kLiftOffLowText, 64, 270}, std::tuple{kLiftOffHighText, 144, 271}})
        Text(at, id, {l, 47, l + 47, 65}, UiText(t), DT_CENTER);
}

void CreateDebounce(ISectionPlaces& at)
{
    Picture(at, kDebounceBar, {42, 42, 187, 45}, u"Slider_bar.png");
    Slider(at, kDebounce, {42, 37, 187, 50}, 16);
    // Wide enough for "30ms" in the numeric face (the panel ends at 262).
    Text(at, kDebounceText, {195, 34, 256, 52}, DebounceMsCaption(6), DT_LEFT, true);
}

void CreatePointer(ISectionPlaces& at)
{
    RegisterRadioGroup({{kScrollLines, 0x80}, {kScrollPage, 0x100}});
    auto bar = [&](UINT id, int t) { Picture(at, id, {20, t, 205, t + 3}, u"Slider_bar2.png"); };
    auto radio = [&](UINT id, int t) {
        Radio(at, id, {18, t, 33, t + 15}, u"radio_nr.png", u"radio_ov.png", u"radio_dn.png");
    };
    Text(at, kPointerSpeedCaption, {20, 7, 220, 25}, UiText(130));
    const Rect desktopPlace{20, kDesktopSettingsButtonTop, 235, kDesktopSettingsButtonTop + 25};
    auto desktop = std::make_unique<CImageButton>(at.Owner(), kDesktopMouseSettings, at.At(desktopPlace), UiText(260));
    desktop->LoadNormalAndHover(Skin(u"button4_nr.png"), Skin(u"button4_nr.png"));
    at.Add(std::move(desktop), desktopPlace);
    bar(kPointerSpeedBar, 36);
    Slider(at, kPointerSpeed, {20, 31, 205, 44}, 11);
    Text(at, kPointerSpeedText, {215, 29, 246, 46}, u"", DT_LEFT, true);
    Text(at, kAccelerationCaption, {36, 54, 236, 72}, UiText(131));
    // At the 15-unit size of the other check boxes: squeezed to 11 its
    // unchecked picture lost its outline and could not be seen.
    Check(at, kAcceleration, {18, 56, 33, 71}, u"check_nr.png", u"check_ov.png", u"check_dn.png");
    Text(at, kScrollCaption, {20, 90, 220, 108}, UiText(132));
    Text(at, kScrollLinesCaption, {40, 119, 240, 137}, UiText(133));
    radio(kScrollLines, 121);
    Text(at, kScrollPageCaption, {40, 166, 240, 184}, UiText(134));
    radio(kScrollPage, 168);
    Text(at, kScrollSpeedText, {215, 143, 246, 160}, u"", DT_LEFT, true);
    bar(kScrollSpeedBar, 150);
    Slider(at, kScrollSpeed, {20, 145, 205, 158}, 10);
    Text(at, kDoubleClickCaption, {20, 200, 220, 218}, UiText(135));
    bar(kDoubleClickSpeedBar, 234);
    Slider(at, kDoubleClickSpeed, {20, 229, 205, 242}, 11);
    Text(at, kDoubleClickSpeedText, {215, 225, 246, 242}, u"", DT_LEFT, true);
}

}  // namespace

void CSensorSection::CreateControls(ISectionPlaces& at, int part)
{
    switch (part) {
    case kPartPower: CreatePower(at); return;
    case kPartPolling: CreatePolling(at); return;
    case kPartLiftOff: CreateLiftOff(at); return;
    case kPartDebounce: CreateDebounce(at); return;
    case kPartPointer: CreatePointer(at); return;
    default: return;
    }
}

bool CSensorSection::OnPointerDrag(int x)
{
    // A slider of a closed panel is hidden, and hidden it is not dragged.
    return DragSettingSliders(host_.Dialog(), {kScrollSpeed, kPointerSpeed, kDoubleClickSpeed, kDebounce}, x);
}
