// The application object as the user interface sees it: the framework window with the capture
// control that only the application above can give. User-interface thread only.
#pragma once

#include <cstdint>

#include "gfx/travix_window.h"

class AnalyzerWindow : public TTravixWindow {
public:
    // Starts and stops the capture thread around a modal dialog; a failed start has told the user.
    virtual bool StartCapture() = 0;
    virtual void StopCapture() = 0;
    // Stops capture, rebuilds the analysis for rate and size, and starts capture again.
    virtual void RestartCapture(int32_t rate, int32_t size) = 0;

protected:
    ~AnalyzerWindow() = default;
};

// The command handler: menu commands, tool-bar buttons, trackbars, tool tips, mixer changes and
// the view's keys, mouse and scroll bar, as the window procedures forward them.
intptr_t HandleAnalyzerMessage(AnalyzerWindow& window, uint32_t message, uintptr_t wParam,
                               intptr_t lParam);
// Builds the control panel in rebar and sets its controls from the settings. Returns 1.
int BuildControlPanel(port::WindowHandle rebar);
