// tonalyx-cli as scripts see it: exit codes and output of the program itself.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace {

struct CliRun {
    int status;
    std::string out;
};

CliRun RunCli(const std::string& args) {
    const std::string command = std::string(TONALYX_CLI) + " " + args + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    CliRun run{-1, ""};
    if (pipe == nullptr)
        return run;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        run.out += buffer;
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(Cli, PrintsVersion) {
    const CliRun run = RunCli("--version");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "Tonalyx 1.2\n");
}

TEST(Cli, UnknownArgumentsGetUsageAndFailure) {
    const CliRun run = RunCli("--no-such-option");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.out.find("Usage: tonalyx-cli"), std::string::npos);
}

} // namespace
