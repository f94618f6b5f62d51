# The real program on live capture: while only silence plays into the sound server's sink, the
# sink carries nothing but digital silence (the program's own output included) and the view shows
# dark meters and every trace at the floor; with a 1 kHz sine at 0.4 of full scale (-8 dB) played
# into the sink, eleven meter segments light on both rows and the spectrum's highest point lies
# at 1 kHz. Closing asks "Are you Sure?": "Continue" keeps the program running, "Exit Program"
# ends it with status 0 and the settings file written. Screenshots of each step stay in the
# check's directory.
. "$(dirname "$0")/lib.sh"

rate=44100
fft=8192
recorder=
stop_sound() {
    [ -n "$recorder" ] && kill "$recorder" 2>/dev/null && wait "$recorder" 2>/dev/null
    recorder=
    e2e_stop_sine
}
trap stop_sound EXIT

parecord -d nullsink.monitor --raw --format=s16le --rate=$rate --channels=2 monitor.raw &
recorder=$!
e2e_launch
wid=$(e2e_start_frame 30) || e2e_fail "frame window did not appear"
# The window fills in four blocks; the peak trace holds for two seconds and the level readout
# for one. The sink is recorded meanwhile.
sleep 4
e2e_probe silence.png $rate $fft
stop_sound

python3 - monitor.raw <<'END' || e2e_fail "the sink carried more than silence (monitor.raw)"
import array, sys
samples = array.array("h")
samples.frombytes(open(sys.argv[1], "rb").read())
loud = sum(1 for s in samples if s != 0)
print("monitor: %d frames, %d non-zero samples" % (len(samples) // 2, loud))
sys.exit(1 if len(samples) < 44100 or loud else 0)
END
[ "$E2E_VIEW" != none ] || e2e_fail "no analyzer view in silence.png"
[ "$E2E_METERS" = "............. ............." ] ||
    e2e_fail "meters on silence: $E2E_METERS (silence.png)"
[ "$E2E_PEAK" = none ] || e2e_fail "a trace above the floor on silence at $E2E_PEAK (silence.png)"

e2e_play_sine 1000 0.4
# One plot column spans about 33 Hz at this size.
on_tone() {
    [ "$E2E_METERS" = "xxxxxxxxxxx.. xxxxxxxxxxx.." ] && [ "$E2E_PEAK" != none ] &&
        awk -v hz="${E2E_PEAK% *}" -v db="${E2E_PEAK#* }" \
            'BEGIN { exit !(hz >= 950 && hz <= 1050 && db > -30) }'
}
e2e_probe_until 20 on_tone tone.png $rate $fft ||
    e2e_fail "on a -8 dB sine: meters $E2E_METERS, peak $E2E_PEAK; expected 1000 Hz (tone.png)"
peak=$E2E_PEAK

e2e_answer_close "$wid" 1 continue
sleep 1
kill -0 "$E2E_PID" 2>/dev/null || e2e_fail "the program ended on Continue"
e2e_probe continued.png
[ "${E2E_METERS% *}" = "xxxxxxxxxxx.." ] && [ "$E2E_MENU" = none ] ||
    e2e_fail "the view stopped after Continue (continued.png)"

e2e_answer_close "$wid" 2 exit
e2e_wait_exit 15
stop_sound
[ "$(stat -c %s RTA.DAT 2>/dev/null)" = 56 ] || e2e_fail "no settings file written at exit"
echo "live tone: silence dark, sine peak at $peak, Continue and Exit Program answered"
