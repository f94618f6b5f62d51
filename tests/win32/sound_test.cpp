// The sound-effects engine on real winmm under Wine: the wave-out device and its refusals. The
// DISABLED_ tests are run by the sound checks in tests/e2e, which hear the engine's tone.
#include <windows.h>

#include <gtest/gtest.h>

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
