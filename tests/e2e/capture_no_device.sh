# Without a sound server Wine shows no wave-in device: the capture thread's Start fails, leaves
# nothing running and keeps its configuration. ALSA is kept out of reach as well, so that a
# machine with a sound card of its own cannot stand in for the missing server. Then the program
# itself: "Unable to start WAVEIN thread" comes while the splash is up and stays until answered,
# the mixer's messages follow, and the view shows its axes although no audio ever comes.
. "$(dirname "$0")/lib.sh"

tests_exe="$(dirname "$TONALYX_EXE")/win32_tests.exe"
PULSE_SERVER=unix:/nonexistent/pulse/native ALSA_CONFIG_PATH=/dev/null wine "$tests_exe" \
    --gtest_also_run_disabled_tests --gtest_filter='Win32Capture.DISABLED_StartFailsWithoutDevice' \
    </dev/null >run.log 2>&1 || e2e_fail "capture misbehaved without a device (run.log)"
grep -q '^\[  PASSED  \] 1 test' run.log || e2e_fail "the test did not run (run.log)"
echo "no device: capture does not start"

export PULSE_SERVER=unix:/nonexistent/pulse/native ALSA_CONFIG_PATH=/dev/null
e2e_launch
box=$(e2e_find_window '^Debug$' 30) || e2e_fail "no capture message at start-up"
# The splash closes after five seconds; nobody answers meanwhile.
sleep 12
[ -n "$(xdotool search --onlyvisible --name '^Debug$' 2>/dev/null)" ] ||
    e2e_fail "the capture message closed unanswered"
xdotool windowfocus --sync "$box" key --clearmodifiers Return
for _ in $(seq 1 50); do
    [ -z "$(xdotool search --onlyvisible --name '^Debug$' 2>/dev/null)" ] && break
    sleep 0.1
done
wid=$(e2e_start_frame 30) || e2e_fail "frame window did not appear"
view_shown() { [ "$E2E_VIEW" != none ]; }
e2e_probe_until 10 view_shown no-device.png || e2e_fail "the view shows no axes (no-device.png)"
echo "no device: the message waited for its answer, then the view showed its axes"
e2e_answer_close "$wid" 2 close
e2e_wait_exit 15
