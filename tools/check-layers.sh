#!/bin/bash
# Fails on an include that reaches up a layer (ARCHITECTURE.md): each folder of src/ may include
# its own layer, the layers below and the port boundary (with the mixer report both ports
# share). Prints every offending line.
set -uo pipefail
cd "$(dirname "$0")/.."

# Layer of each folder; the port boundary headers are open to everyone.
declare -A layer=([state]=0 [analysis]=1 [gfx]=1 [views]=2 [audio]=2 [sound]=2 [ui]=3 [app]=4
    [port/headless]=5 [port/win32]=5 [cli]=6)

folder_of() {
    case "$1" in
    port/port.h | port/messages.h | port/mixer_report.h) echo boundary ;;
    port/headless/* | port/win32/*) echo "${1%/*}" ;;
    *) echo "${1%%/*}" ;;
    esac
}

bad=0
while IFS=: read -r file _ line; do
    inc=$(sed -n 's/^#include "\([^"]*\)".*/\1/p' <<<"$line")
    [ -n "$inc" ] || continue
    from=$(folder_of "${file#src/}")
    to=$(folder_of "$inc")
    [ "$to" = boundary ] && continue
    [ -n "${layer[$to]+x}" ] || continue # generated files and the build's own headers
    if [ -z "${layer[$from]+x}" ] || [ "${layer[$to]}" -gt "${layer[$from]}" ] ||
        { [ "$from" = port/headless ] && [ "$to" = port/win32 ]; } ||
        { [ "$from" = port/win32 ] && [ "$to" = port/headless ]; }; then
        echo "check-layers: $file includes $inc (layer $from may not reach $to)" >&2
        bad=1
    fi
done < <(grep -rn '^#include "' src --include='*.h' --include='*.cpp')
[ $bad -eq 0 ] && echo "check-layers: every include stays within its layer or below"
exit $bad
