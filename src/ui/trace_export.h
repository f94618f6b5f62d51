// Export of the shown traces to a comma-separated text file, one line per FFT bin.
// User-interface thread only.
#pragma once

// Column labels by trace index (live 1, live 2, Traces A, B, C).
extern const char* const kTraceLabels[5];

// Writes the traces shown in the current display mode to path (created or truncated). Returns 1
// when the whole file was written, 0 when it could not be created or written (a full disk, say)
// or when there is no analysis to export.
int ExportTraces(const char* path);
