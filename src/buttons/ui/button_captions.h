#pragma once
// The button list of the main window shows each programmable button's
// function as the label of its combo (2013 .. 2020 for buttons 0 .. 7).
//
// Window thread only.
class CDlgBase;

// Sets the eight combos' labels from the profile's button labels and
// repaints them; an index that is not a profile changes nothing.
void RefreshButtonCaptions(const CDlgBase& dlg, int profileIndex);
