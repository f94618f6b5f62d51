# Without a sound server Wine shows no wave-out device: the engine does not open, leaves nothing
# running, and the tone generator stays silent without a message.
. "$(dirname "$0")/lib.sh"

tests_exe="$(dirname "$TONALYX_EXE")/win32_tests.exe"
PULSE_SERVER=unix:/nonexistent/pulse/native wine "$tests_exe" --gtest_also_run_disabled_tests \
    --gtest_filter='Win32SoundEngine.DISABLED_OpenFailsCleanlyWithoutDevice' </dev/null \
    >run.log 2>&1 || e2e_fail "the engine misbehaved without a device (run.log)"
grep -q '^\[  PASSED  \] 1 test' run.log || e2e_fail "the test did not run (run.log)"
echo "no device: the engine stays closed"
