// The analyze command: start-up, the settings applied as the user chooses them in the window, one
// frame per complete block of the file, then the outputs. The caller's thread is the program's
// user-interface thread.
#include "cli/analyze.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "state/state.h"
#include "ui/control_ids.h"
#include "ui/trace_export.h"
#include "views/band_view.h"

namespace cli {
namespace {

bool InChoices(const Choice* choices, int count, const std::optional<int>& value) {
    return !value || ChoiceIndex(choices, count, *value) >= 0;
}

bool InRange(const std::optional<int>& value, int low, int high) {
    return !value || (*value >= low && *value <= high);
}

// The settings as the user chooses them in the window, in an order where a later choice is not
// undone by an earlier one (a display mode sets decay, monitor, weighting and smoothing).
void ApplySettings(AppRun& run, const AnalyzeSettings& s) {
    if (s.mode)
        run.ChooseMode(*s.mode);
    if (s.monitor)
        run.SelectItem(kMonitorCombo, *s.monitor);
    if (s.weighting)
        run.SelectItem(kWeightingCombo, *s.weighting);
    if (s.averaging)
        run.SelectItem(kAverageCombo,
                       ChoiceIndex(kAveragingChoices, kAveragingChoiceCount, *s.averaging));
    if (s.decay)
        run.SelectItem(kDecayCombo, ChoiceIndex(kDecayChoices, kDecayChoiceCount, *s.decay));
    if (s.smoothing)
        run.SelectItem(kSmoothingCombo,
                       ChoiceIndex(kSmoothingChoices, kSmoothingChoiceCount, *s.smoothing));
    if (s.gainDb)
        run.MoveTrackbar(kGainTrackbar, *s.gainDb + 20);
    if (s.delayMs) {
        char text[32];
        std::snprintf(text, sizeof text, "%g", *s.delayMs);
        run.TypeText(kDelayCombo, text);
    }
    if (s.swap)
        run.Command(kCmdSwapInputs);
}

// The one-line progress display of a run: nothing for the first second, so short runs stay
// quiet, then the share of the file done and the time left, a few times a second, and the line
// cleared at the end.
class Progress {
public:
    Progress(bool on, const std::string& name) : on_(on), name_(name) {}
    ~Progress() {
        if (shown_)
            std::fprintf(stderr, "\r%*s\r", static_cast<int>(width_), "");
    }
    void Show(double done) {
        if (!on_ || done <= 0.0)
            return;
        const auto now = Clock::now();
        const double elapsed = std::chrono::duration<double>(now - start_).count();
        if (elapsed < 1.0 || (shown_ && now - last_ < std::chrono::milliseconds(200)))
            return;
        last_ = now;
        shown_ = true;
        const int left = static_cast<int>(elapsed * (1.0 - done) / done + 0.5);
        char line[512];
        const int width = std::snprintf(line, sizeof line, "%s: %3.0f%% done, %d:%02d left",
                                        name_.c_str(), done * 100.0, left / 60, left % 60);
        // A shorter line must cover the end of the longer one before it.
        std::fprintf(stderr, "\r%s%*s", line, std::max(0, static_cast<int>(width_) - width), "");
        std::fflush(stderr);
        width_ = std::max<std::size_t>(width_, static_cast<std::size_t>(std::max(width, 0)));
    }

private:
    using Clock = std::chrono::steady_clock;
    bool on_;
    std::string name_;
    Clock::time_point start_ = Clock::now();
    Clock::time_point last_;
    bool shown_ = false;
    std::size_t width_ = 0;
};

} // namespace

bool CheckAnalyzeJob(const AnalyzeJob& job, std::string* error) {
    const AnalyzeSettings& s = job.settings;
    if (job.wavPath.empty())
        return Fail(error, "analyze needs a WAV file");
    if (job.exportPath.empty() && job.imagePath.empty() && job.bandsPath.empty())
        return Fail(error, "analyze needs --export, --bands or --image");
    if (!CheckViewSize(job.width, job.height, error))
        return false;
    if (!InRange(s.mode, 0, kModeWaveform))
        return Fail(error, "--mode must be 0..11");
    if (!job.bandsPath.empty() && (!s.mode || BandSetOfMode(*s.mode) == 0))
        return Fail(error, "--bands needs a band mode: --mode 2, 3, 4, 5 or 7");
    if (!InChoices(kFftSizeChoices, kFftSizeChoiceCount, s.fftSize))
        return Fail(error, "--fft must be 2048, 4096, 8192, 16384 or 32768");
    if (!InRange(s.monitor, 0, kMonitorModeCount - 1))
        return Fail(error, "--monitor must be 0..3 (Mono, Left, Right, Stereo)");
    if (!InRange(s.weighting, 0, kWeightingCount - 1))
        return Fail(error, "--weighting must be 0..4 (None, A, C, U, Noise)");
    if (!InChoices(kAveragingChoices, kAveragingChoiceCount, s.averaging))
        return Fail(error, "--averaging must be 0, 2, 4, 8, 16, 32 or 64");
    if (!InChoices(kDecayChoices, kDecayChoiceCount, s.decay))
        return Fail(error, "--decay must be 0, 10, 20 or 50 (dB per second)");
    if (!InChoices(kSmoothingChoices, kSmoothingChoiceCount, s.smoothing))
        return Fail(error, "--smoothing must be 0, 3, 5, 7 or 9");
    if (!InRange(s.gainDb, -20, 20))
        return Fail(error, "--gain must be -20..20 (dB)");
    if (s.delayMs && !(*s.delayMs >= 0.0 && *s.delayMs < 1000.0))
        return Fail(error, "--delay must be 0 up to 999.99 (ms)");
    return true;
}

bool Analyze(const AnalyzeJob& job, std::string* error) {
    if (!CheckAnalyzeJob(job, error))
        return false;
    headless::CaptureSource source;
    source.kind = headless::CaptureSource::Kind::Wav;
    source.wav = std::make_shared<headless::WavReader>();
    std::string reason;
    if (!source.wav->Open(job.wavPath, &reason))
        return Fail(error, job.wavPath + ": " + reason);
    const uint64_t frames = source.wav->Frames();
    const int32_t rate = static_cast<int32_t>(source.wav->Rate());

    AppRun run;
    if (!run.Start(job.width, job.height, error))
        return false;
    if (job.settings.fftSize && !run.ChangeFftSize(*job.settings.fftSize, error))
        return false;
    if (!run.UseSource(source, rate, &reason))
        return Fail(error, job.wavPath + ": " + reason);
    ApplySettings(run, job.settings);

    // The first blocks only fill the analysis window; the next one is analysed and drawn.
    const uint64_t needed = static_cast<uint64_t>(captureFftSize + blockFrames);
    if (frames < needed)
        return Fail(error, job.wavPath + ": too short: " + std::to_string(frames) +
                               " frames, at least " + std::to_string(needed) +
                               " are needed for one analysis at this FFT size");
    const int blocks = static_cast<int>(frames / static_cast<uint64_t>(blockFrames));
    {
        Progress progress(job.showProgress, job.wavPath);
        for (int done = 0; done < blocks;) {
            const int step = std::min(blocks - done, 32);
            run.RunBlocks(step);
            done += step;
            progress.Show(static_cast<double>(done) / blocks);
        }
    }

    if (!job.exportPath.empty() && !run.Export(job.exportPath, error))
        return false;
    if (!job.bandsPath.empty() && !run.ExportBandLevels(job.bandsPath, error))
        return false;
    if (!job.imagePath.empty() && !run.Screenshot(job.imagePath, error))
        return false;
    return true;
}

} // namespace cli
