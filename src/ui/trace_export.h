// Export of the shown traces to a comma-separated text file, one line per FFT bin.
// User-interface thread only.
#pragma once

// Column labels by trace index (live 1, live 2, Traces A, B, C).
extern const char* const kTraceLabels[5];

// Whether an analysis has run since the analysis was set up, so that there are traces to export.
bool TracesToExport();

// Writes the traces shown in the current display mode to path, whole or not at all (through a
// temporary file, see src/ui/whole_file.h). Returns 1 when the file was written, 0 when it could
// not be created or written (a full disk, say), leaving what was there, or when there are no
// traces to export.
int ExportTraces(const char* path);
