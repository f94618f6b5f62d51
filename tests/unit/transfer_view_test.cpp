// The transfer and phase views: the vertical span of a column and the value it keeps, and
// clipping at the plot's edges (the golden images pin down the rest of their pictures).
#include <gtest/gtest.h>

#include "view_test_support.h"
#include "views/transfer_view.h"

namespace {

using namespace view_test;

struct View {
    const char* name;
    void (*draw)(CDib&);
    bool phase;
};
const View kViews[] = {{"transfer linear", DrawTransferLinear, false},
                       {"transfer log", DrawTransferLog, false},
                       {"phase log", DrawPhaseLog, true}};

class TransferView : public ViewTest {
protected:
    void SetUp() override {
        ViewTest::SetUp();
        displayMode = kModeTransferLinear;
        Init(44100, 8192);
    }
    // Channel 1 minus channel 2 in dB (or the phase in degrees) of bin b.
    void SetDifference(int32_t b, float v) {
        traces[0][b] = -50.0f + v;
        traces[1][b] = -50.0f;
        phaseTrace[b] = v;
    }
    void Draw(const View& view) {
        ClearSurface();
        view.draw(screen);
    }
    int Y(const View& view, double v) const { return view.phase ? PhaseY(v) : TransferY(v); }
    int Right() const { return kPlotLeft + plotWidth; }
    int Bottom() const { return kPlotTop + plotHeight; }
};

TEST_F(TransferView, ColumnKeepsTheExtremeOfLargerMagnitude) {
    const struct {
        float even, odd, kept;
    } cases[] = {{3.0f, -8.0f, -8.0f}, {5.0f, -5.0f, -5.0f}, {-3.0f, 8.0f, 8.0f}};
    for (const auto& c : cases) {
        for (int32_t b = 0; b < binCount; ++b)
            SetDifference(b, b < binCount / 4 ? 0.0f : (b % 2 ? c.odd : c.even));
        // About 11 kHz, where a pixel spans some 30 bins.
        HoldMouse(kPlotLeft + 600, kPlotTop + 40);
        for (const View& view : {kViews[1], kViews[2]}) {
            Draw(view);
            const int x = kPlotLeft + 10;
            EXPECT_EQ(Count(kWhite, x, kPlotTop, x + 1, Bottom()), 1) << view.name;
            EXPECT_EQ(FirstRow(kWhite, x), Y(view, c.kept)) << view.name << " " << c.even;
        }
    }
}

// A column of several bins draws the whole span between their values; one reaching beyond the
// +-25 dB scale is cut to the plot, and not drawn at all when it lies wholly outside.
TEST_F(TransferView, ColumnOfSeveralBinsDrawsTheirSpanCutToThePlot) {
    verticalScale = 0.5;
    const int x = kPlotLeft + 200;
    const double pixelsPerBin = plotWidth * zoom / binCount;
    const struct {
        float a, b;
        int first, last; // -1: nothing
    } cases[] = {
        {3.0f, -8.0f, TransferY(3.0), TransferY(-8.0)},
        {40.0f, 20.0f, kPlotTop, TransferY(20.0)},
        {40.0f, 0.0f, kPlotTop, TransferY(0.0)},
        {40.0f, 30.0f, -1, -1},
        {-30.0f, -40.0f, -1, -1},
    };
    for (const auto& c : cases) {
        for (int32_t b = 0; b < binCount; ++b) {
            const bool inColumn = static_cast<int>(b * pixelsPerBin + kPlotLeft) == x;
            SetDifference(b, inColumn ? (b % 2 ? c.a : c.b) : 0.0f);
        }
        Draw(kViews[0]);
        EXPECT_EQ(FirstRow(kGreen, x), c.first) << c.a << " " << c.b;
        EXPECT_EQ(LastRow(kGreen, x), c.last) << c.a << " " << c.b;
        EXPECT_EQ(Count(kGreen, x, 0, x + 1, screen.m_Height), c.last - c.first + (c.last >= 0))
            << c.a << " " << c.b;
    }
}

TEST_F(TransferView, DifferencesBeyondTheScaleAreClippedAtThePlotEdges) {
    verticalScale = 0.5; // +-25 dB, +-45 degrees
    for (int32_t b = 0; b < binCount; ++b)
        SetDifference(b, b % 512 < 256 ? 60.0f : -60.0f);
    for (const View& view : kViews) {
        Draw(view);
        const int inside = Count(kGreen, kPlotLeft, kPlotTop, Right(), Bottom());
        EXPECT_EQ(CountAll(kGreen), inside) << view.name;
        EXPECT_GT(Count(kGreen, kPlotLeft, kPlotTop, Right(), kPlotTop + 1), 0) << view.name;
        EXPECT_GT(Count(kGreen, kPlotLeft, Bottom() - 1, Right(), Bottom()), 0) << view.name;
    }
}

} // namespace
