#!/bin/bash
# Installs, on a Debian machine, whatever the builds and tests need and is not yet there.
# Usage: tools/install-deps.sh [native] [windows]   (no argument: both)
set -euo pipefail

want_native=0
want_windows=0
[ $# -eq 0 ] && { want_native=1; want_windows=1; }
for a in "$@"; do
    case "$a" in
    native) want_native=1 ;;
    windows) want_windows=1 ;;
    *) echo "install-deps: unknown part '$a'" >&2; exit 2 ;;
    esac
done

# "command package" pairs: the package is installed when the command is missing.
need=()
check() { command -v "$1" >/dev/null 2>&1 || need+=("$2"); }
check_file() { [ -e "$1" ] || need+=("$2"); }

check cmake cmake
check ninja ninja-build
check g++ g++
if [ $want_native = 1 ]; then
    check_file /usr/include/gtest/gtest.h libgtest-dev
    check_file /usr/include/benchmark/benchmark.h libbenchmark-dev
    check_file /usr/include/fftw3.h libfftw3-dev
    check clang++ clang
fi
if [ $want_windows = 1 ]; then
    check x86_64-w64-mingw32-g++-posix mingw-w64
    check_file /usr/src/googletest/CMakeLists.txt googletest
    check wine wine
    check_file /usr/lib/wine/wine64 wine64
    check Xvfb xvfb
    check xdotool xdotool
    check import imagemagick
    check xdpyinfo x11-utils
    check pulseaudio pulseaudio
    check pactl pulseaudio-utils
fi

if [ ${#need[@]} -eq 0 ]; then
    exit 0
fi
mapfile -t need < <(printf '%s\n' "${need[@]}" | sort -u)
echo "install-deps: installing ${need[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
apt-get update -q >/dev/null
apt-get install -y -q "${need[@]}" >/dev/null
