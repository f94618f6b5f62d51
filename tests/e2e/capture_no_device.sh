# Without a sound server Wine shows no wave-in device: the capture thread's Start fails, leaves
# nothing running and keeps its configuration. ALSA is kept out of reach as well, so that a
# machine with a sound card of its own cannot stand in for the missing server.
. "$(dirname "$0")/lib.sh"

tests_exe="$(dirname "$TONALYX_EXE")/win32_tests.exe"
PULSE_SERVER=unix:/nonexistent/pulse/native ALSA_CONFIG_PATH=/dev/null wine "$tests_exe" \
    --gtest_also_run_disabled_tests --gtest_filter='Win32Capture.DISABLED_StartFailsWithoutDevice' \
    </dev/null >run.log 2>&1 || e2e_fail "capture misbehaved without a device (run.log)"
grep -q '^\[  PASSED  \] 1 test' run.log || e2e_fail "the test did not run (run.log)"
echo "no device: capture does not start"
