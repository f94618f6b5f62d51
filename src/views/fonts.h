// The analyzer's bitmap fonts, loaded when the view is created and kept until exit.
// User-interface thread only.
#pragma once

#include "gfx/font.h"

extern Font smallFont;  // "FONT1": axis labels, readouts, the calibration line
extern Font mediumFont; // "FONT2": loaded with the others
extern Font largeFont;  // "FONT3": the level readout and the SPL reading
extern Font menuFont;   // "MENUFONT"

// Loads the four fonts from the program's resources.
void LoadAppFonts();
