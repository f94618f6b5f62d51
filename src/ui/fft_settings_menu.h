// The in-view menu of the FFT set-up: sample rate and FFT size, shown with the time constant and
// resolution they give. User-interface thread only; the menus hold the thread in their own loop.
#pragma once

#include <cstdint>
#include <string>

class AnalyzerWindow;

// Item string of the main menu for rate r and size n: sample rate, FFT size, time constant,
// resolution and "Continue".
std::string FftMenuItems(int32_t r, int32_t n);
// Item string of submenu item (1..4) of the main menu for the pending rate r.
const char* FftSubmenuItems(int item, int32_t r);

// Runs the menu until the user leaves it; a changed rate or size restarts the capture with them.
// Ends with the status text brought up to date.
void ShowFftSettingsMenu(AnalyzerWindow& object);
