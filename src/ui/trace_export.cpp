// Writing the trace export file. User-interface thread only.
#include "ui/trace_export.h"

#include <cstdio>
#include <string>

#include "analysis/analysis_setup.h"
#include "analysis/trace_processing.h"
#include "state/state.h"
#include "ui/whole_file.h"

const char* const kTraceLabels[5] = {"Left (dB)", "Right (dB)", "Trace A (dB)", "Trace B (dB)",
                                     "Trace C (dB)"};

namespace {

void AppendValue(std::string& line, const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    line += text;
}

} // namespace

bool TracesToExport() {
    return AnalysisReady() && analysisCount != 0;
}

int ExportTraces(const char* path) {
    if (path == nullptr || !TracesToExport())
        return 0;

    const bool phase = displayMode == kModePhaseLog;
    const bool transfer = displayMode == kModeTransferLinear || displayMode == kModeTransferLog;
    // In the transfer and phase modes the live traces give way to their difference or the phase.
    const int firstShown = phase || transfer ? 2 : 0;

    std::string line = "Frequency (Hz), ";
    if (phase || transfer) {
        line += phase ? "Phase" : "dB";
        for (int k = firstShown; k < kTraceCount; ++k) {
            if (traceVisible[k]) {
                line += ", ";
                line += kTraceLabels[k];
            }
        }
    } else {
        const char* separator = "";
        for (int k = 0; k < kTraceCount; ++k) {
            if (traceVisible[k]) {
                line += separator;
                line += kTraceLabels[k];
                separator = ", ";
            }
        }
    }
    line += "\r\n";
    std::string text = line;

    for (int32_t i = 0; i < binCount; ++i) {
        line.clear();
        AppendValue(line, "%0.2f", BinToHz(i));
        if (phase)
            AppendValue(line, ", %0.2f", phaseTrace[i]);
        else if (transfer)
            AppendValue(line, ", %.2f", traces[0][i] - traces[1][i]);
        for (int k = firstShown; k < kTraceCount; ++k) {
            if (traceVisible[k])
                AppendValue(line, ", %0.2f", traces[k][i]);
        }
        line += "\r\n";
        text += line;
    }
    return WriteWholeFile(path, text) ? 1 : 0;
}
