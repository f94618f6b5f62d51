// The running analyzer through the headless port: start-up, the view's size, frames driven by
// simulated capture on the virtual clock, the meters and the peak readout, shutdown.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "app/my_class.h"
#include "cli/app_run.h"
#include "state/state.h"
#include "views/readouts.h"
#include "views/view_layout.h"

namespace {

// The analyzer in a 720 x 400 view; UseSine has it capture a sine of 1 kHz at half of full scale.
class RunningAnalyzer : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(run.Start(720, 400, &error)) << error; }
    bool UseSine() {
        headless::CaptureSource sine;
        sine.kind = headless::CaptureSource::Kind::Sine;
        return run.UseSource(sine, 44100, &error);
    }
    std::string error;
    cli::AppRun run;
};

TEST_F(RunningAnalyzer, FillsFourBlocksThenDrawsEveryBlockAndSavesTheSettingsAtShutdown) {
    ASSERT_TRUE(UseSine()) << error;
    EXPECT_EQ(plotWidth, 670);
    EXPECT_EQ(plotHeight, 310);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(run.RunBlocks(1), 0) << "block " << i << " only fills the window";
    EXPECT_EQ(run.RunBlocks(13), 13);
    EXPECT_NEAR(peakReadoutHold.frequency, 1000.0, binWidthHz);
    // Half of full scale: 20 log10(0.5) = -6.02 dB on the meters' hold.
    EXPECT_NEAR(meterHoldDb, -6.02, 0.05);
    headless::Image image;
    ASSERT_TRUE(headless::LastPresented(cli::AppView(), &image));
    EXPECT_EQ(image.width, 720);
    EXPECT_EQ(image.height, 400);

    app.Shutdown();
    std::ifstream in("RTA.DAT", std::ios::binary | std::ios::ate);
    EXPECT_EQ(static_cast<long>(in.tellg()), 56);
}

TEST_F(RunningAnalyzer, NoCaptureDeviceIsReportedOnceAndThePaintShowsTheAxes) {
    headless::SetCaptureDevices(0);
    EXPECT_FALSE(UseSine());
    EXPECT_EQ(error, "capture did not start: \"Unable to start WAVEIN thread\"");
    EXPECT_FALSE(waveIn.IsRunning());
    EXPECT_EQ(run.RunBlocks(6), 0);
    headless::Image image;
    EXPECT_FALSE(headless::LastPresented(cli::AppView(), &image));

    // The view's paint shows the view all the same: its white left edge runs down the plot, and
    // the live trace lies in green on the floor.
    app.Paint();
    ASSERT_TRUE(headless::LastPresented(cli::AppView(), &image));
    for (int y = kPlotTop; y < kPlotTop + plotHeight; ++y)
        ASSERT_EQ(image.pixels[y * image.width + kPlotLeft], 0x7FFF) << y;
    EXPECT_EQ(image.pixels[(kPlotTop + plotHeight) * image.width + kPlotLeft + 100], 0x03E0);
}

TEST_F(RunningAnalyzer, APaintWhileTheCloseQuestionWaitsDrawsNoFrameOverIt) {
    ASSERT_TRUE(UseSine()) << error;
    ASSERT_EQ(run.RunBlocks(5), 1);
    run.CaptureBlock(); // a block waits that a frame would take and draw
    int framesDrawn = -1;
    headless::SetIdleHook([&framesDrawn] {
        if (framesDrawn < 0)
            framesDrawn = app.Frame();
    });
    EXPECT_FALSE(app.ConfirmClose()) << "no answer dismisses the question";
    headless::SetIdleHook({});
    EXPECT_EQ(framesDrawn, 0);
    EXPECT_EQ(app.running, 1u);
    // The menu's animation lets time pass: the ring may overflow and start afresh, which costs
    // the blocks the device had already recorded.
    EXPECT_GE(run.RunBlocks(6), 1) << "frames are drawn again once the question is gone";

    // The view destroyed while the question waits (the frame closed meanwhile, say) stays
    // without frame updates. The main loop first takes the quit message the dismissed question
    // left.
    run.CaptureBlock();
    const port::WindowHandle view = app.viewWindow;
    headless::SetIdleHook([] {
        app.running = 0;
        app.viewWindow = nullptr;
    });
    app.ConfirmClose();
    headless::SetIdleHook({});
    EXPECT_EQ(app.running, 0u);
    app.viewWindow = view;
    run.CaptureBlock();
}

} // namespace
