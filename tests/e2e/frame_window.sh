# The mixer's start-up message (Wine's mixers have no input selector) waits for its answer
# however long the splash, which closes after five seconds, had the focus; the frame window opens
# 720 x 480, centred on the screen, under its caption; closing it with Alt+F4 and answering
# "Exit Program" ends the program cleanly.
. "$(dirname "$0")/lib.sh"

e2e_launch
e2e_find_window "^CMixerBase" 30 >/dev/null || e2e_fail "no mixer message at start-up"
e2e_until 30 e2e_no_splash || e2e_fail "the splash stays"
sleep 1
[ -n "$(xdotool search --onlyvisible --name "^CMixerBase" 2>/dev/null)" ] ||
    e2e_fail "the mixer message closed unanswered"
wid=$(e2e_start_frame 30) || e2e_fail "frame window did not appear"
e2e_frame_corner
expected="720x480+$FX+$FY"
framed() {
    e2e_screenshot frame.png
    box=$(e2e_content_box frame.png)
    [ "$box" = "$expected" ]
}
e2e_until 10 framed || e2e_fail "window occupies $box, expected $expected"

e2e_answer_close "$wid" 2 close
e2e_wait_exit 15
[ -z "$(xdotool search --onlyvisible --name "^Tonalyx 1\.2\$" 2>/dev/null)" ] ||
    e2e_fail "a window is left after exit"
echo "frame window: $box"
