// The whole analyzer driven headless on the virtual clock: start-up on a simulated capture
// source, the view at a chosen size, and one frame update per captured block. Shared by the
// tests and the frame benchmarks. Test (user-interface) thread only.
#pragma once

#include <cstdint>

#include "analysis/analysis_setup.h"
#include "app/my_class.h"
#include "app/state.h"
#include "port/headless/headless.h"
#include "port/messages.h"
#include "sound/sound.h"
#include "ui/combo_commands.h"
#include "ui/control_ids.h"

namespace running_app {

inline void* const kView = reinterpret_cast<void*>(0x5100);

inline headless::CaptureSource Sine(double hz, double level) {
    headless::CaptureSource sine;
    sine.kind = headless::CaptureSource::Kind::Sine;
    sine.frequencyHz = hz;
    sine.level = level;
    return sine;
}

class RunningApp {
public:
    // Start-up as the program does it, with capture at rate and size instead of what a settings
    // file in the current directory says, and the view at width x height. The capture devices
    // are those the caller set up (headless::SetCaptureDevices).
    void Start(const headless::CaptureSource& source, int width, int height, int32_t rate = 44100,
               int32_t size = 8192) {
        ResetAnalyzerState();
        headless::SetTime(0);
        headless::TakeMessages();
        headless::ForgetPresented();
        headless::SetCaptureSource(source);
        app.Init();
        if (captureRate != rate || captureFftSize != size)
            RestartCapture(rate, size);
        blocks_ = 0;
        headless::SetClientSize(kView, width, height);
        app.Create(kView);
        app.OnSize(width, height);
        app.CreateToolbars(nullptr);
    }

    // Stops capture and the sound engine and frees the analysis, without writing a settings file.
    void Stop() {
        StopCapture();
        soundEngine.Close();
        AnalyseFree();
        headless::DestroyControlPanel();
        headless::ResetCapture();
    }

    // The clock moves to the end of the next capture block, the capture thread takes it, then
    // one frame update runs. True when the frame drew and presented the view.
    bool Step() {
        NextBlock();
        return app.Frame() != 0;
    }

    // Only the capture side of Step: afterwards exactly one new block is waiting.
    void NextBlock() {
        ++blocks_;
        const uint64_t frames = static_cast<uint64_t>(blocks_) * blockFrames;
        headless::SetTime(static_cast<uint32_t>((frames * 1000 + captureRate - 1) / captureRate));
        headless::WaitCaptureIdle();
    }

    // Steps until the sample window is full and the first frame has been drawn.
    bool StepUntilDrawn() {
        for (int i = 0; i <= captureFftSize / blockFrames; ++i) {
            if (Step())
                return true;
        }
        return false;
    }

private:
    uint32_t blocks_ = 0;
};

// The display mode chosen in the Scale combo as the user chooses it (the waveform view, which
// the combo does not offer, directly), and then the Stereo monitor if asked for.
inline void ChooseMode(int32_t mode, bool stereo) {
    if (mode < kDisplayModeCount) {
        port::SetComboSelection(kScaleCombo, mode);
        ChangeDisplayMode(CBN_SELCHANGE);
    } else {
        displayMode = mode;
    }
    if (stereo) {
        port::SetComboSelection(kMonitorCombo, kMonitorStereo);
        OnComboCommand(kMonitorCombo, CBN_SELCHANGE);
    }
}

} // namespace running_app
