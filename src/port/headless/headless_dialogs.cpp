// The headless port's save dialog, splash, about dialog and help: scripted answers and a record
// of what was asked, for tests and tonalyx-cli. User-interface thread.
#include <cstring>
#include <filesystem>

#include "port/headless/headless.h"
#include "port/port.h"

namespace {

bool saveConfirms = false;
std::string saveAnswer;
std::vector<headless::SaveRequest> saveRequests;
std::vector<headless::ShownWindow> shownWindows;

} // namespace

namespace headless {

void SetSaveAnswer(const char* path) {
    saveConfirms = path != nullptr;
    saveAnswer = path != nullptr ? path : "";
}

std::vector<SaveRequest> TakeSaveRequests() {
    std::vector<SaveRequest> taken;
    taken.swap(saveRequests);
    return taken;
}

std::vector<ShownWindow> TakeShownWindows() {
    std::vector<ShownWindow> taken;
    taken.swap(shownWindows);
    return taken;
}

} // namespace headless

namespace port {

int AskSaveFileName(WindowHandle owner, const char* title, char* path) {
    saveRequests.push_back({owner, title != nullptr ? title : "", path});
    if (!saveConfirms)
        return 1;
    // The dialog answers with a full path; one that does not fit the buffer is an error, as the
    // platform dialog reports it.
    std::error_code failure;
    const std::filesystem::path chosen = std::filesystem::absolute(saveAnswer, failure);
    const std::string full = chosen.string();
    if (failure || full.size() >= kPathChars)
        return 1;
    std::memcpy(path, full.c_str(), full.size() + 1);
    // The user went to the chosen file's folder in the dialog, which leaves the process there.
    std::filesystem::current_path(chosen.parent_path(), failure);
    return 0;
}

void ShowSplashWindow() {
    shownWindows.push_back({headless::WindowRequest::Splash, nullptr, ""});
}

void ShowAboutDialog(WindowHandle owner) {
    shownWindows.push_back({headless::WindowRequest::About, owner, ""});
}

void OpenHelpContents(WindowHandle window) {
    shownWindows.push_back({headless::WindowRequest::Help, window, kHelpFile});
}

} // namespace port
