// The settings file: its exact byte layout, what loading derives, short and damaged files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "scratch_dir.h"
#include "state/state.h"
#include "ui/settings_file.h"

namespace {

class SettingsFile : public ScratchDirTest {
protected:
    void SetUp() override {
        ScratchDirTest::SetUp();
        ResetAnalyzerState();
        LocateSettingsFile();
    }
    static std::vector<uint8_t> ReadBack() {
        std::ifstream in("RTA.DAT", std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }
    static void Write(const std::vector<uint8_t>& bytes) {
        std::ofstream out("RTA.DAT", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
};

// Little-endian file image built field by field, independent of the code under test.
struct Image {
    std::vector<uint8_t> bytes;
    template <class T> Image& Put(T v) {
        uint8_t b[sizeof(T)];
        std::memcpy(b, &v, sizeof(T));
        bytes.insert(bytes.end(), b, b + sizeof(T));
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

// Loading checks each field, so saving what was loaded checks the byte layout.
TEST_F(SettingsFile, LoadRestoresDerivesAndSavesFiftySixBytesInFieldOrder) {
    Write(Typical().bytes);
    LoadSettings();
    EXPECT_EQ(splCalibrationDb, 94.5f);
    EXPECT_EQ(sampleRate, 22050);
    EXPECT_EQ(fftSize, 16384);
    EXPECT_EQ(captureRate, 22050);
    EXPECT_EQ(captureFftSize, 16384);
    EXPECT_EQ(weighting, 2);
    EXPECT_EQ(displayMode, 9);
    EXPECT_EQ(transferMode, 1);
    EXPECT_EQ(decayRate, 10);
    EXPECT_EQ(gainDb, -6.0f);
    EXPECT_EQ(averaging, 8);
    EXPECT_EQ(peakTraceOn, 0);
    EXPECT_EQ(monitorMode, 3);
    EXPECT_EQ(liveChannelCount, 2);
    EXPECT_EQ(traceVisible[0], 1);
    EXPECT_EQ(traceVisible[1], 1);
    EXPECT_EQ(smoothingBins, 7);
    EXPECT_EQ(verticalScale, 0.5);
    EXPECT_EQ(splMode, 0);
    std::remove("RTA.DAT");
    SaveSettings();
    EXPECT_EQ(ReadBack(), Typical().bytes);
}

TEST_F(SettingsFile, MissingFileKeepsDefaultsAndWritesOnSave) {
    displayMode = kModeSpl;
    LoadSettings();
    EXPECT_EQ(splMode, 1);
    EXPECT_EQ(captureRate, 44100);
    EXPECT_EQ(captureFftSize, 8192);
    EXPECT_EQ(splCalibrationDb, 100.0f);
    SaveSettings();
    EXPECT_EQ(ReadBack().size(), 56u);
}

TEST_F(SettingsFile, SaveReplacesTheFileOrLeavesItWhole) {
    Write(Typical().bytes);
    SaveSettings();
    std::vector<uint8_t> saved = ReadBack();
    ASSERT_EQ(saved.size(), 56u);
    EXPECT_NE(saved, Typical().bytes);
    EXPECT_FALSE(std::ifstream("RTA.DAT.tmp").good());

    // A write that cannot complete keeps the previous settings.
    Write(Typical().bytes);
    ASSERT_EQ(mkdir("RTA.DAT.tmp", 0700), 0);
    SaveSettings();
    EXPECT_EQ(ReadBack(), Typical().bytes);
    rmdir("RTA.DAT.tmp");

    // A replacement that cannot complete keeps the new settings in the temporary file, which
    // the next start reads while there is no "RTA.DAT".
    std::remove("RTA.DAT");
    ASSERT_EQ(mkdir("RTA.DAT", 0700), 0);
    std::ofstream("RTA.DAT/in-the-way").put('x');
    sampleRate = 22050;
    smoothingBins = 7;
    verticalScale = 0.5;
    SaveSettings();
    std::remove("RTA.DAT/in-the-way");
    ASSERT_EQ(rmdir("RTA.DAT"), 0);
    ResetAnalyzerState();
    LoadSettings();
    EXPECT_EQ(sampleRate, 22050);
    EXPECT_EQ(smoothingBins, 7);
    EXPECT_EQ(verticalScale, 0.5);
    std::remove("RTA.DAT.tmp");
}

TEST_F(SettingsFile, ShortFileFillsWhatItHolds) {
    sampleRate = 8000;
    fftSize = 4096;
    weighting = 1;
    std::vector<uint8_t> bytes = Typical().bytes;
    bytes.resize(10); // calibration, rate, and the low half of the size
    Write(bytes);
    LoadSettings();
    EXPECT_EQ(splCalibrationDb, 94.5f);
    EXPECT_EQ(sampleRate, 22050);
    EXPECT_EQ(fftSize, 16384) << "0x4000 from the file's low half over 4096's high half (0)";
    EXPECT_EQ(weighting, 1);
}

struct Damage {
    const char* what;
    std::size_t offset;
    std::vector<uint8_t> bytes;
    int32_t* intSetting;
    int32_t intExpected;
};

std::vector<uint8_t> Le32(int32_t v) {
    return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
}

TEST_F(SettingsFile, UnusableValuesFallBackToDefaults) {
    const Damage cases[] = {
        {"rate 12345", 4, Le32(12345), &sampleRate, 44100},
        {"rate 0", 4, Le32(0), &sampleRate, 44100},
        {"size 1000", 8, Le32(1000), &fftSize, 8192},
        {"size negative", 8, Le32(-8192), &fftSize, 8192},
        {"weighting 9", 12, Le32(9), &weighting, 0},
        {"noise weighting is not restored", 12, Le32(4), &weighting, 0},
        {"mode 12", 16, Le32(12), &displayMode, 0},
        {"mode -1", 16, Le32(-1), &displayMode, 0},
        {"monitor 4 (in a transfer mode: Stereo)", 36, Le32(4), &monitorMode, 3},
        {"channels 3", 40, Le32(3), &liveChannelCount, 2},
        {"channels 0", 40, Le32(0), &liveChannelCount, 2},
        {"peak trace 5", 32, Le32(5), &peakTraceOn, 1},
        // The transfer and phase compare two current channels whatever the file says.
        {"mono in a transfer mode", 36, Le32(0), &monitorMode, 3},
        {"one channel in a transfer mode", 40, Le32(1), &liveChannelCount, 2},
        // Values the selectors merely cannot show stay as they are.
        {"smoothing 4", 44, Le32(4), &smoothingBins, 4},
        {"smoothing huge", 44, Le32(1 << 30), &smoothingBins, 1 << 30},
        {"decay 33", 20, Le32(33), &decayRate, 33},
        {"averaging 5", 28, Le32(5), &averaging, 5},
        {"mode 11", 16, Le32(11), &displayMode, 11},
    };
    for (const Damage& d : cases) {
        ResetAnalyzerState();
        Image i = Typical();
        std::memcpy(&i.bytes[d.offset], d.bytes.data(), d.bytes.size());
        Write(i.bytes);
        LoadSettings();
        EXPECT_EQ(*d.intSetting, d.intExpected) << d.what;
    }
}

TEST_F(SettingsFile, NonNumbersAndOutOfRangeFloatsFallBack) {
    // A denormal scale made the transfer view's coordinates overflow.
    const double badScales[] = {std::nan(""), 0.0, -1.0, INFINITY, 4.9e-324, 0.25};
    for (double scale : badScales) {
        Image i = Typical();
        std::memcpy(&i.bytes[48], &scale, 8);
        const float gain = std::nanf("");
        std::memcpy(&i.bytes[24], &gain, 4);
        const float calibration = -INFINITY;
        std::memcpy(&i.bytes[0], &calibration, 4);
        Write(i.bytes);
        LoadSettings();
        EXPECT_EQ(verticalScale, 1.0) << scale;
        EXPECT_EQ(gainDb, 0.0f);
        EXPECT_EQ(splCalibrationDb, 100.0f);
    }
    Image i = Typical();
    const double scale = 3.0; // shown as "100%", kept as it is
    std::memcpy(&i.bytes[48], &scale, 8);
    Write(i.bytes);
    LoadSettings();
    EXPECT_EQ(verticalScale, 3.0);
}

} // namespace
