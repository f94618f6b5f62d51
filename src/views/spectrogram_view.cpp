// Drawing of the spectrogram view. User-interface thread only.
#include "views/spectrogram_view.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "analysis/analysis_setup.h"
#include "app/state.h"
#include "gfx/dib.h"
#include "views/axes.h"
#include "views/readouts.h"
#include "views/view_layout.h"

CDib spectrogramImage;

namespace {

constexpr int kHueRangeDb = 75;

// Column levels of the newest row: W + 1 whole-dB values, kept between frames so that drawing
// allocates only when the plot grows.
std::vector<int16_t> columnLevels;

} // namespace

uint16_t SpectrogramColour(int level) {
    const int a = std::abs(level);
    if (a > kHueRangeDb)
        return 0;
    int h = 240 + a * 360 / kHueRangeDb;
    if (h >= 360)
        h -= 360;
    // Fully saturated six-sector hue: chroma 255, no grey part.
    const double c = 255.0;
    double r = 0.0, g = 0.0, b = 0.0;
    const double sector = h / 60.0;
    if (h <= 60 || h > 300) {
        r = c;
        if (h <= 60)
            g = c * sector;
        else
            b = c * (6.0 - sector);
    } else if (h < 180) {
        g = c;
        if (h <= 120)
            r = c * (2.0 - sector);
        else
            b = c * (sector - 2.0);
    } else {
        b = c;
        if (h <= 240)
            g = c * (4.0 - sector);
        else
            r = c * (sector - 4.0);
    }
    return MakeColor(static_cast<int>(r), static_cast<int>(g), static_cast<int>(b));
}

void ClearSpectrogramImage() {
    spectrogramImage.Clear(0);
}

void DrawSpectrogram(CDib& surface, int32_t reset) {
    const int w = plotWidth;
    const int h = plotHeight;
    if (reset) {
        spectrogramImage.Create(w, h);
        spectrogramImage.Clear(0);
        return;
    }
    DrawPeakReadout(surface, kReadoutY);
    DrawValueAxis(surface, kPlotTop, kPlotTop + h, kSpectrogramLeft, kSpectrogramLeft + w, 20, 5,
                  kAxisGrid | kAxisNoLabels, nullptr);
    DrawValueAxis(surface, kPlotTop, kPlotTop + h, kSpectrogramLeft, kSpectrogramLeft + w, 20, 5,
                  kAxisRightTicks | kAxisNoLabels, nullptr);
    surface.HLine(kSpectrogramLeft, kPlotTop + h, w, MakeColor(255, 255, 255));
    DrawLinearFrequencyAxis(surface, kSpectrogramLeft, kPlotTop + h, w,
                            static_cast<int>(firstBin * binWidthHz), zoom);
    if (spectrogramImage.m_Bits == nullptr)
        return;

    columnLevels.assign(static_cast<size_t>(w) + 1, static_cast<int16_t>(floorDb));
    const double pixelsPerBin = static_cast<double>(w) / binCount * zoom;
    double max = floorDb;
    int lastX = 0;
    for (int32_t k = 0; firstBin + k < binCount; ++k) {
        const int x = static_cast<int>(k * pixelsPerBin);
        if (x != lastX) {
            for (int col = lastX; col <= x && col <= w; ++col)
                columnLevels[col] = static_cast<int16_t>(max);
            max = floorDb;
            lastX = x;
            if (x >= w)
                break;
        }
        if (traces[0][firstBin + k] > max)
            max = traces[0][firstBin + k];
    }

    CDib& image = spectrogramImage;
    if (!paused && image.m_Height > 0) {
        std::memmove(image.m_Bits, image.m_Bits + image.m_Width,
                     static_cast<size_t>(image.m_Height - 1) * image.m_Width * sizeof(uint16_t));
        uint16_t* bottom = image.m_Bits + static_cast<size_t>(image.m_Height - 1) * image.m_Width;
        const int columns = w < image.m_Width ? w : image.m_Width;
        for (int x = 0; x < columns; ++x)
            bottom[x] = SpectrogramColour(columnLevels[x]);
    }
    surface.Blit(kSpectrogramLeft, kPlotTop, image.m_Width, image.m_Height, image, 0, 0,
                 BLIT_KEYED);
}
