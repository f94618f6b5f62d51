// The command handler's answers to the combo boxes of the rebars. User-interface thread only.
#pragma once

#include <cstdint>

class CScreen;

// Handles notification code of combo box id (one of the rebars' combos, the Input combo
// included). Returns 1 when the user finished a choice and the view should take the keyboard
// again, else 0.
intptr_t OnComboCommand(CScreen& screen, int id, int code);

// The Scale combo's selection becomes the display mode, with what each mode needs; code is the
// combo's notification (only CBN_SELCHANGE acts); the spectrogram starts afresh on screen.
// 1 when it acted.
intptr_t ChangeDisplayMode(CScreen& screen, int code);
