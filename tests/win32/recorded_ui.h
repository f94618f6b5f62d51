// What the Win32 test program sees instead of message boxes and shell windows, and a driver for
// modal dialogs. User-interface thread of the test program.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct RecordedMessage {
    std::string text;
    std::string caption;
    unsigned flags;
};
// Message boxes shown since the last call; forgets them.
std::vector<RecordedMessage> TakeRecordedMessages();
// Addresses the program asked the shell to open since the last call; forgets them.
std::vector<std::string> TakeOpenedAddresses();

// Runs open(), which shows a modal dialog with this caption, and calls drive with the dialog
// once it is up; drive must end the dialog. Fails the test when no such dialog appears within
// 5 s or it is still open 3 s after drive (it is then cancelled).
void DriveModalDialog(const char* caption, const std::function<void(HWND)>& drive,
                      const std::function<void()>& open);
