// The profile section's controls: the tabs and the buttons under them, and
// the "Profiles" button of the bottom row.
#include "persist/ui/profile_tabs.h"

#include "base/ui_text.h"
#include "persist/ui/profile_ids.h"
#include "persist/ui/profile_tab_places.h"
#include "ui/image_button.h"
#include "ui/section_controls.h"
#include "ui/tab_control.h"

using namespace profile_ids;
using section_controls::Skin;

namespace {

CImageButton* Button(ISectionPlaces& at, UINT id, const Rect& place, const char16_t* nr, const char16_t* ov,
                     const std::u16string& caption)
{
    auto c = std::make_unique<CImageButton>(at.Owner(), id, at.At(place), caption);
    c->LoadNormalAndHover(Skin(nr), Skin(ov));
    return at.Add(std::move(c), place);
}

}  // namespace

void CProfileTabsSection::CreateControls(ISectionPlaces& at, int part)
{
    if (part == kPartListButton) {
        Button(at, kListButton, {36, 700, 105, 720}, u"button2_nr.png", u"button2_ov.png", UiText(1))
            ->SetReportsHover(true);
        return;
    }
    for (int p = 0; p < kTabCount; ++p) {
        const Rect place = ProfileTabPlace(p);
        auto tab = std::make_unique<CTabControl>(at.Owner(), kFirstTab + UINT(p), at.At(place), u"");
        tab->LoadTabImages(Skin(u"profile_slot_nr.png"), Skin(u"profile_slot_ov.png"), Skin(u"profile_slot_nr2.png"),
                           Skin(u"profile_slot_ov2.png"));
        tab->SetMargins(6, 0);
        at.Add(std::move(tab), place);
    }
    Button(at, kAdd, AddProfileButtonPlace(3), u"add_nr.png", u"add_ov.png", u"+");
    // Import, export and rename of the current profile, in a row under the
    // add button; the same actions for any profile are on its tab's
    // right-click menu and in the profile list.
    static constexpr UINT kActions[] = {kImport, kExport, kRename};
    for (int i = 0; i < 3; ++i)
        Button(at, kActions[i], ProfileActionButtonPlace(3, i), u"button2_nr.png", u"button2_ov.png", UiText(90 + i));
}
