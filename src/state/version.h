// Product name and version shown in the frame's caption, the about box and tonalyx-cli.
#pragma once

#define TONALYX_PRODUCT "Tonalyx"
#define TONALYX_VERSION "1.2"
