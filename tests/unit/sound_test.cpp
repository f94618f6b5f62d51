// The sound-effects engine and its test tone through the headless wave-out device: the mix against
// a frame-by-frame reference mixer, the tone tables against closed forms and a naive DFT. Test
// thread beside the engine's thread (run under ThreadSanitizer).
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
#include <utility>
#include <vector>

#include "port/headless/headless.h"
#include "port/headless/headless_wave_out.h"
#include "sound/sound.h"
#include "state/alloc.h"
#include "state/state.h"
#include "ui/tone_generator.h"

namespace {

// Plays through the headless wave-out device, paced by hand.
class WaveOut : public ::testing::Test {
protected:
    void SetUp() override {
        headless::ResetPort();
        headless::SetWaveOutPacing(headless::WaveOutPacing::Manual);
    }
    // Plays `buffers` buffers one at a time, each once the engine has queued all five again, and
    // returns what the device played.
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
    // The device holds its five buffers and plays none of them.
    static void ExpectPaused() {
        ASSERT_TRUE(headless::WaitWaveOutQueued(Sound::kBlockCount, 10000));
        EXPECT_EQ(headless::PlayWaveOutBuffers(1), 0u) << "the idle device plays";
    }
};

class SoundEngine : public WaveOut {
protected:
    void TearDown() override {
        engine_.Close();
        alloc::FailAfter(-1);
        headless::RestoreWaveOutDefaults();
    }
    Sound engine_;
};

// The mixer as a frame-by-frame loop over the voices, kept apart from the engine's own.
struct ReferenceVoice {
    const std::vector<uint8_t>* data;
    uint32_t step;
    uint32_t volume;
    bool loop;
    uint32_t position = 0;
    bool stopped = false;
};

std::vector<uint8_t> ReferenceMix(std::vector<ReferenceVoice> voices, std::size_t frames,
                                  int channels) {
    std::vector<uint8_t> out;
    for (std::size_t f = 0; f < frames; ++f) {
        int sum = 0;
        for (ReferenceVoice& v : voices) {
            const uint32_t end = static_cast<uint32_t>(v.data->size()) << 8;
            if (v.stopped)
                continue;
            while (v.loop && v.position >= end) // a loop shorter than one step wraps again
                v.position -= end;
            if ((v.position >> 8) < v.data->size()) {
                sum += static_cast<int>(v.volume) * ((*v.data)[v.position >> 8] - 128);
                v.position += v.step;
            } else {
                v.stopped = true;
            }
        }
        const int s = std::clamp(sum >> 7, -128, 127) + 128;
        for (int c = 0; c < channels; ++c)
            out.push_back(static_cast<uint8_t>(s));
    }
    return out;
}

std::vector<uint8_t> Pattern(std::size_t length, uint32_t seed) {
    std::vector<uint8_t> data(length);
    for (std::size_t i = 0; i < length; ++i)
        data[i] = static_cast<uint8_t>((i * 37 + seed * 101 + (i * i) % 13) % 256);
    return data;
}

TEST_F(SoundEngine, OpenSearchesDevicesAndFailsCleanly) {
    struct Case {
        const char* what;
        uint32_t devices;
        uint32_t refusedMask;
        int failAllocation; // the allocation that fails, -1 for none
        int opened;
        uint32_t deviceIndex;
    };
    const Case cases[] = {
        {"first device", 3, 0b000, -1, 1, 0},        {"first two refuse", 3, 0b011, -1, 1, 2},
        {"no device at all", 0, 0, -1, 0, 0},        {"every device refuses", 2, 0b11, -1, 0, 0},
        {"no memory for the blocks", 1, 0, 0, 0, 0}, {"no memory for the sums", 1, 0, 1, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        headless::SetWaveOutDevices(c.devices, c.refusedMask);
        alloc::FailAfter(c.failAllocation);
        ASSERT_EQ(engine_.Open(44100, 0), c.opened);
        alloc::FailAfter(-1);
        const headless::WaveOutRecord r = headless::TakeWaveOutRecord();
        EXPECT_EQ(r.open, c.opened == 1);
        if (c.opened) {
            EXPECT_EQ(r.deviceIndex, c.deviceIndex);
            EXPECT_EQ(r.buffersQueued, Sound::kBlockCount);
        } else {
            EXPECT_FALSE(engine_.IsOpen());
            const std::vector<uint8_t> data(10, 200);
            EXPECT_EQ(engine_.PlaySample({data.data(), 44100, 10, 64, 1}), Sound::kNoVoice);
            engine_.StopVoice(2);
            engine_.PauseVoices();
        }
        engine_.Close();
        engine_.Close();
    }
    // Whatever failed before, the engine opens once a device is there.
    headless::SetWaveOutDevices(1);
    EXPECT_EQ(engine_.Open(44100, 0), 1);
}

TEST_F(SoundEngine, MixedStreamMatchesTheReferenceMixer) {
    struct VoiceCase {
        std::size_t length;
        uint32_t rate;
        uint32_t volume; // as handed in; the engine plays at most 64
        bool loop;
    };
    struct Case {
        const char* what;
        uint32_t engineRate;
        int stereo;
        std::vector<VoiceCase> voices;
        std::size_t blocks;
    };
    const std::vector<VoiceCase> scaled = {
        {300, 22050, 16, true}, {301, 22050, 40, true}, {97, 22050, 100, false}};
    const std::vector<VoiceCase> eight = {{500, 44100, 64, true}, {501, 44100, 64, true},
                                          {502, 44100, 64, true}, {503, 44100, 64, true},
                                          {504, 22050, 64, true}, {505, 11025, 64, true},
                                          {506, 88200, 64, true}, {507, 44100, 64, false}};
    const std::vector<VoiceCase> stereo = {{123, 22050, 50, true}, {77, 11025, 64, true}};
    const Case cases[] = {
        {"looping voice of 100 at step 256", 44100, 0, {{100, 44100, 64, true}}, 3},
        {"one-shot voice ends mid-block", 44100, 0, {{3000, 44100, 64, false}}, 2},
        {"22050 Hz sample on 44100 Hz: step 128", 44100, 0, {{1000, 22050, 64, true}}, 2},
        {"96000 Hz sample on 44100 Hz", 44100, 0, {{5000, 96000, 64, true}}, 2},
        {"sample at 256 times the output rate", 11025, 0, {{70, 11025 * 256, 64, true}}, 2},
        {"volumes scale and 100 plays as 64", 22050, 0, scaled, 3},
        {"eight voices saturate", 44100, 0, eight, 2},
        {"stereo carries each frame on both channels", 22050, 1, stereo, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(engine_.Open(c.engineRate, c.stereo), 1);
        std::vector<std::vector<uint8_t>> samples;
        for (std::size_t i = 0; i < c.voices.size(); ++i)
            samples.push_back(Pattern(c.voices[i].length, static_cast<uint32_t>(i)));
        std::vector<ReferenceVoice> reference;
        for (std::size_t i = 0; i < c.voices.size(); ++i) {
            const VoiceCase& v = c.voices[i];
            const SoundFX fx{samples[i].data(), v.rate, static_cast<uint32_t>(v.length), v.volume,
                             static_cast<uint8_t>(v.loop)};
            EXPECT_EQ(engine_.PlaySample(fx), Sound::kFirstVoice + i);
            const auto step = static_cast<uint32_t>(uint64_t{v.rate} * 256 / engine_.OutputRate());
            reference.push_back({&samples[i], step, std::min(v.volume, 64u), v.loop});
        }
        const int channels = c.stereo != 0 ? 2 : 1;
        // The device plays once a voice has started: first the five blocks Open queued.
        EXPECT_EQ(
            Play(Sound::kBlockCount),
            std::vector<uint8_t>(Sound::kBlockCount * engine_.MixBlockFrames() * channels, 128));
        const std::vector<uint8_t> played = Play(c.blocks);
        const std::vector<uint8_t> expected =
            ReferenceMix(reference, c.blocks * engine_.MixBlockFrames(), channels);
        ASSERT_EQ(played.size(), expected.size());
        const auto mismatch = std::mismatch(played.begin(), played.end(), expected.begin());
        EXPECT_TRUE(mismatch.first == played.end())
            << "first difference at byte " << (mismatch.first - played.begin());
        engine_.Close();
    }
}

TEST_F(SoundEngine, VoiceNumbersStopAndPause) {
    ASSERT_EQ(engine_.Open(44100, 0), 1);
    const std::vector<uint8_t> tone(64, 228);
    const SoundFX looping{tone.data(), 44100, 64, 64, 1};
    for (uint32_t v = 2; v <= 9; ++v)
        EXPECT_EQ(engine_.PlaySample(looping), v);
    EXPECT_EQ(engine_.PlaySample(looping), Sound::kNoVoice) << "ninth voice";
    for (const uint32_t ignored : {0u, 1u, 10u, 65535u})
        engine_.StopVoice(ignored);
    EXPECT_EQ(engine_.PlaySample(looping), Sound::kNoVoice) << "a reserved number freed a voice";
    engine_.StopVoice(5);
    EXPECT_EQ(engine_.PlaySample(looping), 5u);

    // Paused voices stay busy and silent; a stopped one is free again.
    engine_.PauseVoices();
    EXPECT_EQ(engine_.PlaySample(looping), Sound::kNoVoice);
    EXPECT_EQ(Heard(1), std::vector<uint8_t>(2352, 128));
    engine_.StopVoice(7);
    EXPECT_EQ(engine_.PlaySample(looping), 7u);
    EXPECT_EQ(Heard(1), std::vector<uint8_t>(2352, 178)) << "only voice 7 plays";

    // A one-shot voice frees its number once it has played its last sample. It takes the last
    // number, since the engine's own thread may mix a block as soon as it is playing.
    for (uint32_t v = 2; v <= 9; ++v)
        engine_.StopVoice(v);
    const SoundFX once{tone.data(), 44100, 64, 64, 0};
    for (uint32_t v = 2; v <= 9; ++v)
        ASSERT_EQ(engine_.PlaySample(v == 9 ? once : looping), v);
    std::vector<uint8_t> mixed(engine_.MixBlockFrames());
    {
        std::lock_guard<std::mutex> guard(engine_.VoiceLock());
        engine_.MixBlock(mixed.data());
    }
    EXPECT_EQ(engine_.PlaySample(looping), 9u);

    // After Close nothing plays and nothing survives a new Open.
    engine_.Close();
    EXPECT_EQ(engine_.PlaySample(looping), Sound::kNoVoice);
    ASSERT_EQ(engine_.Open(44100, 0), 1);
    ExpectPaused();
    EXPECT_EQ(engine_.PlaySample(looping), 2u);
    engine_.Close(); // the samples are not the engine's: they must outlive its voices
}

TEST_F(SoundEngine, IdleOutputPausesUntilAVoicePlays) {
    ASSERT_EQ(engine_.Open(44100, 0), 1);
    ExpectPaused();
    const std::vector<uint8_t> tone(64, 228);
    const std::size_t idle = Sound::kIdleBlocksBeforePause;
    const std::size_t queued = Sound::kBlockCount;
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round == 0 ? "first voice" : "voice after a pause");
        ASSERT_EQ(engine_.PlaySample({tone.data(), 44100, 64, 64, 1}), 2u);
        EXPECT_EQ(Play(queued), std::vector<uint8_t>(queued * 2352, 128))
            << "mixed before the voice started";
        EXPECT_EQ(Play(idle + 1), std::vector<uint8_t>((idle + 1) * 2352, 178))
            << "a playing voice keeps the device running";
        ASSERT_TRUE(headless::WaitWaveOutQueued(queued, 10000)); // the last one mixed
        engine_.StopVoice(2);
        EXPECT_EQ(Play(queued), std::vector<uint8_t>(queued * 2352, 178))
            << "mixed before the voice stopped";
        // Play waits for each block to be mixed and queued again, so the pause has come by the
        // time the last silent block is back in the queue.
        EXPECT_EQ(Play(idle - queued), std::vector<uint8_t>((idle - queued) * 2352, 128));
        ExpectPaused();
    }
}

TEST_F(SoundEngine, RefusesSamplesItCannotPlay) {
    ASSERT_EQ(engine_.Open(44100, 0), 1);
    const std::vector<uint8_t> data(16, 128);
    struct Case {
        const char* what;
        SoundFX fx;
    };
    const Case cases[] = {
        {"no data", {nullptr, 44100, 16, 64, 1}},
        {"no samples", {data.data(), 44100, 0, 64, 1}},
        {"too long to address", {data.data(), 44100, Sound::kMaxSampleLength + 1, 64, 0}},
        {"rate 0", {data.data(), 0, 16, 64, 1}},
        {"rate below 1/256 of the output", {data.data(), 172, 16, 64, 1}},
        {"rate above 256 times the output", {data.data(), 44100 * 256 + 200, 16, 64, 1}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(engine_.PlaySample(c.fx), Sound::kNoVoice) << c.what;
    EXPECT_EQ(engine_.PlaySample({data.data(), 173, 16, 64, 1}), 2u) << "slowest playable rate";
    engine_.Close();
}

// Amplitude of the component at frequency hz of 8-bit samples around 128.
double DftAmplitude(const uint8_t* samples, std::size_t count, double hz, double rate) {
    const double pi = 3.14159265358979323846;
    std::complex<double> sum = 0.0;
    for (std::size_t n = 0; n < count; ++n)
        sum += (samples[n] - 128.0) * std::polar(1.0, -2.0 * pi * hz * n / rate);
    return 2.0 * std::abs(sum) / count;
}

TEST(ToneTables, SineHoldsWholePeriods) {
    // Frequency and loop length; 0 is taken as 1 Hz. The frequency text's test has more.
    const std::pair<int32_t, int32_t> cases[] = {{1, 220500},  {0, 220500}, {22050, 262144},
                                                 {-5, 255780}, {5, 255780}, {96000, 262143}};
    std::vector<uint8_t> table(kToneTableSize);
    for (const auto& [frequency, length] : cases)
        EXPECT_EQ(FillSine(frequency, 64, table.data()), length) << frequency << " Hz";

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
    std::vector<uint8_t> table(kToneTableSize);
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
    std::vector<uint8_t> other(kToneTableSize);
    FillSine(-1000, 127, other.data());
    for (int32_t i = 0; i < length; ++i)
        ASSERT_NEAR(other[i] + table[i], 256, 1) << i;
    FillSine(1000, 500, other.data());
    EXPECT_EQ(other, table) << "volume above 127";
}

TEST(ToneTables, PinkNoiseIsCentredAndFallsWithFrequency) {
    PinkNoiseState state{};
    PinkNoiseInit(state, 128);
    std::vector<uint8_t> table(kToneTableSize);
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
}

// The tone through the engine into the headless device.
class TonePlayback : public WaveOut {
protected:
    void SetUp() override {
        WaveOut::SetUp();
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
    static ToneControls Controls(const char* frequency, int32_t selection, int32_t volume) {
        return ToneControls{frequency, selection, volume, &PressPlay};
    }
    static void PressPlay(bool down) { presses.push_back(down); }
    static std::vector<bool> presses;
};
std::vector<bool> TonePlayback::presses;

TEST_F(TonePlayback, FrequencyTextAsTyped) {
    // The text and the sine's loop length, 0 where nothing plays. "-440" is the sine with inverted
    // phase, "30000" its alias below half the rate. Only the first 20 characters are read: cut is
    // 16 Hz, and blanks has its digits unread.
    const char* cut = "00000000000000000016000";
    const char* blanks = "                    440";
    const char* nines = "99999999999999999999999"; // the largest 32-bit number
    const std::pair<const char*, int32_t> cases[] = {
        {"440", 262094},    {"  440", 262094}, {"\t+440", 262094}, {"440 Hz", 262094},
        {"1000.7", 262130}, {"16000", 262141}, {"-440", 262094},   {"30000", 262143},
        {"abc", 0},         {"", 0},           {"0", 0},           {"+", 0},
        {nullptr, 0},       {cut, 261843},     {blanks, 0},        {nines, 262143}};
    for (const auto& [text, length] : cases) {
        SCOPED_TRACE(text == nullptr ? "(null)" : text);
        toneType = kToneOff;
        toneLength = -1;
        presses.clear();
        EXPECT_EQ(StartTone(Controls(text, 2, 64), 0), length != 0 ? 1 : 0);
        EXPECT_EQ(presses, std::vector<bool>{true}) << "Play is pressed either way";
        EXPECT_EQ(toneType, length != 0 ? kToneSine : kToneOff);
        EXPECT_EQ(toneLength, length != 0 ? length : -1);
        StopTone(&PressPlay);
    }
}

// Noise tables are redrawn on every refresh, the sine's is not; at volume 0 each is silent.
TEST_F(TonePlayback, SelectionChoosesTheTone) {
    // After a tone, so that the device runs while an unknown selection plays nothing.
    const std::pair<int32_t, int32_t> cases[] = {
        {0, kToneWhite}, {1, kTonePink}, {2, kToneSine}, {-1, kToneOff}, {3, kToneOff}};
    for (const auto& [selection, type] : cases) {
        SCOPED_TRACE(selection);
        const bool noise = type == kToneWhite || type == kTonePink;
        EXPECT_EQ(StartTone(Controls("1000", selection, 100), 0), type != kToneOff ? 1 : 0);
        EXPECT_EQ(toneType, type);
        if (noise) {
            EXPECT_EQ(toneLength, kToneTableSize);
        }
        const std::vector<uint8_t> before(toneTable, toneTable + kToneTableSize);
        RefreshNoiseTone();
        EXPECT_EQ(before != std::vector<uint8_t>(toneTable, toneTable + kToneTableSize), noise);
        EXPECT_EQ(Heard(1) == std::vector<uint8_t>(2352, 128), type == kToneOff) << "silent";
        StopTone(&PressPlay);
        EXPECT_EQ(toneType, kToneOff);
        if (type == kToneOff)
            continue;
        ASSERT_EQ(StartTone(Controls("1000", selection, 0), 0), 1);
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
TEST_F(TonePlayback, UiAndEngineThreadShareVoicesAndTable) {
    soundEngine.Close();
    headless::SetWaveOutPacing(headless::WaveOutPacing::Clock);
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
}

} // namespace
