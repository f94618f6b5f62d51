// Ids and fixed contents of the control panel: command ids of the menu and tool bars, control ids
// of the combo boxes and trackbars, band ids of the rebars, the combo items and the tool tips.
// Shared by the command handler and both ports; constants only.
#pragma once

// Menu commands
constexpr int kCmdExit = 500;
constexpr int kCmdHelpTopics = 901;
constexpr int kCmdWhatsThis = 902;
constexpr int kCmdModeFirst = 1150; // "Linear"; 1150 + displayMode up to 1159
constexpr int kCmdModeLast = 1159;

// Combo boxes and trackbars
constexpr int kInputCombo = 1000;
constexpr int kScaleCombo = 1005;
constexpr int kAverageCombo = 1006;
constexpr int kDecayCombo = 1007;
constexpr int kMonitorCombo = 1008;
constexpr int kWeightingCombo = 1009;
constexpr int kGainTrackbar = 1010;
constexpr int kToneCombo = 1011;
constexpr int kFrequencyCombo = 1012;
constexpr int kVolumeTrackbar = 1013;
constexpr int kSmoothingCombo = 1042;
constexpr int kVerticalScaleCombo = 1043;
constexpr int kDelayCombo = 1044;

// Holder windows
constexpr int kToneBarHolder = 1014;
constexpr int kNavigationHolder = 1018;

// Tool-bar buttons
constexpr int kCmdPlay = 1015;
constexpr int kCmdStop = 1016;
constexpr int kCmdTraceA = 1020;
constexpr int kCmdTraceB = 1021;
constexpr int kCmdTraceC = 1022;
constexpr int kCmdPeakTrace = 1030;
constexpr int kCmdFftSettings = 1031;
constexpr int kCmdTestTone = 1032;
constexpr int kCmdPause = 1033;
constexpr int kCmdZoomIn = 1034;
constexpr int kCmdZoomOut = 1035;
constexpr int kCmdScrollLeft = 1036;
constexpr int kCmdScrollRight = 1037;
constexpr int kCmdSaveAscii = 1038;
constexpr int kCmdSwapInputs = 1039;
constexpr int kCmdAbout = 1040;
constexpr int kCmdZoomReset = 1041;
constexpr int kCmdPeakHold = 1047;
constexpr int kCmdSelectMixer = 1048;

// Rebar bands (unique over both rebars)
constexpr int kBandMainToolbar = 1;
constexpr int kBandScale = 2;
constexpr int kBandAverage = 3;
constexpr int kBandDecay = 4;
constexpr int kBandMonitor = 5;
constexpr int kBandWeighting = 6;
constexpr int kBandGain = 7;
constexpr int kBandToneBar = 8;
constexpr int kBandTraceToolbar = 9;
constexpr int kBandNavigation = 10;
constexpr int kBandInput = 11;
constexpr int kBandSmoothing = 12;
constexpr int kBandVerticalScale = 13;
constexpr int kBandDelay = 14;

// Combo items, in the order they are added.
constexpr const char* kScaleItems[] = {"Linear",         "Log",        "Octave",
                                       "1/3 Octave",     "1/6 Octave", "1/12 Octave",
                                       "Spectrogram",    "SPL",        "Transfer (Linear)",
                                       "Transfer (Log)", "Phase (Log)"};
constexpr const char* kAverageItems[] = {"None", "2X", "4X", "8X", "16X", "32X", "64X"};
constexpr const char* kDecayItems[] = {"None", "Fast", "Medium", "Slow"};
constexpr const char* kMonitorItems[] = {"Mono", "Left", "Right", "Stereo"};
constexpr const char* kWeightingItems[] = {"None", "A-Weighting", "C-Weighting", "U-Weighting",
                                           "Noise Weighting"};
constexpr const char* kSmoothingItems[] = {"None", "3", "5", "7", "9"};
constexpr const char* kVerticalScaleItems[] = {"400%", "200%", "100%"};
constexpr const char* kDelayItems[] = {"0ms",  "1ms",  "2ms",  "3ms",  "4ms",   "5ms",  "10ms",
                                       "20ms", "30ms", "40ms", "50ms", "100ms", "500ms"};
constexpr const char* kToneItems[] = {"White Noise", "Pink Noise", "Sine"};
constexpr const char* kFrequencyItems[] = {"1000", "2000", "4000", "8000", "16000"};

struct ToolTip {
    int id;
    const char* text;
};
// Searched in this order; a button not listed has no tip.
constexpr ToolTip kToolTips[] = {
    {1020, "Capture Buffer A"},
    {1021, "Capture Buffer B"},
    {1022, "Capture Buffer C"},
    {1036, "Scroll Trace Left"},
    {1037, "Scroll Trace Right"},
    {1041, "Zoom 1:1 (Hz)"},
    {1034, "Zoom In (Hz)"},
    {1035, "Zoom Out (Hz)"},
    {1031, "Configure FFT Settings"},
    {1039, "Swap LEFT and RIGHT inputs"},
    {1032, "Toggle 'Tone Generator' toolbar"},
    {1030, "Toggle peak trace on/off"},
    {1033, "Pause the display"},
    {1038, "Save traces to text file"},
    {1015, "Play the selected tone"},
    {1016, "Stop playing tone"},
};
