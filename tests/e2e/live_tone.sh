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
pids=()
stop_players() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    pids=()
}
trap stop_players EXIT

parecord -d nullsink.monitor --raw --format=s16le --rate=$rate --channels=2 monitor.raw &
pids+=($!)
e2e_launch
wid=$(e2e_start_frame 30) || e2e_fail "frame window did not appear"
# The window fills in four blocks; the peak trace holds for two seconds and the level readout
# for one.
sleep 4
e2e_screenshot silence.png
stop_players

python3 - monitor.raw <<'EOF' || e2e_fail "the sink carried more than silence (monitor.raw)"
import array, sys
samples = array.array("h")
samples.frombytes(open(sys.argv[1], "rb").read())
loud = [i // 2 for i, s in enumerate(samples) if s != 0]
print("monitor: %d frames, %d non-zero samples" % (len(samples) // 2, len(loud)))
if len(samples) < 44100 or loud:
    sys.exit(1)
EOF
read -r row0 row1 < <(python3 "$E2E_PROBE" meters silence.png) ||
    e2e_fail "no analyzer view in silence.png"
[ "$row0 $row1" = "............. ............." ] ||
    e2e_fail "meters on silence: $row0 $row1 (silence.png)"
if found=$(python3 "$E2E_PROBE" peak silence.png $rate $fft 2>/dev/null); then
    e2e_fail "a trace above the floor on silence at $found (silence.png)"
fi

python3 - tone.raw <<'EOF'
import array, math, sys
rate, seconds = 44100, 30
tone = array.array("h")
for i in range(rate * seconds):
    s = int(round(0.4 * 32767 * math.sin(2 * math.pi * 1000.0 * i / rate)))
    tone.extend((s, s))
open(sys.argv[1], "wb").write(tone.tobytes())
EOF
pacat --playback -d nullsink --latency-msec=10 --format=s16le --rate=$rate --channels=2 \
    --raw tone.raw &
pids+=($!)
sleep 3
e2e_screenshot tone.png
read -r row0 row1 < <(python3 "$E2E_PROBE" meters tone.png)
[ "$row0 $row1" = "xxxxxxxxxxx.. xxxxxxxxxxx.." ] ||
    e2e_fail "meters on a -8 dB sine: $row0 $row1 (tone.png)"
read -r hz db < <(python3 "$E2E_PROBE" peak tone.png $rate $fft) ||
    e2e_fail "no trace on the sine (tone.png)"
# One plot column spans about 33 Hz at this size.
python3 -c "import sys; sys.exit(0 if abs($hz - 1000) <= 50 and $db > -30 else 1)" ||
    e2e_fail "spectrum peak at $hz Hz, $db dB; expected 1000 Hz (tone.png)"

e2e_answer_close "$wid" 1 continue
kill -0 "$E2E_PID" 2>/dev/null || e2e_fail "the program ended on Continue"
sleep 1
e2e_screenshot continued.png
read -r row0 _ < <(python3 "$E2E_PROBE" meters continued.png)
[ "$row0" = "xxxxxxxxxxx.." ] || e2e_fail "the view stopped after Continue (continued.png)"

e2e_answer_close "$wid" 2 exit
e2e_wait_exit 15
stop_players
[ "$(stat -c %s RTA.DAT 2>/dev/null)" = 56 ] || e2e_fail "no settings file written at exit"
echo "live tone: silence dark, sine peak at $hz Hz ($db dB), Continue and Exit Program answered"
