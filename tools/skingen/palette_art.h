#pragma once
// The colour palette dialog's picture (image resource 287) for the skin
// generator. The dialog reads the picked colour from this very picture, so
// every pixel of its two areas is a colour a user may want, and the
// background between and around them is exactly RGB(15, 15, 15), which
// picks nothing.
#include "main_window_art.h"

void AddPaletteArt(const ArtAdder& add);
