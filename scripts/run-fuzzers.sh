#!/usr/bin/env bash
# Runs every fuzz harness in a fuzz build folder for the given number of seconds, seeded from
# tests/data/<harness name>/ when that folder exists, as many at once as there are processors. Any
# finding fails the run with a non-zero exit after the others have finished.
set -euo pipefail
build=${1:?usage: run-fuzzers.sh BUILD_DIR SECONDS}
seconds=${2:-30}

run_harness() {
    local harness=$1 seconds=$2
    local name corpus seeds log
    name=$(basename "$harness")
    corpus=$(mktemp -d)
    seeds="tests/data/${name#fuzz_}"
    [ -d "$seeds" ] && cp -r "$seeds"/. "$corpus"/ 2>/dev/null || true
    log="$corpus.log"
    if ! "$harness" -max_total_time="$seconds" "$corpus" >"$log" 2>&1; then
        tail -n 40 "$log"
        echo "$name: FINDING (see above; corpus kept in $corpus)"
        return 1
    fi
    echo "$name: $(grep -E '^Done [0-9]+ runs' "$log" | tail -n 1)"
    rm -rf "$corpus" "$log"
}
export -f run_harness

find "$build/fuzz" -maxdepth 1 -name 'fuzz_*' -type f -perm -u+x | sort |
    xargs -r -P "$(nproc)" -I{} bash -c 'run_harness "$1" "$2"' _ {} "$seconds"
