# Private environment for running the Windows program under Wine: a Wine prefix with unmanaged
# windows, an Xvfb display, and a PulseAudio daemon with a null sink fed low-latency silence.
# Source this file, call wine_env_start, and wine_env_stop when done (it is also trapped on
# exit). Everything started is stopped by its process id, never by name.
#
# Settings (environment): TONALYX_WINE_DIR  where the prefix and runtime files live
#                         TONALYX_SCREEN    Xvfb screen size, default 1024x768x24

TONALYX_WINE_DIR=${TONALYX_WINE_DIR:-$(pwd)/build/wine}
TONALYX_SCREEN=${TONALYX_SCREEN:-1024x768x24}
_wine_env_pids=()

_wine_env_log() { echo "wine-env: $*" >&2; }

# A display number with no X server and no lock file.
_wine_env_free_display() {
    local n
    for n in $(seq 90 199); do
        if [ ! -e "/tmp/.X${n}-lock" ] && [ ! -e "/tmp/.X11-unix/X${n}" ]; then
            echo "$n"
            return 0
        fi
    done
    return 1
}

wine_env_start() {
    mkdir -p "$TONALYX_WINE_DIR"
    export WINEPREFIX="$TONALYX_WINE_DIR/prefix"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export XDG_RUNTIME_DIR="$TONALYX_WINE_DIR/runtime"
    rm -rf "$XDG_RUNTIME_DIR"
    mkdir -p "$XDG_RUNTIME_DIR"
    chmod 700 "$XDG_RUNTIME_DIR"
    trap wine_env_stop EXIT

    local n
    n=$(_wine_env_free_display) || { _wine_env_log "no free display number"; return 1; }
    Xvfb ":$n" -screen 0 "$TONALYX_SCREEN" -nolisten tcp -br >"$TONALYX_WINE_DIR/xvfb.log" 2>&1 &
    _wine_env_pids+=($!)
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 100); do
        xdpyinfo >/dev/null 2>&1 && break
        sleep 0.1
    done
    xdpyinfo >/dev/null 2>&1 || { _wine_env_log "Xvfb did not start"; return 1; }

    pulseaudio -n --daemonize=no --exit-idle-time=-1 --disallow-exit \
        --load=module-native-protocol-unix \
        --load="module-null-sink sink_name=nullsink rate=44100 channels=2" \
        --load=module-always-sink >"$TONALYX_WINE_DIR/pulse.log" 2>&1 &
    _wine_env_pids+=($!)
    for i in $(seq 1 100); do
        pactl info >/dev/null 2>&1 && break
        sleep 0.1
    done
    pactl info >/dev/null 2>&1 || { _wine_env_log "PulseAudio did not start"; return 1; }
    pactl set-default-sink nullsink >/dev/null
    pactl set-default-source nullsink.monitor >/dev/null
    # Without a steady low-latency client the sink's latency follows whichever client plays,
    # and the first capture buffers then arrive late.
    pacat --playback -d nullsink --latency-msec=10 --format=s16le --rate=44100 --channels=2 \
        --raw /dev/zero >/dev/null 2>&1 &
    _wine_env_pids+=($!)

    if [ ! -f "$WINEPREFIX/.tonalyx-ready" ]; then
        _wine_env_log "making Wine prefix in $WINEPREFIX"
        wineboot -i </dev/null >/dev/null 2>&1
        # Without a window manager, managed windows stall two seconds on every DestroyWindow.
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/.tonalyx-ready"
    fi
    # Wine's background services must not inherit the caller's pipes, or whoever waits for
    # the caller's output (ctest, a pipeline) waits for them too.
    wine cmd /c exit </dev/null >/dev/null 2>&1
    return 0
}

wine_env_stop() {
    if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
        wineserver -k >/dev/null 2>&1 || true
    fi
    local pid
    for pid in "${_wine_env_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${_wine_env_pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    _wine_env_pids=()
}
