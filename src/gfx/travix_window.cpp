// The framework class of the application object and the particle sprites it loads.
// User-interface thread.
#include "gfx/travix_window.h"

#include <cctype>

#include "gfx/button.h"
#include "port/messages.h"

CDib particleBitmaps[kParticleCount];

namespace {

const char* const kParticleNames[kParticleCount] = {"SMOKE", "SPARK", "BUBBLE", "FLARE"};

// Replaces every pixel but the key by its luminance.
void ToLuminance(CDib& sprite) {
    for (int32_t y = 0; y < sprite.m_Height; ++y) {
        for (int32_t x = 0; x < sprite.m_Width; ++x) {
            const uint16_t p = sprite.GetPixel(x, y);
            if (p == sprite.m_ColorKey)
                continue;
            int r, g, b;
            SplitColor(p, r, g, b);
            sprite.PutPixel(x, y, static_cast<uint16_t>(0.299 * r + 0.587 * g + 0.114 * b));
        }
    }
}

// Loads the sprites in order; the first that cannot be loaded is reported by its name in lower
// case and ends the loading.
void LoadParticles() {
    for (int i = 0; i < kParticleCount; ++i) {
        CDib& sprite = particleBitmaps[i];
        if (!sprite.LoadFromResource(port::ProgramModule(), kParticleNames[i])) {
            char caption[8] = {};
            for (int k = 0; kParticleNames[i][k] != '\0'; ++k)
                caption[k] = static_cast<char>(
                    std::tolower(static_cast<unsigned char>(kParticleNames[i][k])));
            port::ShowMessage("Unable to initialise particle system", caption, MB_OK);
            return;
        }
        sprite.SetColorKey(sprite.GetPixel(0, 0));
        ToLuminance(sprite);
    }
}

} // namespace

int TTravixWindow::ShowSplash() {
    return 0;
}
int TTravixWindow::Init() {
    return 0;
}
int TTravixWindow::Shutdown() {
    return 0;
}
int TTravixWindow::OnCreate() {
    return 0;
}
int TTravixWindow::ConfirmClose() {
    return 0;
}
int TTravixWindow::CreateToolbars(port::WindowHandle) {
    return 0;
}
int TTravixWindow::Frame() {
    return 0;
}
int TTravixWindow::OnSize(int32_t, int32_t) {
    return 0;
}
intptr_t TTravixWindow::OnMessage(uint32_t, uintptr_t, intptr_t) {
    return 0;
}

int TTravixWindow::Create(port::WindowHandle window) {
    viewWindow = window;
    running = 1;
    buttonFont.LoadText(port::ProgramModule(), "BUTTONFONT");
    screen.Create(window);
    LoadParticles();
    OnCreate();
    return 1;
}
