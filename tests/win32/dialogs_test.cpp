// The about dialog and the save-file dialog's Cancel, driven from a timer inside their modal loops
// (the acceptance journey confirms a save name). User-interface thread of the test program.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "port/port.h"
#include "port/win32/dialog_ids.h"
#include "recorded_ui.h"

namespace {

TEST(AboutDialog, ShowsVersionAndIconAndOpensBothAddresses) {
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    TakeOpenedAddresses();
    DriveModalDialog(
        "About",
        [&](HWND dialog) {
            EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner);
            char version[64] = {};
            GetDlgItemTextA(dialog, IDC_ABOUT_VERSION, version, sizeof version);
            EXPECT_STREQ(version, "Tonalyx - Version 1.2");
            EXPECT_NE(SendMessageA(GetWindow(dialog, GW_CHILD), STM_GETICON, 0, 0), 0);
            SendMessageA(dialog, WM_COMMAND, IDC_ABOUT_WEB, 0);
            SendMessageA(dialog, WM_COMMAND, IDC_ABOUT_SUPPORT, 0);
            EXPECT_TRUE(IsWindowVisible(dialog));
            SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        },
        [&] { port::ShowAboutDialog(owner); });
    const std::vector<std::string> opened = TakeOpenedAddresses();
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0].rfind("https://", 0), 0u) << opened[0];
    EXPECT_EQ(opened[1].rfind("mailto:", 0), 0u) << opened[1];
    DestroyWindow(owner);

    DriveModalDialog(
        "About", [](HWND dialog) { SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0); },
        [] { port::ShowAboutDialog(nullptr); });
}

TEST(SaveDialog, CancelLeavesThePathAndWhatFollowsIt) {
    char path[port::kPathChars] = "trace.txt";
    std::memset(path + 10, 'z', sizeof path - 10);
    int result = -1;
    DriveModalDialog(
        "Save traces", [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); },
        [&] { result = port::AskSaveFileName(nullptr, "Save traces", path); });
    EXPECT_EQ(result, 1);
    EXPECT_STREQ(path, "trace.txt");
    EXPECT_EQ(std::string(path + 10, sizeof path - 10), std::string(sizeof path - 10, 'z'));
}

} // namespace
