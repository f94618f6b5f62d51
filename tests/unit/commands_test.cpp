// The command handler driven as the Windows program drives it: the controls of the headless panel
// are changed as a user changes them, and the notification the platform sends for that goes to
// the application's OnMessage. Covers the panel's initial states, SyncControls and every command.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "analysis/analysis_setup.h"
#include "app/my_class.h"
#include "cli/app_run.h"
#include "port/messages.h"
#include "port/port.h"
#include "scratch_dir.h"
#include "state/state.h"
#include "ui/control_ids.h"
#include "ui/control_panel.h"
#include "ui/fft_settings_menu.h"
#include "ui/settings_file.h"
#include "ui/tone_generator.h"
#include "ui/trace_export.h"

namespace {

class Commands : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(run.Start(720, 400, &error)) << error;
    }
    // The panel again, as it starts from the analyzer's state.
    static void Build() { app.CreateToolbars(nullptr); }
    cli::AppRun run;
    static std::string Selected(int combo) {
        return port::ComboItemText(combo, port::ComboSelection(combo));
    }
    static std::vector<std::string> MessageTexts() {
        std::vector<std::string> texts;
        for (const headless::ShownMessage& m : headless::TakeMessages())
            texts.push_back(m.caption + ": " + m.text);
        return texts;
    }
};

TEST_F(Commands, PanelStartsFromTheSettingsAndSyncKeepsWhatItCannotShow) {
    const struct {
        int32_t decay;
        double scale, delay;
        float gain;
        int32_t mode;
        const char *decayShown, *scaleShown, *delayShown;
        int gainPosition;
        bool transferBands;
    } cases[] = {
        {20, 1.0, 0.0, 0.0f, 0, "Medium", "200%", "0.00ms", 20, false}, // the defaults
        {33, 0.5, 12.5, 7.9f, 3, "None", "400%", "12.50ms", 27, false},
        {10, 0.7, 999.99, -7.5f, 9, "Slow", "100%", "999.99ms", 12, true},
        {50, 2.0, 1.0, -20.0f, 10, "Fast", "100%", "1.00ms", 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        decayRate = c.decay;
        verticalScale = c.scale;
        delayMs = c.delay;
        gainDb = c.gain;
        displayMode = c.mode;
        transferMode = IsTransferMode(c.mode) ? 1 : 0;
        Build();
        EXPECT_EQ(Selected(kDecayCombo), c.decayShown);
        EXPECT_EQ(Selected(kVerticalScaleCombo), c.scaleShown);
        EXPECT_EQ(port::ComboEditText(kDelayCombo), c.delayShown);
        EXPECT_EQ(Selected(kScaleCombo), kScaleItems[c.mode]);
        EXPECT_EQ(port::TrackbarPosition(kGainTrackbar), c.gainPosition);
        for (int band : {kBandSmoothing, kBandVerticalScale, kBandDelay})
            EXPECT_EQ(port::BandShown(band), c.transferBands) << band;
        EXPECT_FALSE(port::BandShown(kBandToneBar));
        EXPECT_EQ(Selected(kToneCombo), "Sine");
        EXPECT_EQ(port::ComboEditText(kFrequencyCombo), "1000");
        EXPECT_EQ(port::TrackbarPosition(kVolumeTrackbar), 64);
        EXPECT_TRUE(port::ButtonChecked(kCmdPeakTrace));
        EXPECT_EQ(Selected(kInputCombo), "Microphone");
        SyncControls();
        EXPECT_EQ(port::TrackbarPosition(kGainTrackbar), 20);
        EXPECT_EQ(gainDb, c.gain);
    }

    // Averaging and smoothing outside their lists show no item; a sync keeps the last one shown.
    averaging = 3;
    smoothingBins = 4;
    Build();
    EXPECT_EQ(port::ComboSelection(kAverageCombo), -1);
    EXPECT_EQ(port::ComboSelection(kSmoothingCombo), -1);
    port::SetComboSelection(kAverageCombo, 4);
    SyncControls();
    EXPECT_EQ(Selected(kAverageCombo), "16X");
    EXPECT_EQ(Selected(kSmoothingCombo), "None");
}

// Each combo choice: what it sets, and that it acts on a selection change only.
TEST_F(Commands, CombosActOnSelectionChangeOnly) {
    const struct {
        int combo;
        int item;
        std::function<bool()> applied;
    } cases[] = {
        {kAverageCombo, 5, [] { return averaging == 32; }},
        {kDecayCombo, 3, [] { return decayRate == 10; }},
        {kMonitorCombo, 2,
         [] { return monitorMode == 2 && liveChannelCount == 1 && traceVisible[1] == 0; }},
        {kMonitorCombo, 3,
         [] { return monitorMode == 3 && liveChannelCount == 2 && traceVisible[1] == 1; }},
        {kWeightingCombo, 2, [] { return weighting == kWeightingC; }},
        {kSmoothingCombo, 3, [] { return smoothingBins == 7; }},
        {kVerticalScaleCombo, 0, [] { return verticalScale == 0.5; }},
        {kVerticalScaleCombo, 2, [] { return verticalScale == 2.0; }},
        {kDelayCombo, 6, [] { return delayMs == 10.0; }},
        {kScaleCombo, 1, [] { return displayMode == kModeLog; }},
    };
    for (const auto& c : cases) {
        port::SetComboSelection(c.combo, c.item);
        app.OnMessage(WM_COMMAND, static_cast<uintptr_t>(c.combo | CBN_EDITUPDATE << 16),
                      reinterpret_cast<intptr_t>(headless::ControlHandle(c.combo)));
        EXPECT_FALSE(c.applied()) << c.combo << " acted without a selection change";
        run.SelectItem(c.combo, c.item);
        EXPECT_TRUE(c.applied()) << c.combo << " item " << c.item;
    }
    // No selection changes nothing.
    run.SelectItem(kAverageCombo, -1);
    EXPECT_EQ(averaging, 32);
}

// Stereo is held while a transfer mode is shown: channel 2's spectrum would stand still in a
// one-channel analysis.
TEST_F(Commands, TransferModesComeWithStereoAndTheirBandsAndLeaveThemClean) {
    traceVisible[2] = 1;
    headless::CaptureSource sine;
    sine.kind = headless::CaptureSource::Kind::Sine;
    std::string error;
    ASSERT_TRUE(run.UseSource(sine, 44100, &error)) << error;
    run.SelectItem(kScaleCombo, kModeTransferLinear);
    EXPECT_EQ(monitorMode, kMonitorStereo);
    EXPECT_EQ(traceVisible[1], 1);
    EXPECT_EQ(traceVisible[2], 0);
    EXPECT_EQ(decayRate, 0);
    for (int band : {kBandSmoothing, kBandVerticalScale, kBandDelay})
        EXPECT_TRUE(port::BandShown(band));
    run.RunBlocks(6);
    run.SelectItem(kMonitorCombo, kMonitorMono);
    EXPECT_EQ(Selected(kMonitorCombo), "Stereo");
    sine.frequencyHz = 3000.0;
    ASSERT_TRUE(run.UseSource(sine, 44100, &error)) << error;
    run.RunBlocks(6);
    const int32_t bin = static_cast<int32_t>(3000.0 / binWidthHz + 0.5);
    EXPECT_NEAR(traces[0][bin] - traces[1][bin], 0.0, 0.5) << "both channels carry the sine";
    run.SelectItem(kSmoothingCombo, 2);
    run.TypeText(kDelayCombo, "25");
    ASSERT_EQ(delayMs, 25.0);

    run.SelectItem(kScaleCombo, kModeLinear);
    for (int band : {kBandSmoothing, kBandVerticalScale, kBandDelay})
        EXPECT_FALSE(port::BandShown(band));
    EXPECT_EQ(delayMs, 0.0);
    EXPECT_EQ(port::ComboEditText(kDelayCombo), "0.00ms");
    EXPECT_EQ(smoothingBins, 0);
    EXPECT_EQ(Selected(kSmoothingCombo), "None");
    EXPECT_EQ(Selected(kMonitorCombo), "Stereo");

    averaging = 16;
    run.SelectItem(kScaleCombo, kModeSpl);
    EXPECT_EQ(splMode, 1);
    EXPECT_EQ(Selected(kWeightingCombo), "A-Weighting");
    EXPECT_EQ(Selected(kAverageCombo), "None");
    EXPECT_EQ(Selected(kDecayCombo), "Fast");
}

TEST_F(Commands, TypedDelayIsCheckedAtEveryCharacter) {
    const struct {
        const char* text;
        double delay;
        const char* restored; // the field's text after the refusal; null: accepted
    } steps[] = {
        {"1", 1.0, nullptr},         {"10", 10.0, nullptr},      {"100", 100.0, nullptr},
        {"1000", 100.0, "100.00ms"}, {"9", 9.0, nullptr},        {"99", 99.0, nullptr},
        {"999", 999.0, nullptr},     {"999.", 999.0, nullptr},   {"999.9", 999.9, nullptr},
        {"999.99", 999.99, nullptr}, {"-1", 999.99, "999.99ms"}, {"ms", 0.0, nullptr},
        {"", 0.0, nullptr},          {" 12.5ms", 12.5, nullptr}, {"1e3", 1.0, nullptr},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.text);
        run.TypeText(kDelayCombo, s.text);
        EXPECT_NEAR(delayMs, s.delay, 1e-9);
        if (s.restored == nullptr) {
            EXPECT_TRUE(MessageTexts().empty());
        } else {
            EXPECT_EQ(MessageTexts(),
                      std::vector<std::string>{
                          "Invalid Delay: Please enter a delay between 0 and 999ms"});
            EXPECT_EQ(port::ComboEditText(kDelayCombo), s.restored);
        }
    }
}

TEST_F(Commands, KeysTrackbarsButtonsAndMenuCommands) {
    for (int i = 0; i < 150; ++i)
        run.Key(VK_PRIOR);
    EXPECT_EQ(splCalibrationDb, 200.0f);
    for (int i = 0; i < 400; ++i)
        run.Key(VK_NEXT);
    EXPECT_EQ(splCalibrationDb, -100.0f);

    run.MoveTrackbar(kGainTrackbar, 0);
    EXPECT_EQ(gainDb, -20.0f);
    EXPECT_EQ(headless::StatusText(1), " Gain: -20db");
    run.MoveTrackbar(kGainTrackbar, 40);
    EXPECT_EQ(gainDb, 20.0f);

    ASSERT_TRUE(AnalysisReady());
    traces[0][5] = -12.0f;
    run.Command(kCmdTraceB);
    EXPECT_EQ(traceVisible[3], 1);
    EXPECT_EQ(traces[3][5], -12.0f);
    traces[0][5] = -30.0f;
    run.Command(kCmdTraceB);
    EXPECT_EQ(traceVisible[3], 0);
    run.Command(kCmdTraceB);
    EXPECT_EQ(traceVisible[3], 1);
    EXPECT_EQ(traces[3][5], -30.0f);

    run.Command(kCmdTestTone);
    EXPECT_TRUE(port::BandShown(kBandToneBar));
    run.Command(kCmdTestTone);
    EXPECT_FALSE(port::BandShown(kBandToneBar));

    run.Command(kCmdPlay);
    EXPECT_EQ(toneType, kToneSine);
    EXPECT_TRUE(port::ButtonChecked(kCmdPlay));
    run.MoveTrackbar(kVolumeTrackbar, 100);
    EXPECT_EQ(toneVolume, 100);
    run.SelectItem(kFrequencyCombo, 2);
    EXPECT_EQ(toneType, kToneOff);
    EXPECT_FALSE(port::ButtonChecked(kCmdPlay));

    run.Command(kCmdExit);
    EXPECT_TRUE(headless::TakeFrameCloseRequest());
    run.Command(kCmdAbout);
    const std::vector<headless::ShownWindow> shown = headless::TakeShownWindows();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].what, headless::WindowRequest::About);
    EXPECT_TRUE(waveIn.IsRunning());
    headless::SetCaptureDevices(0);
    run.Command(kCmdAbout);
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Debug: Unable to start WAVEIN thread"});
}

TEST_F(Commands, FftMenuShowsTheSetUpItLeadsToAndRestartsOnlyOnARealChange) {
    EXPECT_EQ(FftMenuItems(8000, 2048), "01Sample Rate: 8Khz,02FFT Size: 2K,03Time Constant: "
                                        "256ms,04Resolution: 3.9Hz,05Continue");
    EXPECT_STREQ(FftSubmenuItems(4, 12345), FftSubmenuItems(4, 44100));
    averaging = 8;
    decayRate = 10;
    gainDb = 5.0f;
    // Sample rate 44.1 kHz, size 8K and time constant 186 ms again, then Continue.
    run.SetMenuAnswers({1, 1, 2, 3, 3, 3, 5});
    run.Command(kCmdFftSettings);
    const std::vector<std::string> menus = run.TakeAnsweredMenus();
    ASSERT_EQ(menus.size(), 7u);
    EXPECT_EQ(menus[3], "2K,4K,8K,16K,32K");
    EXPECT_EQ(menus[5], "743ms,372ms,186ms,93ms,46ms");
    EXPECT_EQ(app.running, 1u);
    EXPECT_EQ(averaging, 8);
    EXPECT_EQ(decayRate, 10);
    EXPECT_EQ(gainDb, 5.0f);
    EXPECT_EQ(port::TrackbarPosition(kGainTrackbar), 20);

    // 22 kHz, then the largest size from the time constants, which are those of 22050 Hz.
    run.SelectItem(kMonitorCombo, 3);
    traceVisible[2] = 1;
    run.SetMenuAnswers({1, 2, 3, 1, 5});
    run.Command(kCmdFftSettings);
    EXPECT_EQ(run.TakeAnsweredMenus(),
              (std::vector<std::string>{
                  "Sample Rate: 44Khz,FFT Size: 8K,Time Constant: 186ms,Resolution: 5.4Hz,Continue",
                  "44.1KHz,22KHz,11KHz,8KHz",
                  "Sample Rate: 22Khz,FFT Size: 8K,Time Constant: 372ms,Resolution: 2.7Hz,Continue",
                  "1486ms,744ms,372ms,186ms,93ms",
                  "Sample Rate: 22Khz,FFT Size: 32K,Time Constant: 1486ms,Resolution: 0.7Hz,"
                  "Continue"}));
    EXPECT_EQ(sampleRate, 22050);
    EXPECT_EQ(fftSize, 32768);
    EXPECT_EQ(averaging, 0);
    EXPECT_EQ(decayRate, 20);
    EXPECT_EQ(gainDb, 0.0f);
    EXPECT_EQ(Selected(kMonitorCombo), "Mono");
    EXPECT_EQ(traceVisible[2], 0);
    EXPECT_FALSE(port::ButtonChecked(kCmdTraceA));
    EXPECT_EQ(headless::StatusText(0), " FFT: 22Khz @ 32K");
}

TEST_F(Commands, SaveAsciiAsksForAFileAndWritesTheExport) {
    run.Command(kCmdSaveAscii);
    EXPECT_TRUE(headless::TakeSaveRequests().empty());
    EXPECT_EQ(
        MessageTexts(),
        std::vector<std::string>{"ExportTraces: No traces to save: nothing has been analysed yet"});
    run.RunBlocks(5);

    run.Command(kCmdSaveAscii);
    const std::vector<headless::SaveRequest> asked = headless::TakeSaveRequests();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].proposed, "trace.txt");
    EXPECT_EQ(asked[0].owner, cli::AppView());
    EXPECT_EQ(asked[0].title, "Save Traces");
    // Cancel, or an answer longer than the path buffer, writes nothing.
    headless::SetSaveAnswer(std::string(port::kPathChars, 'x').c_str());
    run.Command(kCmdSaveAscii);
    EXPECT_TRUE(MessageTexts().empty());
    EXPECT_TRUE(std::filesystem::is_empty("."));

    headless::SetSaveAnswer("no-such-dir/trace.txt");
    run.Command(kCmdSaveAscii);
    EXPECT_EQ(MessageTexts(),
              std::vector<std::string>{"ExportTraces: Unable to write the trace file"});

    // Into another folder, which the dialog leaves the process in: the settings stay in the
    // folder the program started in.
    const std::filesystem::path start = std::filesystem::current_path();
    std::filesystem::create_directory("elsewhere");
    headless::SetSaveAnswer("elsewhere/chosen.txt");
    run.Command(kCmdSaveAscii);
    ASSERT_EQ(std::filesystem::current_path(), start / "elsewhere");
    ASSERT_EQ(ExportTraces("reference.txt"), 1);
    EXPECT_FALSE(ReadFile("chosen.txt").empty());
    EXPECT_EQ(ReadFile("chosen.txt"), ReadFile("reference.txt"));
    EXPECT_TRUE(MessageTexts().empty());
    SaveSettings();
    EXPECT_TRUE(std::filesystem::exists(start / "RTA.DAT"));
    EXPECT_FALSE(std::filesystem::exists(start / "elsewhere" / "RTA.DAT"));
}

TEST_F(Commands, InputComboFollowsTheMixer) {
    headless::SetMixerDevices({});
    Build();
    EXPECT_FALSE(port::ControlExists(kInputCombo));
    const std::vector<int> order = headless::BandOrder();
    ASSERT_GE(order.size(), 2u);
    EXPECT_EQ(order[0], kBandMainToolbar);
    EXPECT_EQ(order[1], kBandScale);
    headless::TakeMessages();
    run.Command(kCmdSelectMixer);
    EXPECT_TRUE(MessageTexts().empty());

    headless::SetMixerDevices({{"Card A", true, {"Microphone", "Line In"}, 1},
                               {"Card B", true, {"CD", "Aux", "Line In"}, 2}});
    Build();
    EXPECT_EQ(Selected(kInputCombo), "Line In");
    run.SelectItem(kInputCombo, 0);
    EXPECT_EQ(headless::MixerDeviceState(0).selected, 0);

    headless::ChangeMixerInputElsewhere(0, 1);
    EXPECT_EQ(app.OnMessage(MM_MIXM_CONTROL_CHANGE, 1, 0), 0);
    EXPECT_EQ(port::ComboSelection(kInputCombo), 1);

    headless::SetMixerDeviceAnswer(1);
    run.Command(kCmdSelectMixer);
    EXPECT_EQ(port::ComboItemCount(kInputCombo), 3);
    EXPECT_EQ(Selected(kInputCombo), "Line In");
    EXPECT_EQ(port::ComboItemText(kInputCombo, 0), "CD");
    headless::SetMixerDeviceAnswer(-1);
}

} // namespace
