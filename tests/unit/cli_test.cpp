// tonalyx-cli as scripts see it: exit codes and messages, the trace and band exports and the
// pictures of WAV files analysed through the whole program, scripts of user actions, hostile WAV
// files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "cli/script.h"
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
    if (pipe == nullptr)
        return {-1, ""};
    CliRun run{-1, ""};
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        run.out += buffer;
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

constexpr double kPi = 3.14159265358979323846;

struct WavSpec {
    uint16_t channels = 2;
    uint32_t rate = 44100;
    double rightHz = 1000.0; // the left channel's sine is at 1 kHz
    double noise = 0.0;      // peak of white noise added to the sines
    uint16_t bits = 16;
    uint16_t tag = 1; // 3: float
    bool extensible = false;
};

// A RIFF/WAVE image of a second of sines at half of full scale, one per channel (mono takes the
// left), with any noise. Wider samples hold the 16-bit ones less a part of a step, which rounds
// back to them.
std::string MakeWav(const WavSpec& w) {
    using testbmp::Put16;
    using testbmp::Put32;
    std::vector<uint8_t> data;
    uint32_t random = 1;
    for (uint32_t n = 0; n < w.rate; ++n) {
        for (int c = 0; c < w.channels; ++c) {
            random = random * 1664525u + 1013904223u;
            const double v =
                0.5 * std::sin(2.0 * kPi * (c == 1 ? w.rightHz : 1000.0) * n / w.rate) +
                w.noise * (random / 2147483648.0 - 1.0);
            const long s16 = std::lround(v * 32767.0);
            const float f = static_cast<float>((s16 - 0.3) / 32768.0);
            uint32_t word = static_cast<uint32_t>(s16 * 65536 - (w.bits > 16 ? 30000 : 0));
            if (w.tag == 3)
                std::memcpy(&word, &f, sizeof word);
            for (int b = 4 - w.bits / 8; b < 4; ++b)
                data.push_back(static_cast<uint8_t>(word >> 8 * b));
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

struct Table {
    std::string header, spl;
    std::vector<std::vector<double>> rows;
};

// An export's lines, each checked against its format (trace rows "frequency, level..."; band
// rows "centre, low, high, level...", where an empty level is NAN, and an SPL line).
Table ReadTable(const std::string& path, bool bands = false) {
    const std::regex row(bands ? R"(\d+\.\d\d, \d+\.\d\d, \d+\.\d\d(, (-?\d+\.\d\d)?)+\r)"
                               : R"(-?\d+\.\d\d(, -?\d+\.\d\d)*\r)");
    std::istringstream in(ReadFile(path));
    Table t;
    std::getline(in, t.header);
    for (std::string line; std::getline(in, line);) {
        if (bands && line.compare(0, 4, "SPL ") == 0) {
            t.spl = line;
            continue;
        }
        EXPECT_TRUE(std::regex_match(line, row))
            << path << ":" << t.rows.size() + 2 << ": " << line;
        std::vector<double> values;
        std::istringstream fields(line);
        for (std::string f; std::getline(fields, f, ',');)
            values.push_back(f == " " || f == " \r" ? NAN : std::stod(f));
        EXPECT_EQ(values.size(), std::count(t.header.begin(), t.header.end(), ',') + 1u) << line;
        t.rows.push_back(values);
    }
    return t;
}

// The row holding the highest value of a column: its frequency first.
const std::vector<double>& PeakRow(const Table& t, std::size_t column) {
    return *std::max_element(t.rows.begin(), t.rows.end(), [column](const auto& a, const auto& b) {
        return a.at(column) < b.at(column);
    });
}

class Cli : public ::testing::Test {
    ScratchDir scratch_;
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

// The sines of the WAV file where the options put them, one line a bin, at the level the gain
// gives; the run leaves the settings file of the caller's folder alone.
TEST_F(Cli, ExportsShowTheSinesWhereTheOptionsPutThem) {
    WriteFile("RTA.DAT", "the caller's own settings");
    WriteFile("mono.wav", MakeWav({1}));
    WriteFile("both.wav", MakeWav({}));
    WriteFile("apart.wav", MakeWav({2, 44100, 3000.0}));
    const struct {
        const char* args;
        int fft;
        const char* columns;    // of the header, after the frequency
        double leftHz, rightHz; // the peaks of the second and third columns; NAN: not checked
        double gainDb;          // the second column's peak against the first case's; likewise
    } cases[] = {
        {"apart.wav", 8192, "Left (dB)", 1000.0, NAN, 0.0},
        {"apart.wav --gain 10", 8192, "Left (dB)", 1000.0, NAN, 10.0},
        {"apart.wav --gain -20", 8192, "Left (dB)", NAN, NAN, -20.0},
        {"apart.wav --mode 7 --weighting 0", 8192, "Left (dB)", NAN, NAN, 0.0},
        {"apart.wav --monitor 1", 8192, "Left (dB)", 1000.0, NAN, NAN},
        {"apart.wav --monitor 2", 8192, "Left (dB)", 3000.0, NAN, NAN},
        {"apart.wav --monitor 3", 4096, "Left (dB), Right (dB)", 1000.0, 3000.0, NAN},
        {"apart.wav --monitor 3 --swap", 4096, "Left (dB), Right (dB)", 3000.0, 1000.0, NAN},
        {"mono.wav --monitor 3", 4096, "Left (dB), Right (dB)", 1000.0, 1000.0, NAN},
        {"both.wav --monitor 3", 4096, "Left (dB), Right (dB)", 1000.0, 1000.0, NAN},
        {"apart.wav --mode 9", 8192, "dB", NAN, NAN, NAN},
        {"apart.wav --mode 10 --delay 2", 8192, "Phase", NAN, NAN, NAN},
    };
    double plainDb = NAN;
    std::map<std::string, std::string> exported;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const CliRun run = RunCli(std::string("analyze ") + c.args + " --fft " +
                                  std::to_string(c.fft) + " --export t.txt");
        ASSERT_EQ(run.status, 0) << run.out;
        EXPECT_EQ(run.out, "");
        exported[c.args] = ReadFile("t.txt");
        const Table t = ReadTable("t.txt");
        EXPECT_EQ(t.header, std::string("Frequency (Hz), ") + c.columns + "\r");
        ASSERT_EQ(t.rows.size(), c.fft / 2 + 1u);
        const double bin = 44100.0 / c.fft;
        EXPECT_NEAR(t.rows[1][0], bin, 0.005);
        if (!std::isnan(c.leftHz)) {
            EXPECT_NEAR(PeakRow(t, 1)[0], c.leftHz, bin);
        }
        if (!std::isnan(c.rightHz)) {
            EXPECT_NEAR(PeakRow(t, 2)[0], c.rightHz, bin);
        }
        plainDb = std::isnan(plainDb) ? PeakRow(t, 1)[1] : plainDb;
        if (!std::isnan(c.gainDb)) {
            EXPECT_NEAR(PeakRow(t, 1)[1] - plainDb, c.gainDb, 0.1);
        }
    }
    EXPECT_EQ(exported["mono.wav --monitor 3"], exported["both.wav --monitor 3"])
        << "mono feeds both channels alike";
    EXPECT_EQ(ReadFile("RTA.DAT"), "the caller's own settings");
}

// A script's mode change draws what the option draws, in PNG as in BMP, at the size asked for.
TEST_F(Cli, ImagesOfScriptsAndOptionsAgreeInEitherFormat) {
    WriteFile("sine.wav", MakeWav({}));
    WriteFile("octave.script", "wav sine.wav\n"
                               "size 500 300\n"
                               "select 1005 2   # Octave in the Scale combo\n"
                               "frames 21\n"
                               "screenshot script.png\n");
    ASSERT_EQ(RunCli("script octave.script").status, 0);
    const char* names[] = {"script.png", "v.png", "v.bmp", "linear.png"};
    for (const char* options :
         {"--mode 2 --image v.png", "--mode 2 --image v.bmp", "--image linear.png"})
        ASSERT_EQ(RunCli(std::string("analyze sine.wav --size 500x300 ") + options).status, 0);
    headless::Image image[4];
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(headless::ReadImage(names[i], &image[i])) << names[i];
    EXPECT_EQ(image[1].width, 500);
    EXPECT_EQ(image[1].height, 300);
    EXPECT_EQ(image[0].pixels, image[1].pixels);
    EXPECT_EQ(image[1].pixels, image[2].pixels);
    EXPECT_NE(image[1].pixels, image[3].pixels);

    EXPECT_EQ(RunCli("analyze sine.wav --image no/such/folder/v.png").status, 1);
    const CliRun partial = RunCli("analyze sine.wav --export t.txt --image no/such/v.bmp");
    EXPECT_EQ(partial.status, 1);
    EXPECT_NE(partial.out.find("cannot write the picture to no/such/v.bmp"), std::string::npos);
}

// The whole script is checked before its first action runs, so a wrong line leaves no screenshot
// of the lines before it. Scripts from an untrusted source (limited) are held to few frames and
// to files of the current folder.
TEST_F(Cli, ScriptLinesAreCheckedAndMenusAnswered) {
    const struct {
        const char* script;
        bool limited;
        const char* says; // the reason's start; empty: the script runs
        bool shot;        // the script's screenshot was taken
    } cases[] = {
        {"frames 6\nmenu-answer 1\nclose\nscreenshot s.bmp\n", false, "", true},
        {"frames 6\nmenu-answer 2\nclose\nscreenshot s.bmp\n", false, "", false},
        {"frames 6\ncommand 500  # File, Exit\nscreenshot s.bmp\n", false, "", false},
        {"frames 6\n\n# nothing\nscreenshot s.bmp\nfly\n", false, "s:5: unknown action", false},
        {"frames x\n", false, "s:1: \"x\" is not a whole number", false},
        {"frames 6\nmouse left 1 2\n", false, "s:2: \"left\" is not one of the names", false},
        {"tone saw 100\n", false, "s:1: tone takes silence, sine or noise", false},
        {"select 1005\n", false, "s:1: wrong number of words for select", false},
        {"frames 1\nexport t.txt\n", false, "s:2: nothing has been analysed yet", false},
        {"frames 9\nscreenshot s.bmp\nwav gone.wav\n", false, "s:3: gone.wav: cannot open", true},
        {"rate 48000\n", false, "s:1: rate takes 44100, 22050, 11025 or 8000", false},
        {"frames 6\nsave-answer cancel\nscreenshot s.bmp\n", true, "", true},
        {"frames 6\nscreenshot s.bmp\nframes 19\n", true, "s:3: the script asks for more than 24",
         false},
        {"frames 6\nscreenshot s.bmp\nexport /t.txt\n", true, "s:3: \"/t.txt\" is not a plain",
         false},
        {"frames 6\nscreenshot s.bmp\nexport ../t\n", true, "s:3: \"../t\" is not a plain", false},
        {"frames 6\nscreenshot s.bmp\nsave-answer a\\t\n", true, "s:3: \"a\\t\" is not a plain",
         false},
        {"frames 6\nscreenshot s.bmp\nwav C:x\n", true, "s:3: \"C:x\" is not a plain", false},
        {"frames 6\nscreenshot s.bmp\nwav ..\n", true, "s:3: \"..\" is not a plain", false},
    };
    const cli::ScriptLimits limited{24, true}; // 24 frames in all, plain file names
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        std::string error;
        EXPECT_EQ(
            cli::RunScriptText(c.script, "s", &error, c.limited ? limited : cli::ScriptLimits{}),
            *c.says == '\0');
        EXPECT_EQ(error.rfind(c.says, 0), 0u) << error;
        EXPECT_EQ(std::remove("s.bmp") == 0, c.shot);
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
        WriteFile("sixteen.wav", MakeWav({c.channels, c.rate, 3000.0}));
        WriteFile("wide.wav",
                  MakeWav({c.channels, c.rate, 3000.0, 0.0, c.bits, c.tag, c.extensible}));
        const std::string options = " --fft 2048 --monitor 3 --export ";
        ASSERT_EQ(RunCli("analyze sixteen.wav" + options + "a.txt").status, 0);
        const CliRun run = RunCli("analyze wide.wav" + options + "b.txt");
        ASSERT_EQ(run.status, 0) << run.out;
        EXPECT_EQ(ReadFile("a.txt"), ReadFile("b.txt"));
    }
}

// Each band's level is the power sum of the exported spectrum's bins from its lower edge up to
// its upper one, leaving out bins at the floor; a band without a bin has no level. The SPL line
// sums the left channel's bins, with the calibration of 100 dB.
TEST_F(Cli, BandLevelsArePowerSumsOfTheSpectrumsBins) {
    WriteFile("apart.wav", MakeWav({2, 44100, 3000.0, 0.01}));
    WriteFile("low.wav", MakeWav({2, 8000, 3000.0, 0.01}));
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
        const Table spectrum = ReadTable("t.txt");
        const Table bands = ReadTable("b.csv", true);
        EXPECT_EQ(bands.header, "Centre (Hz), Low (Hz), High (Hz), Left (dB), Right (dB)\r");
        ASSERT_EQ(bands.rows.size(), c.rows);
        std::size_t empty = 0;
        double leftEnergy = 0.0;
        for (const auto& band : bands.rows) {
            for (std::size_t channel = 1; channel <= 2; ++channel) {
                double energy = 0.0;
                int bins = 0;
                for (const auto& bin : spectrum.rows) {
                    if (bin[0] >= band[1] && bin[0] < band[2]) {
                        ++bins;
                        energy += bin[channel] > -100.0 ? std::pow(10.0, bin[channel] / 10.0) : 0.0;
                    }
                }
                const double level = band.at(2 + channel);
                if (bins == 0) {
                    EXPECT_TRUE(std::isnan(level)) << band[0] << " Hz";
                } else {
                    EXPECT_NEAR(level, energy > 0.0 ? 10.0 * std::log10(energy) : -100.0, 0.02)
                        << band[0] << " Hz";
                }
                empty += bins == 0 && channel == 1;
                leftEnergy += channel == 1 ? energy : 0.0;
            }
        }
        EXPECT_EQ(empty, c.empty);
        ASSERT_EQ(bands.spl.compare(0, std::strlen(c.spl), c.spl), 0) << bands.spl;
        if (*c.spl == '\0') {
            EXPECT_EQ(bands.spl, "");
        } else {
            EXPECT_NEAR(std::stod(bands.spl.substr(std::strlen(c.spl))),
                        10.0 * std::log10(leftEnergy) + 100.0, 0.06);
        }
    }
}

// Run under AddressSanitizer, the program must read none of these past their bytes.
TEST_F(Cli, HostileWavFilesAreRefusedWithTheirReason) {
    const std::string good = MakeWav({});
    const auto patched = [&good](std::size_t offset, const char* bytes) {
        return std::string(good).replace(offset, 4, bytes);
    };
    const struct {
        const char* what;
        std::string bytes;
        const char* says;
    } cases[] = {
        {"8-bit", MakeWav({2, 44100, 1000.0, 0.0, 8}),
         "8-bit PCM samples (16-, 24- or 32-bit PCM or 32-bit float)"},
        {"3 channels", MakeWav({3}), "3 channels (mono or stereo only)"},
        {"48000 Hz", MakeWav({2, 48000}),
         "unsupported sample rate 48000 Hz (the analyzer captures at 44100, 22050, 11025 or 8000"},
        {"truncated", good.substr(0, good.size() / 2), "a chunk runs past the end"},
        {"header only", good.substr(0, 30), "a chunk runs past the end"},
        {"data size past the end", patched(40, "\xff\xff\xff\x7f"), "a chunk runs past the end"},
        {"fmt size past the end", patched(16, "\xf0\xff\xff\xff"), "a chunk runs past the end"},
        {"empty", "", "not a RIFF/WAVE file"},
        {"text", "hello, world", "not a RIFF/WAVE file"},
        {"shorter than one analysis", MakeWav({1, 8000}), "too short: 8000"},
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
