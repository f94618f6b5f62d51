// The analyze command: a WAV file through the headless analyzer with the settings a command line
// gives, and the outputs it asks for. Caller's thread, which becomes the user-interface thread.
#pragma once

#include <optional>
#include <string>

#include "cli/app_run.h"

namespace cli {

// The analyzer's settings as a command line gives them; an empty one stays as start-up left it.
struct AnalyzeSettings {
    std::optional<int> mode;       // display mode 0..11
    std::optional<int> fftSize;    // 2048 .. 32768
    std::optional<int> monitor;    // 0 Mono, 1 Left, 2 Right, 3 Stereo
    std::optional<int> weighting;  // 0 None .. 4 Noise
    std::optional<int> averaging;  // factor 0, 2, 4 .. 64
    std::optional<int> decay;      // dB per second: 0, 50, 20, 10
    std::optional<int> smoothing;  // bins: 0, 3, 5, 7, 9
    std::optional<int> gainDb;     // -20 .. 20
    std::optional<double> delayMs; // 0 .. below 1000
    bool swap = false;
};

struct AnalyzeJob {
    std::string wavPath;
    std::string exportPath; // empty: no export
    std::string bandsPath;  // empty: no band levels
    std::string imagePath;  // empty: no image; ".png" writes PNG, anything else BMP
    int width = kAppViewWidth;
    int height = kAppViewHeight;
    AnalyzeSettings settings;
    bool showProgress = false; // a progress line on stderr (a terminal) during a long run
};

// Checks the job's size and each setting against the values the analyzer offers, and that it
// has a file to read and something to write; false with a reason otherwise.
bool CheckAnalyzeJob(const AnalyzeJob& job, std::string* error);

// Analyses a WAV file as if it came from the sound card: start-up, the settings applied as the
// user chooses them, one frame per complete block of the file, then the outputs as they stand
// after the last block. False with a reason when anything fails or an output was not written.
bool Analyze(const AnalyzeJob& job, std::string* error);

} // namespace cli
