// The headless save dialog answers as scripted and never touches the path on cancel or on an
// answer longer than the path buffer.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "port/headless/headless.h"
#include "port/port.h"

namespace {

void* const kView = reinterpret_cast<void*>(0x42);

TEST(HeadlessSaveDialog, ConfirmFillsThePathCancelAndOverlongLeaveIt) {
    struct Case {
        const char* answer; // null: Cancel
        int result;
        std::string path;
    };
    const std::string overlong(port::kPathChars, 'x');
    const Case cases[] = {
        {"/tmp/out/trace one.txt", 0, "/tmp/out/trace one.txt"},
        {nullptr, 1, "trace.txt"},
        {overlong.c_str(), 1, "trace.txt"},
    };
    for (const Case& c : cases) {
        headless::SetSaveAnswer(c.answer);
        char path[port::kPathChars];
        std::strcpy(path, "trace.txt");
        EXPECT_EQ(port::AskSaveFileName(kView, "Save traces", path), c.result);
        EXPECT_EQ(std::string(path), c.path);
        const auto asked = headless::TakeSaveRequests();
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0].owner, kView);
        EXPECT_EQ(asked[0].title, "Save traces");
        EXPECT_EQ(asked[0].proposed, "trace.txt");
    }
    headless::SetSaveAnswer(nullptr);
}

} // namespace
