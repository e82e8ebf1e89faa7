#!/bin/sh
# Runs fuzz targets of a fuzz build for some seconds each, as many at once as there are
# processors: run.sh <build dir> <seconds> [target...] (every target when none is named).
# Each target grows its corpus in <build dir>/corpus/<target>, seeded from fuzz/corpus/<target>;
# an input that breaks a target is kept in <build dir>/findings/ and the run fails.
set -e
if [ "$1" = --one ]; then
    build=$2
    seconds=$3
    target=$4
    src=$(cd "$(dirname "$0")" && pwd)
    mkdir -p "$build/corpus/$target" "$src/corpus/$target"
    log="$build/findings/$target.log"
    # Past half the memory limit libFuzzer empties the allocator every second, which halves the
    # speed; with the address sanitizer's quarantine a target stays near 500 MB.
    if ! "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$build/findings/$target-" \
        "$build/corpus/$target" "$src/corpus/$target" >"$log" 2>&1; then
        tail -n 40 "$log" >&2
        echo "fuzz_$target found a fault; the input is in $build/findings/" >&2
        exit 1
    fi
    echo "fuzz_$target, $seconds s: $(grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$log" |
        tr '\n' ' ')"
    exit 0
fi

build=$1
seconds=$2
shift 2
targets=$*
if [ -z "$targets" ]; then
    for exe in "$build"/fuzz/fuzz_*; do
        targets="$targets ${exe##*/fuzz_}"
    done
fi
mkdir -p "$build/findings"
# xargs fails when any target does.
printf '%s\n' $targets | xargs -P "$(nproc)" -I '{}' sh "$0" --one "$build" "$seconds" '{}'
