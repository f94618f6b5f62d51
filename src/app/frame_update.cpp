// The frame update: one capture block into the sample window, the analysis, the view of the
// display mode, the level meters, and the surface onto the window. User-interface thread.
#include <cstdio>

#include "analysis/analysis_setup.h"
#include "analysis/spectrum.h"
#include "app/my_class.h"
#include "app/sample_window.h"
#include "port/port.h"
#include "state/state.h"
#include "ui/tone_generator.h"
#include "views/band_view.h"
#include "views/fonts.h"
#include "views/spectrogram_view.h"
#include "views/spectrum_view.h"
#include "views/transfer_view.h"
#include "views/view_layout.h"
#include "views/zoom.h"

namespace {

struct MeterSegment {
    uint8_t red, green, blue;
    int32_t thresholdDb;
};
constexpr MeterSegment kMeterSegments[13] = {
    {0, 255, 0, -96},   {64, 255, 0, -78},  {128, 255, 0, -60}, {192, 255, 0, -48},
    {255, 255, 0, -36}, {255, 255, 0, -30}, {255, 255, 0, -24}, {255, 255, 0, -18},
    {255, 255, 0, -15}, {255, 192, 0, -12}, {255, 128, 0, -9},  {255, 64, 0, -6},
    {255, 0, 0, -3}};

FrameRateRing frameRateRing;

bool ReadCaptureBlock(void* context, void* dest, uint32_t bytes) {
    return static_cast<CWaveInThread*>(context)->Read(dest, bytes);
}

void DrawView(CDib& surface) {
    switch (displayMode) {
    case kModeLinear:
        DrawSpectrumLinear(surface);
        break;
    case kModeLog:
        DrawSpectrumLog(surface);
        break;
    case kModeOctave:
    case kModeThirdOctave:
    case kModeSixthOctave:
    case kModeTwelfthOctave:
    case kModeSpl:
        DrawBandView(surface, BandSetOfMode(displayMode));
        break;
    case kModeSpectrogram:
        DrawSpectrogram(surface, spectrogramReset);
        spectrogramReset = 0;
        break;
    case kModeTransferLinear:
        DrawTransferLinear(surface);
        break;
    case kModeTransferLog:
        DrawTransferLog(surface);
        break;
    case kModePhaseLog:
        DrawPhaseLog(surface);
        break;
    case kModeWaveform:
        DrawWaveform(surface);
        break;
    default:
        break;
    }
}

void DrawMeterBar(CDib& surface, int y, float level) {
    for (int i = 0; i < 13; ++i) {
        const MeterSegment& s = kMeterSegments[i];
        const uint16_t colour = s.thresholdDb < level
                                    ? MakeColor(s.red, s.green, s.blue)
                                    : MakeColor(s.red / 2, s.green / 2, s.blue / 2);
        surface.FillRect(10 + 15 * i, y, 24 + 15 * i, y + 6, colour);
    }
}

void DrawMeters(CDib& surface, uint32_t now) {
    const int16_t* newest = sampleWindow + 2 * (captureFftSize - blockFrames);
    const float levelL = ChannelLevelDb(newest, blockFrames, 0);
    const float levelR = ChannelLevelDb(newest, blockFrames, 1);
    const float shown = HoldMeterReading(levelL, now);

    const int w = surface.m_Width;
    const uint16_t grey = MakeColor(192, 192, 192);
    const int rows[6] = {27, 28, 29, 51, 52, 53};
    const uint16_t colours[6] = {grey, kWhite, grey, grey, kWhite, grey};
    for (int i = 0; i < 6; ++i)
        surface.HLine(0, rows[i], w, colours[i]);

    char text[32];
    std::snprintf(text, sizeof text, "%0.0fdB", shown);
    largeFont.DrawText(surface, w - 50 - largeFont.TextWidth(text) / 2, -3, text, kWhite,
                       BLIT_KEYED);

    surface.FillRect(8, 3, 207, 13, 0);
    surface.FillRect(8, 14, 207, 24, 0);
    DrawMeterBar(surface, 5, swapChannels ? levelR : levelL);
    DrawMeterBar(surface, 16, swapChannels ? levelL : levelR);
}

// The picture of the analysis as it stands: background, view, meters and drag selection. The
// trace colours are those of the monitor mode even before the first analysis.
void DrawPicture(CDib& surface, uint32_t now) {
    if (fadeDisplay)
        surface.FadeRect(kPlotLeft, kPlotTop, kPlotLeft + plotWidth, kPlotTop + plotHeight, 0.95f);
    else
        surface.Clear(MakeColor(0, 32, 0));
    if (!AnalysisReady())
        return;
    SetTraceColours();
    DrawView(surface);
    DrawMeters(surface, now);
    DrawDragSelection(surface);
}

} // namespace

void ResetProgramState() {
    ResetAnalyzerState();
    ResetViewState();
    frameRateRing = FrameRateRing();
    toneVoice = 0;
}

int MyClass::Frame() {
    if (screen.m_Bits == nullptr)
        return 0;
    if (!running) {
        screen.Present();
        return 0;
    }
    RefreshNoiseTone();
    if (!waveIn.IsRunning() || !AnalysisReady())
        return 0;
    if (AdvanceSampleWindow(ReadCaptureBlock, &waveIn) != WindowStep::kSlid)
        return 0;

    if (!paused)
        Analyse(sampleWindow);
    const uint32_t now = port::TickCount();
    DrawPicture(screen, now);
    frameRateRing.Tick(now);
    screen.Present();
    pictureDrawn = true;
    return 1;
}

int MyClass::Paint() {
    if (Frame() != 0 || !running || screen.m_Bits == nullptr)
        return 1;
    // No block came (no input device, say): the view shows its last picture, or draws one from
    // the analysis as it stands when the surface has none yet.
    if (!pictureDrawn) {
        DrawPicture(screen, port::TickCount());
        pictureDrawn = true;
    }
    screen.Present();
    return 1;
}
