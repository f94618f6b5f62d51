# Helpers for end-to-end checks of the real tonalyx.exe, driven from outside under Wine in the
# private display of tools/wine-env.sh. Sourced by each check; the check runs in a scratch
# directory (its current directory) and gets the program's path in TONALYX_EXE.

e2e_fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Starts the program in the background; its process id is in E2E_PID afterwards.
e2e_launch() {
    wine "$TONALYX_EXE" </dev/null >wine.log 2>&1 &
    E2E_PID=$!
}

# Prints the id of the first visible top-level window whose name matches $1, waiting up to $2 s.
e2e_find_window() {
    local name=$1 timeout=${2:-20} id i
    for i in $(seq 1 $((timeout * 10))); do
        id=$(xdotool search --onlyvisible --name "$name" 2>/dev/null | head -1)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        kill -0 "$E2E_PID" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

e2e_screenshot() { import -window root "$1"; }

# Bounding box "WxH+X+Y" of everything that is not the black root window.
e2e_content_box() { convert "$1" -format '%@' info:; }

# Waits up to $1 s for the program to end; fails unless it ended with status 0.
e2e_wait_exit() {
    local timeout=${1:-15} i status
    for i in $(seq 1 $((timeout * 10))); do
        if ! kill -0 "$E2E_PID" 2>/dev/null; then
            wait "$E2E_PID"
            status=$?
            [ "$status" -eq 0 ] || e2e_fail "program exited with status $status"
            return 0
        fi
        sleep 0.1
    done
    kill "$E2E_PID" 2>/dev/null
    e2e_fail "program did not exit within $timeout s"
}
