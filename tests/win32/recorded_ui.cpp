// Installs, for the whole Win32 test program, the records that stand in for message boxes and
// the shell, and drives modal dialogs from a thread timer that their message loop dispatches.
#include <windows.h>

#include "recorded_ui.h"

#include <gtest/gtest.h>

#include "port/win32/win32_hooks.h"

namespace {

std::vector<RecordedMessage> messages;
std::vector<std::string> addresses;

class RecordedUi : public ::testing::Environment {
public:
    void SetUp() override {
        SetMessageBoxHook([](const char* text, const char* caption, unsigned flags) {
            messages.push_back({text, caption, flags});
            return IDOK;
        });
        SetShellOpenHook([](const char* address) { addresses.push_back(address); });
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
    bool leftOpen;  // the drive did not end it
};
Drive* current = nullptr;

// Waits for the dialog and drives it; ends it when it is still up seconds later, so that a
// failed drive fails the test instead of hanging it.
void CALLBACK DriveTick(HWND, UINT, UINT_PTR, DWORD) {
    if (current == nullptr)
        return;
    const DWORD now = GetTickCount();
    if (current->dialog == nullptr) {
        HWND dialog = FindWindowA("#32770", current->caption);
        if (dialog != nullptr && IsWindowVisible(dialog)) {
            current->dialog = dialog;
            current->drivenAt = now;
            (*current->drive)(dialog);
        } else if (now - current->start > 5000) {
            EndDialog(GetActiveWindow(), IDCANCEL);
        }
    } else if (IsWindow(current->dialog) && now - current->drivenAt > 3000) {
        current->leftOpen = true;
        EndDialog(current->dialog, IDCANCEL);
    }
}

template <typename T> std::vector<T> Take(std::vector<T>& records) {
    std::vector<T> taken;
    taken.swap(records);
    return taken;
}

} // namespace

std::vector<RecordedMessage> TakeRecordedMessages() {
    return Take(messages);
}

std::vector<std::string> TakeOpenedAddresses() {
    return Take(addresses);
}

void DriveModalDialog(const char* caption, const std::function<void(HWND)>& drive,
                      const std::function<void()>& open) {
    Drive state{caption, &drive, GetTickCount(), nullptr, 0, false};
    current = &state;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, DriveTick);
    ASSERT_NE(timer, 0u);
    open();
    KillTimer(nullptr, timer);
    current = nullptr;
    EXPECT_NE(state.dialog, nullptr) << "dialog \"" << caption << "\" did not appear";
    EXPECT_FALSE(state.leftOpen) << "dialog \"" << caption << "\" was left open";
}
