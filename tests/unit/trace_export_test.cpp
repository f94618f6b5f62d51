// Trace export: the file byte for byte in each kind of display mode, and failures reported as
// failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <string>
#include <sys/resource.h>

#include "analysis/analysis_setup.h"
#include "scratch_dir.h"
#include "state/state.h"
#include "ui/trace_export.h"

namespace {

class TraceExport : public ::testing::Test {
protected:
    void SetUp() override {
        ResetAnalyzerState();
        ASSERT_TRUE(AnalyseInit(8000, 2048)); // bin width 3.90625 Hz, 1025 bins
        // Values with exact two-decimal forms: trace t, bin i holds -(10 t + i / 4).
        for (int t = 0; t < kTraceCount; ++t)
            for (int32_t i = 0; i < binCount; ++i)
                traces[t][i] = -(10.0f * t + i * 0.25f);
        for (int32_t i = 0; i < binCount; ++i)
            phaseTrace[i] = (i % 361) - 180.0f;
        analysisCount = 1;
    }
    void TearDown() override { AnalyseFree(); }
    static std::string Exported() {
        EXPECT_EQ(ExportTraces("export.txt"), 1);
        return ReadFile("export.txt");
    }
    ScratchDir scratch_;
};

std::string Fixed2(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", v);
    return text;
}

// The expected file, written out from the format's description: the frequency, the transfer or
// the phase in their modes, then the visible traces' columns.
std::string Expected(int mode, const std::vector<int>& columns) {
    const char* names[] = {"Left", "Right", "Trace A", "Trace B", "Trace C"};
    const bool transfer = mode == kModeTransferLinear || mode == kModeTransferLog;
    std::string file = "Frequency (Hz)";
    file += mode == kModePhaseLog ? ", Phase" : transfer ? ", dB" : "";
    for (int t : columns)
        file += std::string(", ") + names[t] + " (dB)";
    file += "\r\n";
    for (int32_t i = 0; i < 1025; ++i) {
        file += Fixed2(i * 3.90625);
        if (mode == kModePhaseLog)
            file += ", " + Fixed2((i % 361) - 180.0);
        else if (transfer)
            file += ", " + Fixed2(-(0.0 + i * 0.25) + (10.0 + i * 0.25));
        for (int t : columns)
            file += ", " + Fixed2(-(10.0 * t + i * 0.25));
        file += "\r\n";
    }
    return file;
}

TEST_F(TraceExport, FileMatchesTheFormatInEveryKindOfMode) {
    const struct {
        int mode;
        uint8_t visible[5];
        std::vector<int> columns;
    } cases[] = {
        {kModeLinear, {1, 0, 0, 0, 0}, {0}},         {kModeLog, {1, 1, 1, 0, 0}, {0, 1, 2}},
        {kModeOctave, {1, 0, 0, 0, 1}, {0, 4}},      {kModeTransferLog, {1, 1, 0, 0, 0}, {}},
        {kModeTransferLinear, {1, 1, 0, 1, 0}, {3}}, {kModePhaseLog, {1, 1, 1, 0, 1}, {2, 4}},
    };
    for (const auto& c : cases) {
        displayMode = c.mode;
        std::copy(c.visible, c.visible + kTraceCount, traceVisible);
        EXPECT_EQ(Exported(), Expected(c.mode, c.columns)) << "mode " << c.mode;
    }
}

TEST_F(TraceExport, FailuresAreReportedAndLeaveWhatWasThere) {
    EXPECT_EQ(ExportTraces("/nonexistent-dir/trace.txt"), 0);
    EXPECT_EQ(ExportTraces(nullptr), 0);

    // A disk that fills up part way through: the file that was there stays as it was.
    WriteFile("export.txt", "the previous export");
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit small{4096, limit.rlim_max};
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int written = ExportTraces("export.txt");
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, handler);
    EXPECT_EQ(written, 0);
    EXPECT_EQ(ReadFile("export.txt"), "the previous export");
    EXPECT_FALSE(std::ifstream("export.txt.tmp").good());

    analysisCount = 0;
    EXPECT_EQ(ExportTraces("export.txt"), 0) << "nothing analysed yet";
    AnalyseFree();
    analysisCount = 1;
    EXPECT_EQ(ExportTraces("export.txt"), 0) << "no analysis set up";
}

} // namespace
