// Every fuzz target's seeds and the inputs of its past findings, fed through the same entry the
// fuzzer uses: each must leave the program sound (and, in the sanitizer builds, clean).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "../fuzz/fuzz_entries.h"
#include "scratch_dir.h"

namespace {

namespace fs = std::filesystem;

class FuzzReplay : public ::testing::TestWithParam<std::size_t> {};

TEST_P(FuzzReplay, SeedsAndFindingsLeaveTheProgramSound) {
    const fuzz::Target& target = fuzz::kTargets[GetParam()];
    int inputs = 0;
    for (const char* folder : {"corpus", "regressions"}) {
        const fs::path dir = fs::path(TONALYX_SOURCE_DIR) / "tests/fuzz" / folder /
                             (std::string(target.name) + "_fuzzer");
        if (!fs::is_directory(dir))
            continue;
        for (const fs::directory_entry& file : fs::directory_iterator(dir)) {
            // An exactly sized copy, so the sanitizer sees any read past its end.
            const std::string text = ReadFile(file.path());
            const std::vector<uint8_t> bytes(text.begin(), text.end());
            EXPECT_TRUE(target.entry(bytes.data(), bytes.size())) << file.path().filename();
            ++inputs;
        }
    }
    EXPECT_GT(inputs, 0) << "no seeds for " << target.name;
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay, ::testing::Range<std::size_t>(0, fuzz::kTargetCount),
                         [](const ::testing::TestParamInfo<std::size_t>& info) {
                             return std::string(fuzz::kTargets[info.param].name);
                         });

} // namespace
