// What each fuzz target feeds the program, shared by the libFuzzer executables (Clang) and the
// unit tests that replay the seeds and the inputs of past findings (any compiler). Runs on the
// caller's thread, which becomes the program's user-interface thread.
#pragma once

#include <cstddef>
#include <cstdint>

namespace fuzz {

// Feeds one input through the program; false when the program was left in a state it must never
// reach (a crash or a sanitizer report ends the process instead).
using Entry = bool (*)(const uint8_t* data, std::size_t size);

struct Target {
    const char* name; // the executable is <name>_fuzzer, its seeds tests/fuzz/corpus/<name>_fuzzer
    Entry entry;
};

// Every target, and the one of that name (null when there is none).
extern const Target kTargets[];
extern const std::size_t kTargetCount;
const Target* FindTarget(const char* name);

} // namespace fuzz
