// The analyzer's bitmap fonts. User-interface thread only.
#include "views/fonts.h"

Font smallFont;
Font mediumFont;
Font largeFont;
Font menuFont;

void LoadAppFonts() {
    const port::ModuleHandle module = port::ProgramModule();
    // A font that does not load shows as missing text; the analyzer goes on without it.
    menuFont.LoadMarked(module, "MENUFONT");
    smallFont.LoadText(module, "FONT1");
    mediumFont.LoadText(module, "FONT2");
    largeFont.LoadText(module, "FONT3");
}
