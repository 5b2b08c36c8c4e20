// The button list's controls: the number badge of each of the mouse's eight
// buttons, then one combo per button.
#include "buttons/ui/button_list_section.h"

#include <string>

#include "base/text_codec.h"
#include "buttons/ui/button_list_ids.h"
#include "ui/combo_button.h"
#include "ui/passive_controls.h"
#include "ui/section_controls.h"
#include "ui/ui_scale.h"

using namespace section_controls;

void CButtonListSection::CreateControls(ISectionPlaces& at, int)
{
    using button_list::kComboCount;
    static constexpr int kBadgeTops[kComboCount] = {82, 112, 141, 170, 199, 228, 257, 286};
    static constexpr int kComboTops[kComboCount] = {81, 111, 140, 169, 198, 227, 256, 285};
    for (int i = 0; i < kComboCount; ++i) {
        const std::u16string name = u"mouse/serial_number" + Ascii(std::to_string(i + 1)) + u".png";
        Picture(at, button_list::kBadge, {52, kBadgeTops[i], 73, kBadgeTops[i] + 19}, name.c_str());
    }
    for (int i = 0; i < kComboCount; ++i) {
        const Rect place{82, kComboTops[i], 244, kComboTops[i] + 21};
        auto combo = std::make_unique<CComboButton>(at.Owner(), button_list::kMsgCombo, kFirstCombo + UINT(i),
                                                    at.At(place), u"");
        combo->SetAccessibleName(NumberedName(400, i + 1));
        combo->LoadNormalAndHover(Skin(u"combo2_nr.png"), Skin(u"combo2_ov.png"));
        combo->SetMargins(ScaleUnits(8), ScaleUnits(22));
        at.Add(std::move(combo), place);
    }
}
