// The whole analyzer run headless, for tonalyx-cli and tests: start-up with the view at a chosen
// size, the capture input, the user's actions as the window and its controls deliver them, one
// frame update per captured block on the virtual clock, the outputs, and shutdown. Runs on the
// caller's thread, which becomes the program's user-interface thread.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "port/headless/headless.h"

namespace cli {

// The analyzer view's window in a headless run.
port::WindowHandle AppView();

// Default size of the view: what a 720 by 480 frame leaves between its bars.
constexpr int kAppViewWidth = 720;
constexpr int kAppViewHeight = 400;
// The largest view a run accepts; the smallest is the views' minimum (src/views/view_layout.h).
constexpr int kAppViewMaxSide = 4096;

// Numbers of command lines and scripts: a whole decimal number (within +-10^9), or a decimal
// number; the whole text, without blanks. False for anything else.
bool ReadInt(const std::string& text, int* out);
bool ReadNumber(const std::string& text, double* out);

// Stores reason in *error (when given) and returns false: the failure path of every CLI step.
bool Fail(std::string* error, const std::string& reason);
// False with a reason when the view size lies outside what a run accepts.
bool CheckViewSize(int width, int height, std::string* error);

class AppRun {
public:
    AppRun() = default;
    AppRun(const AppRun&) = delete;
    AppRun& operator=(const AppRun&) = delete;
    ~AppRun() { Stop(); }

    // Starts the program as at launch, with a silent input and the view width by height. The
    // program works in a fresh private folder, so no settings file of the caller's folder is
    // read or written; Resolve names the caller's files. False, with a reason, when the size is
    // out of range or the folder cannot be made. settingsFile, when given, is the content of the
    // settings file the program finds in that folder at launch.
    bool Start(int width, int height, std::string* error,
               const std::optional<std::string>& settingsFile = std::nullopt);
    // Shuts the program down as after its main loop and returns to the caller's folder. May be
    // repeated.
    void Stop();

    // A path as the caller meant it: relative paths name files of the caller's folder.
    std::string Resolve(const std::string& path) const;

    // ---- The capture input
    // Puts source on the sound card's input, with rate chosen in the FFT settings menu (a WAV
    // source needs its own rate). False with a reason when capture does not start.
    bool UseSource(const headless::CaptureSource& source, int32_t rate, std::string* error);
    // Chooses the FFT size in the FFT settings menu.
    bool ChangeFftSize(int32_t size, std::string* error);
    // Lets the time of count capture blocks pass, each followed by one frame update; returns
    // the number of frames drawn.
    int RunBlocks(int count);
    // The capture side of one of those blocks: its time passes and the waiting messages are
    // served, and the frame update that would take the new block is left to the caller.
    void CaptureBlock();

    // ---- The user's actions, delivered as the window and its controls deliver them
    void Command(int id);
    // Selects item of a combo box; the handler hears CBN_SELCHANGE.
    void SelectItem(int comboId, int item);
    // Chooses display mode 0..11 in the Scale combo; the waveform view, which the combo does not
    // offer, follows the linear one as only a settings file otherwise brings it.
    void ChooseMode(int mode);
    // Types text into the edit field of a combo box; the handler hears CBN_EDITCHANGE.
    void TypeText(int comboId, const std::string& text);
    // Drags a trackbar's thumb to position.
    void MoveTrackbar(int id, int position);
    void Key(int virtualKey);
    // WM_LBUTTONDOWN, WM_MOUSEMOVE or WM_LBUTTONUP at view point (x, y), with Shift held or not.
    void Mouse(uint32_t message, int x, int y, bool shift);
    // The view's own scroll bar: a scroll code with the thumb position for the thumb codes.
    void Scroll(int code, int position);
    // The frame resized so that the view is width by height; false when out of range.
    bool Resize(int width, int height, std::string* error);
    // Closes the view, which asks "Are you Sure?"; true when the program was closed, this way
    // or since the last call by a command (File, Exit).
    bool Close();
    bool Closed();
    // Answers for the next in-view menus, one item id per menu shown (0 dismisses it); a menu
    // shown when no answer is left is dismissed.
    void SetMenuAnswers(const std::vector<int>& items);
    // The labels of the in-view menus answered since the last call, in turn: "label,label..."
    std::vector<std::string> TakeAnsweredMenus();

    // ---- Outputs: false with a reason when nothing or not all could be written
    bool Screenshot(const std::string& path, std::string* error) const;
    bool Export(const std::string& path, std::string* error) const;
    // The band levels of the band or SPL mode in use.
    bool ExportBandLevels(const std::string& path, std::string* error) const;

private:
    // Runs the FFT settings menu with these choices (an item of the main menu, then one of its
    // submenu, ...), leaving it with "Continue".
    void ChooseInFftMenu(std::initializer_list<int> choices);

    bool started_ = false;
    std::string launchDir_;
    std::string workDir_;
};

} // namespace cli
