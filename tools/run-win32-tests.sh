#!/bin/bash
# Runs the Windows tests under Wine in a private display and sound server: the Win32 test
# executables through ctest, then every end-to-end check in tests/e2e against tonalyx.exe.
# Usage: tools/run-win32-tests.sh [cross build directory, default build/win32]
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/win32}
. tools/wine-env.sh
wine_env_start || exit 1

failed=0
passed=0
# Real-time audio and window timing under Wine depend on the machine not being starved: a
# failed check gets two more tries before it counts as failed.
if ctest --test-dir "$build" --output-on-failure --timeout 300 --repeat until-pass:3; then
    passed=$((passed + 1))
else
    failed=$((failed + 1))
fi

export TONALYX_EXE
TONALYX_EXE=$(realpath "$build/tonalyx.exe")
for check in tests/e2e/*.sh; do
    [ "$(basename "$check")" = lib.sh ] && continue
    name=$(basename "$check" .sh)
    scratch="$build/e2e/$name"
    result=FAILED
    for attempt in 1 2 3; do
        rm -rf "$scratch"
        mkdir -p "$scratch"
        if (cd "$scratch" && timeout 300 bash "$OLDPWD/$check"); then
            result=passed
        fi
        wineserver -k >/dev/null 2>&1
        [ $result = passed ] && break
        echo "e2e $name: attempt $attempt failed"
    done
    if [ $result = passed ]; then
        echo "e2e $name: passed"
        passed=$((passed + 1))
    else
        echo "e2e $name: FAILED (files in $scratch)"
        failed=$((failed + 1))
    fi
done
wine_env_stop
echo "win32: $passed passed, $failed failed"
[ $failed -eq 0 ]
