#pragma once
// The handler every settings slider of the main window shares: the value
// caption follows the thumb, the position is stored in the working profile at
// once, and the apply waits for the end of a drag (a click applies at once).
//
// Window thread only.
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
