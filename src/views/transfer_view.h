// The transfer views: channel 1 minus channel 2 in dB over a linear or logarithmic frequency
// axis, and the phase difference over a logarithmic one, with traces A, B, C.
// User-interface thread only.
#pragma once

class CDib;

void DrawTransferLinear(CDib& surface);
void DrawTransferLog(CDib& surface);
void DrawPhaseLog(CDib& surface);
