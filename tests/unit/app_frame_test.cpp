// The running analyzer through the headless port: start-up, the view's creation and size, frames
// driven by simulated capture on the virtual clock, the meters and the peak readout, shutdown.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>
#include <unistd.h>

#include "analysis/analysis_setup.h"
#include "app/my_class.h"
#include "app/state.h"
#include "port/headless/headless.h"
#include "running_app.h"
#include "scratch_dir.h"
#include "views/readouts.h"
#include "views/view_layout.h"

namespace {

using running_app::kView;

class RunningAnalyzer : public ScratchDirTest {
protected:
    void SetUp() override {
        ScratchDirTest::SetUp();
        headless::ResetCapture();
    }
    void TearDown() override {
        app.Shutdown();
        run.Stop();
        ScratchDirTest::TearDown();
    }
    void Start(const headless::CaptureSource& source) { run.Start(source, 720, 400); }
    // One capture block of time passes, then one frame update.
    bool Step() {
        headless::ForgetPresented();
        run.Step();
        headless::Image image;
        return headless::LastPresented(kView, &image);
    }
    running_app::RunningApp run;
};

TEST_F(RunningAnalyzer, FillsFourBlocksThenDrawsEveryBlock) {
    Start(running_app::Sine(1000.0, 0.5));
    ASSERT_TRUE(waveIn.IsRunning());
    EXPECT_EQ(plotWidth, 670);
    EXPECT_EQ(plotHeight, 310);
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(Step()) << "block " << i << " only fills the window";
    for (int i = 0; i < 12; ++i)
        EXPECT_TRUE(Step()) << "frame " << i;
    EXPECT_NEAR(peakReadoutHold.frequency, 1000.0, binWidthHz);
    // Half of full scale: 20 log10(0.5) = -6.02 dB on the meters' hold.
    EXPECT_NEAR(meterHoldDb, -6.02, 0.05);
    headless::Image image;
    headless::ForgetPresented();
    ASSERT_TRUE(Step());
    ASSERT_TRUE(headless::LastPresented(kView, &image));
    EXPECT_EQ(image.width, 720);
    EXPECT_EQ(image.height, 400);
}

TEST_F(RunningAnalyzer, SilenceReadsTheFloorAndNoCaptureDeviceIsReportedOnce) {
    headless::SetCaptureDevices(0);
    Start(headless::CaptureSource{});
    const auto shown = headless::TakeMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Unable to start WAVEIN thread");
    EXPECT_EQ(shown[0].caption, "Debug");
    EXPECT_FALSE(waveIn.IsRunning());
    EXPECT_FALSE(Step()) << "nothing is drawn without capture";
}

TEST_F(RunningAnalyzer, ShutdownSavesTheSettings) {
    Start(headless::CaptureSource{});
    displayMode = kModeOctave;
    app.Shutdown();
    std::ifstream in("RTA.DAT", std::ios::binary | std::ios::ate);
    EXPECT_EQ(static_cast<long>(in.tellg()), 56);
}

} // namespace

TEST_F(RunningAnalyzer, APaintWhileTheCloseQuestionWaitsDrawsNoFrameOverIt) {
    Start(running_app::Sine(1000.0, 0.5));
    ASSERT_TRUE(run.StepUntilDrawn());
    run.NextBlock(); // a block waits that a frame would take and draw
    int framesDrawn = -1;
    headless::SetIdleHook([&framesDrawn] {
        if (framesDrawn < 0)
            framesDrawn = app.Frame();
    });
    EXPECT_FALSE(app.ConfirmClose()) << "no answer dismisses the question";
    headless::SetIdleHook({});
    EXPECT_EQ(framesDrawn, 0);
    EXPECT_EQ(app.running, 1u);
    EXPECT_EQ(app.Frame(), 1) << "the waiting block is drawn once the question is gone";
}
