// The tone generator: sine, white and pink tables checked against closed forms and a naive
// double-precision DFT, the frequency text as typed, and the tone played through the engine into
// the headless device, also while the engine thread mixes under ThreadSanitizer.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <complex>
#include <cstdint>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

#include "port/headless/headless.h"
#include "port/headless/headless_wave_out.h"
#include "sound/sound.h"
#include "state/state.h"
#include "ui/tone_generator.h"

namespace {

// Amplitude of the component at frequency hz of 8-bit samples around 128.
double DftAmplitude(const uint8_t* samples, std::size_t count, double hz, double rate) {
    const double pi = 3.14159265358979323846;
    std::complex<double> sum = 0.0;
    for (std::size_t n = 0; n < count; ++n)
        sum += (samples[n] - 128.0) * std::polar(1.0, -2.0 * pi * hz * n / rate);
    return 2.0 * std::abs(sum) / count;
}

std::vector<uint8_t> Table() {
    return std::vector<uint8_t>(kToneTableSize);
}

TEST(ToneTables, SineHoldsWholePeriods) {
    struct Case {
        int32_t frequency;
        int32_t length;
    };
    const Case cases[] = {
        {1000, 262130},      {16000, 262141}, {440, 262094},
        {1, 220500},         {22050, 262144}, {0, 220500},     // taken as 1 Hz
        {-5, 255780},        {5, 255780},     {96000, 262143}, // as typed
        {INT32_MAX, 262143},
    };
    std::vector<uint8_t> table = Table();
    for (const Case& c : cases)
        EXPECT_EQ(FillSine(c.frequency, 64, table.data()), c.length) << c.frequency << " Hz";

    // Every frequency keeps the loop inside the table and within a sample of whole periods.
    for (int32_t f = -100000; f <= 100000; f += 997) {
        const int32_t length = FillSine(f, 64, table.data());
        ASSERT_GE(length, 1);
        ASSERT_LE(length, kToneTableSize);
        const double periods = length * std::abs(static_cast<double>(f)) / kToneRate;
        ASSERT_LT(std::abs(periods - std::round(periods)), std::abs(1.0 * f) / kToneRate)
            << f << " Hz";
    }
}

TEST(ToneTables, SineAmplitudeAndFrequency) {
    std::vector<uint8_t> table = Table();
    // Four samples a period reach both peaks exactly.
    FillSine(11025, 127, table.data());
    EXPECT_EQ(*std::min_element(table.begin(), table.end()), 1);
    EXPECT_EQ(*std::max_element(table.begin(), table.end()), 255);

    const int32_t length = FillSine(1000, 127, table.data());
    EXPECT_NEAR(table[length], table[0], 1) << "the loop does not join";
    // 5944 whole periods in the loop: all power in that one DFT bin.
    const double rate = kToneRate * (length / (5944 * 44.1));
    EXPECT_NEAR(DftAmplitude(table.data(), length, 1000.0, rate), 127.0, 1.0);
    EXPECT_LT(DftAmplitude(table.data(), length, 1000.0 * 5947 / 5944, rate), 0.5);
    EXPECT_LT(DftAmplitude(table.data(), length, 1000.0 * 5941 / 5944, rate), 0.5);

    // A negative frequency plays the sine with inverted phase.
    std::vector<uint8_t> inverted = Table();
    FillSine(-1000, 127, inverted.data());
    for (int32_t i = 0; i < length; ++i)
        ASSERT_NEAR(inverted[i] + table[i], 256, 1) << i;

    FillSine(1000, 0, table.data());
    EXPECT_EQ(table, std::vector<uint8_t>(kToneTableSize, 128)) << "volume 0";
    std::vector<uint8_t> loud = Table();
    FillSine(1000, 500, loud.data());
    FillSine(1000, 127, table.data());
    EXPECT_EQ(loud, table) << "volume above 127";
}

TEST(ToneTables, PinkNoiseIsCentredAndFallsWithFrequency) {
    PinkNoiseState state{};
    PinkNoiseInit(state, 128);
    std::vector<uint8_t> table = Table();
    EXPECT_EQ(FillPinkNoise(127, state, table.data()), kToneTableSize);
    EXPECT_GE(*std::min_element(table.begin(), table.end()), 68);
    EXPECT_LE(*std::max_element(table.begin(), table.end()), 188);
    const double mean = std::accumulate(table.begin(), table.end(), 0.0) / table.size();
    EXPECT_NEAR(mean, 128.0, 2.0);

    // Power at low frequencies (all five sources) against near Nyquist (the fastest alone).
    const std::size_t n = 32768;
    double low = 0.0;
    double high = 0.0;
    for (int k = 0; k < 8; ++k) {
        low += std::pow(DftAmplitude(table.data(), n, 60.0 + 10.0 * k, kToneRate), 2);
        high += std::pow(DftAmplitude(table.data(), n, 20000.0 + 10.0 * k, kToneRate), 2);
    }
    EXPECT_GT(low, 3.0 * high);

    // Turned down, even the sources not yet redrawn stay within the new range: 0..15 around 128.
    FillPinkNoise(20, state, table.data());
    EXPECT_GE(*std::min_element(table.begin(), table.end()), 121);
    EXPECT_LE(*std::max_element(table.begin(), table.end()), 136);

    FillPinkNoise(0, state, table.data());
    EXPECT_EQ(table, std::vector<uint8_t>(kToneTableSize, 128)) << "volume 0";
}

// The tone through the engine into the headless device, paced by hand.
class TonePlayback : public ::testing::Test {
protected:
    void SetUp() override {
        headless::RestoreWaveOutDefaults();
        headless::SetWaveOutPacing(headless::WaveOutPacing::Manual);
        ResetAnalyzerState();
        toneVoice = 0;
        PinkNoiseInit(pinkNoise, 128);
        presses.clear();
        ASSERT_EQ(soundEngine.Open(44100, 0), 1);
    }
    void TearDown() override {
        soundEngine.Close();
        headless::RestoreWaveOutDefaults();
    }
    // Plays `buffers` buffers, each once the engine has queued all five again.
    static std::vector<uint8_t> Play(std::size_t buffers) {
        for (std::size_t i = 0; i < buffers; ++i) {
            EXPECT_TRUE(headless::WaitWaveOutQueued(Sound::kBlockCount, 10000));
            EXPECT_EQ(headless::PlayWaveOutBuffers(1), 1u);
        }
        return headless::TakeWaveOutRecord().bytes;
    }
    // Blocks mixed after the last change: the five queued before it are played first.
    static std::vector<uint8_t> Heard(std::size_t blocks) {
        Play(Sound::kBlockCount);
        return Play(blocks);
    }
    static ToneControls Controls(const char* frequency, int32_t selection, int32_t volume) {
        return ToneControls{frequency, selection, volume, &PressPlay};
    }
    static void PressPlay(bool down) { presses.push_back(down); }
    static std::vector<bool> presses;
};
std::vector<bool> TonePlayback::presses;

TEST_F(TonePlayback, FrequencyTextAsTyped) {
    struct Case {
        const char* text;
        int32_t length; // 0: nothing plays
    };
    const Case cases[] = {
        {"440", 262094},
        {"  440", 262094},
        {"\t+440", 262094},
        {"440 Hz", 262094},
        {"1000.7", 262130},
        {"16000", 262141},
        {"-440", 262094},  // the sine with inverted phase
        {"30000", 262143}, // its alias below half the rate
        {"abc", 0},
        {"", 0},
        {"0", 0},
        {"+", 0},
        {"00000000000000000016000", 261843}, // only the first 20 characters: 16 Hz
        {"                    440", 0},      // 20 blanks, then the digits unread
        {"99999999999999999999999", 262143}, // the largest 32-bit number
        {nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text == nullptr ? "(null)" : c.text);
        toneType = kToneOff;
        toneLength = -1;
        presses.clear();
        EXPECT_EQ(StartTone(Controls(c.text, 2, 64), 0), c.length != 0 ? 1 : 0);
        EXPECT_EQ(presses, std::vector<bool>{true}) << "Play is pressed either way";
        EXPECT_EQ(toneType, c.length != 0 ? kToneSine : kToneOff);
        EXPECT_EQ(toneLength, c.length != 0 ? c.length : -1);
        StopTone(&PressPlay);
    }
}

// Noise tables are redrawn on every refresh, the sine's is not; at volume 0 each is silent.
TEST_F(TonePlayback, SelectionChoosesTheTone) {
    struct Case {
        int32_t selection;
        int result;
        int32_t type;
        int32_t length;
    };
    const Case cases[] = {{0, 1, kToneWhite, kToneTableSize},
                          {1, 1, kTonePink, kToneTableSize},
                          {2, 1, kToneSine, 262130},
                          {-1, 0, kToneOff, 0},
                          {3, 0, kToneOff, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.selection);
        EXPECT_EQ(StartTone(Controls("1000", c.selection, 100), 0), c.result);
        EXPECT_EQ(toneType, c.type);
        const std::vector<uint8_t> before(toneTable, toneTable + kToneTableSize);
        RefreshNoiseTone();
        const std::vector<uint8_t> after(toneTable, toneTable + kToneTableSize);
        EXPECT_EQ(before != after, c.type == kToneWhite || c.type == kTonePink);
        if (c.result != 0) {
            EXPECT_EQ(toneLength, c.length);
        }
        const std::vector<uint8_t> heard = Heard(1);
        const bool silent =
            std::all_of(heard.begin(), heard.end(), [](uint8_t b) { return b == 128; });
        EXPECT_EQ(silent, c.result == 0);
        StopTone(&PressPlay);
        EXPECT_EQ(toneType, kToneOff);
        if (c.result == 0)
            continue;
        ASSERT_EQ(StartTone(Controls("1000", c.selection, 0), 0), 1);
        RefreshNoiseTone();
        EXPECT_EQ(Heard(2), std::vector<uint8_t>(2 * 2352, 128)) << "volume 0";
        StopTone(nullptr);
    }
}

TEST_F(TonePlayback, SinePlaysStopsAndFollowsTheVolume) {
    ASSERT_EQ(StartTone(Controls("1000", 2, 127), 0), 1);
    const uint32_t voice = toneVoice;
    EXPECT_EQ(voice, Sound::kFirstVoice);
    std::vector<uint8_t> heard = Heard(4);
    // The engine plays a voice at volume 64 at half scale.
    EXPECT_NEAR(DftAmplitude(heard.data(), heard.size(), 1000.0, 44100.0), 63.5, 1.5);
    EXPECT_LT(DftAmplitude(heard.data(), heard.size(), 1100.0, 44100.0), 1.0);

    // The volume is rewritten in place: the same voice plays on, quieter.
    ASSERT_EQ(StartTone(Controls("1000", 2, 40), 1), 1);
    EXPECT_EQ(toneVoice, voice);
    heard = Heard(4);
    EXPECT_NEAR(DftAmplitude(heard.data(), heard.size(), 1000.0, 44100.0), 20.0, 1.5);
    const std::vector<uint8_t> other(10, 128);
    EXPECT_EQ(soundEngine.PlaySample({other.data(), 44100, 10, 64, 0}), voice + 1)
        << "the update started a second voice";

    // Play again restarts the tone on a free voice; the old one is gone.
    ASSERT_EQ(StartTone(Controls("440", 2, 127), 0), 1);
    heard = Heard(4);
    EXPECT_NEAR(DftAmplitude(heard.data(), heard.size(), 440.0, 44100.0), 63.5, 1.5);
    EXPECT_LT(DftAmplitude(heard.data(), heard.size(), 1000.0, 44100.0), 1.0);

    // Above half the rate the alias sounds: 30000 Hz at 44100 Hz is heard at 14100 Hz.
    ASSERT_EQ(StartTone(Controls("30000", 2, 127), 0), 1);
    heard = Heard(4);
    EXPECT_NEAR(DftAmplitude(heard.data(), heard.size(), 14100.0, 44100.0), 63.5, 1.5);

    presses.clear();
    StopTone(&PressPlay);
    EXPECT_EQ(presses, std::vector<bool>{false});
    EXPECT_EQ(Heard(1), std::vector<uint8_t>(2352, 128));
}

// The UI side starts, stops, refreshes and rewrites while the engine thread mixes, paced by a
// virtual clock that runs ten times faster than real time.
TEST(ToneThreads, UiAndEngineThreadShareVoicesAndTable) {
    headless::RestoreWaveOutDefaults();
    headless::SetTime(0);
    ResetAnalyzerState();
    PinkNoiseInit(pinkNoise, 128);
    ASSERT_EQ(soundEngine.Open(44100, 0), 1);
    std::atomic<bool> done{false};
    std::thread clock([&] {
        while (!done) {
            headless::AdvanceTime(10);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });

    const std::vector<uint8_t> click(500, 250);
    const char* frequencies[] = {"1000", "440", "16000", "50"};
    const auto start = std::chrono::steady_clock::now();
    unsigned round = 0;
    while (std::chrono::steady_clock::now() - start < std::chrono::seconds(3)) {
        const ToneControls controls{frequencies[round % 4], static_cast<int32_t>(round % 3),
                                    static_cast<int32_t>(round * 13 % 128), nullptr};
        StartTone(controls, round % 4 == 1 && toneType != kToneOff);
        RefreshNoiseTone();
        const uint32_t voice = soundEngine.PlaySample({click.data(), 44100, 500, 64, 0});
        if (round % 5 == 0)
            soundEngine.StopVoice(voice);
        if (round % 7 == 0)
            soundEngine.PauseVoices();
        if (round % 3 == 2)
            StopTone(nullptr);
        ++round;
    }
    done = true;
    clock.join();
    const uint32_t mixed = soundEngine.BlocksMixed();
    soundEngine.Close();
    StopTone(nullptr);
    const headless::WaveOutRecord r = headless::TakeWaveOutRecord();
    EXPECT_GT(mixed, 100u);
    EXPECT_GT(round, 10u);
    ASSERT_GE(r.buffersPlayed, Sound::kBlockCount);
    EXPECT_EQ(r.bytes.size(), r.buffersPlayed * 2352u) << "a block cut short";
    headless::RestoreWaveOutDefaults();
}

} // namespace
