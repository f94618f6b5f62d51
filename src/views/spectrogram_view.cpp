// Drawing of the spectrogram view. User-interface thread only.
#include "views/spectrogram_view.h"

#include <cstdlib>
#include <cstring>

#include "analysis/analysis_setup.h"
#include "gfx/dib.h"
#include "state/alloc.h"
#include "state/state.h"
#include "views/axes.h"
#include "views/readouts.h"
#include "views/view_layout.h"

CDib spectrogramImage;

namespace {

constexpr int kHueRangeDb = 75;

// Column levels of the newest row: whole-dB values of columns 0..W, made with the image.
int16_t* columnLevels = nullptr;
int32_t columnCount = 0;

// The levels of columns 0..count - 1 from channel 1's trace: each column the highest bin that
// falls into it; zoomed in, the columns between two bins repeat the level of the left one.
void FindColumnLevels(int16_t* levels, int32_t count) {
    for (int32_t col = 0; col < count; ++col)
        levels[col] = static_cast<int16_t>(floorDb);
    const double pixelsPerBin = static_cast<double>(plotWidth) / binCount * zoom;
    double max = floorDb;
    int lastX = 0;
    for (int32_t k = 0; firstBin + k < binCount; ++k) {
        const int x = static_cast<int>(k * pixelsPerBin);
        if (x != lastX) {
            for (int col = lastX; col <= x && col < count; ++col)
                levels[col] = static_cast<int16_t>(max);
            max = floorDb;
            lastX = x;
            if (x >= plotWidth)
                break;
        }
        if (traces[0][firstBin + k] > max)
            max = traces[0][firstBin + k];
    }
}

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
    CDib& image = spectrogramImage;
    if (reset) {
        image.Create(w, h);
        image.Clear(0);
        FreeArray(columnLevels);
        columnLevels = AllocArray<int16_t>(static_cast<size_t>(w) + 1);
        columnCount = columnLevels != nullptr ? w + 1 : 0;
        return;
    }
    DrawPeakReadout(surface, kReadoutY);
    DrawValueAxis(surface, kPlotTop, kPlotTop + h, kSpectrogramLeft, kSpectrogramLeft + w, 20, 5,
                  kAxisGrid | kAxisNoLabels, nullptr);
    DrawValueAxis(surface, kPlotTop, kPlotTop + h, kSpectrogramLeft, kSpectrogramLeft + w, 20, 5,
                  kAxisRightTicks | kAxisNoLabels, nullptr);
    surface.HLine(kSpectrogramLeft, kPlotTop + h, w, kWhite);
    DrawLinearFrequencyAxis(surface, kSpectrogramLeft, kPlotTop + h, w,
                            static_cast<int>(firstBin * binWidthHz), zoom);
    if (image.m_Bits == nullptr)
        return;
    if (!paused && image.m_Height > 0 && columnLevels != nullptr) {
        FindColumnLevels(columnLevels, columnCount);
        std::memmove(image.m_Bits, image.m_Bits + image.m_Width,
                     static_cast<size_t>(image.m_Height - 1) * image.m_Width * sizeof(uint16_t));
        uint16_t* bottom = image.m_Bits + static_cast<size_t>(image.m_Height - 1) * image.m_Width;
        int columns = w < image.m_Width ? w : image.m_Width;
        if (columns > columnCount)
            columns = columnCount;
        for (int x = 0; x < columns; ++x)
            bottom[x] = SpectrogramColour(columnLevels[x]);
    }
    surface.Blit(kSpectrogramLeft, kPlotTop, image.m_Width, image.m_Height, image, 0, 0,
                 BLIT_KEYED);
}
