#!/usr/bin/env bash
# Runs every fuzz harness in a fuzz build folder for the given number of seconds, seeded from
# tests/data/<harness name>/ when that folder exists. Any finding stops the run with a non-zero exit.
set -euo pipefail
build=${1:?usage: run-fuzzers.sh BUILD_DIR SECONDS}
seconds=${2:-30}
for harness in "$build"/fuzz/fuzz_*; do
    [ -x "$harness" ] || continue
    name=$(basename "$harness")
    corpus=$(mktemp -d)
    seeds="tests/data/${name#fuzz_}"
    [ -d "$seeds" ] && cp -r "$seeds"/. "$corpus"/ 2>/dev/null || true
    echo "-- $name"
    "$harness" -max_total_time="$seconds" -print_final_stats=0 "$corpus" 2>&1 | tail -n 3
    rm -rf "$corpus"
done
