// Export of the shown traces to a comma-separated text file, one line per FFT bin, and of the
// band levels of the band views, one line per band. User-interface thread only.
#pragma once

#include <cstdint>

// Column labels by trace index (live 1, live 2, Traces A, B, C).
extern const char* const kTraceLabels[5];

// Whether an analysis has run since the analysis was set up, so that there are traces to export.
bool TracesToExport();

// Writes the traces shown in the current display mode to path, whole or not at all (through a
// temporary file, see src/ui/whole_file.h). Returns 1 when the file was written, 0 when it could
// not be created or written (a full disk, say), leaving what was there, or when there are no
// traces to export.
int ExportTraces(const char* path);

// Writes the band levels of the live channels shown, as the band view of the current display
// mode sums them before it fills empty bands, to path, whole or not at all like ExportTraces:
// the centre and edges of each band below half the sample rate, a level column per channel
// (empty where no bin fell into the band) and, while the SPL reading is on, the reading. Returns
// 1 when the file was written, 0 when it could not be, when there are no traces to export or
// the mode has no bands.
int ExportBands(const char* path);
