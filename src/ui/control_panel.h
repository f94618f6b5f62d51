// The control panel's state brought in line with the analyzer settings. User-interface thread
// only.
#pragma once

// The Gain trackbar runs 0..40; position p stands for a gain of p - kGainZeroPosition dB.
constexpr int kGainZeroPosition = 20;

// Sets the tool-bar checks, combo selections, the Delay text and the Gain trackbar (back to its
// 0 dB mark) from the settings, after a change made elsewhere.
void SyncControls();
// Shows the Smoothing, Vertical Scale and Delay bands while a transfer mode is on, else hides them.
void ShowTransferBands();
// Fills the Input combo anew from the mixer's inputs and selects the one in use; nothing when the
// panel has no Input combo.
void RefillInputCombo();
