// Reading and writing "RTA.DAT". User-interface thread only.
#include "ui/settings_file.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "state/state.h"

namespace {

const char kTempFileName[] = "RTA.DAT.tmp";

// One field of the file, in file order: where its value lives and how many bytes it takes.
struct Field {
    void* value;
    std::size_t size;
};

// The file holds the values in their in-memory form; the program only runs on little-endian
// machines, so the in-memory bytes are the file's bytes.
const Field kFields[] = {
    {&splCalibrationDb, 4}, {&sampleRate, 4},  {&fftSize, 4},          {&weighting, 4},
    {&displayMode, 4},      {&decayRate, 4},   {&gainDb, 4},           {&averaging, 4},
    {&peakTraceOn, 4},      {&monitorMode, 4}, {&liveChannelCount, 4}, {&smoothingBins, 4},
    {&verticalScale, 8},
};

bool IsFinite(double v) {
    return std::isfinite(v);
}

// A hand-edited or damaged file must not be able to crash the analysis or the views.
void ReplaceUnusableValues() {
    if (ChoiceIndex(kSampleRateChoices, kSampleRateChoiceCount, sampleRate) < 0)
        sampleRate = 44100;
    if (ChoiceIndex(kFftSizeChoices, kFftSizeChoiceCount, fftSize) < 0)
        fftSize = 8192;
    if (weighting < 0 || weighting >= kWeightingCount)
        weighting = kWeightingNone;
    if (displayMode < 0 || displayMode > kModeWaveform)
        displayMode = kModeLinear;
    if (monitorMode < 0 || monitorMode >= kMonitorModeCount)
        monitorMode = kMonitorMono;
    if (liveChannelCount < 1 || liveChannelCount > kLiveChannelMax)
        liveChannelCount = monitorMode == kMonitorStereo ? 2 : 1;
    if (ChoiceIndex(kSmoothingChoices, kSmoothingChoiceCount, smoothingBins) < 0)
        smoothingBins = 0;
    if (peakTraceOn != 0 && peakTraceOn != 1)
        peakTraceOn = 1;
    if (!IsFinite(gainDb) || gainDb < -20.0f || gainDb > 20.0f)
        gainDb = 0.0f;
    if (!IsFinite(splCalibrationDb))
        splCalibrationDb = 100.0f;
    // A scale below the selector's smallest magnifies the transfer and phase traces past any
    // coordinate the views can compute.
    if (!IsFinite(verticalScale) || verticalScale < 0.5)
        verticalScale = 1.0;
}

} // namespace

// The settings go to a temporary file first, so a full disk or a failed write leaves the
// previous file whole instead of a truncated one.
void SaveSettings() {
    {
        std::ofstream out(kTempFileName, std::ios::binary | std::ios::trunc);
        for (const Field& f : kFields)
            out.write(static_cast<const char*>(f.value), static_cast<std::streamsize>(f.size));
        out.close();
        if (!out) {
            std::remove(kTempFileName);
            return;
        }
    }
    // Windows' rename does not replace an existing file.
    if (std::rename(kTempFileName, kSettingsFileName) != 0) {
        std::remove(kSettingsFileName);
        if (std::rename(kTempFileName, kSettingsFileName) != 0)
            std::remove(kTempFileName);
    }
}

void LoadSettings() {
    std::ifstream in(kSettingsFileName, std::ios::binary);
    if (in) {
        for (const Field& f : kFields) {
            char bytes[8];
            in.read(bytes, static_cast<std::streamsize>(f.size));
            // A field that the file ends inside receives only the bytes present.
            std::memcpy(f.value, bytes, static_cast<std::size_t>(in.gcount()));
            if (!in)
                break;
        }
        ReplaceUnusableValues();
        if (weighting == kWeightingNoise)
            weighting = kWeightingNone;
        SyncLiveTraceFlags();
        captureRate = sampleRate;
        captureFftSize = fftSize;
        if (IsTransferMode(displayMode))
            transferMode = 1;
    }
    if (displayMode == kModeSpl)
        splMode = 1;
}
