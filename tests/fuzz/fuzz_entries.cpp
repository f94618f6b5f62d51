// The fuzz targets' inputs fed through the program as a user feeds them: embedded bitmaps and
// fonts, a settings file found at launch, a script, text typed into the Delay and Frequency
// fields, a WAV file. Caller's thread (the program's user-interface thread).
#include "fuzz_entries.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "../unit/scratch_dir.h"
#include "cli/app_run.h"
#include "cli/script.h"
#include "gfx/font.h"
#include "port/headless/headless.h"
#include "state/state.h"
#include "ui/control_ids.h"

namespace fuzz {
namespace {

// The blocks that fill the largest analysis window at the smallest block, plus one.
constexpr int kBlocksToFirstFrame = 32768 / 512 + 1;
// Enough blocks for any script to show its effect, few enough to keep the fuzzer fast.
constexpr int64_t kScriptBlocks = 24;

// The loaders and then every character drawn, so that fuzzed metrics also drive the blits. Byte 0
// picks the loader; byte 1 how many of the remaining bytes form the metrics table.
bool Bitmap(const uint8_t* data, std::size_t size) {
    if (size < 2)
        return true;
    const uint8_t mode = data[0] % 3;
    const std::size_t metricsSize = std::min<std::size_t>(data[1], size - 2);
    // Exactly sized copies, so the sanitizer sees any read past their ends.
    std::vector<uint8_t> metrics(data + 2, data + 2 + metricsSize);
    std::vector<uint8_t> bitmap(data + 2 + metricsSize, data + size);
    const headless::EmbeddedResource table[] = {
        {"BITMAP", "FUZZ", bitmap.data(), bitmap.size()},
        {"TEXT", "FUZZ", metrics.data(), metrics.size()},
    };
    headless::SetResourceTable(table, 2);
    CDib target;
    target.Create(64, 32);
    target.Clear(0);
    bool sound = true;
    if (mode == 0) {
        CDib dib;
        if (dib.LoadFromResource(port::ProgramModule(), "FUZZ")) {
            sound = dib.m_Bits != nullptr && dib.m_Width > 0 && dib.m_Height > 0;
            target.Blit(-3, -3, dib.m_Width, dib.m_Height, dib, 0, 0, BLIT_KEYED);
        }
    } else {
        Font font;
        const int loaded = mode == 1 ? font.LoadText(port::ProgramModule(), "FUZZ")
                                     : font.LoadMarked(port::ProgramModule(), "FUZZ");
        if (loaded) {
            std::string text;
            for (int i = 1; i < 256; ++i)
                text += static_cast<char>(i);
            font.DrawText(target, -1, 2, text.c_str(), 0x7FFF, BLIT_PEN);
            font.DrawText(target, 0, -4, text.c_str() + 31, 0x7FFF, BLIT_KEYED);
            // A marked strip's cells are found inside it; a metrics table may claim any cells.
            for (int c = 0; c < 256 && mode == 2; ++c)
                sound = sound && font.xOffset[c] + font.width[c] <= font.strip.m_Width;
        }
    }
    headless::SetResourceTable(nullptr, 0);
    headless::TakeMessages();
    return sound;
}

// Every setting within what the analysis and the views accept.
bool SettingsUsable() {
    return ChoiceIndex(kSampleRateChoices, kSampleRateChoiceCount, sampleRate) >= 0 &&
           ChoiceIndex(kFftSizeChoices, kFftSizeChoiceCount, fftSize) >= 0 &&
           captureRate == sampleRate && captureFftSize == fftSize && displayMode >= 0 &&
           displayMode <= kModeWaveform && weighting >= 0 && weighting < kWeightingCount &&
           monitorMode >= 0 && monitorMode < kMonitorModeCount && liveChannelCount >= 1 &&
           liveChannelCount <= kLiveChannelMax && std::isfinite(gainDb) &&
           std::isfinite(splCalibrationDb) && std::isfinite(verticalScale) && verticalScale >= 0.5;
}

// Capture blocks pass until a frame is drawn; false when none is within the largest window.
bool DrawsAFrame(cli::AppRun& run) {
    for (int i = 0; i < kBlocksToFirstFrame; ++i)
        if (run.RunBlocks(1) > 0)
            return true;
    return false;
}

headless::CaptureSource Sine() {
    headless::CaptureSource sine;
    sine.kind = headless::CaptureSource::Kind::Sine;
    return sine;
}

// The bytes as the settings file of the program's folder at launch; start-up applies them, and
// one frame of a sine is drawn in the mode they select.
bool Settings(const uint8_t* data, std::size_t size) {
    cli::AppRun run;
    std::string error;
    if (!run.Start(cli::kAppViewWidth, cli::kAppViewHeight, &error,
                   std::string(reinterpret_cast<const char*>(data), size)))
        return false;
    return SettingsUsable() && run.UseSource(Sine(), captureRate, &error) && DrawsAFrame(run);
}

// Types text into a combo box's edit field one character at a time, as the edit notifications
// arrive while the user types.
void Type(cli::AppRun& run, int comboId, const std::string& text) {
    for (std::size_t n = 1; n <= text.size(); ++n)
        run.TypeText(comboId, text.substr(0, n));
}

// Text up to the first line break goes into the Delay field of a transfer view, the rest into the
// tone generator's Frequency field, and the tone is played.
bool Text(const uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::size_t split = std::min(text.find('\n'), text.size());
    cli::AppRun run;
    std::string error;
    if (!run.Start(cli::kAppViewWidth, cli::kAppViewHeight, &error))
        return false;
    run.ChooseMode(kModeTransferLinear);
    Type(run, kDelayCombo, text.substr(0, split));
    const bool delayValid = delayMs >= 0.0 && delayMs < 1000.0;
    Type(run, kFrequencyCombo, text.substr(std::min(split + 1, text.size())));
    run.Command(kCmdPlay);
    return delayValid && run.UseSource(Sine(), captureRate, &error) && DrawsAFrame(run);
}

// The text as a script, run in a private folder that it may only name files of.
bool Script(const uint8_t* data, std::size_t size) {
    const ScratchDir folder;
    std::string error;
    const cli::ScriptLimits limits{kScriptBlocks, true}; // plain file names only
    const bool done = cli::RunScriptText(std::string(reinterpret_cast<const char*>(data), size),
                                         "script", &error, limits);
    // A failure names the line; the program leaves the way it came.
    return (done || error.compare(0, 7, "script:") == 0) && folder.IsCurrent();
}

// The bytes as a WAV file played into the input: refused with a reason, or captured at its rate
// up to the first frame.
bool Wav(const uint8_t* data, std::size_t size) {
    headless::CaptureSource source;
    source.kind = headless::CaptureSource::Kind::Wav;
    source.wav = std::make_shared<headless::WavReader>();
    std::string error;
    if (!source.wav->Open(data, size, &error))
        return !error.empty();
    cli::AppRun run;
    if (!run.Start(cli::kAppViewWidth, cli::kAppViewHeight, &error))
        return false;
    if (!run.UseSource(source, static_cast<int32_t>(source.wav->Rate()), &error))
        return !error.empty();
    return DrawsAFrame(run);
}

} // namespace

const Target kTargets[] = {
    {"bitmap", Bitmap}, {"settings", Settings}, {"script", Script}, {"text", Text}, {"wav", Wav},
};
const std::size_t kTargetCount = std::size(kTargets);

const Target* FindTarget(const char* name) {
    for (const Target& t : kTargets)
        if (std::strcmp(t.name, name) == 0)
            return &t;
    return nullptr;
}

} // namespace fuzz
