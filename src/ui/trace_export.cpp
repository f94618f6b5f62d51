// Writing the trace export file. User-interface thread only.
#include "ui/trace_export.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "analysis/analysis_setup.h"
#include "analysis/bands.h"
#include "analysis/trace_processing.h"
#include "state/state.h"
#include "ui/whole_file.h"
#include "views/band_view.h"

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

int ExportBands(const char* path) {
    const int32_t bandSet = BandSetOfMode(displayMode);
    if (path == nullptr || !TracesToExport() || bandSet == 0)
        return 0;

    const BandTable table = BandsFor(bandSet);
    const int n = BandsBelowNyquist(table);
    std::string line = "Centre (Hz), Low (Hz), High (Hz)";
    std::vector<double> levels[2];
    std::unique_ptr<bool[]> measured[2];
    for (int k = 0; k < 2; ++k) {
        if (!traceVisible[k])
            continue;
        line += ", ";
        line += kTraceLabels[k];
        levels[k].resize(table.count);
        measured[k] = std::make_unique<bool[]>(table.count);
        SumBands(table, n, traces[k], levels[k].data(), measured[k].get());
    }
    line += "\r\n";
    std::string text = line;
    for (int j = 0; j < n; ++j) {
        line.clear();
        AppendValue(line, "%0.2f", table.rows[j].centre);
        AppendValue(line, ", %0.2f", table.rows[j].lower);
        AppendValue(line, ", %0.2f", table.rows[j].upper);
        for (int k = 0; k < 2; ++k) {
            if (!traceVisible[k])
                continue;
            if (measured[k][j])
                AppendValue(line, ", %0.2f", levels[k][j]);
            else
                line += ", ";
        }
        line += "\r\n";
        text += line;
    }
    if (splMode) {
        // The reading of the view: channel 1's bands as it shows them, the empty ones filled.
        std::vector<double> shown(table.count);
        GatherBands(table, n, traces[0], shown.data());
        line = std::string("SPL (") + SplUnit(weighting) + ")";
        AppendValue(line, ", %0.1f", SplReading(shown.data(), n));
        text += line + "\r\n";
    }
    return WriteWholeFile(path, text) ? 1 : 0;
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
