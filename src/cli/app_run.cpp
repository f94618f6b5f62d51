// The analyzer run headless: start-up and shutdown around the application object, the capture
// input, the clock stepped one capture block at a time, the user's actions and the outputs.
// The caller's thread is the program's user-interface thread.
#include "cli/app_run.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>
#include <utility>

#include "app/my_class.h"
#include "gfx/menu.h"
#include "port/messages.h"
#include "sound/sound.h"
#include "state/state.h"
#include "ui/control_ids.h"
#include "ui/settings_file.h"
#include "ui/trace_export.h"
#include "views/band_view.h"
#include "views/view_layout.h"

namespace fs = std::filesystem;

namespace {

// Any distinct addresses name the frame and the view.
int frameTag;
int viewTag;

std::deque<int> menuAnswers;
std::vector<std::string> answeredMenus; // the labels of each, joined by commas

// Items of the FFT settings menu's main menu; a submenu's items count from 1 in the order of the
// choices of src/state/state.h.
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
    std::string labels;
    for (int i = 0; i < menu->itemCount; ++i)
        labels += (i > 0 ? "," : "") + std::string(menu->labels[i]);
    answeredMenus.push_back(labels);
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

bool WriteSettingsFile(const std::string& content) {
    std::ofstream out(kSettingsFileName, std::ios::binary);
    out << content;
    return static_cast<bool>(out.flush());
}

// The reason of the capture failure the program told the user about, if any.
std::string CaptureFailure() {
    std::string reason = "capture did not start";
    for (const headless::ShownMessage& m : headless::TakeMessages())
        reason += ": \"" + m.text + "\"";
    return reason;
}

} // namespace

namespace cli {

bool Fail(std::string* error, const std::string& reason) {
    if (error != nullptr)
        *error = reason;
    return false;
}

bool CheckViewSize(int width, int height, std::string* error) {
    if (width < kMinViewWidth || height < kMinViewHeight || width > kAppViewMaxSide ||
        height > kAppViewMaxSide)
        return Fail(error, "the view size must lie between " + std::to_string(kMinViewWidth) + "x" +
                               std::to_string(kMinViewHeight) + " and " +
                               std::to_string(kAppViewMaxSide) + "x" +
                               std::to_string(kAppViewMaxSide));
    return true;
}

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

bool AppRun::Start(int width, int height, std::string* error,
                   const std::optional<std::string>& settingsFile) {
    if (started_)
        return Fail(error, "the program is already running");
    if (!CheckViewSize(width, height, error))
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
    if (work.empty() || failure || (settingsFile && !WriteSettingsFile(*settingsFile))) {
        if (!work.empty()) {
            fs::current_path(launch, failure);
            fs::remove_all(work, failure);
        }
        return Fail(error, "cannot make a private working folder");
    }
    launchDir_ = launch.string();
    workDir_ = work.string();

    ResetProgramState();
    headless::ResetPort();
    menuAnswers.clear();
    answeredMenus.clear();
    headless::SetIdleHook(AnswerWaitingMenu);
    headless::SetFocusWindow(AppView());

    app.Init();
    headless::SetClientSize(AppView(), width, height);
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
    headless::DestroyControlPanel();
    headless::SetIdleHook({});
    headless::SetFocusWindow(nullptr);
    headless::SetKeyDown(VK_LBUTTON, false);
    headless::SetKeyDown(VK_SHIFT, false);
    headless::ResetCapture();
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

bool AppRun::UseSource(const headless::CaptureSource& source, int32_t rate, std::string* error) {
    const int rateItem = ChoiceIndex(kSampleRateChoices, kSampleRateChoiceCount, rate);
    if (rateItem < 0)
        return Fail(error, "unsupported sample rate " + std::to_string(rate) +
                               " Hz (the analyzer captures at 44100, 22050, 11025 or 8000 Hz)");
    headless::SetCaptureSource(source);
    headless::TakeMessages();
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
    headless::TakeMessages();
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
    headless::CaptureStats stats = headless::GetCaptureStats();
    if (stats.openDevices == 0) {
        headless::AdvanceTime(
            static_cast<uint32_t>(block * 1000 / static_cast<uint64_t>(captureRate)));
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
            headless::AdvanceTime(static_cast<uint32_t>(ms > 0 ? ms : 1));
            headless::WaitCaptureIdle();
            stats = headless::GetCaptureStats();
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
    const headless::TrackbarRange range = headless::TrackbarRangeOf(id);
    port::SetTrackbar(id, range.minimum, range.maximum, position);
    Deliver(WM_HSCROLL, WordPair(SB_THUMBTRACK, port::TrackbarPosition(id)), ControlParam(id));
}

void AppRun::Key(int virtualKey) {
    Deliver(WM_KEYDOWN, static_cast<uintptr_t>(virtualKey), 0);
}

void AppRun::Mouse(uint32_t message, int x, int y, bool shift) {
    headless::SetCursor(x, y);
    headless::SetKeyDown(VK_SHIFT, shift);
    if (message == WM_LBUTTONDOWN)
        headless::SetKeyDown(VK_LBUTTON, true);
    else if (message == WM_LBUTTONUP)
        headless::SetKeyDown(VK_LBUTTON, false);
    uintptr_t keys = shift ? MK_SHIFT : 0;
    if (port::KeyIsDown(VK_LBUTTON))
        keys |= MK_LBUTTON;
    Deliver(message, keys, static_cast<intptr_t>(WordPair(x, y)));
}

void AppRun::Scroll(int code, int position) {
    Deliver(WM_HSCROLL, WordPair(code, position), 0);
}

bool AppRun::Resize(int width, int height, std::string* error) {
    if (!CheckViewSize(width, height, error))
        return false;
    headless::SetClientSize(AppView(), width, height);
    app.OnSize(width, height);
    return true;
}

bool AppRun::Close() {
    return app.ConfirmClose() != 0 || Closed();
}

bool AppRun::Closed() {
    return headless::TakeFrameCloseRequest();
}

void AppRun::SetMenuAnswers(const std::vector<int>& items) {
    menuAnswers.assign(items.begin(), items.end());
}

std::vector<std::string> AppRun::TakeAnsweredMenus() {
    return std::exchange(answeredMenus, {});
}

bool AppRun::Screenshot(const std::string& path, std::string* error) const {
    headless::Image image;
    if (!headless::LastPresented(AppView(), &image))
        return Fail(error, "no frame has been drawn yet, so there is no picture to write");
    if (!headless::WriteImage(image, Resolve(path)))
        return Fail(error, "cannot write the picture to " + path);
    return true;
}

bool AppRun::Export(const std::string& path, std::string* error) const {
    if (!TracesToExport())
        return Fail(error, "nothing has been analysed yet, so there are no traces to export");
    if (ExportTraces(Resolve(path).c_str()) == 0)
        return Fail(error, "cannot write the traces to " + path);
    return true;
}

bool AppRun::ExportBandLevels(const std::string& path, std::string* error) const {
    if (!TracesToExport())
        return Fail(error, "nothing has been analysed yet, so there are no band levels to export");
    if (BandSetOfMode(displayMode) == 0)
        return Fail(error, "the display mode shows no bands");
    if (ExportBands(Resolve(path).c_str()) == 0)
        return Fail(error, "cannot write the band levels to " + path);
    return true;
}

} // namespace cli
