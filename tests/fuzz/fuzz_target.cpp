// The libFuzzer entry of one fuzz target, chosen by TONALYX_FUZZ_TARGET at build time. A state the
// program must never reach counts as a finding, like a crash. Built with Clang; see
// tools/run-fuzzers.sh for running every target on its seeds.
#include <cstdlib>

#include "fuzz_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static const fuzz::Target* const target = fuzz::FindTarget(TONALYX_FUZZ_TARGET);
    if (target == nullptr || !target->entry(data, size))
        std::abort();
    return 0;
}
