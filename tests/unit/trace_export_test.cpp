// Trace export: the file byte for byte in each kind of display mode, and failures reported as
// failures.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/resource.h>

#include "analysis/analysis_setup.h"
#include "state/state.h"
#include "test_bitmaps.h"
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
        path_ = testbmp::TempPath("export.txt");
    }
    void TearDown() override {
        AnalyseFree();
        std::remove(path_.c_str());
    }
    std::string Exported() {
        EXPECT_EQ(ExportTraces(path_.c_str()), 1);
        std::ifstream in(path_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::string path_;
};

std::string Fixed2(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", v);
    return text;
}

// The expected file, written out from the format's description.
std::string Expected(const std::string& header, int mode, const std::vector<int>& columns) {
    std::string file = header + "\r\n";
    for (int32_t i = 0; i < 1025; ++i) {
        file += Fixed2(i * 3.90625);
        if (mode == kModePhaseLog)
            file += ", " + Fixed2((i % 361) - 180.0);
        else if (mode == kModeTransferLinear || mode == kModeTransferLog)
            file += ", " + Fixed2(-(0.0 + i * 0.25) + (10.0 + i * 0.25));
        for (int t : columns)
            file += ", " + Fixed2(-(10.0 * t + i * 0.25));
        file += "\r\n";
    }
    return file;
}

struct ExportCase {
    const char* name;
    int mode;
    uint8_t visible[5];
    const char* header;
    std::vector<int> columns;
};

TEST_F(TraceExport, FileMatchesTheFormatInEveryKindOfMode) {
    const ExportCase cases[] = {
        {"linear mono", kModeLinear, {1, 0, 0, 0, 0}, "Frequency (Hz), Left (dB)", {0}},
        {"log stereo with A",
         kModeLog,
         {1, 1, 1, 0, 0},
         "Frequency (Hz), Left (dB), Right (dB), Trace A (dB)",
         {0, 1, 2}},
        {"octave with C",
         kModeOctave,
         {1, 0, 0, 0, 1},
         "Frequency (Hz), Left (dB), Trace C (dB)",
         {0, 4}},
        {"transfer log", kModeTransferLog, {1, 1, 0, 0, 0}, "Frequency (Hz), dB", {}},
        {"transfer linear with B",
         kModeTransferLinear,
         {1, 1, 0, 1, 0},
         "Frequency (Hz), dB, Trace B (dB)",
         {3}},
        {"phase with A and C",
         kModePhaseLog,
         {1, 1, 1, 0, 1},
         "Frequency (Hz), Phase, Trace A (dB), Trace C (dB)",
         {2, 4}},
    };
    for (const ExportCase& c : cases) {
        displayMode = c.mode;
        for (int t = 0; t < kTraceCount; ++t)
            traceVisible[t] = c.visible[t];
        EXPECT_EQ(Exported(), Expected(c.header, c.mode, c.columns)) << c.name;
    }
}

TEST_F(TraceExport, FailuresAreReportedAndLeaveWhatWasThere) {
    EXPECT_EQ(ExportTraces("/nonexistent-dir/trace.txt"), 0);
    EXPECT_EQ(ExportTraces(nullptr), 0);

    // A disk that fills up part way through: the file that was there stays as it was.
    std::ofstream(path_) << "the previous export";
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit small{4096, limit.rlim_max};
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int written = ExportTraces(path_.c_str());
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, handler);
    EXPECT_EQ(written, 0);
    std::ifstream in(path_, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "the previous export");
    EXPECT_FALSE(std::ifstream(path_ + ".tmp").good());

    analysisCount = 0;
    EXPECT_EQ(ExportTraces(path_.c_str()), 0) << "nothing analysed yet";
    AnalyseFree();
    analysisCount = 1;
    EXPECT_EQ(ExportTraces(path_.c_str()), 0) << "no analysis set up";
}

} // namespace
