// The about dialog's template and actions, and the save-file dialog's Cancel, driven from a
// timer inside their modal loops (the acceptance journey confirms a name).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "port/port.h"
#include "port/win32/dialog_ids.h"
#include "recorded_ui.h"

namespace {

struct Control {
    int id; // -1: found by its class and place instead
    const char* windowClass;
    RECT units; // left, top, width, height in dialog units
    const char* text;
    bool icon;
};

// The control of dialog at this place, in dialog units; an icon sizes itself to its picture, so
// only its corner counts.
HWND ControlAt(HWND dialog, const RECT& units, bool cornerOnly) {
    RECT want = {units.left, units.top, units.left + units.right, units.top + units.bottom};
    MapDialogRect(dialog, &want);
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        if (cornerOnly ? r.left == want.left && r.top == want.top : EqualRect(&r, &want) != 0)
            return child;
    }
    return nullptr;
}

TEST(AboutDialog, ControlsVersionAndButtons) {
    const Control controls[] = {
        {-1, "Static", {85, 7, 21, 20}, nullptr, true},
        {IDC_ABOUT_VERSION, "Static", {11, 34, 168, 10}, "Tonalyx - Version 1.2", false},
        {-1, "Static", {29, 45, 134, 8}, nullptr, false},
        {IDC_ABOUT_WEB, "Button", {15, 62, 160, 14}, nullptr, false},
        {IDC_ABOUT_SUPPORT, "Button", {15, 80, 160, 14}, nullptr, false},
        {IDOK, "Button", {71, 102, 50, 14}, "OK", false},
    };
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(owner, nullptr);
    TakeOpenedAddresses();
    DriveModalDialog(
        "About",
        [&](HWND dialog) {
            EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner);
            RECT client;
            GetClientRect(dialog, &client);
            RECT size = {0, 0, 191, 120};
            MapDialogRect(dialog, &size);
            EXPECT_EQ(client.right, size.right);
            EXPECT_EQ(client.bottom, size.bottom);
            int children = 0;
            for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT))
                ++children;
            EXPECT_EQ(children, 6);
            for (const Control& c : controls) {
                SCOPED_TRACE(c.units.top);
                HWND control = ControlAt(dialog, c.units, c.icon);
                ASSERT_NE(control, nullptr);
                char windowClass[32] = {};
                GetClassNameA(control, windowClass, sizeof windowClass);
                EXPECT_EQ(lstrcmpiA(windowClass, c.windowClass), 0) << windowClass;
                if (c.id != -1) {
                    EXPECT_EQ(GetDlgCtrlID(control), c.id);
                }
                char text[128] = {};
                GetWindowTextA(control, text, sizeof text);
                if (c.text != nullptr) {
                    EXPECT_STREQ(text, c.text);
                } else if (c.icon) {
                    EXPECT_NE(SendMessageA(control, STM_GETICON, 0, 0), 0);
                } else {
                    EXPECT_GT(std::strlen(text), 0u);
                }
            }
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
    for (const std::string& address : opened)
        EXPECT_NE(address.find(".invalid"), std::string::npos) << address;
    DestroyWindow(owner);
}

TEST(AboutDialog, EscapeClosesIt) {
    DriveModalDialog(
        "About", [](HWND dialog) { SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0); },
        [] { port::ShowAboutDialog(nullptr); });
}

class SaveDialog : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        ASSERT_GT(GetTempPathA(sizeof temp, temp), 0u);
        std::snprintf(folder_, sizeof folder_, "%stonalyx-save-%lu", temp, GetCurrentProcessId());
        CreateDirectoryA(folder_, nullptr);
    }
    void TearDown() override { RemoveDirectoryA(folder_); }
    char folder_[MAX_PATH] = {};
};

TEST_F(SaveDialog, CancelLeavesThePath) {
    char path[port::kPathChars] = "trace.txt";
    std::memset(path + 10, 'z', sizeof path - 10); // beyond the proposal: must stay as it is
    int result = -1;
    DriveModalDialog(
        "Save traces", [](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); },
        [&] { result = port::AskSaveFileName(nullptr, "Save traces", path); });
    EXPECT_EQ(result, 1);
    EXPECT_STREQ(path, "trace.txt");
    for (std::size_t i = 10; i < sizeof path; ++i)
        ASSERT_EQ(path[i], 'z') << i;
}

} // namespace
