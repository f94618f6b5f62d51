# The control panel of the real program: the bands with their tool bars, combo boxes and trackbar
# are in sight; the display mode follows the Scale combo and the Mode menu, a check button stays
# down until pressed again, the Gain trackbar changes the gain in the status bar; at exit the
# mode is saved in RTA.DAT (56 bytes) and the next start shows it again; File > Exit ends it.
. "$(dirname "$0")/lib.sh"

# Places are measured from the frame's corner under the display's fonts (no Input band: Wine's
# mixer has no input selector).
e2e_frame_corner
# grab NAME W H X Y: the frame's area of W x H at (X, Y) into NAME.png.
grab() { import -window root -crop "$2x$3+$((FX + $4))+$((FY + $5))" +repage "$1.png"; }
same() { [ "$(compare -metric AE -fuzz 5% "$1.png" "$2.png" null: 2>&1)" = 0 ]; }
colours() { convert "$1.png" -format '%k' info:; }

scale_combo() { grab "$1" 150 16 47 105; }
view() { grab "$1" 680 180 20 200; }
gain_text() { grab "$1" 75 14 125 461; }
trace_button() { grab "$1" 60 34 216 50; }
# differs/matches GRAB BEFORE AFTER: grabs AFTER and compares it with BEFORE (for e2e_until).
differs() { "$1" "$3" && ! same "$3" "$2"; }
matches() { "$1" "$3" && same "$3" "$2"; }

# Starts the program and waits for its frame, then for the splash that covers it to go.
start_program() {
    e2e_launch
    wid=$(e2e_start_frame 30) || e2e_fail "frame window did not appear"
    e2e_until 30 e2e_no_splash || e2e_fail "the splash stays"
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
e2e_click_at 246 66
e2e_until 10 differs trace_button trace_on trace_off || e2e_fail "the Trace button did not change"

# "Pause": the view is drawn from the last analysis, so only the display mode changes it.
e2e_click_at 313 66
sleep 1
view linear_view
sleep 1
view paused_view
same paused_view linear_view || e2e_fail "the paused view still changes"
scale_combo linear
# Scale combo: "Linear" -> "Octave", the item its first letter picks.
e2e_click_at 118 113
sleep 0.5
xdotool key o Return
e2e_until 10 differs scale_combo linear octave || e2e_fail "the Scale combo did not change"
e2e_until 10 differs view linear_view octave_view || e2e_fail "the view did not change to Octave"
# Mode menu: "Linear", its first item.
xdotool key alt+m Return
e2e_until 10 matches scale_combo linear back ||
    e2e_fail "Mode > Linear did not bring the Scale combo back to Linear"

e2e_click_at 246 66
e2e_until 10 matches trace_button trace_on trace_again ||
    e2e_fail "the Trace button did not come back"

# A click at the right end of the Gain trackbar raises the gain in the status bar.
gain_text gain_before
e2e_click_at 540 433
e2e_until 10 differs gain_text gain_before gain_after ||
    e2e_fail "the gain in the status bar did not change"

# Mode menu: "Spectrogram", the seventh item; it is saved at exit.
xdotool key alt+m Down Down Down Down Down Down Return
e2e_until 10 differs scale_combo linear spectrogram || e2e_fail "Mode > Spectrogram did nothing"
e2e_answer_close "$wid" 2 exit
e2e_wait_exit 15
[ "$(stat -c %s RTA.DAT 2>/dev/null)" = 56 ] || e2e_fail "RTA.DAT is not 56 bytes"
mode=$(od -An -t d4 -j 16 -N 4 RTA.DAT | tr -d ' ')
[ "$mode" = 6 ] || e2e_fail "RTA.DAT holds display mode $mode, expected 6 (Spectrogram)"

start_program
e2e_until 10 matches scale_combo spectrogram restored ||
    e2e_fail "the next start does not show Spectrogram"
# File > Exit closes the frame as its system menu does, after the same question.
xdotool key alt+f x
e2e_answer_question 2 file-exit
e2e_wait_exit 15
echo "control panel: bands in sight, Scale combo and Mode menu, Trace button, Gain; mode $mode kept"
