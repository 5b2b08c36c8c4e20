#pragma once
// What every settings slider of the main window shares: the handler (the
// value caption follows the thumb, the position is stored in the working
// profile at once, and the apply waits for the end of a drag; a click applies
// at once), the display of a stored value and the drag. The caption is always
// the core's value text of the position (SliderCaption).
//
// Window thread only.
#include <initializer_list>
#include <string>

#include "settings/setting_change.h"
#include "ui/section_host.h"

using SliderCaption = std::u16string (*)(int position);
using SliderEdit = SettingChange (*)(ProfileRecord& profile, int position);

void MapSettingSlider(ISectionHost& host, CDlgBase& dlg, UINT sliderId, UINT captionId, SliderCaption caption,
                      SliderEdit edit);

// Gives the slider's positions the values a screen reader reports: the
// number its caption shows for each (milliseconds, percent, a level) and
// the caption itself, so that what is heard is what is on the screen.
void ScaleSettingSlider(const CDlgBase& dlg, UINT sliderId, SliderCaption caption);

// Puts the slider at a stored position (the slider clamps it to its range)
// and its caption to the value text of where the thumb is. The position
// shown, or -1 without the slider.
int ShowSettingSlider(const CDlgBase& dlg, UINT sliderId, UINT captionId, int position, SliderCaption caption);

// The pointer moved to x with the left button down: whichever of the shown
// sliders is being dragged follows it (its handler then writes the caption).
// True when one did.
bool DragSettingSliders(const CDlgBase& dlg, std::initializer_list<UINT> sliders, int x);
