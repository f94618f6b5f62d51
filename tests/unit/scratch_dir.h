// A fresh temporary directory made the current one for the length of a test, for code that
// reads and writes files by bare name. Test thread only.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <unistd.h>

class ScratchDirTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tonalyx-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        char cwd[4096];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        oldDir_ = cwd;
        ASSERT_EQ(chdir(dir_.c_str()), 0);
    }
    void TearDown() override {
        std::remove("RTA.DAT");
        ASSERT_EQ(chdir(oldDir_.c_str()), 0);
        rmdir(dir_.c_str());
    }

private:
    std::string dir_;
    std::string oldDir_;
};
