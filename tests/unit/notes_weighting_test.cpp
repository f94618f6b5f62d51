// Note names by frequency, the weighting curves against their reference values, the band tables
// and the level sum.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "analysis/bands.h"
#include "analysis/level_sum.h"
#include "analysis/notes.h"
#include "analysis/weighting.h"
#include "analysis_test_support.h"

namespace {

using namespace analysis_test;

struct NoteCase {
    double hz;
    const char* name;
    int32_t semitone;
    int32_t octave;
    int result;
};

TEST(NoteOf, NamesTheNearestNoteWithOctavesChangingAtA) {
    // The last three are no numbers: they fit no note and leave it as it was.
    const NoteCase cases[] = {
        {15.9, "  ", 0, 0, 0},        {16.0, "C ", 3, 0, 0},         {16.35, "C ", 3, 0, 0},
        {27.5, "A ", 0, 1, 0},        {29.2, "A#", 1, 1, 0},         {261.63, "C ", 3, 4, 0},
        {440.0, "A ", 0, 5, 0},       {453.0, "A#", 1, 5, 0},        {830.0, "G#", 11, 5, 0},
        {860.0, "A ", 12, 5, 0},      {880.0, "A ", 12, 5, 0},       {881.0, "A ", 0, 6, 0},
        {1318.5, "E ", 7, 6, 0},      {20000.0, "D#", 6, 10, 0},     {-3.0, "  ", 0, 0, 0},
        {INFINITY, "??", -1, -1, -1}, {-INFINITY, "??", -1, -1, -1}, {NAN, "??", -1, -1, -1}};
    for (const NoteCase& c : cases) {
        Note note{"??", -1, -1};
        EXPECT_EQ(NoteOf(c.hz, note), c.result) << c.hz;
        EXPECT_EQ(std::string(note.name), c.name) << c.hz;
        EXPECT_EQ(note.semitone, c.semitone) << c.hz;
        EXPECT_EQ(note.octave, c.octave) << c.hz;
    }
}

struct WeightCase {
    int32_t w;
    float hz;
    double db;
};

TEST(WeightingDb, ReferenceValues) {
    const WeightCase cases[] = {
        {kWeightingA, 10, -70.4},    {kWeightingA, 100, -19.1},  {kWeightingA, 800, -0.8},
        {kWeightingA, 1000, 0.0},    {kWeightingA, 2000, 1.2},   {kWeightingA, 16000, -6.7},
        {kWeightingC, 10, -14.3},    {kWeightingC, 63, -0.8},    {kWeightingC, 1000, 0.0},
        {kWeightingC, 8000, -3.0},   {kWeightingU, 12500, -2.6}, {kWeightingU, 16000, -13.5},
        {kWeightingU, 20000, -25.5}, {kWeightingA, 1, -148.6}};
    for (const WeightCase& c : cases)
        EXPECT_NEAR(WeightingDb(c.hz, c.w), c.db, 0.05) << c.w << " at " << c.hz;
    EXPECT_NEAR(WeightingDb(800, kWeightingA), -0.79, 0.005);
}

// The A curve against the standard's own pole frequencies (20.6, 107.7, 737.9, 12194 Hz),
// which differ from the curve's rounded 12200 Hz by a few thousandths of a dB in the audio band.
TEST(WeightingDb, ACurveFollowsTheStandardFormula) {
    for (double hz = 20.0; hz < 20000.0; hz *= 1.1) {
        const double f2 = hz * hz;
        const double ra =
            12194.0 * 12194.0 * f2 * f2 /
            ((f2 + 20.6 * 20.6) * std::sqrt((f2 + 107.7 * 107.7) * (f2 + 737.9 * 737.9)) *
             (f2 + 12194.0 * 12194.0));
        const double standard = 20.0 * std::log10(ra) + 2.0;
        EXPECT_NEAR(WeightingDb(static_cast<float>(hz), kWeightingA), standard, 0.02) << hz;
    }
}

TEST(WeightingDb, ZeroAtZeroHertzForNoneAndUnknownAndSnappedNearZero) {
    for (int32_t w = -1; w <= 6; ++w)
        EXPECT_EQ(WeightingDb(0.0f, w), 0.0) << w;
    for (float hz : {10.0f, 1000.0f, 20000.0f}) {
        EXPECT_EQ(WeightingDb(hz, kWeightingNone), 0.0);
        EXPECT_EQ(WeightingDb(hz, kWeightingNoise), 0.0);
        EXPECT_EQ(WeightingDb(hz, 9), 0.0);
    }
    EXPECT_EQ(WeightingDb(1000.0f, kWeightingA), 0.0);
    EXPECT_EQ(WeightingDb(1000.0f, kWeightingC), 0.0);
    // U lies within 0.05 dB of 0 up to 10 kHz (about -0.044 dB there) and reads exactly 0.
    for (float hz : {20.0f, 100.0f, 1000.0f, 5000.0f, 8000.0f, 10000.0f})
        EXPECT_EQ(WeightingDb(hz, kWeightingU), 0.0) << hz;
}

class WeightingCurve : public AnalysisTest {};

TEST_F(WeightingCurve, NoiseWeightingFlattensTheLiveTraceAtMinus105) {
    Init(44100, 2048);
    const float levels[] = {-140.0f, -100.0f, -60.0f, 0.0f, 12.5f};
    for (int32_t i = 0; i < 5; ++i)
        traces[0][i] = levels[i];
    CaptureNoiseWeighting();
    const float expected[] = {-5.0f, -5.0f, -45.0f, -105.0f, -117.5f};
    for (int32_t i = 0; i < 5; ++i)
        EXPECT_EQ(weightingCurve[i], expected[i]) << i;
    EXPECT_EQ(weightingCurve[binCount - 1], -5.0f);
}

// Every table is contiguous and ordered; the fractional ones step by 10^(1/20) and 2^(1/12)
// between neighbouring centres (the sixths below their top row), up to the rounding.
TEST(Bands, TablesAreContiguousOrderedAndStepByTheirRatio) {
    const struct {
        int32_t mode, rows;
        double step, slack; // 0: no common step
        int32_t stepped;    // rows that keep the step
    } sets[] = {{kModeOctave, 11, 0.0, 0.0, 0},
                {kModeThirdOctave, 32, 0.0, 0.0, 0},
                {kModeSixthOctave, 64, std::pow(10.0, 0.05), 0.1, 63},
                {kModeTwelfthOctave, 128, std::pow(2.0, 1.0 / 12), 0.01, 128}};
    for (const auto& c : sets) {
        const BandTable table = BandsFor(c.mode);
        ASSERT_EQ(table.count, c.rows) << c.mode;
        for (int32_t i = 0; i < table.count; ++i) {
            const Band& b = table.rows[i];
            EXPECT_LT(b.lower, b.centre) << c.mode << " row " << i;
            EXPECT_LT(b.centre, b.upper) << c.mode << " row " << i;
            if (i == 0)
                continue;
            const Band& previous = table.rows[i - 1];
            EXPECT_EQ(previous.upper, b.lower) << c.mode << " row " << i;
            if (i < c.stepped) {
                EXPECT_NEAR(b.centre / previous.centre, c.step, c.slack / previous.centre)
                    << c.mode << " row " << i;
            }
        }
    }
    for (int32_t mode : {0, 7, 9, 99})
        EXPECT_EQ(BandsFor(mode).count, 0) << mode;
}

TEST(Bands, PublishedRows) {
    const struct {
        int32_t mode, row;
        float lower, centre, upper;
    } rows[] = {{kModeOctave, 0, 11, 16, 22},
                {kModeOctave, 1, 22, 31.5f, 44},
                {kModeOctave, 10, 11300, 16000, 22500},
                {kModeThirdOctave, 3, 28, 31.5f, 35},
                {kModeThirdOctave, 18, 880, 1000, 1130},
                {kModeThirdOctave, 31, 17600, 20000, 22500},
                {kModeSixthOctave, 0, 15.1f, 16.0f, 16.9f},
                {kModeSixthOctave, 63, 21336.9f, 22651.2f, 23940.4f},
                {kModeTwelfthOctave, 0, 15.89f, 16.35f, 16.83f}};
    for (const auto& r : rows) {
        const Band& b = BandsFor(r.mode).rows[r.row];
        EXPECT_FLOAT_EQ(b.lower, r.lower) << r.mode << " row " << r.row;
        EXPECT_FLOAT_EQ(b.centre, r.centre) << r.mode << " row " << r.row;
        EXPECT_FLOAT_EQ(b.upper, r.upper) << r.mode << " row " << r.row;
    }
    for (int32_t row : {20, 40, 60})
        EXPECT_FLOAT_EQ(BandsFor(kModeSixthOctave).rows[row].centre,
                        static_cast<float>(16.0 * std::pow(10.0, row / 20)));
    EXPECT_FLOAT_EQ(BandsFor(kModeTwelfthOctave).rows[57].centre, 440.0f);
    EXPECT_FLOAT_EQ(BandsFor(kModeTwelfthOctave).rows[69].centre, 880.0f);
}

class LevelSums : public ::testing::Test {
protected:
    void SetUp() override { ResetAnalyzerState(); }
};

TEST_F(LevelSums, AddsOnAnEnergyBasisAndSkipsTheFloor) {
    LevelSum sum;
    ResetLevelSum(sum);
    EXPECT_EQ(LevelSumDb(sum), -100.0);

    AddLevel(sum, -100.0);
    AddLevel(sum, -130.0);
    AddLevel(sum, NAN);
    EXPECT_EQ(sum.count, 0);
    AddLevel(sum, -20.0);
    AddLevel(sum, -20.0);
    EXPECT_EQ(sum.count, 2);
    EXPECT_NEAR(LevelSumDb(sum), -20.0 + 10.0 * std::log10(2.0), 1e-12); // -16.99 dB
    EXPECT_EQ(sum.maximum, -20.0);
    AddLevel(sum, -99.9);
    AddLevel(sum, 3.0);
    EXPECT_EQ(sum.count, 4);
    EXPECT_EQ(sum.maximum, 3.0);
    ResetLevelSum(sum);
    EXPECT_EQ(sum.count, 0);
    EXPECT_EQ(sum.maximum, -100.0);
}

} // namespace
