# Helpers for end-to-end checks of the real tonalyx.exe, driven from outside under Wine in the
# private display of tools/wine-env.sh. Sourced by each check; the check runs in a scratch
# directory (its current directory) and gets the program's path in TONALYX_EXE.

e2e_fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Runs the command (the rest of the arguments) every 0.1 s until it succeeds, for up to $1 s.
e2e_until() {
    local end=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -lt "$end" ] || return 1
        sleep 0.1
    done
}

# Prints the id of the program's splash (unnamed, 268 x 211) when one is in sight.
e2e_splash() {
    local w
    for w in $(xdotool search --onlyvisible --name '^$' 2>/dev/null); do
        [ "$(xdotool getwindowgeometry "$w" 2>/dev/null | sed -n 's/.*Geometry: //p')" = 268x211 ] &&
            echo "$w" && return 0
    done
    return 1
}
e2e_no_splash() { ! e2e_splash >/dev/null; }

# Runs the Win32 test $1 of win32_tests.exe (disabled ones included) with its output in $2;
# fails unless it ran and passed.
e2e_run_win32_test() {
    wine "$(dirname "$TONALYX_EXE")/win32_tests.exe" --gtest_also_run_disabled_tests \
        --gtest_filter="$1" </dev/null >"$2" 2>&1 && grep -q '^\[  PASSED  \] 1 test' "$2"
}

# Starts the program in the background; its process id is in E2E_PID afterwards.
e2e_launch() {
    wine "$TONALYX_EXE" </dev/null >wine.log 2>&1 &
    E2E_PID=$!
}

# Prints the id of the first visible top-level window whose name matches $1, waiting up to $2 s
# and running the command $3, when given, before each look.
e2e_find_window() {
    local name=$1 timeout=${2:-20} poll=${3:-} id i
    for i in $(seq 1 $((timeout * 10))); do
        [ -n "$poll" ] && $poll
        id=$(xdotool search --onlyvisible --name "$name" 2>/dev/null | head -1)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        kill -0 "$E2E_PID" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

e2e_screenshot() { import -window root "$1"; }

# Bounding box "WxH+X+Y" of everything that is not the black root window.
e2e_content_box() { convert "$1" -format '%@' info:; }

_e2e_ended() { ! kill -0 "$E2E_PID" 2>/dev/null; }

# Waits up to $1 s for the program to end; fails unless it ended with status 0.
e2e_wait_exit() {
    if ! e2e_until "${1:-15}" _e2e_ended; then
        kill "$E2E_PID" 2>/dev/null
        e2e_fail "program did not exit within ${1:-15} s"
    fi
    wait "$E2E_PID" || e2e_fail "program exited with status $?"
}

E2E_PROBE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/view_probe.py"

# Takes a screenshot into $1 and reads the analyzer view out of it (view_probe.py; $2 and $3 are
# the sample rate and FFT size for the peak, $4 the axis). The readings are then in E2E_VIEW,
# E2E_METERS, E2E_PEAK, E2E_BANDS, E2E_STRIPE, E2E_LINE, E2E_TEXT and E2E_MENU ("none" when
# absent).
e2e_probe() {
    local shot=$1 name value
    shift
    e2e_screenshot "$shot"
    E2E_VIEW=none E2E_METERS=none E2E_PEAK=none E2E_BANDS=none E2E_STRIPE=none E2E_LINE=none
    E2E_TEXT=0 E2E_MENU=none
    while IFS='=' read -r name value; do
        printf -v "E2E_${name^^}" '%s' "$value"
    done < <(python3 "$E2E_PROBE" "$shot" "$@")
}

# Probes into $3 (the rest of the arguments go to the probe) repeatedly for up to $1 s
# until the command $2 succeeds on the readings; fails when the time runs out first.
e2e_probe_until() {
    local timeout=$1 condition=$2 shot=$3 start=$SECONDS
    shift 3
    while :; do
        e2e_probe "$shot" "$@"
        $condition && return 0
        [ $((SECONDS - start)) -ge "$timeout" ] && return 1
        kill -0 "$E2E_PID" 2>/dev/null || return 1
        sleep 0.2
    done
}

# Plays an endless sine of $1 Hz at $2 of full scale on both channels of the sound server's
# sink (44100 Hz, 16-bit) until e2e_stop_sine; the silence feeder of tools/wine-env.sh keeps the
# sink's latency low meanwhile.
E2E_SINE_PID=
e2e_play_sine() {
    python3 -c '
import array, math, sys
hz, level, rate = float(sys.argv[1]), float(sys.argv[2]), 44100
cycles = array.array("h")
for i in range(rate // 10):  # a whole number of cycles for frequencies in steps of 10 Hz
    s = int(round(level * 32767 * math.sin(2 * math.pi * hz * i / rate)))
    cycles.extend((s, s))
data = cycles.tobytes() * 10
while True:
    sys.stdout.buffer.write(data)
' "$1" "$2" 2>/dev/null | pacat --playback -d nullsink --latency-msec=10 --format=s16le \
        --rate=44100 --channels=2 --raw &
    E2E_SINE_PID=$!
}

# Stops the sine (the generator ends with the player's pipe).
e2e_stop_sine() {
    [ -n "$E2E_SINE_PID" ] && kill "$E2E_SINE_PID" 2>/dev/null && wait "$E2E_SINE_PID" 2>/dev/null
    E2E_SINE_PID=
}

E2E_FRAME_NAME="^Tonalyx 1\.2\$"

# The frame's top-left corner into FX and FY: it opens 720 x 480, centred on the screen.
e2e_frame_corner() {
    read -r FX FY < <(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2] }')
    FX=$(((FX - 720) / 2))
    FY=$(((FY - 480) / 2))
}

# Clicks at ($1, $2) of the frame (e2e_frame_corner first).
e2e_click_at() { xdotool mousemove --sync $((FX + $1)) $((FY + $2)) click 1; }

# Answers the message boxes about the mixer (caption "CMixerBase::..."; Wine's mixers have no
# input selector) with Return, naming them on stderr; the capture failure box ("Debug") fails
# the check.
e2e_answer_startup_boxes() {
    local box
    for box in $(xdotool search --onlyvisible --name "^CMixerBase" 2>/dev/null); do
        echo "start-up message: $(xdotool getwindowname "$box")" >&2
        xdotool windowfocus --sync "$box" key --clearmodifiers Return 2>/dev/null
    done
    [ -z "$(xdotool search --onlyvisible --name '^Debug$' 2>/dev/null)" ] ||
        e2e_fail "the program could not start capture"
}

# Waits up to $1 s for the frame window, answering the start-up boxes, and prints its id.
e2e_start_frame() { e2e_find_window "$E2E_FRAME_NAME" "${1:-30}" e2e_answer_startup_boxes; }

# Closes the frame with Alt+F4 and answers the question that follows with item $2 (see
# e2e_answer_question).
e2e_answer_close() {
    xdotool windowfocus --sync "$1" key --clearmodifiers alt+F4
    e2e_answer_question "$2" "$3"
}

_e2e_menu_open() { [ "$E2E_MENU" != none ]; }

# Answers the in-view question "Are you Sure?" that closing the frame asks with item $1
# (1 "Continue", 2 "Exit Program") by clicking it; the question's screenshot is $2-question.png.
e2e_answer_question() {
    local item=$1 left top
    e2e_probe_until 20 _e2e_menu_open "$2-question.png" ||
        e2e_fail "no close question in the view ($2-question.png)"
    read -r left top _ _ <<<"$E2E_MENU"
    # The panel's blue frame lies 2 pixels outside it; inside are a 10-pixel margin, the 20-pixel
    # title and the 160 x 21 items 28 pixels apart.
    xdotool mousemove --sync $((left + 92)) $((top + 42 + (item - 1) * 28)) click 1
}

# Waits up to 30 s for the save dialog titled $1, types the Windows form of the path $2 into its
# file name field (Wine's Z: drive is /) and confirms it.
e2e_save_as() {
    local dialog
    dialog=$(e2e_find_window "^$1\$" 30) || e2e_fail "no save dialog \"$1\""
    xdotool windowfocus --sync "$dialog" key --clearmodifiers ctrl+a BackSpace
    xdotool type --delay 20 "Z:${2//\//\\}"
    xdotool key --clearmodifiers Return
}
