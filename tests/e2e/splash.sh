# The splash window on the screen: shaped like its picture (where the picture has the magenta key
# the black root window shows through), gone by itself after about five seconds, earlier with
# Esc, and an all-key picture makes an invisible splash that still closes on time. Runs the
# test program splash_demo.exe, which shows the program's splash or a test picture of tests/data.
. "$(dirname "$0")/lib.sh"

demo="$(dirname "$TONALYX_EXE")/splash_demo.exe"

# Starts the demo with picture $1 and waits until it reports the splash; sets X Y W H.
start_splash() {
    wine "$demo" "$1" </dev/null >"demo-$1.log" 2>&1 &
    E2E_PID=$!
    e2e_until 20 grep -q '^splash ' "demo-$1.log" || e2e_fail "no splash: $(cat "demo-$1.log")"
    read -r _ X Y W H < <(grep -m1 '^splash ' "demo-$1.log" | tr -d '\r')
}

# Waits for the demo to end (it ends when the splash closes); sets MS to the splash's lifetime.
finish_splash() {
    e2e_wait_exit 15
    MS=$(tr -d '\r' <"demo-$1.log" | sed -n 's/^closed after \([0-9]*\) ms$/\1/p')
    [ -n "$MS" ] || e2e_fail "demo did not report the end of the splash"
}

# expect_pixel SHOT X Y R G B WHAT: the screenshot's pixel at (X, Y) is (R, G, B), give or take 8.
expect_pixel() {
    local r g b d
    read -r r g b < <(convert "$1" -crop "1x1+$2+$3" +repage \
        -format '%[fx:round(255*r)] %[fx:round(255*g)] %[fx:round(255*b)]' info:)
    [ -n "$r" ] || e2e_fail "no pixel at ($2, $3)"
    for d in $((r - $4)) $((g - $5)) $((b - $6)); do
        [ "${d#-}" -le 8 ] || e2e_fail "$7 at ($2, $3) is ($r, $g, $b), expected ($4, $5, $6)"
    done
}

# 1. A test picture, pixel by pixel, then its end after about five seconds.
start_splash SHAPE
[ "$W" = 160 ] && [ "$H" = 100 ] || e2e_fail "splash is ${W}x$H, expected 160x100"
sleep 1
e2e_screenshot splash.png
expect_pixel splash.png $((X + 80)) $((Y + 50)) 32 160 224 "disc centre"
expect_pixel splash.png $((X + 80)) $((Y + 12)) 32 160 224 "disc top"
expect_pixel splash.png $((X + 10)) $((Y + 90)) 255 17 255 "near-key square"
expect_pixel splash.png $((X + 2)) $((Y + 2)) 0 0 0 "key corner"
expect_pixel splash.png $((X + 30)) $((Y + 10)) 0 0 0 "key within tolerance"
expect_pixel splash.png $((X + 158)) $((Y + 98)) 0 0 0 "far key corner"
box=$(e2e_content_box splash.png)
[ "$box" = "116x85+$((X + 5))+$((Y + 10))" ] ||
    e2e_fail "visible part is $box, expected the disc and the square only"
finish_splash SHAPE
# A busy machine delays the timer, never brings it forward.
[ "$MS" -ge 4900 ] && [ "$MS" -le 30000 ] || e2e_fail "splash lived $MS ms"
e2e_screenshot after.png
[ "$(convert after.png -format '%[max]' info:)" = 0 ] || e2e_fail "something is left on the screen"
echo "shaped splash at $X,$Y lived $MS ms"

# 2. The program's splash: its rounded corners cut out, its picture inside; Esc closes it early.
start_splash SPLASH
[ "$W" = 268 ] && [ "$H" = 211 ] || e2e_fail "program splash is ${W}x$H, expected 268x211"
sleep 1
e2e_screenshot program-splash.png
xdotool key Escape
finish_splash SPLASH
[ "$MS" -lt 4000 ] || e2e_fail "Esc did not close the splash early ($MS ms)"
expect_pixel program-splash.png "$X" "$Y" 0 0 0 "top left corner"
expect_pixel program-splash.png $((X + W - 1)) $((Y + H - 1)) 0 0 0 "bottom right corner"
expect_pixel program-splash.png $((X + W / 2)) $((Y + H / 2)) 24 39 78 "picture centre"
box=$(e2e_content_box program-splash.png)
[ "$box" = "${W}x$H+$X+$Y" ] || e2e_fail "program splash occupies $box"
echo "Esc closed the splash after $MS ms"

# 3. A picture of key pixels only: an invisible splash that still ends on time.
start_splash ALLKEY
sleep 1
e2e_screenshot invisible.png
[ "$(convert invisible.png -format '%[max]' info:)" = 0 ] || e2e_fail "the all-key splash shows"
finish_splash ALLKEY
[ "$MS" -ge 4900 ] && [ "$MS" -le 30000 ] || e2e_fail "invisible splash lived $MS ms"
echo "invisible splash lived $MS ms"
