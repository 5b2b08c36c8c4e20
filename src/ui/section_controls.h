#pragma once
// The skinned controls the main window's sections make most, each added to
// the part being made at a place of it (see ISectionPlaces), and the look
// they share: the panels' grey text and the numeric face of value captions.
//
// Window thread only.
#include <string>

#include "ui/section_host.h"

class CCheckButton;
class CRadioButton;
class CSliderControl;
class CStaticImage;
class CStaticText;

namespace section_controls {

constexpr COLORREF kText = RGB(180, 180, 180);
constexpr const char16_t* kNumericFace = u"Tahoma";

// The path of a picture under the program folder's skins/.
std::u16string Skin(const char16_t* name);
// A name for a control without a caption, read out by screen readers: a
// language text with %1 replaced by the control's number (from 1).
std::u16string NumberedName(int text, int n);

// A single-line text; numeric: in the numeric face at 16 units, as the
// value captions are.
CStaticText* Text(ISectionPlaces& at, UINT id, const Rect& place, const std::u16string& text,
                  unsigned align = DT_LEFT, bool numeric = false);
CStaticImage* Picture(ISectionPlaces& at, UINT id, const Rect& place, const char16_t* skin);
// A radio button or check box with its normal, hover and selected pictures.
CRadioButton* Radio(ISectionPlaces& at, UINT id, const Rect& place, const char16_t* nr, const char16_t* ov,
                    const char16_t* dn);
CCheckButton* Check(ISectionPlaces& at, UINT id, const Rect& place, const char16_t* nr, const char16_t* ov,
                    const char16_t* dn);
// A settings slider of `count` positions with the round thumb.
CSliderControl* Slider(ISectionPlaces& at, UINT id, const Rect& place, int count);

}  // namespace section_controls
