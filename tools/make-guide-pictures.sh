#!/bin/bash
# Remakes the pictures of docs/USER-GUIDE.md: builds tonalyx-cli in the native tree if needed,
# writes the test signals (tools/guide_pictures.py), runs every script docs/guide/*.tlx and the
# waveform view through tonalyx-cli, and stores each picture, packed small, in docs/guide.
# Usage: tools/make-guide-pictures.sh
set -euo pipefail
cd "$(dirname "$0")/.."

tools/install-deps.sh native
if ! command -v python3 >/dev/null 2>&1; then
    echo "make-guide-pictures: installing python3" >&2
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q >/dev/null
    apt-get install -y -q python3 >/dev/null
fi
[ -f build/native/CMakeCache.txt ] || cmake -S . -B build/native -G Ninja -Wno-dev >/dev/null
cmake --build build/native -j"$(nproc)" --target tonalyx-cli >/dev/null
cli=$(realpath build/native/tonalyx-cli)
pack=$(realpath tools/guide_pictures.py)
guide=$(realpath docs/guide)

# The scripts name their signals and pictures relative to the work folder.
work=build/guide
rm -rf "$work"
mkdir -p "$work"
cd "$work"
python3 "$pack" signals .
for script in "$guide"/*.tlx; do
    "$cli" script "$script"
done
# The waveform view is not offered by the Scale box, so no script can choose it; analyze can.
# At a view 190 pixels high the plot is 100 pixels high, where its marks read percent of full
# scale.
"$cli" analyze clipping.wav --mode 11 --monitor 3 --size 560x190 --image waveform.png

for picture in *.png; do
    python3 "$pack" pack "$picture" "$guide/$picture"
done
ls -l "$guide"/*.png
