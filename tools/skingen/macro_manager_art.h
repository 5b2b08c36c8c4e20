#pragma once
// The macro manager's pictures for the skin generator: its frame, the list
// icons, the record button and the frame and buttons of the two set dialogs.
// Registered after the generic pictures, so a name drawn here replaces the
// generic one.
#include "main_window_art.h"

void AddMacroManagerArt(const ArtAdder& add);
