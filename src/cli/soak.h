// A long run of the headless analyzer on simulated audio that keeps changing the display mode,
// the FFT size and the sample rate as a user would, checking that every captured block reaches
// the analysis once and in order and that memory stays bounded. Caller's thread, which becomes
// the program's user-interface thread.
#pragma once

#include <cstdint>
#include <string>

#include "audio/wave_in_thread.h"

namespace cli {

struct SoakPlan {
    double minutes = 60.0;         // of simulated audio
    double modeEverySec = 10.0;    // the next display mode through the Scale combo
    double fftEverySec = 60.0;     // the next FFT size through the FFT settings menu
    double rateEverySec = 300.0;   // the next sample rate through the FFT settings menu
    double warmUpMinutes = 20.0;   // memory growth counts from here
    long maxGrowthKb = 2048;       // allowed growth of the resident memory after the warm-up
    uint32_t shortBufferEvery = 0; // every n-th device buffer comes back short (0: none)
};

struct SoakReport {
    double simulatedSec = 0;
    uint64_t blocks = 0;   // capture blocks the run let pass
    uint64_t frames = 0;   // frame updates that drew
    uint64_t windows = 0;  // full analysis windows checked frame by frame
    uint64_t gaps = 0;     // a new block that did not follow the one before: lost or repeated
    uint64_t torn = 0;     // windows whose frames were not consecutive
    uint64_t stalls = 0;   // blocks after which the window had no new block
    uint64_t restarts = 0; // capture restarts by FFT size and rate changes
    uint64_t modeChanges = 0;
    CaptureCounts counts{}; // the capture thread's own counts at the end
    long rssStartKb = -1;   // resident memory; -1 where the system does not say
    long rssWarmKb = -1;
    long rssEndKb = -1;
    long rssMaxKb = -1;
};

// Runs the plan; false with the reason when the program could not run it or a check failed
// (the report holds the figures either way).
bool Soak(const SoakPlan& plan, SoakReport* report, std::string* error);

// The report as lines of text.
std::string FormatSoakReport(const SoakReport& report);

} // namespace cli
