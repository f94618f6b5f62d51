// The headless soak run in miniature: every change of the schedule within seconds, every captured
// block checked; and the check itself sees audio that does not arrive whole.
#include <gtest/gtest.h>

#include "port/headless/headless_soak.h"

namespace {

headless::SoakPlan BusyPlan() {
    headless::SoakPlan plan;
    plan.minutes = 0.5;
    plan.modeEverySec = 1.5;
    plan.fftEverySec = 4.0;
    plan.rateEverySec = 9.0;
    plan.warmUpMinutes = 0.25;
    plan.maxGrowthKb = 1 << 20; // memory is the long run's business
    return plan;
}

TEST(HeadlessSoak, EveryBlockArrivesOnceAndInOrderThroughAllChanges) {
    headless::SoakReport report;
    std::string error;
    ASSERT_TRUE(headless::Soak(BusyPlan(), &report, &error)) << error << "\n"
                                                             << headless::FormatSoakReport(report);
    EXPECT_EQ(report.modeChanges, 19u);
    EXPECT_EQ(report.restarts, 7u + 3u);
    EXPECT_GT(report.windows, report.blocks / 2);
    EXPECT_EQ(report.gaps, 0u);
    EXPECT_EQ(report.torn, 0u);
    EXPECT_EQ(report.counts.bytesStored - report.counts.bytesRead - report.counts.bytesDiscarded,
              0u);
}

TEST(HeadlessSoak, AudioThatDoesNotArriveWholeFails) {
    headless::SoakPlan plan = BusyPlan();
    plan.minutes = 0.1;
    plan.shortBufferEvery = 7;
    headless::SoakReport report;
    std::string error;
    EXPECT_FALSE(headless::Soak(plan, &report, &error));
    EXPECT_GT(report.torn, 0u);
    EXPECT_EQ(error, "captured blocks were lost, repeated or torn");
}

} // namespace
