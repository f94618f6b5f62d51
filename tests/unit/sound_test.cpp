// The sound-effects engine through the headless wave-out device: the rate table and the device
// search of Open, clean failure, the voices, and the mixed stream compared byte for byte with a
// frame-by-frame reference mixer.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "port/headless/headless_wave_out.h"
#include "sound/sound.h"
#include "state/alloc.h"

namespace {

class SoundEngine : public ::testing::Test {
protected:
    void SetUp() override {
        headless::RestoreWaveOutDefaults();
        headless::SetWaveOutPacing(headless::WaveOutPacing::Manual);
    }
    void TearDown() override {
        engine_.Close();
        alloc::FailAfter(-1);
        headless::RestoreWaveOutDefaults();
    }

    // Plays `buffers` buffers one at a time, each once the engine has queued all five again, and
    // returns what the device played.
    static headless::WaveOutRecord Play(std::size_t buffers) {
        for (std::size_t i = 0; i < buffers; ++i) {
            EXPECT_TRUE(headless::WaitWaveOutQueued(Sound::kBlockCount, 10000));
            EXPECT_EQ(headless::PlayWaveOutBuffers(1), 1u);
        }
        return headless::TakeWaveOutRecord();
    }
    // The five buffers that Open queued, full blocks of silence, then `blocks` full blocks.
    // The device plays once a voice has started.
    std::vector<uint8_t> PlayBlocks(std::size_t blocks) {
        const headless::WaveOutRecord first = Play(Sound::kBlockCount);
        const std::size_t blockBytes =
            std::size_t{engine_.MixBlockFrames()} * first.format.channels;
        EXPECT_EQ(first.bytes, std::vector<uint8_t>(Sound::kBlockCount * blockBytes, 128));
        return Play(blocks).bytes;
    }
    // The device holds its five buffers and plays none of them.
    static void ExpectPaused() {
        ASSERT_TRUE(headless::WaitWaveOutQueued(Sound::kBlockCount, 10000));
        EXPECT_EQ(headless::PlayWaveOutBuffers(1), 0u) << "the idle device plays";
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
        headless::RestoreWaveOutDefaults();
        headless::SetWaveOutPacing(headless::WaveOutPacing::Manual);
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
    headless::RestoreWaveOutDefaults();
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
    const Case cases[] = {
        {"looping voice of 100 at step 256", 44100, 0, {{100, 44100, 64, true}}, 3},
        {"one-shot voice ends mid-block", 44100, 0, {{3000, 44100, 64, false}}, 2},
        {"22050 Hz sample on 44100 Hz: step 128", 44100, 0, {{1000, 22050, 64, true}}, 2},
        {"96000 Hz sample on 44100 Hz", 44100, 0, {{5000, 96000, 64, true}}, 2},
        {"sample at 256 times the output rate", 11025, 0, {{70, 11025 * 256, 64, true}}, 2},
        {"volumes scale and 100 plays as 64",
         22050,
         0,
         {{300, 22050, 16, true}, {301, 22050, 40, true}, {97, 22050, 100, false}},
         3},
        {"eight voices saturate",
         44100,
         0,
         {{500, 44100, 64, true},
          {501, 44100, 64, true},
          {502, 44100, 64, true},
          {503, 44100, 64, true},
          {504, 22050, 64, true},
          {505, 11025, 64, true},
          {506, 88200, 64, true},
          {507, 44100, 64, false}},
         2},
        {"stereo carries each frame on both channels",
         22050,
         1,
         {{123, 22050, 50, true}, {77, 11025, 64, true}},
         2},
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
        const std::vector<uint8_t> played = PlayBlocks(c.blocks);
        const std::vector<uint8_t> expected =
            ReferenceMix(reference, c.blocks * engine_.MixBlockFrames(), c.stereo != 0 ? 2 : 1);
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
    EXPECT_EQ(PlayBlocks(1), std::vector<uint8_t>(2352, 128));
    engine_.StopVoice(7);
    EXPECT_EQ(engine_.PlaySample(looping), 7u);
    Play(Sound::kBlockCount); // mixed before the change
    EXPECT_EQ(Play(1).bytes, std::vector<uint8_t>(2352, 178)) << "only voice 7 plays";

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
        EXPECT_EQ(Play(queued).bytes, std::vector<uint8_t>(queued * 2352, 128))
            << "mixed before the voice started";
        EXPECT_EQ(Play(idle + 1).bytes, std::vector<uint8_t>((idle + 1) * 2352, 178))
            << "a playing voice keeps the device running";
        ASSERT_TRUE(headless::WaitWaveOutQueued(queued, 10000)); // the last one mixed
        engine_.StopVoice(2);
        EXPECT_EQ(Play(queued).bytes, std::vector<uint8_t>(queued * 2352, 178))
            << "mixed before the voice stopped";
        // Play waits for each block to be mixed and queued again, so the pause has come by the
        // time the last silent block is back in the queue.
        EXPECT_EQ(Play(idle - queued).bytes, std::vector<uint8_t>((idle - queued) * 2352, 128));
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

} // namespace
