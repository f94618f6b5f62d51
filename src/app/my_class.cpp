// The application object's start-up, shutdown, view creation and resize, the close question,
// and the audio pipeline's restart. User-interface thread; OnCaptureEvent runs on the capture
// worker.
#include "app/my_class.h"

#include "analysis/analysis_setup.h"
#include "analysis/weighting.h"
#include "gfx/menu.h"
#include "port/messages.h"
#include "port/port.h"
#include "sound/sound.h"
#include "state/state.h"
#include "ui/settings_file.h"
#include "ui/status_text.h"
#include "ui/tone_generator.h"
#include "views/fonts.h"
#include "views/view_layout.h"

MyClass app;
CWaveInThread waveIn;

namespace {

constexpr uint32_t kCaptureBuffers = 4;
constexpr uint32_t kShutdownWaitMs = 2000;

} // namespace

void OnCaptureEvent(uint32_t result) {
    if (result == CWaveInThread::kResultRingFull)
        waveIn.Resume();
}

bool StartCapture() {
    if (waveIn.Start())
        return true;
    // Before the view exists the focus is the splash's, whose timer would close an owned box.
    if (app.viewWindow == nullptr)
        port::ShowMessageWithoutOwner("Unable to start WAVEIN thread", "Debug", MB_OK);
    else
        port::ShowMessage("Unable to start WAVEIN thread", "Debug", MB_OK);
    return false;
}

void StopCapture() {
    waveIn.Stop();
}

void RestartCapture(int32_t rate, int32_t size) {
    StopCapture();
    AnalyseFree();
    captureRate = rate;
    captureFftSize = size;
    blockFrames = rate > 8000 ? 2048 : 512;
    // Without its arrays the analysis cannot take audio: capture stays off until a later
    // restart finds the memory.
    if (!AnalyseInit(rate, size))
        return;
    waveIn.Configure(OnCaptureEvent, port::kPriorityHighest, kCaptureBuffers,
                     static_cast<uint32_t>(blockFrames) * 4, 2, static_cast<uint32_t>(rate), 16);
    windowFill = 0;
    // A slide left waiting for its read belongs to the old window.
    windowShifted = 0;
    StartCapture();
}

int MyClass::Init() {
    LocateSettingsFile();
    LoadSettings();
    RestartCapture(captureRate, captureFftSize);
    LoadSettings();
    if (AnalysisReady())
        BuildWeighting(weighting);
    ResetPeakHold();
    PinkNoiseInit(pinkNoise, 128);
    return 1;
}

int MyClass::Shutdown() {
    SaveSettings();
    soundEngine.PauseVoices();
    StopCapture();
    port::SleepMs(kShutdownWaitMs);
    AnalyseFree();
    return 1;
}

int MyClass::OnCreate() {
    LoadAppFonts();
    UpdateStatusText();
    soundEngine.Open(44100, 0);
    return 1;
}

int MyClass::ConfirmClose() {
    const FramesHeld held(*this);
    Menu menu;
    return menu.Run(screen, "Are you Sure?", "01Continue,02Exit Program", MenuAll) == 2;
}

int MyClass::CreateToolbars(port::WindowHandle rebar) {
    return BuildControlPanel(rebar);
}

intptr_t MyClass::OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return HandleAnalyzerMessage(*this, message, wParam, lParam);
}

bool MyClass::StartCapture() {
    return ::StartCapture();
}

void MyClass::StopCapture() {
    ::StopCapture();
}

void MyClass::RestartCapture(int32_t rate, int32_t size) {
    ::RestartCapture(rate, size);
}

int MyClass::OnSize(int32_t, int32_t) {
    int width = 0;
    int height = 0;
    port::ClientSize(viewWindow, &width, &height);
    if (width < kMinViewWidth)
        width = kMinViewWidth;
    if (height < kMinViewHeight)
        height = kMinViewHeight;
    screen.Create(width, height);
    pictureDrawn = false;
    spectrogramReset = 1;
    SetPlotSize(width, height);
    UpdateScrollBar();
    return 1;
}
