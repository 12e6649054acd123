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
    log="$corpus.log"
    if ! "$harness" -max_total_time="$seconds" "$corpus" >"$log" 2>&1; then
        tail -n 40 "$log"
        echo "$name: FINDING (see above)"
        exit 1
    fi
    echo "$name: $(grep -E '^Done [0-9]+ runs' "$log" | tail -n 1)"
    rm -rf "$corpus" "$log"
done
