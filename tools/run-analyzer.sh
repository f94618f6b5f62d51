#!/bin/bash
# Builds tonalyx.exe and runs it under Wine. On a desktop (DISPLAY set) it runs until closed. On
# a machine without a display it runs on a private virtual display with a private sound server,
# which plays a few tones over pink noise into the program's input meanwhile, leaves a
# screenshot in build/screenshots/tonalyx.png after a few seconds, and closes it.
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
# One second of the signal, played over and over: tones at whole numbers of hertz (whole cycles
# in a second, so the loop has no seam) over pink noise from Kellet's filter of white noise.
python3 - build/screenshots/signal.raw <<'END'
import array, math, random, sys
rate = 44100
tones = [(100, 0.10), (440, 0.20), (1000, 0.25), (3150, 0.12), (8000, 0.08)]
random.seed(1)
b = [0.0] * 7
out = array.array("h")
for n in range(rate):
    w = random.uniform(-1.0, 1.0)
    b[0] = 0.99886 * b[0] + w * 0.0555179
    b[1] = 0.99332 * b[1] + w * 0.0750759
    b[2] = 0.96900 * b[2] + w * 0.1538520
    b[3] = 0.86650 * b[3] + w * 0.3104856
    b[4] = 0.55000 * b[4] + w * 0.5329522
    b[5] = -0.7616 * b[5] - w * 0.0168980
    pink = (sum(b[:6]) + b[6] + w * 0.5362) * 0.02
    b[6] = w * 0.115926
    v = pink + sum(a * math.sin(2 * math.pi * hz * n / rate) for hz, a in tones)
    s = int(round(max(-1.0, min(1.0, v)) * 32767))
    out.extend((s, s))
open(sys.argv[1], "wb").write(out.tobytes())
END
while cat build/screenshots/signal.raw; do :; done |
    pacat --playback -d nullsink --latency-msec=10 --format=s16le --rate=44100 --channels=2 --raw &
signal=$!
stop_signal() {
    kill "$signal" 2>/dev/null || true
    wine_env_stop
}
trap stop_signal EXIT
wine "$exe" </dev/null >build/screenshots/wine.log 2>&1 &
pid=$!
E2E_PID=$pid
. tests/e2e/lib.sh
# Wine's mixers have no input selector, which the program reports at start-up: answered, so
# that the screenshot shows the analyzer.
wid=$(e2e_start_frame 30 || true)
sleep "$seconds"
import -window root build/screenshots/tonalyx.png
echo "Screenshot after $seconds s: $(realpath build/screenshots/tonalyx.png)"
if [ -n "$wid" ]; then
    # Closing asks "Are you Sure?" in the view: answer "Exit Program".
    (e2e_answer_close "$wid" 2 build/screenshots/close) || true
fi
for _ in $(seq 1 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill "$pid" 2>/dev/null || true
stop_signal
