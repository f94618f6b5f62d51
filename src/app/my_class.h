// The application object: the analyzer's hooks into the framework window class, and the
// audio pipeline's start and stop. User-interface thread, except OnCaptureEvent (capture worker).
#pragma once

#include <cstdint>

#include "audio/wave_in_thread.h"
#include "ui/analyzer_window.h"

class MyClass : public AnalyzerWindow {
public:
    int Init() override;
    int Shutdown() override;
    int OnCreate() override;
    int ConfirmClose() override;
    int CreateToolbars(port::WindowHandle rebar) override;
    int Frame() override;
    int OnSize(int32_t width, int32_t height) override;
    intptr_t OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    bool StartCapture() override;
    void StopCapture() override;
    void RestartCapture(int32_t rate, int32_t size) override;

    // The view's WM_PAINT: a frame update, and when that draws nothing the view's picture is
    // shown all the same. Returns 1.
    int Paint();

private:
    bool pictureDrawn = false; // since the surface was made at the view's size
};

extern MyClass app;
extern CWaveInThread waveIn;

// Every variable of the program back to its value at launch, for a host that runs the program
// again in the same process; call it before Init, with capture stopped.
void ResetProgramState();
// Stops capture, rebuilds the analysis for rate and size, and starts capture again.
void RestartCapture(int32_t rate, int32_t size);
// Starts and stops the capture thread without touching the analysis; a failed start tells the
// user "Unable to start WAVEIN thread".
bool StartCapture();
void StopCapture();
// Capture worker: result 2 (the ring was full and recording halted) resumes recording.
void OnCaptureEvent(uint32_t result);
