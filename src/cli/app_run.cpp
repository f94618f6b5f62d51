// The analyzer run headless: start-up and shutdown around the application object, the capture
// input, the clock stepped one capture block at a time, the user's actions and the outputs.
// The caller's thread is the program's user-interface thread.
#include "port/headless/headless_app.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <random>
#include <system_error>

#include "app/my_class.h"
#include "app/state.h"
#include "gfx/menu.h"
#include "port/messages.h"
#include "sound/sound.h"
#include "ui/control_ids.h"
#include "ui/trace_export.h"
#include "views/view_layout.h"

namespace fs = std::filesystem;

namespace {

// Any distinct addresses name the frame and the view.
int frameTag;
int viewTag;

std::deque<int> menuAnswers;

// Items of the FFT settings menu's main menu; a submenu's items count from 1 in the order of the
// choices of src/app/state.h.
constexpr int kFftMenuRate = 1;
constexpr int kFftMenuSize = 2;
constexpr int kFftMenuContinue = 5;

uintptr_t WordPair(int low, int high) {
    return static_cast<uintptr_t>((static_cast<uint32_t>(high) << 16) |
                                  (static_cast<uint32_t>(low) & 0xFFFF));
}

// The main loop's service of the messages waiting for the program, all of them at once: each one
// reaches the application object as its window passes it on. A menu dismissed for want of input
// ends its loop with the quit message, which it posts again for the loops outside it; there is no
// loop outside it here, so it ends nothing.
void ServeMessages() {
    port::Message m;
    while (port::PeekOwnMessage(&m))
        if (m.message != WM_QUIT)
            app.OnMessage(m.message, m.wParam, m.lParam);
}

// The control window a notification carries in its lParam.
intptr_t ControlParam(int id) {
    return reinterpret_cast<intptr_t>(headless::ControlHandle(id));
}

// A window of the program passing a message to the application object.
void Deliver(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    app.OnMessage(message, wParam, lParam);
    ServeMessages();
}

// When an in-view menu waits for input: a click on the button of the next answer, or nothing,
// which dismisses the menu.
void AnswerWaitingMenu() {
    const Menu* menu = Menu::Waiting();
    if (menu == nullptr || menuAnswers.empty())
        return;
    const int answer = menuAnswers.front();
    menuAnswers.pop_front();
    for (int i = 0; i < menu->itemCount; ++i) {
        if (menu->ids[i] != answer)
            continue;
        const int index = menu->buttons.Find(static_cast<uint16_t>(i + 1));
        if (index == 0)
            return;
        const Button& b = menu->buttons.buttons[index - 1];
        const int x = (b.left + b.right) / 2;
        const int y = (b.top + b.bottom) / 2;
        headless::PostMouse(app.viewWindow, WM_LBUTTONDOWN, x, y);
        headless::PostMouse(app.viewWindow, WM_LBUTTONUP, x, y);
        return;
    }
}

std::string UniqueFolderName() {
    std::random_device seed;
    return "tonalyx-run-" + std::to_string(seed()) + "-" + std::to_string(seed());
}

bool Fail(std::string* error, const std::string& reason) {
    if (error != nullptr)
        *error = reason;
    return false;
}

bool SizeInRange(int width, int height, std::string* error) {
    if (width < kMinViewWidth || height < kMinViewHeight || width > headless::kAppViewMaxSide ||
        height > headless::kAppViewMaxSide)
        return Fail(error, "the view size must lie between " + std::to_string(kMinViewWidth) + "x" +
                               std::to_string(kMinViewHeight) + " and " +
                               std::to_string(headless::kAppViewMaxSide) + "x" +
                               std::to_string(headless::kAppViewMaxSide));
    return true;
}

// The reason of the capture failure the program told the user about, if any.
std::string CaptureFailure() {
    std::string reason = "capture did not start";
    for (const headless::ShownMessage& m : headless::TakeMessages())
        reason += ": \"" + m.text + "\"";
    return reason;
}

} // namespace

namespace headless {

bool ReadInt(const std::string& text, int* out) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0])) || *end != '\0' ||
        errno != 0 || value < -1000000000L || value > 1000000000L)
        return false;
    *out = static_cast<int>(value);
    return true;
}

bool ReadNumber(const std::string& text, double* out) {
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0])) || *end != '\0' ||
        errno != 0 || !std::isfinite(value))
        return false;
    *out = value;
    return true;
}

port::WindowHandle AppView() {
    return &viewTag;
}

bool AppRun::Start(int width, int height, std::string* error) {
    if (started_)
        return Fail(error, "the program is already running");
    if (!SizeInRange(width, height, error))
        return false;
    std::error_code failure;
    const fs::path launch = fs::current_path(failure);
    fs::path work;
    for (int attempt = 0; attempt < 8 && work.empty() && !failure; ++attempt) {
        const fs::path candidate = fs::temp_directory_path(failure) / UniqueFolderName();
        if (!failure && fs::create_directory(candidate, failure))
            work = candidate;
    }
    if (!work.empty())
        fs::current_path(work, failure);
    if (work.empty() || failure) {
        if (!work.empty())
            fs::remove_all(work, failure);
        return Fail(error, "cannot make a private working folder");
    }
    launchDir_ = launch.string();
    workDir_ = work.string();

    ResetAnalyzerState();
    SetTime(0);
    ResetCapture();
    TakeMessages();
    ForgetPresented();
    menuAnswers.clear();
    SetIdleHook(AnswerWaitingMenu);
    SetFocusWindow(AppView());

    app.Init();
    SetClientSize(AppView(), width, height);
    app.Create(AppView());
    port::OpenMixerNotifications(&frameTag);
    app.CreateToolbars(&frameTag);
    app.OnSize(width, height);
    started_ = true;
    return true;
}

void AppRun::Stop() {
    if (!started_)
        return;
    started_ = false;
    port::CloseMixerNotifications();
    app.Shutdown();
    soundEngine.Close();
    DestroyControlPanel();
    SetIdleHook({});
    SetFocusWindow(nullptr);
    SetKeyDown(VK_LBUTTON, false);
    SetKeyDown(VK_SHIFT, false);
    ResetCapture();
    std::error_code failure;
    fs::current_path(launchDir_, failure);
    fs::remove_all(workDir_, failure);
}

std::string AppRun::Resolve(const std::string& path) const {
    const fs::path p(path);
    if (p.is_absolute() || launchDir_.empty())
        return path;
    return (fs::path(launchDir_) / p).string();
}

bool AppRun::UseSource(const CaptureSource& source, int32_t rate, std::string* error) {
    const int rateItem = ChoiceIndex(kSampleRateChoices, kSampleRateChoiceCount, rate);
    if (rateItem < 0)
        return Fail(error, "unsupported sample rate " + std::to_string(rate) +
                               " Hz (the analyzer captures at 44100, 22050, 11025 or 8000 Hz)");
    SetCaptureSource(source);
    TakeMessages();
    // The device hears the new source once it is opened again: by the restart of a new rate, or
    // by restarting capture alone, which leaves the analysis as it is.
    if (rate != captureRate) {
        ChooseInFftMenu({kFftMenuRate, rateItem + 1});
    } else {
        StopCapture();
        StartCapture();
    }
    if (!waveIn.IsRunning() || captureRate != rate)
        return Fail(error, CaptureFailure());
    return true;
}

bool AppRun::ChangeFftSize(int32_t size, std::string* error) {
    const int sizeItem = ChoiceIndex(kFftSizeChoices, kFftSizeChoiceCount, size);
    if (sizeItem < 0)
        return Fail(error, "unsupported FFT size " + std::to_string(size) +
                               " (2048, 4096, 8192, 16384 or 32768)");
    TakeMessages();
    ChooseInFftMenu({kFftMenuSize, sizeItem + 1});
    if (!waveIn.IsRunning() || captureFftSize != size)
        return Fail(error, CaptureFailure());
    return true;
}

void AppRun::ChooseInFftMenu(std::initializer_list<int> choices) {
    std::deque<int> pending;
    pending.swap(menuAnswers);
    menuAnswers.assign(choices.begin(), choices.end());
    menuAnswers.push_back(kFftMenuContinue);
    Command(kCmdFftSettings);
    menuAnswers.swap(pending);
}

int AppRun::RunBlocks(int count) {
    int drawn = 0;
    for (int i = 0; i < count; ++i) {
        CaptureBlock();
        drawn += app.Frame();
    }
    return drawn;
}

void AppRun::CaptureBlock() {
    const uint64_t block = static_cast<uint64_t>(blockFrames);
    CaptureStats stats = GetCaptureStats();
    if (stats.openDevices == 0) {
        AdvanceTime(static_cast<uint32_t>(block * 1000 / static_cast<uint64_t>(captureRate)));
    } else {
        // The device finishes a buffer once the clock has passed its last frame; time moves
        // on until the next block boundary is captured.
        // Each try moves the clock past the missing frames; a device that stopped recording
        // gets a few tries, not more.
        const uint64_t target = (stats.framesCaptured / block + 1) * block;
        for (int tries = 0; stats.framesCaptured < target && tries < 4; ++tries) {
            const uint64_t missing = target - stats.framesCaptured;
            const uint64_t ms = (missing * 1000 + static_cast<uint64_t>(captureRate) - 1) /
                                static_cast<uint64_t>(captureRate);
            AdvanceTime(static_cast<uint32_t>(ms > 0 ? ms : 1));
            WaitCaptureIdle();
            stats = GetCaptureStats();
        }
    }
    ServeMessages();
}

void AppRun::Command(int id) {
    Deliver(WM_COMMAND, WordPair(id, 0), ControlParam(id));
}

void AppRun::SelectItem(int comboId, int item) {
    port::SetComboSelection(comboId, item);
    Deliver(WM_COMMAND, WordPair(comboId, CBN_SELCHANGE), ControlParam(comboId));
}

void AppRun::ChooseMode(int mode) {
    SelectItem(kScaleCombo, mode == kModeWaveform ? kModeLinear : mode);
    if (mode == kModeWaveform)
        displayMode = kModeWaveform;
}

void AppRun::TypeText(int comboId, const std::string& text) {
    port::SetComboEditText(comboId, text.c_str());
    Deliver(WM_COMMAND, WordPair(comboId, CBN_EDITCHANGE), ControlParam(comboId));
}

void AppRun::MoveTrackbar(int id, int position) {
    const TrackbarRange range = TrackbarRangeOf(id);
    port::SetTrackbar(id, range.minimum, range.maximum, position);
    Deliver(WM_HSCROLL, WordPair(SB_THUMBTRACK, port::TrackbarPosition(id)), ControlParam(id));
}

void AppRun::Key(int virtualKey) {
    Deliver(WM_KEYDOWN, static_cast<uintptr_t>(virtualKey), 0);
}

void AppRun::Mouse(uint32_t message, int x, int y, bool shift) {
    SetCursor(x, y);
    SetKeyDown(VK_SHIFT, shift);
    if (message == WM_LBUTTONDOWN)
        SetKeyDown(VK_LBUTTON, true);
    else if (message == WM_LBUTTONUP)
        SetKeyDown(VK_LBUTTON, false);
    uintptr_t keys = shift ? MK_SHIFT : 0;
    if (port::KeyIsDown(VK_LBUTTON))
        keys |= MK_LBUTTON;
    Deliver(message, keys, static_cast<intptr_t>(WordPair(x, y)));
}

void AppRun::Scroll(int code, int position) {
    Deliver(WM_HSCROLL, WordPair(code, position), 0);
}

bool AppRun::Resize(int width, int height, std::string* error) {
    if (!SizeInRange(width, height, error))
        return false;
    SetClientSize(AppView(), width, height);
    app.OnSize(width, height);
    return true;
}

bool AppRun::Close() {
    return app.ConfirmClose() != 0 || Closed();
}

bool AppRun::Closed() {
    return TakeFrameCloseRequest();
}

void AppRun::SetMenuAnswers(const std::vector<int>& items) {
    menuAnswers.assign(items.begin(), items.end());
}

bool AppRun::Screenshot(const std::string& path, std::string* error) const {
    Image image;
    if (!LastPresented(AppView(), &image))
        return Fail(error, "no frame has been drawn yet, so there is no picture to write");
    if (!WriteImage(image, Resolve(path)))
        return Fail(error, "cannot write the picture to " + path);
    return true;
}

bool AppRun::Export(const std::string& path, std::string* error) const {
    if (analysisCount == 0)
        return Fail(error, "nothing has been analysed yet, so there are no traces to export");
    if (ExportTraces(Resolve(path).c_str()) == 0)
        return Fail(error, "cannot write the traces to " + path);
    return true;
}

namespace {

bool InChoices(const Choice* choices, int count, const std::optional<int>& value) {
    return !value || ChoiceIndex(choices, count, *value) >= 0;
}

bool InRange(const std::optional<int>& value, int low, int high) {
    return !value || (*value >= low && *value <= high);
}

// The settings as the user chooses them in the window, in an order where a later choice is not
// undone by an earlier one (a display mode sets decay, monitor, weighting and smoothing).
void ApplySettings(AppRun& run, const AnalyzeSettings& s) {
    if (s.mode)
        run.ChooseMode(*s.mode);
    if (s.monitor)
        run.SelectItem(kMonitorCombo, *s.monitor);
    if (s.weighting)
        run.SelectItem(kWeightingCombo, *s.weighting);
    if (s.averaging)
        run.SelectItem(kAverageCombo,
                       ChoiceIndex(kAveragingChoices, kAveragingChoiceCount, *s.averaging));
    if (s.decay)
        run.SelectItem(kDecayCombo, ChoiceIndex(kDecayChoices, kDecayChoiceCount, *s.decay));
    if (s.smoothing)
        run.SelectItem(kSmoothingCombo,
                       ChoiceIndex(kSmoothingChoices, kSmoothingChoiceCount, *s.smoothing));
    if (s.gainDb)
        run.MoveTrackbar(kGainTrackbar, *s.gainDb + 20);
    if (s.delayMs) {
        char text[32];
        std::snprintf(text, sizeof text, "%g", *s.delayMs);
        run.TypeText(kDelayCombo, text);
    }
    if (s.swap)
        run.Command(kCmdSwapInputs);
}

} // namespace

bool CheckAnalyzeJob(const AnalyzeJob& job, std::string* error) {
    const AnalyzeSettings& s = job.settings;
    if (job.wavPath.empty())
        return Fail(error, "analyze needs a WAV file");
    if (job.exportPath.empty() && job.imagePath.empty())
        return Fail(error, "analyze needs --export or --image (or both)");
    if (!SizeInRange(job.width, job.height, error))
        return false;
    if (!InRange(s.mode, 0, kModeWaveform))
        return Fail(error, "--mode must be 0..11");
    if (!InChoices(kFftSizeChoices, kFftSizeChoiceCount, s.fftSize))
        return Fail(error, "--fft must be 2048, 4096, 8192, 16384 or 32768");
    if (!InRange(s.monitor, 0, kMonitorModeCount - 1))
        return Fail(error, "--monitor must be 0..3 (Mono, Left, Right, Stereo)");
    if (!InRange(s.weighting, 0, kWeightingCount - 1))
        return Fail(error, "--weighting must be 0..4 (None, A, C, U, Noise)");
    if (!InChoices(kAveragingChoices, kAveragingChoiceCount, s.averaging))
        return Fail(error, "--averaging must be 0, 2, 4, 8, 16, 32 or 64");
    if (!InChoices(kDecayChoices, kDecayChoiceCount, s.decay))
        return Fail(error, "--decay must be 0, 10, 20 or 50 (dB per second)");
    if (!InChoices(kSmoothingChoices, kSmoothingChoiceCount, s.smoothing))
        return Fail(error, "--smoothing must be 0, 3, 5, 7 or 9");
    if (!InRange(s.gainDb, -20, 20))
        return Fail(error, "--gain must be -20..20 (dB)");
    if (s.delayMs && !(*s.delayMs >= 0.0 && *s.delayMs < 1000.0))
        return Fail(error, "--delay must be 0 up to 999.99 (ms)");
    return true;
}

bool Analyze(const AnalyzeJob& job, std::string* error) {
    if (!CheckAnalyzeJob(job, error))
        return false;
    CaptureSource source;
    source.kind = CaptureSource::Kind::Wav;
    std::string reason;
    if (!LoadWav(job.wavPath, &source.wav, &reason))
        return Fail(error, job.wavPath + ": " + reason);
    const std::size_t frames = source.wav.samples.size() / source.wav.channels;
    const int32_t rate = static_cast<int32_t>(source.wav.rate);

    AppRun run;
    if (!run.Start(job.width, job.height, error))
        return false;
    if (job.settings.fftSize && !run.ChangeFftSize(*job.settings.fftSize, error))
        return false;
    if (!run.UseSource(source, rate, &reason))
        return Fail(error, job.wavPath + ": " + reason);
    ApplySettings(run, job.settings);

    // The first blocks only fill the analysis window; the next one is analysed and drawn.
    const std::size_t needed = static_cast<std::size_t>(captureFftSize + blockFrames);
    if (frames < needed)
        return Fail(error, job.wavPath + ": too short: " + std::to_string(frames) +
                               " frames, at least " + std::to_string(needed) +
                               " are needed for one analysis at this FFT size");
    run.RunBlocks(static_cast<int>(frames / static_cast<std::size_t>(blockFrames)));

    if (!job.exportPath.empty() && !run.Export(job.exportPath, error))
        return false;
    if (!job.imagePath.empty() && !run.Screenshot(job.imagePath, error))
        return false;
    return true;
}

} // namespace headless
