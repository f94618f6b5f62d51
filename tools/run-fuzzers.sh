#!/bin/bash
# Runs every fuzz target of a build made with -DTONALYX_FUZZ=ON, as many at once as there are
# cores, each for the given seconds on its seeds (tests/fuzz/corpus/<target>) and the inputs of its
# past findings (tests/fuzz/regressions/<target>). Fails when any target reports a finding; its
# log and input stay in the printed folder. New corpus entries go to that folder too, never into the repository.
# Usage: tools/run-fuzzers.sh BUILD_DIR SECONDS [TARGET...] [-libFuzzer_option...]
#   TARGET: settings, script, ... (default: every *_fuzzer of BUILD_DIR)
set -uo pipefail
if [ $# -lt 2 ]; then
    echo "usage: $0 BUILD_DIR SECONDS [TARGET...] [-libFuzzer_option...]" >&2
    exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd) || exit 2
seconds=$2
shift 2
targets=()
options=()
for a in "$@"; do
    case "$a" in
    -*) options+=("$a") ;;
    *) targets+=("${a%_fuzzer}_fuzzer") ;;
    esac
done
if [ ${#targets[@]} -eq 0 ]; then
    for f in "$build"/*_fuzzer; do
        [ -x "$f" ] && targets+=("$(basename "$f")")
    done
fi
if [ ${#targets[@]} -eq 0 ]; then
    echo "run-fuzzers: no fuzz targets in $build" >&2
    exit 2
fi

out=$(mktemp -d "${TMPDIR:-/tmp}/tonalyx-fuzz.XXXXXX")
# One target a core: each target is a single process, so the cores run them side by side.
slots=$(nproc)

fuzz() {
    local t=$1
    mkdir -p "$out/$t/corpus"
    local inputs=("$out/$t/corpus")
    for d in corpus regressions; do
        [ -d "$root/tests/fuzz/$d/$t" ] && inputs+=("$root/tests/fuzz/$d/$t")
    done
    # The target's folder is its current one, so nothing it writes can land elsewhere.
    (cd "$out/$t" && "$build/$t" -max_total_time="$seconds" -timeout=120 -print_final_stats=1 \
        -artifact_prefix="$out/$t/" "${options[@]}" "${inputs[@]}" >"$out/$t/log" 2>&1)
    echo $? >"$out/$t/status"
}

for t in "${targets[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$slots" ]; do
        wait -n
    done
    fuzz "$t" &
done
wait

failed=()
for t in "${targets[@]}"; do
    status=$(cat "$out/$t/status")
    stats=$(grep -E '^#[0-9]+.*(DONE|cov:)' "$out/$t/log" | tail -1)
    execs=$(grep -E '^stat::number_of_executed_units' "$out/$t/log" | awk '{print $2}')
    if [ "$status" -eq 0 ]; then
        echo "$t: ${execs:-?} executions; $stats"
    else
        failed+=("$t")
        echo "$t: FINDING (exit $status); input and log in $out/$t"
        tail -n 60 "$out/$t/log"
    fi
done
if [ ${#failed[@]} -ne 0 ]; then
    echo "run-fuzzers: findings in ${failed[*]}"
    exit 1
fi
rm -rf "$out"
