// tonalyx-cli as scripts see it: exit codes and messages, the trace export and the pictures of
// WAV files analysed through the whole program, scripts of user actions, hostile WAV files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "port/headless/headless.h"
#include "scratch_dir.h"
#include "test_bitmaps.h"

namespace {

struct CliRun {
    int status;
    std::string out;
};

CliRun RunCli(const std::string& args) {
    const std::string command = std::string(TONALYX_CLI) + " " + args + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    CliRun run{-1, ""};
    if (pipe == nullptr)
        return run;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        run.out += buffer;
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

constexpr double kPi = 3.14159265358979323846;

struct WavSpec {
    uint16_t tag = 1; // 3: float
    uint16_t channels = 2;
    uint32_t rate = 44100;
    uint16_t bits = 16;
    bool extensible = false;
    double leftHz = 1000.0;
    double rightHz = 1000.0;
    double seconds = 1.0;
    double noise = 0.0; // peak of white noise added to the sines
};

// A RIFF/WAVE image of sines at half of full scale, one per channel (mono takes the left), with
// any noise. Wider samples hold the 16-bit ones less a part of a step, which rounds back to them.
std::string MakeWav(const WavSpec& w) {
    using testbmp::Put16;
    using testbmp::Put32;
    std::vector<uint8_t> data;
    const uint32_t frames = static_cast<uint32_t>(w.rate * w.seconds);
    uint32_t random = 1;
    for (uint32_t n = 0; n < frames; ++n) {
        for (int c = 0; c < w.channels; ++c) {
            const double hz = c == 1 ? w.rightHz : w.leftHz;
            random = random * 1664525u + 1013904223u;
            const double v = 0.5 * std::sin(2.0 * kPi * hz * n / w.rate) +
                             w.noise * (random / 2147483648.0 - 1.0);
            const long s16 = std::lround(v * 32767.0);
            if (w.bits == 8) {
                data.push_back(static_cast<uint8_t>(128 + std::lround(v * 127.0)));
            } else if (w.bits == 16) {
                Put16(data, static_cast<uint16_t>(s16));
            } else if (w.bits == 24) {
                const uint32_t s24 = static_cast<uint32_t>(s16 * 256 - 100);
                data.insert(data.end(), {static_cast<uint8_t>(s24), static_cast<uint8_t>(s24 >> 8),
                                         static_cast<uint8_t>(s24 >> 16)});
            } else if (w.tag == 3) {
                const float f = static_cast<float>((s16 - 0.3) / 32768.0);
                uint32_t word;
                std::memcpy(&word, &f, sizeof word);
                Put32(data, word);
            } else {
                Put32(data, static_cast<uint32_t>(s16 * 65536 - 30000));
            }
        }
    }
    const uint16_t align = static_cast<uint16_t>(w.channels * w.bits / 8);
    std::vector<uint8_t> image = {'R', 'I', 'F', 'F'};
    Put32(image, static_cast<uint32_t>((w.extensible ? 60 : 36) + data.size()));
    image.insert(image.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    Put32(image, w.extensible ? 40 : 16);
    Put16(image, w.extensible ? 0xFFFE : w.tag);
    Put16(image, w.channels);
    Put32(image, w.rate);
    Put32(image, w.rate * align);
    Put16(image, align);
    Put16(image, w.bits);
    if (w.extensible) {
        Put16(image, 22);
        Put16(image, w.bits);
        Put32(image, w.channels == 1 ? 4 : 3);
        Put16(image, w.tag);
        image.insert(image.end(), {0, 0, 0, 0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71});
    }
    image.insert(image.end(), {'d', 'a', 't', 'a'});
    Put32(image, static_cast<uint32_t>(data.size()));
    image.insert(image.end(), data.begin(), data.end());
    return std::string(image.begin(), image.end());
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

struct Export {
    std::string header;
    std::vector<std::vector<double>> rows;
};

// Checks every line against the export's format while reading it.
Export ReadExport(const std::string& path) {
    std::istringstream in(ReadFile(path));
    Export e;
    std::string line;
    const std::regex row(R"(-?\d+\.\d\d(, -?\d+\.\d\d)*\r)");
    std::getline(in, e.header);
    while (std::getline(in, line)) {
        EXPECT_TRUE(std::regex_match(line, row)) << "line " << e.rows.size() + 2 << ": " << line;
        std::vector<double> values;
        std::istringstream fields(line);
        for (std::string f; std::getline(fields, f, ',');)
            values.push_back(std::stod(f));
        e.rows.push_back(values);
    }
    return e;
}

// Frequency of the highest value in a column.
double PeakHz(const Export& e, std::size_t column) {
    std::size_t best = 0;
    for (std::size_t i = 0; i < e.rows.size(); ++i)
        if (e.rows[i].at(column) > e.rows[best].at(column))
            best = i;
    return e.rows[best][0];
}

class Cli : public ScratchDirTest {
protected:
    void TearDown() override {
        for (const auto& entry : std::filesystem::directory_iterator("."))
            std::filesystem::remove(entry.path());
        ScratchDirTest::TearDown();
    }
};

TEST(CliArguments, ErrorsExitWithReasonAndStatus) {
    const struct {
        const char* args;
        int status;
        const char* says;
    } cases[] = {
        {"--version", 0, "Tonalyx 1.2\n"},
        {"--help", 0, "Usage: tonalyx-cli"},
        {"", 2, "no command given"},
        {"--no-such-option", 2, "Usage: tonalyx-cli"},
        {"analyze", 2, "analyze needs a WAV file"},
        {"analyze a.wav", 2, "needs --export, --bands or --image"},
        {"analyze a.wav --bands b.csv", 2, "--bands needs a band mode: --mode 2, 3, 4, 5 or 7"},
        {"analyze a.wav --bands b.csv --mode 6", 2, "--bands needs a band mode"},
        {"analyze a.wav b.wav --export t.txt", 2, "one WAV file"},
        {"analyze a.wav --export", 2, "--export needs a value"},
        {"analyze a.wav --image i.png --mode 12", 2, "--mode must be 0..11"},
        {"analyze a.wav --image i.png --mode -1", 2, "--mode must be 0..11"},
        {"analyze a.wav --image i.png --mode 2x", 2, "needs a whole number"},
        {"analyze a.wav --image i.png --fft 1000", 2, "--fft must be"},
        {"analyze a.wav --image i.png --monitor 4", 2, "--monitor must be"},
        {"analyze a.wav --image i.png --weighting 5", 2, "--weighting must be"},
        {"analyze a.wav --image i.png --averaging 3", 2, "--averaging must be"},
        {"analyze a.wav --image i.png --decay 30", 2, "--decay must be"},
        {"analyze a.wav --image i.png --smoothing 4", 2, "--smoothing must be"},
        {"analyze a.wav --image i.png --gain 21", 2, "--gain must be"},
        {"analyze a.wav --image i.png --delay 1000", 2, "--delay must be"},
        {"analyze a.wav --image i.png --delay nan", 2, "--delay needs a number"},
        {"analyze a.wav --image i.png --size 449x300", 2, "view size must lie"},
        {"analyze a.wav --image i.png --size 640", 2, "--size needs WIDTHxHEIGHT"},
        {"analyze a.wav --image i.png --loud", 2, "unknown option --loud"},
        {"analyze missing.wav --export t.txt", 1, "missing.wav: cannot open the file"},
        {"analyze . --export t.txt", 1, ".: cannot read the file"}, // a folder opens like a file
        {"run .", 1, ".: cannot read the script"},
        {"script", 2, "needs exactly one script file"},
        {"run missing.script", 1, "missing.script: cannot read the script"},
    };
    for (const auto& c : cases) {
        const CliRun run = RunCli(c.args);
        EXPECT_EQ(run.status, c.status) << c.args;
        EXPECT_NE(run.out.find(c.says), std::string::npos) << c.args << "\n" << run.out;
    }
}

TEST_F(Cli, SineExportPeaksAtItsFrequencyInTheExportFormat) {
    WriteFile("sine.wav", MakeWav({}));
    WriteFile("RTA.DAT", "the caller's own settings");
    const CliRun run = RunCli("analyze sine.wav --export trace.txt");
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(ReadFile("RTA.DAT"), "the caller's own settings") << "runs use their own folder";

    const Export e = ReadExport("trace.txt");
    EXPECT_EQ(e.header, "Frequency (Hz), Left (dB)\r");
    ASSERT_EQ(e.rows.size(), 4097u) << "one line per bin at 8192 points";
    EXPECT_EQ(e.rows[1][0], 5.38);
    EXPECT_EQ(e.rows[1].size(), 2u);
    EXPECT_NEAR(PeakHz(e, 1), 1000.0, 44100.0 / 8192);
}

TEST_F(Cli, MonoFeedsBothChannelsAndStereoKeepsThemApart) {
    WavSpec mono;
    mono.channels = 1;
    mono.rate = 22050;
    WavSpec both = mono;
    both.channels = 2;
    WavSpec apart = both;
    apart.rightHz = 3000.0;
    WriteFile("mono.wav", MakeWav(mono));
    WriteFile("both.wav", MakeWav(both));
    WriteFile("apart.wav", MakeWav(apart));
    const double bin = 22050.0 / 4096;
    const struct {
        const char* args;
        double leftHz, rightHz;
    } cases[] = {
        {"mono.wav --monitor 3", 1000.0, 1000.0},
        {"both.wav --monitor 3", 1000.0, 1000.0},
        {"apart.wav --monitor 3", 1000.0, 3000.0},
        {"apart.wav --monitor 3 --swap", 3000.0, 1000.0},
    };
    std::vector<std::string> exports;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const CliRun run = RunCli(std::string("analyze ") + c.args + " --fft 4096 --export t.txt");
        ASSERT_EQ(run.status, 0) << run.out;
        exports.push_back(ReadFile("t.txt"));
        const Export e = ReadExport("t.txt");
        EXPECT_EQ(e.header, "Frequency (Hz), Left (dB), Right (dB)\r");
        ASSERT_EQ(e.rows.size(), 2049u);
        EXPECT_NEAR(PeakHz(e, 1), c.leftHz, bin);
        EXPECT_NEAR(PeakHz(e, 2), c.rightHz, bin);
    }
    EXPECT_EQ(exports[0], exports[1]) << "mono feeds both channels alike";
}

TEST_F(Cli, OptionsActAsTheirControlsDo) {
    WavSpec apart;
    apart.rightHz = 3000.0;
    WriteFile("apart.wav", MakeWav(apart));
    const auto peakDb = [](const Export& e, std::size_t column) {
        double top = -1000.0;
        for (const auto& row : e.rows)
            top = std::max(top, row.at(column));
        return top;
    };
    ASSERT_EQ(RunCli("analyze apart.wav --export plain.txt").status, 0);
    const double plain = peakDb(ReadExport("plain.txt"), 1);
    const struct {
        const char* options;
        const char* header;
        double peakHz;     // of the second column; NAN: not checked
        double peakChange; // likewise, in dB against the plain run
    } cases[] = {
        {"--gain 10", "Frequency (Hz), Left (dB)", NAN, 10.0},
        {"--gain -20", "Frequency (Hz), Left (dB)", NAN, -20.0},
        {"--monitor 1", "Frequency (Hz), Left (dB)", 1000.0, NAN},
        {"--monitor 2", "Frequency (Hz), Left (dB)", 3000.0, NAN},
        {"--mode 9", "Frequency (Hz), dB", NAN, NAN},
        {"--mode 10 --delay 2", "Frequency (Hz), Phase", NAN, NAN},
        {"--mode 7 --weighting 0", "Frequency (Hz), Left (dB)", NAN, 0.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options);
        ASSERT_EQ(RunCli(std::string("analyze apart.wav --export t.txt ") + c.options).status, 0);
        const Export e = ReadExport("t.txt");
        EXPECT_EQ(e.header, std::string(c.header) + "\r");
        if (!std::isnan(c.peakHz)) {
            EXPECT_NEAR(PeakHz(e, 1), c.peakHz, 44100.0 / 8192);
        }
        if (!std::isnan(c.peakChange)) {
            EXPECT_NEAR(peakDb(e, 1) - plain, c.peakChange, 0.1);
        }
    }
}

TEST_F(Cli, ImagesHaveTheSizeAskedForInEitherFormat) {
    WriteFile("sine.wav", MakeWav({}));
    const CliRun run = RunCli("analyze sine.wav --image v.png --size 500x300 --mode 1");
    ASSERT_EQ(run.status, 0) << run.out;
    ASSERT_EQ(RunCli("analyze sine.wav --image v.bmp --size 500x300 --mode 1").status, 0);
    headless::Image png;
    headless::Image bmp;
    ASSERT_TRUE(headless::ReadImage("v.png", &png));
    ASSERT_TRUE(headless::ReadImage("v.bmp", &bmp));
    EXPECT_EQ(png.width, 500);
    EXPECT_EQ(png.height, 300);
    EXPECT_EQ(png.pixels, bmp.pixels);

    EXPECT_EQ(RunCli("analyze sine.wav --image no/such/folder/v.png").status, 1);
    const CliRun partial = RunCli("analyze sine.wav --export t.txt --image no/such/v.bmp");
    EXPECT_EQ(partial.status, 1);
    EXPECT_NE(partial.out.find("cannot write the picture to no/such/v.bmp"), std::string::npos);
}

TEST_F(Cli, ScriptModeChangeDrawsWhatTheCommandLineDraws) {
    WriteFile("sine.wav", MakeWav({}));
    WriteFile("octave.script", "# a mode chosen in the Scale combo\n"
                               "wav sine.wav\n"
                               "select 1005 2   # Octave\n"
                               "frames 21\n"
                               "screenshot script.png\n");
    ASSERT_EQ(RunCli("script octave.script").status, 0);
    ASSERT_EQ(RunCli("analyze sine.wav --mode 2 --image cli.png").status, 0);
    ASSERT_EQ(RunCli("analyze sine.wav --image linear.png").status, 0);
    headless::Image script, cli, linear;
    ASSERT_TRUE(headless::ReadImage("script.png", &script));
    ASSERT_TRUE(headless::ReadImage("cli.png", &cli));
    ASSERT_TRUE(headless::ReadImage("linear.png", &linear));
    EXPECT_EQ(script.pixels, cli.pixels);
    EXPECT_NE(script.pixels, linear.pixels);
}

TEST_F(Cli, ScriptLinesAreCheckedAndMenusAnswered) {
    const struct {
        const char* script;
        int status;
        const char* says; // empty: nothing
        bool shot;        // the screenshot after close was taken
    } cases[] = {
        {"tone sine 500\nframes 6\nmenu-answer 1\nclose\nscreenshot s.bmp\n", 0, "", true},
        {"tone sine 500\nframes 6\nmenu-answer 2\nclose\nscreenshot s.bmp\n", 0, "", false},
        {"tone sine 500\nframes 6\ncommand 500  # File, Exit\nscreenshot s.bmp\n", 0, "", false},
        {"frames 6\n\n# nothing\nfly away\nscreenshot s.bmp\n", 1, "s:4: unknown action \"fly\"",
         false},
        {"frames x\n", 1, "s:1: \"x\" is not a whole number", false},
        {"frames 6\nmouse left 1 2\n", 1, "s:2: \"left\" is not one of the names", false},
        {"tone saw 100\n", 1, "s:1: tone takes silence, sine or noise", false},
        {"select 1005\n", 1, "s:1: wrong number of words for select", false},
        {"frames 1\nexport t.txt\n", 1, "s:2: nothing has been analysed yet", false},
        {"frames 9\nwav gone.wav\n", 1, "s:2: gone.wav: cannot open the file", false},
        {"rate 48000\n", 1, "s:1: rate takes 44100, 22050, 11025 or 8000", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        std::remove("s.bmp");
        WriteFile("s", c.script);
        const CliRun run = RunCli("script s");
        EXPECT_EQ(run.status, c.status);
        if (*c.says == '\0')
            EXPECT_EQ(run.out, "");
        else
            EXPECT_NE(run.out.find(c.says), std::string::npos) << run.out;
        EXPECT_EQ(std::filesystem::exists("s.bmp"), c.shot);
    }
}

TEST_F(Cli, WideAndFloatSamplesAnalyseAsTheirSixteenBitSignal) {
    const struct {
        uint16_t tag, bits, channels;
        bool extensible;
        uint32_t rate;
    } cases[] = {
        {1, 24, 2, false, 44100}, {1, 32, 1, false, 22050}, {3, 32, 2, false, 11025},
        {3, 32, 1, true, 8000},   {1, 16, 2, true, 44100},  {1, 24, 1, true, 22050},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.bits) + " bits, tag " + std::to_string(c.tag) +
                     (c.extensible ? ", extensible, " : ", ") + std::to_string(c.rate));
        WavSpec spec;
        spec.channels = c.channels;
        spec.rate = c.rate;
        spec.rightHz = 3000.0;
        WriteFile("sixteen.wav", MakeWav(spec));
        spec.tag = c.tag;
        spec.bits = c.bits;
        spec.extensible = c.extensible;
        WriteFile("wide.wav", MakeWav(spec));
        const std::string options = " --fft 2048 --monitor 3 --export ";
        ASSERT_EQ(RunCli("analyze sixteen.wav" + options + "a.txt").status, 0);
        const CliRun run = RunCli("analyze wide.wav" + options + "b.txt");
        ASSERT_EQ(run.status, 0) << run.out;
        EXPECT_EQ(ReadFile("a.txt"), ReadFile("b.txt"));
    }
}

// Band rows "centre, low, high[, level]..."; an empty level field is NAN.
std::vector<std::vector<double>> ReadBands(const std::string& path, std::string* header,
                                           std::string* spl) {
    std::istringstream in(ReadFile(path));
    std::getline(in, *header);
    std::vector<std::vector<double>> rows;
    const std::regex row(R"(\d+\.\d\d, \d+\.\d\d, \d+\.\d\d(, (-?\d+\.\d\d)?)+\r)");
    for (std::string line; std::getline(in, line);) {
        if (line.compare(0, 4, "SPL ") == 0) {
            *spl = line;
            continue;
        }
        EXPECT_TRUE(std::regex_match(line, row)) << line;
        std::vector<double> values;
        std::istringstream fields(line);
        for (std::string f; std::getline(fields, f, ',');)
            values.push_back(f == " " || f == " \r" ? NAN : std::stod(f));
        rows.push_back(values);
    }
    return rows;
}

// Each band's level is the power sum of the exported spectrum's bins from its lower edge up to
// its upper one, leaving out bins at the floor; a band without a bin has no level.
TEST_F(Cli, BandLevelsArePowerSumsOfTheSpectrumsBins) {
    WavSpec apart;
    apart.rightHz = 3000.0;
    apart.noise = 0.01;
    WriteFile("apart.wav", MakeWav(apart));
    WavSpec low = apart;
    low.rate = 8000;
    WriteFile("low.wav", MakeWav(low));
    const struct {
        const char* args;
        std::size_t rows;  // bands whose lower edge lies below half the rate
        std::size_t empty; // of them, bands that no bin reaches
        const char* spl;   // the SPL line's start; empty: none
    } cases[] = {
        {"apart.wav --mode 2", 11, 0, ""},
        {"apart.wav --mode 3 --fft 32768", 32, 0, ""},
        {"low.wav --mode 5 --fft 2048", 96, 12, ""},
        {"apart.wav --mode 7", 11, 0, "SPL (dBA), "},
        {"apart.wav --mode 7 --weighting 0", 11, 0, "SPL (dB), "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const CliRun run =
            RunCli(std::string("analyze ") + c.args + " --monitor 3 --export t.txt --bands b.csv");
        ASSERT_EQ(run.status, 0) << run.out;
        const Export e = ReadExport("t.txt");
        std::string header, spl;
        const auto bands = ReadBands("b.csv", &header, &spl);
        EXPECT_EQ(header, "Centre (Hz), Low (Hz), High (Hz), Left (dB), Right (dB)\r");
        ASSERT_EQ(bands.size(), c.rows);
        std::size_t empty = 0;
        double splEnergy = 0.0;
        for (const auto& band : bands) {
            for (std::size_t channel = 1; channel <= 2; ++channel) {
                double energy = 0.0;
                int bins = 0;
                for (const auto& bin : e.rows) {
                    if (bin[0] < band[1] || bin[0] >= band[2])
                        continue;
                    ++bins;
                    if (bin[channel] > -100.0)
                        energy += std::pow(10.0, bin[channel] / 10.0);
                }
                const double level = band.at(2 + channel);
                if (bins == 0) {
                    EXPECT_TRUE(std::isnan(level)) << band[0] << " Hz";
                    empty += channel == 1;
                } else {
                    EXPECT_NEAR(level, energy > 0.0 ? 10.0 * std::log10(energy) : -100.0, 0.02)
                        << band[0] << " Hz";
                }
                if (channel == 1)
                    splEnergy += energy;
            }
        }
        EXPECT_EQ(empty, c.empty);
        if (*c.spl == '\0') {
            EXPECT_EQ(spl, "");
        } else {
            ASSERT_EQ(spl.compare(0, std::strlen(c.spl), c.spl), 0) << spl;
            // Channel 1 with the calibration of 100 dB.
            EXPECT_NEAR(std::stod(spl.substr(std::strlen(c.spl))),
                        10.0 * std::log10(splEnergy) + 100.0, 0.06);
        }
    }
}

// Run under AddressSanitizer, the program must read none of these past their bytes.
TEST_F(Cli, HostileWavFilesAreRefusedWithTheirReason) {
    WavSpec eightBit;
    eightBit.bits = 8;
    WavSpec three;
    three.channels = 3;
    WavSpec rate48k;
    rate48k.rate = 48000;
    WavSpec brief;
    brief.seconds = 0.2;
    const std::string good = MakeWav({});
    std::string hugeData = good;
    hugeData.replace(40, 4, "\xff\xff\xff\x7f");
    std::string hugeFmt = good;
    hugeFmt.replace(16, 4, "\xf0\xff\xff\xff");
    const struct {
        const char* what;
        std::string bytes;
        const char* says;
    } cases[] = {
        {"8-bit", MakeWav(eightBit), "8-bit PCM samples (16-, 24- or 32-bit PCM or 32-bit float)"},
        {"3 channels", MakeWav(three), "3 channels (mono or stereo only)"},
        {"48000 Hz", MakeWav(rate48k),
         "unsupported sample rate 48000 Hz (the analyzer captures at 44100, 22050, 11025 or 8000"},
        {"truncated", good.substr(0, good.size() / 2), "a chunk runs past the end"},
        {"header only", good.substr(0, 30), "a chunk runs past the end"},
        {"data size past the end", hugeData, "a chunk runs past the end"},
        {"fmt size past the end", hugeFmt, "a chunk runs past the end"},
        {"empty", "", "not a RIFF/WAVE file"},
        {"text", "hello, world", "not a RIFF/WAVE file"},
        {"shorter than one analysis", MakeWav(brief), "too short"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFile("bad.wav", c.bytes);
        const CliRun run = RunCli("analyze bad.wav --export t.txt --image i.bmp");
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.out.find(std::string("bad.wav: ") + c.says), std::string::npos) << run.out;
        EXPECT_FALSE(std::filesystem::exists("t.txt"));
        EXPECT_FALSE(std::filesystem::exists("i.bmp"));
    }
}

} // namespace
