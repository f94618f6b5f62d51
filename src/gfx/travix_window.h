// The framework class of the application object: one full-window view of a small fixed-size
// display with its 16-bit drawing surface, and the hooks an application overrides.
// User-interface thread only.
#pragma once

#include <cstdint>

#include "gfx/screen.h"
#include "port/port.h"

// The particle sprites ("SMOKE", "SPARK", "BUBBLE", "FLARE"), loaded with the view; each pixel
// holds its luminance 0..255, and the colour of pixel (0, 0) is the key.
constexpr int kParticleCount = 4;
extern CDib particleBitmaps[kParticleCount];

class TTravixWindow {
public:
    TTravixWindow() = default;
    TTravixWindow(const TTravixWindow&) = delete;
    TTravixWindow& operator=(const TTravixWindow&) = delete;

    // The hooks, in their slot order. The base versions do nothing and return 0.
    virtual int ShowSplash();
    virtual int Init();
    virtual int Shutdown();
    virtual int OnCreate();
    virtual int ConfirmClose();
    virtual int CreateToolbars(port::WindowHandle rebar);
    virtual int Frame();
    virtual int OnSize(int32_t width, int32_t height);
    virtual intptr_t OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);

    // Binds the object to the view window when it is created: loads the button font, makes a
    // display-sized surface bound to the window, loads the particle sprites and calls OnCreate.
    // Returns 1.
    int Create(port::WindowHandle window);

    port::WindowHandle viewWindow = nullptr; // null again once the view is destroyed
    CScreen screen;
    uint32_t running = 0;

protected:
    // The one application object is a static of the derived class, never deleted through here.
    ~TTravixWindow() = default;
};

// Holds the frame updates while an in-view modal loop runs over the view, so that a paint
// meanwhile shows the menu rather than a new frame over it. They resume afterwards, unless the
// view was destroyed meanwhile (its viewWindow is then null).
class FramesHeld {
public:
    explicit FramesHeld(TTravixWindow& window) : window_(window), wasRunning_(window.running) {
        window.running = 0;
    }
    ~FramesHeld() {
        if (window_.viewWindow != nullptr)
            window_.running = wasRunning_;
    }
    FramesHeld(const FramesHeld&) = delete;
    FramesHeld& operator=(const FramesHeld&) = delete;

private:
    TTravixWindow& window_;
    uint32_t wasRunning_;
};
