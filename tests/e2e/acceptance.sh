# Acceptance of the real program on live capture, driven from outside as a user would:
#  1. start-up: splash, the mixer's boxes answered, meters lit by a 1 kHz sine in the sink;
#  2. the display modes on the sine: peak at 1 kHz in Linear and Log, tallest bar in the 1 kHz
#     band in the octave modes, a stripe at 1 kHz in the spectrogram, a flat 0 dB line in the
#     transfer view (no weighting yet: in the transfer modes it corrects one channel only), and
#     an SPL reading above A-weighted bars that both change on a quieter sine;
#  3. its own test tone comes back through the sink;
#  4. "Save ASCII" into another folder writes the export format with its peak at 1 kHz;
#  5. "Exit Program" writes RTA.DAT into the start folder, and the next start shows the mode
#     chosen before; after two runs one RTA.DAT of 56 bytes and no temporary file remain.
# Screenshots of every step stay in screenshots/acceptance of the build directory.
. "$(dirname "$0")/lib.sh"

rate=44100
fft=8192
shots="$(dirname "$TONALYX_EXE")/screenshots/acceptance"
rm -rf "$shots"
mkdir -p "$shots"
trap e2e_stop_sine EXIT

e2e_frame_corner

# near VALUE TARGET TOLERANCE
near() { awk -v v="$1" -v t="$2" -v d="$3" 'BEGIN { exit !(v - t <= d && t - v <= d) }'; }

# Mode menu item $1 (0 "Linear" .. 9 "Transfer (Log)").
choose_mode() {
    local keys=() i
    for ((i = 0; i < $1; i++)); do keys+=(Down); done
    xdotool windowfocus --sync "$wid" key --clearmodifiers alt+m "${keys[@]}" Return
}

meters_lit() { [[ "$E2E_METERS" == xxxxxxxx* ]]; }
peak_at_1k() {
    [ "$E2E_PEAK" != none ] || return 1
    near "${E2E_PEAK% *}" 1000 50 && near "${E2E_PEAK#* }" -8 12
}
# The tallest bar in band $1 among at least $2 standing.
tallest_in() {
    [ "$E2E_BANDS" != none ] || return 1
    local standing tallest
    read -r standing tallest _ <<<"$E2E_BANDS"
    [ "$tallest" = "$1" ] && [ "$standing" -ge "$2" ]
}
stripe_at_1k() { [ "$E2E_STRIPE" != none ] && near "${E2E_STRIPE% *}" 1000 60; }
spl_shown() { [ "$E2E_TEXT" -ge 500 ] && tallest_in 6 1; }
flat_line() {
    [ "$E2E_LINE" != none ] || return 1
    near "${E2E_LINE% *}" 1 0.03 && near "${E2E_LINE#* }" 0.5 0.05
}

# 1. Start-up: splash, message boxes, analyzer with live meters.
rm -f RTA.DAT
e2e_play_sine 1000 0.4
e2e_launch
e2e_until 20 e2e_splash >/dev/null || e2e_fail "no 268 x 211 splash window"
e2e_screenshot "$shots/01-splash.png"
wid=$(e2e_start_frame 60) || e2e_fail "frame window did not appear"
xdotool windowfocus --sync "$wid"
e2e_probe_until 30 meters_lit "$shots/02-analyzer.png" ||
    e2e_fail "meters on the sine: $E2E_METERS (02-analyzer.png)"
# The splash goes after five seconds.
e2e_until 30 e2e_no_splash || e2e_fail "the splash stays"
echo "1. splash, then meters $E2E_METERS"

# 2. The display modes on the sine.
e2e_probe_until 30 peak_at_1k "$shots/03-linear.png" $rate $fft ||
    e2e_fail "Linear: peak at $E2E_PEAK (03-linear.png)"
echo "2. Linear peak $E2E_PEAK"
choose_mode 1
e2e_probe_until 30 peak_at_1k "$shots/04-log.png" $rate $fft log ||
    e2e_fail "Log: peak at $E2E_PEAK (04-log.png)"
echo "   Log peak $E2E_PEAK"
choose_mode 2
e2e_probe_until 30 "tallest_in 6 1" "$shots/05-octave.png" $rate $fft bands:11 ||
    e2e_fail "Octave: bars $E2E_BANDS (05-octave.png)"
echo "   Octave bars $E2E_BANDS"
choose_mode 3
e2e_probe_until 30 "tallest_in 18 1" "$shots/06-third-octave.png" $rate $fft bands:32 ||
    e2e_fail "1/3 Octave: bars $E2E_BANDS (06-third-octave.png)"
echo "   1/3 Octave bars $E2E_BANDS"
choose_mode 6
e2e_probe_until 60 stripe_at_1k "$shots/07-spectrogram.png" $rate $fft ||
    e2e_fail "Spectrogram: stripe $E2E_STRIPE (07-spectrogram.png)"
echo "   Spectrogram stripe $E2E_STRIPE"
choose_mode 8
e2e_probe_until 30 flat_line "$shots/08-transfer.png" ||
    e2e_fail "Transfer: line $E2E_LINE (08-transfer.png)"
echo "   Transfer line $E2E_LINE"
choose_mode 7
e2e_probe_until 30 spl_shown "$shots/09-spl.png" $rate $fft bands:11 ||
    e2e_fail "SPL: $E2E_TEXT text pixels, bars $E2E_BANDS (09-spl.png)"
read -r left top width _ <<<"$E2E_VIEW"
read -r _ _ loud_db <<<"$E2E_BANDS"
spl_text() { convert "$1" -crop "$((width / 2))x32+$((left + width / 4))+$((top + 53))" +repage "$2"; }
spl_text "$shots/09-spl.png" spl-loud.png
# 20 dB less signal lowers the 1 kHz band and changes the reading (held for a second).
e2e_stop_sine
e2e_play_sine 1000 0.04
spl_changed() {
    spl_text "$shots/09-spl-quiet.png" spl-quiet.png
    local db
    spl_shown || return 1
    read -r _ _ db <<<"$E2E_BANDS"
    awk -v q="$db" -v l="$loud_db" 'BEGIN { exit !(q < l - 15) }' &&
        [ "$(compare -metric AE spl-loud.png spl-quiet.png null: 2>&1)" -gt 100 ]
}
e2e_probe_until 30 spl_changed "$shots/09-spl-quiet.png" $rate $fft bands:11 ||
    e2e_fail "the SPL reading stays on a quieter sine (09-spl-quiet.png)"
echo "   SPL text $E2E_TEXT pixels, 1 kHz band at $loud_db dB, then ${E2E_BANDS##* } dB and a new reading"

# 3. The program's own test tone through the sink, the external sine stopped.
e2e_stop_sine
choose_mode 0
silent() { [[ "$E2E_METERS" == ............* ]]; }
e2e_probe_until 30 silent "$shots/10-silence.png" || e2e_fail "meters without a sine: $E2E_METERS"
plot_bottom=${E2E_VIEW##* }
e2e_click_at 178 66 # "Test Tone" shows the tone bar: Sine, 1000 Hz
tone_bar() { [ "$E2E_VIEW" != none ] && [ "${E2E_VIEW##* }" -lt "$plot_bottom" ]; }
e2e_probe_until 10 tone_bar "$shots/11-tone-bar.png" || e2e_fail "no tone bar (11-tone-bar.png)"
e2e_click_at 498 400 # " Play "
tone_at_1k() { meters_lit && peak_at_1k; }
e2e_probe_until 30 tone_at_1k "$shots/12-own-tone.png" $rate $fft ||
    e2e_fail "own tone: meters $E2E_METERS, peak $E2E_PEAK (12-own-tone.png)"
echo "3. own tone: meters $E2E_METERS, peak $E2E_PEAK"

# 4. Export through the save dialog into another folder, in Linear (both live channels) and in
# Transfer (Log).
# check_export FILE HEADER: the file's lines and header, and the row of the highest value in the
# first column after the frequency (printed as "hz level", then the level at 1 kHz). The numbers'
# format is checked natively; the line ends are the real port's own.
check_export() {
    python3 - "$@" <<'END'
import sys
path, header = sys.argv[1], sys.argv[2]
data = open(path, "rb").read()
lines = data.split(b"\r\n")
if lines[-1] != b"" or b"\n" in data.replace(b"\r\n", b""):
    sys.exit("%s: lines do not all end with CR LF" % path)
lines = [l.decode("ascii") for l in lines[:-1]]
if lines[0] != header or len(lines) != 4098:
    sys.exit("%s: header %r and %d data lines, expected 4097" % (path, lines[0], len(lines) - 1))
values = [[float(p) for p in row.split(", ")] for row in lines[1:]]
top = max(values, key=lambda v: v[1])
at_1k = min(values, key=lambda v: abs(v[0] - 1000))
print("%.2f %.2f %.2f" % (top[0], top[1], at_1k[1]))
END
}
mkdir -p exports
xdotool windowfocus --sync "$wid" key --clearmodifiers alt+f s
e2e_save_as "Save Traces" "$PWD/exports/linear.txt"
e2e_until 20 test -s exports/linear.txt
e2e_screenshot "$shots/13-exported.png"
read -r hz level _ < <(check_export exports/linear.txt "Frequency (Hz), Left (dB), Right (dB)") ||
    e2e_fail "Linear export"
near "$hz" 1000 11 || e2e_fail "Linear export peaks at $hz Hz"
echo "4. Linear export: peak $level dB at $hz Hz"
choose_mode 9
sleep 2
xdotool windowfocus --sync "$wid" key --clearmodifiers alt+f s
e2e_save_as "Save Traces" "$PWD/exports/transfer.txt"
e2e_until 20 test -s exports/transfer.txt
read -r _ _ db < <(check_export exports/transfer.txt "Frequency (Hz), dB") ||
    e2e_fail "Transfer export"
# A-weighting (kept from SPL) is 0 dB at 1 kHz, where both channels carry the tone.
near "$db" 0 1 || e2e_fail "Transfer export shows $db dB at 1 kHz"
echo "   Transfer (Log) export: $db dB at 1 kHz"
e2e_click_at 563 400 # " Stop"

# 5. "Exit Program" saves the settings in the start folder, whatever folder the save dialog went
# to; the next start shows the mode chosen before exit.
choose_mode 3
e2e_answer_close "$wid" 2 "$shots/14-close"
e2e_wait_exit 20
[ ! -e exports/RTA.DAT ] || e2e_fail "the settings went into the export folder"
[ "$(stat -c %s RTA.DAT 2>/dev/null)" = 56 ] || e2e_fail "RTA.DAT is not 56 bytes"
mode=$(od -An -t d4 -j 16 -N 4 RTA.DAT | tr -d ' ')
[ "$mode" = 3 ] || e2e_fail "RTA.DAT holds display mode $mode, expected 3 (1/3 Octave)"
e2e_play_sine 1000 0.4
e2e_launch
wid=$(e2e_start_frame 60) || e2e_fail "frame window did not appear after the restart"
e2e_probe_until 40 "tallest_in 18 1" "$shots/15-restarted.png" $rate $fft bands:32 ||
    e2e_fail "after the restart: bars $E2E_BANDS, expected 1/3 Octave (15-restarted.png)"
echo "5. RTA.DAT of 56 bytes with mode $mode; after the restart 1/3 Octave bars $E2E_BANDS"
e2e_answer_close "$wid" 2 "$shots/16-close"
e2e_wait_exit 20
e2e_stop_sine
# The second save replaced the file of the first.
[ "$(stat -c %s RTA.DAT 2>/dev/null)" = 56 ] && [ ! -e RTA.DAT.tmp ] ||
    e2e_fail "after two runs: $(ls -l RTA.DAT* 2>&1)"
echo "   after the second run: RTA.DAT of 56 bytes, no temporary file"
