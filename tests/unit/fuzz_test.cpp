// Every fuzz target's seeds and the inputs of its past findings, fed through the same entry the
// fuzzer uses: each must leave the program sound (and, in the sanitizer builds, clean). And the
// bounds that scripts from the fuzzer run under.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../fuzz/fuzz_entries.h"
#include "cli/script.h"
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
            std::ifstream in(file.path(), std::ios::binary);
            const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
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

using ScriptLimits = ScratchDirTest;

TEST_F(ScriptLimits, RefuseFarFilesAndLongRunsBeforeAnyActionRuns) {
    cli::ScriptLimits limits;
    limits.maxBlocks = 24;
    limits.plainFileNames = true;
    const struct {
        const char* script;
        const char* says; // empty: the script runs
    } cases[] = {
        {"tone sine 500\nframes 6\nsave-answer cancel\nscreenshot s.bmp\n", ""},
        {"tone sine 500\nframes 6\nscreenshot s.bmp\nframes 19\n",
         "s:4: the script asks for more than 24 frames in all"},
        {"frames 6\nscreenshot s.bmp\nexport /tmp/t.txt\n", "s:3: \"/tmp/t.txt\" is not a plain"},
        {"frames 6\nscreenshot s.bmp\nscreenshot ../s.bmp\n", "s:3: \"../s.bmp\" is not a plain"},
        {"frames 6\nscreenshot s.bmp\nsave-answer a\\t.txt\n", "s:3: \"a\\t.txt\" is not a plain"},
        {"frames 6\nscreenshot s.bmp\nwav C:x.wav\n", "s:3: \"C:x.wav\" is not a plain"},
        {"frames 6\nscreenshot s.bmp\nwav ..\n", "s:3: \"..\" is not a plain"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        std::string error;
        EXPECT_EQ(cli::RunScriptText(c.script, "s", &error, limits), *c.says == '\0');
        EXPECT_EQ(error.rfind(c.says, 0), 0u) << error;
        EXPECT_EQ(std::remove("s.bmp") == 0, *c.says == '\0');
    }
}

} // namespace
