#include "ui/section_controls.h"

#include "base/text_codec.h"
#include "base/ui_text.h"
#include "ui/check_button.h"
#include "ui/passive_controls.h"
#include "ui/radio_button.h"
#include "ui/skin_image.h"
#include "ui/slider_control.h"
#include "ui/ui_scale.h"

namespace section_controls {

std::u16string Skin(const char16_t* name) { return SkinPath(std::u16string(u"skins/") + name); }

std::u16string NumberedName(int text, int n)
{
    std::u16string s = UiText(text);
    if (auto at = s.find(u"%1"); at != std::u16string::npos) s.replace(at, 2, Ascii(std::to_string(n)));
    return s;
}

CStaticText* Text(ISectionPlaces& at, UINT id, const Rect& place, const std::u16string& text, unsigned align,
                  bool numeric)
{
    auto c = std::make_unique<CStaticText>(at.Owner(), id, at.At(place), kText, align | DT_SINGLELINE);
    c->SetLabelText(text);
    if (numeric) c->SetFont(ScaleUnits(16), kNumericFace);
    return at.Add(std::move(c), place);
}

CStaticImage* Picture(ISectionPlaces& at, UINT id, const Rect& place, const char16_t* skin)
{
    auto c = std::make_unique<CStaticImage>(at.Owner(), id, at.At(place));
    c->LoadImage(Skin(skin));
    return at.Add(std::move(c), place);
}

CRadioButton* Radio(ISectionPlaces& at, UINT id, const Rect& place, const char16_t* nr, const char16_t* ov,
                    const char16_t* dn)
{
    auto c = std::make_unique<CRadioButton>(at.Owner(), id, at.At(place));
    c->LoadImage1(Skin(nr));
    c->LoadImage2(Skin(ov));
    c->LoadImage3(Skin(dn));
    return at.Add(std::move(c), place);
}

CCheckButton* Check(ISectionPlaces& at, UINT id, const Rect& place, const char16_t* nr, const char16_t* ov,
                    const char16_t* dn)
{
    auto c = std::make_unique<CCheckButton>(at.Owner(), id, at.At(place), u"");
    c->LoadImage1(Skin(nr));
    c->LoadImage2(Skin(ov));
    c->LoadImage3(Skin(dn));
    return at.Add(std::move(c), place);
}

CSliderControl* Slider(ISectionPlaces& at, UINT id, const Rect& place, int count)
{
    auto s = std::make_unique<CSliderControl>(at.Owner(), id, at.At(place), count, ScaleUnits(6), ScaleUnits(7));
    s->LoadThumb(SkinPath(u"skins/Slider_Circle.png"));
    return at.Add(std::move(s), place);
}

}  // namespace section_controls
