# The control panel of the real program: the bands with their tool bars, combo boxes and trackbar
# are in sight; the display mode follows the Scale combo and the Mode menu, a check button stays
# down until pressed again, the Gain trackbar changes the gain in the status bar; at exit the
# mode is saved in RTA.DAT (56 bytes) and the next start shows it again; File > Exit ends it.
. "$(dirname "$0")/lib.sh"

read -r screen_w screen_h < <(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2] }')
# The frame is centred; the places below are measured from its top-left corner under the
# display's fonts (no Input band: Wine's mixer has no input selector).
fx=$(((screen_w - 720) / 2))
fy=$(((screen_h - 480) / 2))
click_at() { xdotool mousemove $((fx + $1)) $((fy + $2)) click 1; }
# grab NAME W H X Y: the frame's area of W x H at (X, Y) into NAME.png.
grab() { import -window root -crop "$2x$3+$((fx + $4))+$((fy + $5))" +repage "$1.png"; }
same() { [ "$(compare -metric AE -fuzz 5% "$1.png" "$2.png" null: 2>&1)" = 0 ]; }
colours() { convert "$1.png" -format '%k' info:; }

scale_combo() { grab "$1" 150 16 47 105; }
view() { grab "$1" 680 180 20 200; }
gain_text() { grab "$1" 75 14 125 461; }
trace_button() { grab "$1" 60 34 216 50; }

visible() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1; }

# Starts the program and waits for its frame. Wine's mixer has no input selector: the program
# says so in message boxes while it builds the controls, before the frame shows; they are
# answered.
start_program() {
    e2e_launch
    wid=
    local box
    for _ in $(seq 1 300); do
        box=$(visible "^CMixerBase")
        [ -n "$box" ] && xdotool windowfocus --sync "$box" key Return
        wid=$(visible "^Tonalyx 1\.2\$")
        [ -n "$wid" ] && break
        kill -0 "$E2E_PID" 2>/dev/null || e2e_fail "the program ended at start"
        sleep 0.1
    done
    [ -n "$wid" ] || e2e_fail "frame window did not appear"
    sleep 6 # the splash closes, the first frames are drawn
    xdotool windowfocus --sync "$wid"
}

rm -f RTA.DAT
start_program
e2e_screenshot panel.png
for area in "toolbar 480 44 4 30" "top_bands 700 26 4 100" "bottom_bands 700 30 4 422"; do
    set -- $area
    grab "$@"
    [ "$(colours "$1")" -gt 3 ] || e2e_fail "no controls in sight in the $1 area (panel.png)"
done

# "Trace" stays down (the peak trace is on at the start) until pressed again; the peak trace,
# which keeps changing, stays off while the display is paused below.
trace_button trace_on
click_at 246 66
sleep 0.5
trace_button trace_off
! same trace_off trace_on || e2e_fail "the Trace button did not change"

# "Pause": the view is drawn from the last analysis, so only the display mode changes it.
click_at 313 66
sleep 1
view linear_view
sleep 1
view paused_view
same paused_view linear_view || e2e_fail "the paused view still changes"
scale_combo linear
# Scale combo: "Linear" -> "Octave", the item its first letter picks.
click_at 118 113
sleep 0.5
xdotool key o Return
sleep 1
scale_combo octave
view octave_view
! same octave linear || e2e_fail "the Scale combo did not change"
! same octave_view linear_view || e2e_fail "the view did not change to Octave"
# Mode menu: "Linear", its first item.
xdotool key alt+m Return
sleep 1
scale_combo back
same back linear || e2e_fail "Mode > Linear did not bring the Scale combo back to Linear"

click_at 246 66
sleep 0.5
trace_button trace_again
same trace_again trace_on || e2e_fail "the Trace button did not come back"

# A click at the right end of the Gain trackbar raises the gain in the status bar.
gain_text gain_before
click_at 540 433
sleep 1
gain_text gain_after
! same gain_after gain_before || e2e_fail "the gain in the status bar did not change"

# Mode menu: "Spectrogram", the seventh item; it is saved at exit.
xdotool key alt+m Down Down Down Down Down Down Return
sleep 1
scale_combo spectrogram
e2e_answer_close "$wid" 2 exit
e2e_wait_exit 15
[ "$(stat -c %s RTA.DAT 2>/dev/null)" = 56 ] || e2e_fail "RTA.DAT is not 56 bytes"
mode=$(od -An -t d4 -j 16 -N 4 RTA.DAT | tr -d ' ')
[ "$mode" = 6 ] || e2e_fail "RTA.DAT holds display mode $mode, expected 6 (Spectrogram)"

start_program
scale_combo restored
same restored spectrogram || e2e_fail "the next start does not show Spectrogram"
# File > Exit closes the frame as its system menu does, after the same question.
xdotool key alt+f x
e2e_answer_question 2 file-exit
e2e_wait_exit 15
echo "control panel: bands in sight, Scale combo and Mode menu, Trace button, Gain; mode $mode kept"
