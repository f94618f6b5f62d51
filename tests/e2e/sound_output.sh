# The engine's sine reaches the sound card: while win32_tests.exe plays a 1000 Hz tone through
# waveOut into the null sink, the sink's monitor is recorded with parec, and the strongest
# frequency of one second of the recording is 1000 Hz at the level the mixer gives it.
. "$(dirname "$0")/lib.sh"

parec -d nullsink.monitor --raw --format=s16le --rate=44100 --channels=1 --latency-msec=20 \
    >sink.raw 2>parec.log &
recorder=$!
sleep 0.5
e2e_run_win32_test Win32SoundEngine.DISABLED_PlaysSineForRecording play.log
played=$?
sleep 0.5
kill "$recorder"
wait "$recorder" 2>/dev/null
[ $played = 0 ] || e2e_fail "the playing test failed (play.log)"

# One second from 0.2 s after the tone first reaches the sink; Goertzel amplitude per frequency:
# a coarse scan from 100 Hz to 5 kHz, then 1 Hz steps around the strongest. The level is the
# best of four quarter seconds, so that a scheduling hiccup of a loaded machine does not count.
result=$(od -An -v -td2 -w2 sink.raw | awk -v rate=44100 '
    { x[n++] = $1 }
    function amplitude(f, from, to,   c, s0, s1, s2, i) {
        c = 2 * cos(2 * 3.14159265358979 * f / rate)
        s1 = 0; s2 = 0
        for (i = from; i < to; i++) { s0 = x[i] + c * s1 - s2; s2 = s1; s1 = s0 }
        return 2 * sqrt(s1 * s1 + s2 * s2 - c * s1 * s2) / (to - from)
    }
    END {
        for (a = 0; a < n && (x[a] < 2000 && x[a] > -2000); a++) {}
        a += int(0.2 * rate); b = a + rate
        if (b > n) { print "short"; exit }
        best = 0; peak = 0
        for (f = 100; f <= 5000; f += 50) { m = amplitude(f, a, b); if (m > best) { best = m; peak = f } }
        for (f = peak - 50; f <= peak + 50; f++) { m = amplitude(f, a, b); if (m > best) { best = m; peak = f } }
        level = 0
        for (q = 0; q < 4; q++) {
            m = amplitude(peak, a + q * rate / 4, a + (q + 1) * rate / 4)
            if (m > level) level = m
        }
        printf "%d %d\n", peak, level
    }')
read -r peak level <<<"$result"
[ "$peak" != short ] || e2e_fail "less than a second of tone was recorded ($(stat -c %s sink.raw) bytes)"
[ "$peak" -ge 995 ] && [ "$peak" -le 1005 ] || e2e_fail "strongest frequency $peak Hz, level $level"
# Full tone volume at voice volume 64 is half of full scale: about 16256 in 16-bit samples.
# Dropouts on a busy machine only ever lower the level.
[ "$level" -gt 4000 ] && [ "$level" -lt 18500 ] || e2e_fail "1000 Hz at level $level, expected about 16256"
echo "sink recording: peak at $peak Hz, amplitude $level"
