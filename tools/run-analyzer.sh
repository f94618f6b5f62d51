#!/bin/bash
# Builds tonalyx.exe and runs it under Wine. On a desktop (DISPLAY set) it runs until closed. On
# a machine without a display it runs on a private virtual display with a silent sound server,
# leaves a screenshot in build/screenshots/tonalyx.png after a few seconds, and closes it.
# Usage: tools/run-analyzer.sh [seconds to run without a display, default 8]
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh windows
cmake -S . -B build/analyzer -G Ninja -Wno-dev -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-posix.cmake \
    -DBUILD_TESTING=OFF >/dev/null
cmake --build build/analyzer -j"$(nproc)" --target tonalyx
exe=$(realpath build/analyzer/tonalyx.exe)

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    exec wine "$exe"
fi

seconds=${1:-8}
. tools/wine-env.sh
wine_env_start
mkdir -p build/screenshots
wine "$exe" </dev/null >build/screenshots/wine.log 2>&1 &
pid=$!
sleep "$seconds"
import -window root build/screenshots/tonalyx.png
echo "Screenshot after $seconds s: $(realpath build/screenshots/tonalyx.png)"
wid=$(xdotool search --onlyvisible --name "^Tonalyx" | head -1 || true)
if [ -n "$wid" ]; then
    # Closing asks "Are you Sure?" in the view: answer "Exit Program".
    E2E_PID=$pid
    . tests/e2e/lib.sh
    (e2e_answer_close "$wid" 2 build/screenshots/close) || true
fi
for _ in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill "$pid" 2>/dev/null || true
wine_env_stop
