// The settings file: its exact byte layout, what loading derives, the save that replaces the file
// whole, short and damaged files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <vector>

#include "scratch_dir.h"
#include "state/state.h"
#include "ui/settings_file.h"

namespace {

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        ResetAnalyzerState();
        LocateSettingsFile();
    }
    ScratchDir scratch_;
};

// Little-endian file image built field by field, independent of the code under test.
struct Image {
    std::string bytes;
    template <class T> Image& Put(T v) {
        bytes.resize(bytes.size() + sizeof v);
        return At(bytes.size() - sizeof v, v);
    }
    template <class T> Image& At(std::size_t offset, T v) {
        std::memcpy(&bytes.at(offset), &v, sizeof v);
        return *this;
    }
};

Image Typical() {
    Image i;
    i.Put(94.5f).Put<int32_t>(22050).Put<int32_t>(16384).Put<int32_t>(2).Put<int32_t>(9);
    i.Put<int32_t>(10).Put(-6.0f).Put<int32_t>(8).Put<int32_t>(0).Put<int32_t>(3);
    i.Put<int32_t>(2).Put<int32_t>(7).Put(0.5);
    return i;
}

template <class... T> std::vector<double> Numbers(T... values) {
    return {static_cast<double>(values)...};
}

// Loading checks each field, so saving what was loaded checks the byte layout.
TEST_F(SettingsFile, LoadRestoresDerivesAndSavesFiftySixBytesInFieldOrder) {
    WriteFile("RTA.DAT", Typical().bytes);
    LoadSettings();
    EXPECT_EQ(Numbers(splCalibrationDb, sampleRate, fftSize, weighting, displayMode, decayRate,
                      gainDb, averaging, peakTraceOn, monitorMode, liveChannelCount, smoothingBins,
                      verticalScale),
              Numbers(94.5, 22050, 16384, 2, 9, 10, -6.0, 8, 0, 3, 2, 7, 0.5));
    // Derived: the capture's set-up, the transfer mode of mode 9, both traces, no SPL mode.
    EXPECT_EQ(Numbers(captureRate, captureFftSize, transferMode, traceVisible[0], traceVisible[1],
                      splMode),
              Numbers(22050, 16384, 1, 1, 1, 0));
    std::remove("RTA.DAT");
    SaveSettings();
    EXPECT_EQ(ReadFile("RTA.DAT"), Typical().bytes);
}

TEST_F(SettingsFile, MissingFileKeepsDefaultsAndSaveReplacesTheFileOrLeavesItWhole) {
    displayMode = kModeSpl;
    LoadSettings();
    EXPECT_EQ(splMode, 1);
    EXPECT_EQ(captureRate, 44100);
    EXPECT_EQ(captureFftSize, 8192);
    EXPECT_EQ(splCalibrationDb, 100.0f);
    SaveSettings();
    EXPECT_EQ(ReadFile("RTA.DAT").size(), 56u);
    WriteFile("RTA.DAT", Typical().bytes);
    SaveSettings();
    EXPECT_EQ(ReadFile("RTA.DAT").size(), 56u);
    EXPECT_NE(ReadFile("RTA.DAT"), Typical().bytes);
    EXPECT_FALSE(std::filesystem::exists("RTA.DAT.tmp"));

    // A write that cannot complete keeps the previous settings.
    WriteFile("RTA.DAT", Typical().bytes);
    ASSERT_EQ(mkdir("RTA.DAT.tmp", 0700), 0);
    SaveSettings();
    EXPECT_EQ(ReadFile("RTA.DAT"), Typical().bytes);
    std::filesystem::remove("RTA.DAT.tmp");

    // A replacement that cannot complete keeps the new settings in the temporary file, which
    // the next start reads while there is no "RTA.DAT".
    std::remove("RTA.DAT");
    ASSERT_EQ(mkdir("RTA.DAT", 0700), 0);
    std::ofstream("RTA.DAT/in-the-way").put('x');
    sampleRate = 22050;
    smoothingBins = 7;
    verticalScale = 0.5;
    SaveSettings();
    ASSERT_EQ(std::filesystem::remove_all("RTA.DAT"), 2u);
    ResetAnalyzerState();
    LoadSettings();
    EXPECT_EQ(sampleRate, 22050);
    EXPECT_EQ(smoothingBins, 7);
    EXPECT_EQ(verticalScale, 0.5);
}

TEST_F(SettingsFile, ShortFileFillsWhatItHolds) {
    sampleRate = 8000;
    fftSize = 4096;
    weighting = 1;
    WriteFile("RTA.DAT", Typical().bytes.substr(0, 10)); // calibration, rate, half the size
    LoadSettings();
    EXPECT_EQ(splCalibrationDb, 94.5f);
    EXPECT_EQ(sampleRate, 22050);
    EXPECT_EQ(fftSize, 16384) << "0x4000 from the file's low half over 4096's high half (0)";
    EXPECT_EQ(weighting, 1);
}

TEST_F(SettingsFile, UnusableValuesFallBackToDefaults) {
    const struct {
        const char* what;
        std::size_t offset;
        int32_t* setting;
        int32_t stored, loaded;
    } cases[] = {
        {"rate 12345", 4, &sampleRate, 12345, 44100},
        {"rate 0", 4, &sampleRate, 0, 44100},
        {"size 1000", 8, &fftSize, 1000, 8192},
        {"size negative", 8, &fftSize, -8192, 8192},
        {"weighting 9", 12, &weighting, 9, 0},
        {"noise weighting is not restored", 12, &weighting, 4, 0},
        {"mode 12", 16, &displayMode, 12, 0},
        {"mode -1", 16, &displayMode, -1, 0},
        {"monitor 4 (in a transfer mode: Stereo)", 36, &monitorMode, 4, 3},
        {"channels 3", 40, &liveChannelCount, 3, 2},
        {"channels 0", 40, &liveChannelCount, 0, 2},
        {"peak trace 5", 32, &peakTraceOn, 5, 1},
        // The transfer and phase compare two current channels whatever the file says.
        {"mono in a transfer mode", 36, &monitorMode, 0, 3},
        {"one channel in a transfer mode", 40, &liveChannelCount, 1, 2},
        // Values the selectors merely cannot show stay as they are.
        {"smoothing 4", 44, &smoothingBins, 4, 4},
        {"smoothing huge", 44, &smoothingBins, 1 << 30, 1 << 30},
        {"decay 33", 20, &decayRate, 33, 33},
        {"averaging 5", 28, &averaging, 5, 5},
        {"mode 11", 16, &displayMode, 11, 11},
    };
    for (const auto& c : cases) {
        ResetAnalyzerState();
        WriteFile("RTA.DAT", Typical().At(c.offset, c.stored).bytes);
        LoadSettings();
        EXPECT_EQ(*c.setting, c.loaded) << c.what;
    }
}

TEST_F(SettingsFile, NonNumbersAndOutOfRangeFloatsFallBack) {
    // A denormal scale made the transfer view's coordinates overflow.
    const double scales[] = {std::nan(""), 0.0, -1.0, INFINITY, 4.9e-324, 0.25};
    for (double scale : scales) {
        WriteFile("RTA.DAT", Typical().At(48, scale).At(24, std::nanf("")).At(0, -INFINITY).bytes);
        LoadSettings();
        EXPECT_EQ(verticalScale, 1.0) << scale;
        EXPECT_EQ(gainDb, 0.0f);
        EXPECT_EQ(splCalibrationDb, 100.0f);
    }
    WriteFile("RTA.DAT", Typical().At(48, 3.0).bytes); // shown as "100%", kept as it is
    LoadSettings();
    EXPECT_EQ(verticalScale, 3.0);
}

} // namespace
