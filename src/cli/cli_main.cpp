// tonalyx-cli: the analyzer's core run headless from the command line; this file reads the
// arguments and reports the outcome. Main thread only.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <unistd.h>

#include "cli/analyze.h"
#include "cli/app_run.h"
#include "cli/script.h"
#include "cli/soak.h"
#include "state/version.h"
#include "views/view_layout.h"

namespace {

constexpr int kExitFailed = 1; // the work failed: unreadable input, unwritable output
constexpr int kExitUsage = 2;  // the command line is wrong

void PrintUsage(FILE* out) {
    std::fprintf(
        out,
        "Usage: tonalyx-cli analyze IN.wav [--export OUT.txt] [--bands OUT.csv]\n"
        "                   [--image OUT.bmp|OUT.png]\n"
        "                   [--size WxH] [--mode 0..11] [--fft 2048..32768] [--monitor 0..3]\n"
        "                   [--weighting 0..4] [--averaging K] [--decay D] [--smoothing W]\n"
        "                   [--gain DB] [--delay MS] [--swap]\n"
        "       tonalyx-cli script FILE      (also: run FILE)\n"
        "       tonalyx-cli soak [--minutes M]\n"
        "       tonalyx-cli --version | --help\n"
        "\n"
        "analyze feeds a WAV file (16-, 24- or 32-bit PCM or 32-bit float, mono or stereo,\n"
        "44100, 22050, 11025 or 8000 Hz) through the analyzer block by block, as if it came from\n"
        "the sound card, and writes the traces, band levels and view as they stand after the\n"
        "last complete block.\n"
        "  --export PATH    the traces as comma-separated text (as \"Save ASCII\" writes them)\n"
        "  --bands PATH     the band levels of --mode 2, 3, 4, 5 or 7 as comma-separated text\n"
        "  --image PATH     the view as a picture: PNG for a .png name, BMP otherwise\n"
        "  --size WxH       size of the view, %dx%d up to %dx%d (default %dx%d)\n"
        "  --mode M         0 Linear, 1 Log, 2 Octave, 3 1/3, 4 1/6, 5 1/12 Octave,\n"
        "                   6 Spectrogram, 7 SPL, 8 Transfer (Linear), 9 Transfer (Log),\n"
        "                   10 Phase (Log), 11 Waveform\n"
        "  --fft N          2048, 4096, 8192, 16384 or 32768 samples\n"
        "  --monitor M      0 Mono, 1 Left, 2 Right, 3 Stereo\n"
        "  --weighting W    0 None, 1 A, 2 C, 3 U, 4 Noise\n"
        "  --averaging K    0, 2, 4, 8, 16, 32 or 64\n"
        "  --decay D        0, 10, 20 or 50 dB per second\n"
        "  --smoothing W    0, 3, 5, 7 or 9 bins\n"
        "  --gain DB        -20..20\n"
        "  --delay MS       delay of the right input, 0 up to 999.99 ms\n"
        "  --swap           exchange the left and right inputs\n"
        "script runs a file of user actions, one a line (see the README).\n"
        "soak runs M minutes (default 60) of simulated audio while the display mode, the FFT\n"
        "size and the sample rate keep changing, and checks that no captured block is lost or\n"
        "repeated and that memory stays bounded.\n"
        "Exit status: 0 done, 1 failed (input or output), 2 wrong command line.\n",
        kMinViewWidth, kMinViewHeight, cli::kAppViewMaxSide, cli::kAppViewMaxSide,
        cli::kAppViewWidth, cli::kAppViewHeight);
}

// A wrong command line: the reason, then the usage.
int UsageError(const std::string& reason) {
    std::fprintf(stderr, "tonalyx-cli: %s\n\n", reason.c_str());
    PrintUsage(stderr);
    return kExitUsage;
}

int Failed(const std::string& reason) {
    std::fprintf(stderr, "tonalyx-cli: %s\n", reason.c_str());
    return kExitFailed;
}

// "WxH" with two whole numbers.
bool ParseSize(const std::string& text, int* width, int* height) {
    const std::size_t x = text.find('x');
    return x != std::string::npos && cli::ReadInt(text.substr(0, x), width) &&
           cli::ReadInt(text.substr(x + 1), height);
}

int RunAnalyze(int argc, char** argv) {
    cli::AnalyzeJob job;
    for (int i = 2; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--swap") {
            job.settings.swap = true;
            continue;
        }
        if (option.size() < 2 || option.compare(0, 2, "--") != 0) {
            if (!job.wavPath.empty())
                return UsageError("analyze takes one WAV file, not also \"" + option + "\"");
            job.wavPath = option;
            continue;
        }
        struct IntOption {
            const char* name;
            std::optional<int>* target;
        };
        const IntOption intOptions[] = {
            {"--mode", &job.settings.mode},           {"--fft", &job.settings.fftSize},
            {"--monitor", &job.settings.monitor},     {"--weighting", &job.settings.weighting},
            {"--averaging", &job.settings.averaging}, {"--decay", &job.settings.decay},
            {"--smoothing", &job.settings.smoothing}, {"--gain", &job.settings.gainDb},
        };
        const IntOption* intOption = nullptr;
        for (const IntOption& o : intOptions)
            if (option == o.name)
                intOption = &o;
        if (intOption == nullptr && option != "--export" && option != "--bands" &&
            option != "--image" && option != "--size" && option != "--delay")
            return UsageError("unknown option " + option);
        if (i + 1 >= argc)
            return UsageError(option + " needs a value");
        const char* value = argv[++i];
        if (intOption != nullptr) {
            int number = 0;
            if (!cli::ReadInt(value, &number))
                return UsageError(option + " needs a whole number, not \"" + value + "\"");
            *intOption->target = number;
        } else if (option == "--export") {
            job.exportPath = value;
        } else if (option == "--bands") {
            job.bandsPath = value;
        } else if (option == "--image") {
            job.imagePath = value;
        } else if (option == "--size") {
            if (!ParseSize(value, &job.width, &job.height))
                return UsageError("--size needs WIDTHxHEIGHT, not \"" + std::string(value) + "\"");
        } else if (option == "--delay") {
            double ms = 0.0;
            if (!cli::ReadNumber(value, &ms))
                return UsageError("--delay needs a number, not \"" + std::string(value) + "\"");
            job.settings.delayMs = ms;
        }
    }
    std::string error;
    if (!cli::CheckAnalyzeJob(job, &error))
        return UsageError(error);
    job.showProgress = isatty(STDERR_FILENO) != 0;
    if (!cli::Analyze(job, &error))
        return Failed(error);
    return 0;
}

int RunScriptFile(int argc, char** argv) {
    if (argc != 3)
        return UsageError(std::string(argv[1]) + " needs exactly one script file");
    std::string error;
    if (!cli::RunScript(argv[2], &error))
        return Failed(error);
    return 0;
}

int RunSoak(int argc, char** argv) {
    cli::SoakPlan plan;
    if (argc == 4 && std::strcmp(argv[2], "--minutes") == 0) {
        if (!cli::ReadNumber(argv[3], &plan.minutes) || !(plan.minutes > 0.0))
            return UsageError("--minutes needs a positive number, not \"" + std::string(argv[3]) +
                              "\"");
    } else if (argc != 2) {
        return UsageError("soak takes only --minutes M");
    }
    plan.warmUpMinutes = std::min(plan.warmUpMinutes, plan.minutes / 3.0);
    cli::SoakReport report;
    std::string error;
    const bool passed = cli::Soak(plan, &report, &error);
    std::fputs(cli::FormatSoakReport(report).c_str(), stdout);
    if (!passed)
        return Failed(error);
    std::puts("soak passed");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("%s %s\n", TONALYX_PRODUCT, TONALYX_VERSION);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        PrintUsage(stdout);
        return 0;
    }
    if (argc >= 2 && std::strcmp(argv[1], "analyze") == 0)
        return RunAnalyze(argc, argv);
    if (argc >= 2 && (std::strcmp(argv[1], "script") == 0 || std::strcmp(argv[1], "run") == 0))
        return RunScriptFile(argc, argv);
    if (argc >= 2 && std::strcmp(argv[1], "soak") == 0)
        return RunSoak(argc, argv);
    if (argc < 2)
        return UsageError("no command given");
    return UsageError(std::string("unknown command ") + argv[1]);
}
