// Zooming and scrolling of the frequency window of the views, and the Shift+drag selection that
// zooms to a chosen range. User-interface thread only.
#pragma once

#include <cstdint>

class CDib;

extern int32_t dragActive;
extern int32_t dragStartX;
extern int32_t dragEndX;

// Key 38 (up) zooms in by one step, 40 (down) out; nothing in the band and SPL modes.
void ZoomView(int key);
// Key 37 (left) scrolls left, 39 (right) right.
void ScrollView(int key, int32_t mode);

// Left button down, mouse move and left button up in the view.
void BeginDragZoom();
void TrackDragZoom();
void EndDragZoom();
void DrawDragSelection(CDib& surface);

// The bin in the middle of the plot, and the first bin that puts a given centre in the middle,
// under the current zoom, for the linear or logarithmic frequency axis of mode.
double CentreBin(int32_t mode);
int32_t LeftEdgeForCentre(int32_t mode, double centre);
