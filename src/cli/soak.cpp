// The headless soak run: a numbered-frame signal through capture, analysis and every view for a
// long stretch of simulated time, with the user's changes on a schedule. Caller's thread.
#include "cli/soak.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

#include "analysis/analysis_setup.h"
#include "app/my_class.h"
#include "cli/app_run.h"
#include "state/state.h"
#include "ui/control_ids.h"

namespace cli {

namespace {

constexpr int32_t kRates[] = {44100, 22050, 11025, 8000};
constexpr int32_t kFftSizes[] = {2048, 4096, 8192, 16384, 32768};
constexpr int kScaleModes = static_cast<int>(std::size(kScaleItems));

// Resident memory of this process in kB; -1 where the system does not say.
long ResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kb = -1;
            status >> kb;
            return kb;
        }
        status.ignore(1 << 12, '\n');
    }
    return -1;
}

// The number the Sequence source gave frame i of the sample window.
uint32_t FrameNumber(int32_t i) {
    return static_cast<uint16_t>(sampleWindow[2 * i]) |
           static_cast<uint32_t>(static_cast<uint16_t>(sampleWindow[2 * i + 1])) << 16;
}

// Follows the newest block of the sample window from frame to frame.
class BlockChecker {
public:
    void Restarted() { known = false; }

    void AfterBlock(SoakReport& report) {
        if (windowFill < captureFftSize || windowShifted != 0) {
            known = false;
            return;
        }
        const uint32_t newest = FrameNumber(captureFftSize - 1);
        if (known && newest == lastNewest) {
            ++report.stalls;
            return;
        }
        if (known && newest != lastNewest + static_cast<uint32_t>(blockFrames))
            ++report.gaps;
        const uint32_t first = FrameNumber(0);
        for (int32_t i = 1; i < captureFftSize; ++i) {
            if (FrameNumber(i) != first + static_cast<uint32_t>(i)) {
                ++report.torn;
                break;
            }
        }
        ++report.windows;
        lastNewest = newest;
        known = true;
    }

private:
    bool known = false;
    uint32_t lastNewest = 0;
};

} // namespace

bool Soak(const SoakPlan& plan, SoakReport* report, std::string* error) {
    SoakReport r;
    AppRun run;
    if (!run.Start(kAppViewWidth, kAppViewHeight, error))
        return false;
    headless::SetCaptureShortBuffers(plan.shortBufferEvery, 1024);
    headless::CaptureSource numbered;
    numbered.kind = headless::CaptureSource::Kind::Sequence;
    if (!run.UseSource(numbered, kRates[0], error))
        return false;
    r.rssStartKb = r.rssMaxKb = ResidentKb();

    BlockChecker checker;
    int mode = 0, fft = 0, rate = 0;
    double nextMode = plan.modeEverySec, nextFft = plan.fftEverySec, nextRate = plan.rateEverySec;
    const double end = plan.minutes * 60.0;
    bool warm = false;
    while (r.simulatedSec < end) {
        if (r.simulatedSec >= nextRate) {
            nextRate += plan.rateEverySec;
            rate = (rate + 1) % static_cast<int>(std::size(kRates));
            if (!run.UseSource(numbered, kRates[rate], error))
                return Fail(error, "rate change: " + *error);
            checker.Restarted();
            ++r.restarts;
        }
        if (r.simulatedSec >= nextFft) {
            nextFft += plan.fftEverySec;
            fft = (fft + 1) % static_cast<int>(std::size(kFftSizes));
            if (!run.ChangeFftSize(kFftSizes[fft], error))
                return Fail(error, "FFT size change: " + *error);
            checker.Restarted();
            ++r.restarts;
        }
        if (r.simulatedSec >= nextMode) {
            nextMode += plan.modeEverySec;
            mode = (mode + 1) % kScaleModes;
            run.SelectItem(kScaleCombo, mode);
            ++r.modeChanges;
        }
        r.frames += static_cast<uint64_t>(run.RunBlocks(1));
        ++r.blocks;
        r.simulatedSec += static_cast<double>(blockFrames) / captureRate;
        checker.AfterBlock(r);

        const long rss = ResidentKb();
        r.rssMaxKb = std::max(r.rssMaxKb, rss);
        if (!warm && r.simulatedSec >= plan.warmUpMinutes * 60.0) {
            warm = true;
            r.rssWarmKb = rss;
        }
    }
    r.rssEndKb = ResidentKb();
    r.counts = waveIn.Counts();
    run.Stop();
    *report = r;

    if (r.gaps != 0 || r.torn != 0)
        return Fail(error, "captured blocks were lost, repeated or torn");
    if (r.windows == 0)
        return Fail(error, "no analysis window was checked");
    if (r.counts.buffersDone !=
        r.counts.buffersStored + r.counts.buffersFull + r.counts.buffersStale)
        return Fail(error, "the capture thread lost track of buffers");
    if (warm && r.rssWarmKb >= 0 && r.rssEndKb - r.rssWarmKb > plan.maxGrowthKb)
        return Fail(error, "memory grew by more than the bound after the warm-up");
    return true;
}

std::string FormatSoakReport(const SoakReport& r) {
    std::ostringstream out;
    out << "simulated: " << r.simulatedSec << " s in " << r.blocks << " blocks, " << r.frames
        << " frames drawn, " << r.modeChanges << " mode changes, " << r.restarts
        << " capture restarts\n"
        << "windows checked: " << r.windows << ", gaps: " << r.gaps << ", torn: " << r.torn
        << ", blocks without news: " << r.stalls << "\n"
        << "capture buffers: " << r.counts.buffersDone << " handed back, " << r.counts.buffersStored
        << " stored, " << r.counts.buffersFull << " dropped (ring full), " << r.counts.buffersStale
        << " dropped (stale)\n"
        << "resident memory kB: start " << r.rssStartKb << ", after warm-up " << r.rssWarmKb
        << ", end " << r.rssEndKb << ", max " << r.rssMaxKb << "\n";
    return out.str();
}

} // namespace cli
