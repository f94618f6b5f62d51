// Reading and writing "RTA.DAT". User-interface thread only.
#include "ui/settings_file.h"

#include <cmath>
#include <cstring>
#include <fstream>
#include <string>

#include "port/port.h"
#include "state/state.h"
#include "ui/whole_file.h"

namespace {

const char kFileName[] = "RTA.DAT";
std::string settingsPath = kFileName;

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
    // The transfer and the phase compare the two current channels.
    if (IsTransferMode(displayMode)) {
        monitorMode = kMonitorStereo;
        liveChannelCount = 2;
    }
    if (peakTraceOn != 0 && peakTraceOn != 1)
        peakTraceOn = 1;
    // Past the Gain trackbar's range a (finite) gain could drive the levels beyond what the
    // views can turn into pixel rows.
    if (!IsFinite(gainDb) || gainDb < -20.0f || gainDb > 20.0f)
        gainDb = 0.0f;
    if (!IsFinite(splCalibrationDb))
        splCalibrationDb = 100.0f;
    if (!IsFinite(verticalScale) || verticalScale <= 0.0)
        verticalScale = 1.0;
}

// A save interrupted after its temporary file was complete leaves it as the only copy.
std::ifstream OpenForLoading() {
    std::ifstream in(settingsPath, std::ios::binary);
    if (in)
        return in;
    std::ifstream left(TemporaryFileOf(settingsPath), std::ios::binary | std::ios::ate);
    if (left && left.tellg() == std::streampos(kSettingsFileBytes)) {
        left.seekg(0);
        return left;
    }
    return std::ifstream();
}

} // namespace

void LocateSettingsFile() {
    const std::string full = port::FullPath(kFileName);
    settingsPath = full.empty() ? kFileName : full;
}

void SaveSettings() {
    std::string bytes;
    for (const Field& f : kFields)
        bytes.append(static_cast<const char*>(f.value), f.size);
    WriteWholeFile(settingsPath, bytes);
}

void LoadSettings() {
    std::ifstream in = OpenForLoading();
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
