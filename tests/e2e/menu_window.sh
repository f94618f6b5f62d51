# The close confirmation menu in a real window (the test program menu_window.exe beside the
# program): the open panel matches its headless golden image pixel for pixel; a press on one
# item released over another, and key presses, choose nothing; a click on "Exit Program" chooses
# it, which the program reports with exit status 0.
. "$(dirname "$0")/lib.sh"

golden="$(cd "$(dirname "$0")/../golden" && pwd)/menu_confirm.png"
TONALYX_EXE="$(dirname "$TONALYX_EXE")/menu_window.exe"
# The window's client area is 360 x 300 at (100, 100); the items are 160 x 21 at x = 100 and
# y = 135 and 163 inside it.
left=100
top=100
item_x=$((left + 180))
continue_y=$((top + 145))
exit_y=$((top + 173))

e2e_launch
e2e_find_window "^Tonalyx menu check\$" >/dev/null || e2e_fail "menu window did not appear"
matches_golden() {
    import -window root -crop 360x300+$left+$top +repage menu.png
    differing=$(compare -metric AE "$golden" menu.png null: 2>&1)
    [ "$differing" = 0 ]
}
e2e_until 20 matches_golden ||
    e2e_fail "open menu differs from $golden in $differing pixels (menu.png)"

xdotool mousemove $item_x $continue_y mousedown 1 mousemove $item_x $exit_y mouseup 1
xdotool key Escape Return
sleep 1
kill -0 "$E2E_PID" 2>/dev/null || e2e_fail "menu closed without a choice"

xdotool mousemove $item_x $exit_y click 1
e2e_wait_exit 15
echo "menu window: matches $(basename "$golden"), Exit Program chosen"
