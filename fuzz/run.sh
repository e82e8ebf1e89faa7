#!/bin/sh
# Runs every fuzz target of a fuzz build for some seconds each: run.sh <build dir> <seconds>.
# Each target grows its corpus in <build dir>/corpus/<target>, seeded from fuzz/corpus/<target>;
# an input that breaks a target is kept in <build dir>/findings/ and the run fails.
set -e
build=$1
seconds=$2
src=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$build/findings"
for exe in "$build"/fuzz/fuzz_*; do
    target=${exe##*/fuzz_}
    mkdir -p "$build/corpus/$target" "$src/corpus/$target"
    echo "fuzz_$target: $seconds s"
    log="$build/findings/$target.log"
    if ! "$exe" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=1024 \
        -print_final_stats=1 -artifact_prefix="$build/findings/$target-" \
        "$build/corpus/$target" "$src/corpus/$target" >"$log" 2>&1; then
        tail -n 40 "$log" >&2
        echo "fuzz_$target found a fault; the input is in $build/findings/" >&2
        exit 1
    fi
    grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$log"
done
