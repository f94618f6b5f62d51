// The headless soak run in miniature: every change of the schedule within seconds, every captured
// block checked; and the check itself sees audio that does not arrive whole.
#include <gtest/gtest.h>

#include "cli/soak.h"

namespace {

cli::SoakPlan BusyPlan() {
    cli::SoakPlan plan;
    plan.minutes = 0.5;
    plan.modeEverySec = 1.5;
    plan.fftEverySec = 4.0;
    plan.rateEverySec = 9.0;
    plan.warmUpMinutes = 0.25;
    plan.maxGrowthKb = 1 << 20; // memory is the long run's business
    return plan;
}

TEST(HeadlessSoak, EveryBlockArrivesOnceAndInOrderThroughAllChanges) {
    cli::SoakReport report;
    std::string error;
    ASSERT_TRUE(cli::Soak(BusyPlan(), &report, &error)) << error << "\n"
                                                        << cli::FormatSoakReport(report);
    EXPECT_EQ(report.modeChanges, 19u);
    EXPECT_EQ(report.restarts, 7u + 3u);
    EXPECT_GT(report.windows, report.blocks / 2);
    EXPECT_EQ(report.counts.bytesStored - report.counts.bytesRead - report.counts.bytesDiscarded,
              0u);
}

TEST(HeadlessSoak, AudioThatDoesNotArriveWholeFails) {
    cli::SoakPlan plan = BusyPlan();
    plan.minutes = 0.1;
    plan.shortBufferEvery = 7;
    cli::SoakReport report;
    std::string error;
    EXPECT_FALSE(cli::Soak(plan, &report, &error));
    EXPECT_GT(report.torn, 0u);
    EXPECT_EQ(error, "captured blocks were lost, repeated or torn");
}

} // namespace
