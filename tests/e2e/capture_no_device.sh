# Without a sound server Wine shows no wave-in device: the capture thread's Start fails, leaves
# nothing running and keeps its configuration. ALSA is kept out of reach as well, so that a
# machine with a sound card of its own cannot stand in for the missing server. Then the program
# itself: "Unable to start WAVEIN thread" comes while the splash is up and stays until answered,
# the mixer's messages follow, and the view shows its axes although no audio ever comes.
. "$(dirname "$0")/lib.sh"

export PULSE_SERVER=unix:/nonexistent/pulse/native ALSA_CONFIG_PATH=/dev/null
e2e_run_win32_test Win32Capture.DISABLED_StartFailsWithoutDevice run.log ||
    e2e_fail "capture misbehaved without a device (run.log)"
echo "no device: capture does not start"
e2e_launch
box=$(e2e_find_window '^Debug$' 30) || e2e_fail "no capture message at start-up"
# Nobody answers while the splash closes.
e2e_until 30 e2e_no_splash || e2e_fail "the splash stays"
sleep 1
[ -n "$(xdotool search --onlyvisible --name '^Debug$' 2>/dev/null)" ] ||
    e2e_fail "the capture message closed unanswered"
xdotool windowfocus --sync "$box" key --clearmodifiers Return
no_box() { [ -z "$(xdotool search --onlyvisible --name '^Debug$' 2>/dev/null)" ]; }
e2e_until 5 no_box
wid=$(e2e_start_frame 30) || e2e_fail "frame window did not appear"
view_shown() { [ "$E2E_VIEW" != none ]; }
e2e_probe_until 10 view_shown no-device.png || e2e_fail "the view shows no axes (no-device.png)"
echo "no device: the message waited for its answer, then the view showed its axes"
e2e_answer_close "$wid" 2 close
e2e_wait_exit 15
