// Installs, for the whole Win32 test program, the records that stand in for message boxes and
// the shell, and drives modal dialogs from a thread timer that their message loop dispatches.
#include <windows.h>

#include "recorded_ui.h"

#include <gtest/gtest.h>

#include "port/win32/win32_hooks.h"

namespace {

std::vector<RecordedMessage> messages;
std::vector<std::string> addresses;

int RecordMessage(const char* text, const char* caption, unsigned flags) {
    messages.push_back({text, caption, flags});
    return IDOK;
}

void RecordAddress(const char* address) {
    addresses.push_back(address);
}

class RecordedUi : public ::testing::Environment {
public:
    void SetUp() override {
        SetMessageBoxHook(RecordMessage);
        SetShellOpenHook(RecordAddress);
    }
    void TearDown() override {
        SetMessageBoxHook(nullptr);
        SetShellOpenHook(nullptr);
    }
};

const ::testing::Environment* const installed = ::testing::AddGlobalTestEnvironment(new RecordedUi);

struct Drive {
    const char* caption;
    const std::function<void(HWND)>* drive;
    DWORD start;
    HWND dialog;    // the dialog driven, once found
    DWORD drivenAt; // when it was driven
    bool driven;
    bool timedOut; // it did not appear
    bool leftOpen; // the drive did not end it
};
Drive* current = nullptr;

struct Search {
    const char* caption;
    HWND found;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    char text[128] = {};
    char windowClass[32] = {};
    GetWindowTextA(window, text, sizeof text);
    GetClassNameA(window, windowClass, sizeof windowClass);
    if (IsWindowVisible(window) && lstrcmpA(windowClass, "#32770") == 0 &&
        lstrcmpA(text, search->caption) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindDialog(const char* caption) {
    Search search{caption, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Waits for the dialog and drives it; ends whatever modal window is still up seconds later, so
// that a failed drive fails the test instead of hanging it.
void CALLBACK DriveTick(HWND, UINT, UINT_PTR, DWORD) {
    if (current == nullptr)
        return;
    const DWORD now = GetTickCount();
    if (!current->driven) {
        HWND dialog = FindDialog(current->caption);
        if (dialog == nullptr && now - current->start < 5000)
            return;
        current->driven = true;
        current->drivenAt = now;
        current->timedOut = dialog == nullptr;
        current->dialog = dialog != nullptr ? dialog : GetActiveWindow();
        if (dialog != nullptr)
            (*current->drive)(dialog);
        return;
    }
    if (current->dialog != nullptr && IsWindow(current->dialog) && now - current->drivenAt > 3000) {
        current->leftOpen = true;
        EndDialog(current->dialog, IDCANCEL);
    }
}

} // namespace

std::vector<RecordedMessage> TakeRecordedMessages() {
    std::vector<RecordedMessage> taken;
    taken.swap(messages);
    return taken;
}

std::vector<std::string> TakeOpenedAddresses() {
    std::vector<std::string> taken;
    taken.swap(addresses);
    return taken;
}

void DriveModalDialog(const char* caption, const std::function<void(HWND)>& drive,
                      const std::function<void()>& open) {
    Drive state{caption, &drive, GetTickCount(), nullptr, 0, false, false, false};
    current = &state;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, DriveTick);
    ASSERT_NE(timer, 0u);
    open();
    KillTimer(nullptr, timer);
    current = nullptr;
    EXPECT_FALSE(state.timedOut) << "dialog \"" << caption << "\" did not appear";
    EXPECT_FALSE(state.leftOpen) << "dialog \"" << caption << "\" was left open";
}
