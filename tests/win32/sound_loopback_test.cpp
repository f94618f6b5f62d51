// Loopback on the real platform: the engine plays a sine through waveOut into the sound server's
// sink while the capture thread records the sink's monitor through waveIn, and both channels of
// the recording peak at the sine's frequency at the level the mixer gives a full-volume tone.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "audio/wave_in_thread.h"
#include "port/port.h"
#include "sound/sound.h"
#include "ui/tone_generator.h"

namespace {

// Amplitude of the component at hz in count samples from x (Goertzel).
double Amplitude(const double* x, std::size_t count, double hz, double rate) {
    const double c = 2.0 * std::cos(2.0 * 3.14159265358979323846 * hz / rate);
    double s1 = 0.0;
    double s2 = 0.0;
    for (std::size_t i = 0; i < count; ++i) {
        const double s0 = x[i] + c * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return 2.0 * std::sqrt(s1 * s1 + s2 * s2 - c * s1 * s2) / count;
}

TEST(Win32SoundLoopback, EngineSineComesBackThroughCapture) {
    constexpr uint32_t kRate = 44100;
    constexpr uint32_t kBlockBytes = 2048 * 4; // 2048 stereo 16-bit frames
    constexpr double kToneHz = 1500.0;
    CWaveInThread capture;
    ASSERT_TRUE(capture.Configure(nullptr, 0, 4, kBlockBytes, 2, kRate, 16));
    ASSERT_EQ(soundEngine.Open(kRate, 0), 1);
    ASSERT_EQ(StartTone(ToneControls{"1500", 2, 127, nullptr}, 0), 1);
    port::SleepMs(400); // the queued silence and the sink's latency first
    ASSERT_TRUE(capture.Start());

    // Two blocks to settle, then eight (0.37 s) of each channel.
    std::vector<uint8_t> block(kBlockBytes);
    std::vector<double> channels[2];
    int blocks = 0;
    const uint32_t start = port::TickCount();
    while (blocks < 10 && port::TickCount() - start < 5000) {
        if (!capture.Read(block.data(), kBlockBytes)) {
            port::SleepMs(5);
            continue;
        }
        if (++blocks <= 2)
            continue;
        for (uint32_t i = 0; i < kBlockBytes; i += 2) {
            int16_t s;
            std::memcpy(&s, &block[i], 2);
            channels[i / 2 % 2].push_back(s);
        }
    }
    capture.Stop();
    StopTone(nullptr);
    soundEngine.Close();
    ASSERT_EQ(blocks, 10) << "capture delivered too little";

    for (const std::vector<double>& x : channels) {
        SCOPED_TRACE(&x == channels ? "left" : "right");
        // The strongest frequency from 100 Hz to 5 kHz, in 25 Hz steps and then 1 Hz steps.
        const auto strongest = [&x](double from, double to, double step) {
            double best = from;
            double peak = 0.0;
            for (double f = from; f <= to; f += step) {
                const double a = Amplitude(x.data(), x.size(), f, kRate);
                if (a > peak) {
                    peak = a;
                    best = f;
                }
            }
            return best;
        };
        const double coarse = strongest(100.0, 5000.0, 25.0);
        EXPECT_NEAR(strongest(coarse - 25.0, coarse + 25.0, 1.0), kToneHz, 10.0);
        // A full-volume tone on a voice at volume 64 is half of full scale: 63.5 of 128, 16256
        // in 16-bit samples. The best block counts, so that a hiccup of a loaded machine in one
        // block (a gap in the stream breaks the phase) does not.
        double level = 0.0;
        for (std::size_t at = 0; at + 2048 <= x.size(); at += 2048)
            level = std::max(level, Amplitude(x.data() + at, 2048, kToneHz, kRate));
        EXPECT_NEAR(level, 16256.0, 1000.0);
    }
}

} // namespace
