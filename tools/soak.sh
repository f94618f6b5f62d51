#!/bin/bash
# Soak run of the real tonalyx.exe under Wine on live capture: a 1 kHz sine plays into the
# private sound server's sink while the view is switched through its modes, zoom, scroll and
# fade, and the FFT size and sample rate through the in-view FFT menu, at intervals. The
# program's memory (resident set of its Wine process) is sampled throughout; at the end the
# program is closed through its "Are you Sure?" question and its capture counts (written to the
# debug output at exit) are checked: every buffer the device handed back stored or dropped by a
# rule, and every byte stored read or discarded, none twice; the settings file it writes must
# hold the last rate and size chosen. Not part of tools/run-tests.sh.
#
# Then the headless soak of tonalyx-cli runs an hour of simulated audio (SOAK_HEADLESS_MINUTES),
# which also switches FFT sizes and sample rates.
#
# Usage: tools/soak.sh [minutes, default 10] [cross build directory, default build/win32]
# Settings (environment): SOAK_WARMUP_S       seconds before the memory baseline, default 60
#                         SOAK_RSS_BOUND_KB   allowed growth after warm-up, default 4096
#                         SOAK_STEP_S         seconds between changes, default 10
# Output: rss.csv, wine.log, screenshots and summary.txt in <build>/soak.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
minutes=${1:-10}
build=${2:-build/win32}
warmup=${SOAK_WARMUP_S:-60}
bound=${SOAK_RSS_BOUND_KB:-4096}
step_s=${SOAK_STEP_S:-10}
[ -f "$build/tonalyx.exe" ] || { echo "no $build/tonalyx.exe: build it first" >&2; exit 1; }
export TONALYX_EXE
TONALYX_EXE=$(realpath "$build/tonalyx.exe")
out="$build/soak"
rm -rf "$out"
mkdir -p "$out"
. tools/wine-env.sh
wine_env_start || exit 1
. tests/e2e/lib.sh
cd "$out"

# Blocks of 2048 frames at the highest rate bound the count of buffers the clock allows (lower
# rates hand back fewer: 2048 frames at 22050 and 11025 Hz, 512 at 8000 Hz).
rate=44100
finish() {
    e2e_stop_sine
    wine_env_stop
}
trap finish EXIT

# The Wine process that runs the program: the launcher becomes it or starts it as a child.
program_pid() {
    local pid
    for pid in "$E2E_PID" $(pgrep -P "$E2E_PID" 2>/dev/null); do
        if tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -qi 'tonalyx\.exe'; then
            echo "$pid"
            return 0
        fi
    done
    return 1
}

rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status" 2>/dev/null; }

# "FFT Setting" is the first button of the main tool bar, at this offset in the frame window.
fft_button_dx=45
fft_button_dy=66
rates=(44100 22050 11025 8000) # the items of the FFT menu's rate and size lists, in order
sizes=(2048 4096 8192 16384 32768)
chosen_rate=44100 # the defaults, as the run starts without a settings file
chosen_size=8192
fft_changes=0

# Chooses item $2 of list $1 of the in-view FFT settings menu (1 sample rate, 2 FFT size), then
# "Continue"; the capture restarts with the new value.
choose_fft_setting() {
    local x y
    eval "$(xdotool getwindowgeometry --shell "$wid")"
    x=$((X + fft_button_dx))
    y=$((Y + fft_button_dy))
    xdotool mousemove --sync "$x" "$y" click 1
    e2e_answer_question "$1" fft-menu >/dev/null
    e2e_answer_question "$2" fft-list >/dev/null
    e2e_answer_question 5 fft-continue >/dev/null
    fft_changes=$((fft_changes + 1))
}

# Step $1 of the run, logged in steps.log: every third step a new FFT size or sample rate from
# the in-view FFT menu (sizes and rates in turn), the others change the view: display modes from
# the frame's Mode menu, zoom, scroll, fade, live traces. A menu that does not appear ends the run.
exercise() {
    local n=$1 what
    if [ $((n % 3)) -eq 2 ]; then
        local k=$((n / 3)) item
        if [ $((k % 2)) -eq 0 ]; then
            item=$(((k / 2) % 5 + 1))
            choose_fft_setting 2 "$item"
            chosen_size=${sizes[item - 1]}
            what="FFT size $chosen_size"
        else
            item=$(((k / 2) % 4 + 1))
            choose_fft_setting 1 "$item"
            chosen_rate=${rates[item - 1]}
            what="sample rate $chosen_rate"
        fi
    else
        local v=$(((n / 3) * 2 + n % 3))
        case $((v % 3)) in
        0) # the next display mode from the frame's Mode menu
            local mode=$(((v / 3) % 10)) downs=""
            for _ in $(seq 1 "$mode"); do downs="$downs Down"; done
            # shellcheck disable=SC2086
            xdotool windowfocus --sync "$wid" key --clearmodifiers alt+m $downs Return
            what="mode $mode" ;;
        1) if [ $((v / 3 % 2)) -eq 0 ]; then
                xdotool windowfocus --sync "$wid" key --clearmodifiers Up Up Right Right
                what="zoom in, scroll right"
            else
                xdotool windowfocus --sync "$wid" key --clearmodifiers Left Left Down Down
                what="scroll left, zoom out"
            fi ;;
        2) if [ $((v / 3 % 2)) -eq 0 ]; then
                xdotool windowfocus --sync "$wid" key --clearmodifiers f
                what="fade"
            else
                xdotool windowfocus --sync "$wid" key --clearmodifiers space
                what="live traces"
            fi ;;
        esac
    fi
    echo "$(($(date +%s) - started)) s: $what" >>steps.log
}

e2e_play_sine 1000 0.4

launched=$(date +%s)
WINEDEBUG=-all,+debugstr e2e_launch
wid=$(e2e_start_frame 30) || e2e_fail "frame window did not appear"
pid=$(program_pid) || e2e_fail "no Wine process runs tonalyx.exe"
started=$(date +%s)
end=$((started + minutes * 60))
echo "seconds,rss_kb" >rss.csv
n=0
next_step=$((started + step_s))
baseline=
while [ "$(date +%s)" -lt "$end" ]; do
    kill -0 "$pid" 2>/dev/null || e2e_fail "the program ended during the run (wine.log)"
    now=$(date +%s)
    rss=$(rss_kb "$pid")
    echo "$((now - started)),$rss" >>rss.csv
    [ -z "$baseline" ] && [ $((now - started)) -ge "$warmup" ] && baseline=$rss
    if [ "$now" -ge "$next_step" ]; then
        exercise "$n"
        n=$((n + 1))
        next_step=$((now + step_s))
        [ $((n % 30)) -eq 0 ] && e2e_screenshot "step-$n.png"
    fi
    sleep 2
done
elapsed=$(($(date +%s) - started))
e2e_screenshot last.png

e2e_answer_close "$wid" 2 exit
e2e_wait_exit 30
capture_s=$(($(date +%s) - launched))
e2e_stop_sine

# Wine prints the line quoted, with its line feed as "\n".
counts=$(grep -ao 'tonalyx capture counts: [a-zA-Z0-9= ]*' wine.log | tail -1)
[ -n "$counts" ] || e2e_fail "no capture counts in wine.log"
python3 - "$elapsed" "$capture_s" "$warmup" "$bound" "$rate" "$fft_changes" "$chosen_rate" \
    "$chosen_size" "$counts" <<'EOF' | tee summary.txt
import csv, struct, sys
elapsed, capture_s, warmup, bound, rate, changes, chosen_rate, chosen_size = \
    (int(v) for v in sys.argv[1:9])
c = dict(f.split("=") for f in sys.argv[9].split(": ", 1)[1].split())
c = {k: int(v) for k, v in c.items()}
rows = [(int(r["seconds"]), int(r["rss_kb"])) for r in csv.DictReader(open("rss.csv")) if r["rss_kb"]]
after = [kb for s, kb in rows if s >= warmup]
base = after[0] if after else rows[-1][1]
growth = max(after) - base if after else 0
expected = capture_s * rate // 2048
balance = c["bytesStored"] - c["bytesRead"] - c["bytesDiscarded"]
print("run: %d s, %d RSS samples" % (elapsed, len(rows)))
print("RSS kB: start %d, after warm-up %d, end %d, max %d; growth after warm-up %d (bound %d)"
      % (rows[0][1], base, rows[-1][1], max(kb for _, kb in rows), growth, bound))
print("capture buffers: %d handed back (at most %d in the %d s from launch to exit), %d stored, "
      "%d dropped by a full ring, %d stale after a resume"
      % (c["done"], expected, capture_s, c["stored"], c["full"], c["stale"]))
print("ring bytes: %d stored, %d read, %d discarded unread; unaccounted %d"
      % (c["bytesStored"], c["bytesRead"], c["bytesDiscarded"], balance))
try:
    saved_rate, saved_size = struct.unpack_from("<ii", open("RTA.DAT", "rb").read(), 4)
except (OSError, struct.error):
    saved_rate = saved_size = None
print("FFT changes: %d, the last %d Hz and %d points; the settings file holds %s Hz and %s points"
      % (changes, chosen_rate, chosen_size, saved_rate, saved_size))
ok = True
if growth > bound:
    print("FAIL: memory grew by %d kB after warm-up" % growth)
    ok = False
if c["done"] != c["stored"] + c["full"] + c["stale"]:
    print("FAIL: buffers handed back and buffers accounted for differ")
    ok = False
if balance != 0:
    print("FAIL: %d bytes stored and neither read nor discarded (negative: read twice)" % balance)
    ok = False
if c["done"] > expected + 25:
    print("FAIL: more buffers handed back than the clock allows: some came twice")
    ok = False
if (saved_rate, saved_size) != (chosen_rate, chosen_size):
    print("FAIL: the program did not keep the last FFT size and rate chosen")
    ok = False
if c["stored"] == 0 or c["bytesRead"] == 0:
    print("FAIL: nothing was captured")
    ok = False
sys.exit(0 if ok else 1)
EOF
status=${PIPESTATUS[0]}
echo "soak: files in $(pwd)"
finish
trap - EXIT

# The same checks headless, over an hour of simulated audio (a few minutes of real time).
cmake -S "$root" -B "$root/build/native" -G Ninja >/dev/null &&
    cmake --build "$root/build/native" -j2 --target tonalyx-cli >/dev/null || exit 1
"$root/build/native/tonalyx-cli" soak --minutes "${SOAK_HEADLESS_MINUTES:-60}" | tee headless.txt
headless_status=${PIPESTATUS[0]}
[ "$status" -eq 0 ] && [ "$headless_status" -eq 0 ]
