// The spectrogram: channel 1's spectrum history scrolling upwards one row per frame, coloured on
// a 75 dB hue cycle, kept in its own image between frames. User-interface thread only.
#pragma once

#include <cstdint>

class CDib;

extern CDib spectrogramImage;

// With reset the image starts afresh at the plot's size and nothing else is drawn.
void DrawSpectrogram(CDib& surface, int32_t reset);
// Colour of a level in whole dB: 0 dB blue, -25 red, -50 green, -75 blue; below -75 black.
uint16_t SpectrogramColour(int level);
// Clears the history to black (zoom and scroll keys).
void ClearSpectrogramImage();
