// The DPI section's controls: for each of the eight levels a value bar, its
// value label, the enable check and the colour swatch, in that order.
#include "settings/ui/dpi_section.h"

#include <algorithm>

#include "profile/profile_record.h"
#include "settings/dpi_levels.h"
#include "settings/dpi_step_table.h"
#include "settings/ui/dpi_section_layout.h"
#include "settings/ui/settings_ids.h"
#include "ui/check_button.h"
#include "ui/color_select_button.h"
#include "ui/dpi_radio_button.h"
#include "ui/dpi_value_show_control.h"
#include "ui/section_controls.h"
#include "ui/ui_scale.h"

using namespace settings_ids;
using namespace section_controls;

void CDpiSection::CreateControls(ISectionPlaces& at, int)
{
    const HWND w = at.Owner();
    const int count = std::max(1, DpiStepCount());
    for (int k = 0; k < kDpiLevelCount; ++k) {
        const DpiColumnPlaces place = DpiColumnPlace(k);
        auto bar = std::make_unique<CDPIValueShowControl>(w, kFirstDpiBar + UINT(k), at.At(place.bar), count,
                                                          ScaleUnits(12), ScaleUnits(12));
        bar->LoadTrack(Skin(u"mouse/dpi_bar_1.png"));
        bar->LoadFill(Skin(u"mouse/dpi_bar_2.png"));
        bar->SetAccessibleName(NumberedName(402, k + 1));
        at.Add(std::move(bar), place.bar);

        auto label = std::make_unique<CDPIRadioButton>(w, kFirstDpiLabel + UINT(k), k, at.At(place.value));
        label->LoadImage1(Skin(u"dpi_value.png"));
        label->SetFont(ScaleUnits(11), kNumericFace);
        label->SetAccessibleName(NumberedName(401, k + 1));
        at.Add(std::move(label), place.value);

        Check(at, kFirstDpiCheck + UINT(k), place.check, u"check_button_dpi_nr.png", u"check_button_dpi_ov.png",
              u"check_button_dpi_dn.png")
            ->SetAccessibleName(NumberedName(403, k + 1));

        const Rect swatch = at.At(place.swatch);
        at.Add(std::make_unique<CColorSelectButton>(w, kFirstDpiSwatch + UINT(k), swatch, u"", swatch), place.swatch)
            ->SetAccessibleName(NumberedName(404, k + 1));
    }
}
