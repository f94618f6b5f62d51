# Without a sound server Wine shows no wave-out device: the engine does not open, leaves nothing
# running, and the tone generator stays silent without a message.
. "$(dirname "$0")/lib.sh"

PULSE_SERVER=unix:/nonexistent/pulse/native \
    e2e_run_win32_test Win32SoundEngine.DISABLED_OpenFailsCleanlyWithoutDevice run.log ||
    e2e_fail "the engine misbehaved without a device (run.log)"
echo "no device: the engine stays closed"
