// The sound-effects engine on real winmm under Wine: it finds the wave-out device, its buffers
// come back to the engine thread and are refilled at the pace of the sound card, and Close ends
// it all promptly. The DISABLED_ tests are run by the sound checks in tests/e2e.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "port/port.h"
#include "sound/sound.h"
#include "ui/tone_generator.h"

namespace {

TEST(Win32WaveOut, DevicesAndRefusals) {
    const uint32_t count = port::WaveOutDeviceCount();
    ASSERT_GE(count, 1u) << "no wave-out device: is the PulseAudio server running?";
    const port::WaveFormat pcm{1, 1, 44100, 44100, 1, 8, 0};
    EXPECT_EQ(port::OpenWaveOut(count, pcm, GetCurrentThreadId()), nullptr) << "no such device";
    const port::WaveFormat unknown{0x7777, 1, 44100, 44100, 1, 8, 0};
    EXPECT_EQ(port::OpenWaveOut(0, unknown, GetCurrentThreadId()), nullptr) << "unknown format";
}

TEST(Win32SoundEngine, BuffersCycleAtThePaceOfTheDevice) {
    ASSERT_EQ(soundEngine.Open(44100, 0), 1);
    EXPECT_EQ(soundEngine.Open(44100, 0), 0) << "second Open while open";
    EXPECT_EQ(StartTone(ToneControls{"1000", 2, 64, nullptr}, 0), 1);
    EXPECT_EQ(toneVoice, Sound::kFirstVoice);

    const uint32_t start = port::TickCount();
    const uint32_t mixedAtStart = soundEngine.BlocksMixed();
    port::SleepMs(1500);
    const uint32_t blocks = soundEngine.BlocksMixed() - mixedAtStart;
    const uint32_t elapsed = port::TickCount() - start;
    // 2352 frames at 44100 Hz are 53.3 ms: about 28 blocks in 1.5 s.
    const double expected = elapsed / (2352 * 1000.0 / 44100);
    EXPECT_GT(blocks, expected * 0.6) << "the device returns buffers too slowly";
    EXPECT_LT(blocks, expected * 1.4 + 5) << "buffers come back faster than they can play";

    StopTone(nullptr);
    const uint32_t closeStart = port::TickCount();
    soundEngine.Close();
    EXPECT_LT(port::TickCount() - closeStart, 1000u) << "Close took too long";
    EXPECT_FALSE(soundEngine.IsOpen());
    const uint32_t mixedAfterClose = soundEngine.BlocksMixed();
    port::SleepMs(200);
    EXPECT_EQ(soundEngine.BlocksMixed(), mixedAfterClose) << "the engine thread outlived Close";

    // It opens again, with every voice free.
    ASSERT_EQ(soundEngine.Open(22050, 1), 1);
    const std::vector<uint8_t> click(100, 200);
    EXPECT_EQ(soundEngine.PlaySample({click.data(), 22050, 100, 64, 0}), Sound::kFirstVoice);
    soundEngine.Close();
}

// Plays a 1000 Hz sine at full tone volume for two seconds, for a recording of the sink.
TEST(Win32SoundEngine, DISABLED_PlaysSineForRecording) {
    ASSERT_EQ(soundEngine.Open(44100, 0), 1);
    ASSERT_EQ(StartTone(ToneControls{"1000", 2, 127, nullptr}, 0), 1);
    port::SleepMs(2000);
    EXPECT_GT(soundEngine.BlocksMixed(), 20u);
    StopTone(nullptr);
    soundEngine.Close();
}

// Run by tests/e2e/sound_no_device.sh with the sound server out of reach: no device at all.
TEST(Win32SoundEngine, DISABLED_OpenFailsCleanlyWithoutDevice) {
    EXPECT_EQ(port::WaveOutDeviceCount(), 0u);
    EXPECT_EQ(soundEngine.Open(44100, 0), 0);
    EXPECT_FALSE(soundEngine.IsOpen());
    EXPECT_EQ(StartTone(ToneControls{"1000", 2, 64, nullptr}, 0), 1);
    EXPECT_EQ(toneVoice, Sound::kNoVoice) << "the tone stays silent";
    StopTone(nullptr);
    soundEngine.Close();
}

} // namespace
