#!/bin/bash
# Runs every test: installs what is missing, builds the native configurations (plain, address and
# undefined-behaviour sanitizers with the fuzz targets, thread sanitizer) and the Windows cross
# build, runs the unit, command-line and image tests natively, a short benchmark pass, each fuzz
# target for 30 seconds, and the Win32 tests and end-to-end checks under Wine. Ends with a line
# "tests: N passed, N failed" (stages).
set -uo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh || exit 1
jobs=$(nproc)
passed=0
failed=0
failures=()

stage() {
    local name=$1
    shift
    echo "=== $name"
    local start=$SECONDS
    if "$@"; then
        passed=$((passed + 1))
        echo "=== $name: passed ($((SECONDS - start)) s)"
    else
        failed=$((failed + 1))
        failures+=("$name")
        echo "=== $name: FAILED ($((SECONDS - start)) s)"
    fi
}

# Line tables are all that a failure's stack trace needs; full debug information would cost a
# quarter of each build.
configure_build() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja -Wno-dev -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" \
        -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" "$@" >/dev/null &&
        cmake --build "$dir" -j"$jobs"
}

# Each test in a process of its own, then the whole suite in one process in a random order (the
# seed is printed): a test that leans on what another left behind fails one of the two.
native() {
    tools/check-layers.sh &&
        configure_build build/native &&
        ctest --test-dir build/native -j"$jobs" --output-on-failure --timeout 600 &&
        build/native/unit_tests --gtest_shuffle --gtest_brief=1
}
# The sanitizer builds hold only the tests their sanitizer checks (CMakeLists.txt), each run
# once in one process. Address and undefined-behaviour sanitizers share their Clang build with
# the fuzz targets.
sanitized() {
    configure_build build/asan -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DTONALYX_FUZZ=ON -DTONALYX_SANITIZE=address,undefined,fuzzer-no-link &&
        ASAN_OPTIONS=detect_leaks=1 timeout 600 build/asan/unit_tests --gtest_shuffle --gtest_brief=1
}
threads() {
    configure_build build/tsan -DTONALYX_SANITIZE=thread &&
        TSAN_OPTIONS=halt_on_error=1 timeout 600 build/tsan/unit_tests --gtest_shuffle --gtest_brief=1
}
# The fuzz targets of the address-sanitizer build, each on its seeds and past findings.
fuzzing() {
    tools/run-fuzzers.sh build/asan 30
}
benchmarks() {
    [ -x build/native/tonalyx_bench ] && build/native/tonalyx_bench --benchmark_min_time=0.01
}
windows() {
    configure_build build/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-posix.cmake -DBUILD_TESTING=ON &&
        tools/run-win32-tests.sh build/win32
}

stage native native
stage sanitizers sanitized
stage threads threads
stage benchmarks benchmarks
stage fuzzing fuzzing
stage windows windows

[ $failed -eq 0 ] || echo "failed stages: ${failures[*]}"
echo "tests: $passed passed, $failed failed"
[ $failed -eq 0 ]
