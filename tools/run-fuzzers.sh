#!/usr/bin/env bash
# Runs every libFuzzer binary in a folder for a few seconds each, starting from
# its seed corpus under tests/fuzz/corpus/<name>/. The seed and the run count
# are fixed, so a CI run repeats what a developer ran; longer searches run by
# hand (build-fuzz/fuzz/NAME CORPUS_DIR).
#   tools/run-fuzzers.sh FUZZ_BIN_DIR SECONDS
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
bin_dir=$1
seconds=$2
shopt -s nullglob
count=0
for fuzzer in "$bin_dir"/*; do
    [ -x "$fuzzer" ] && [ -f "$fuzzer" ] || continue
    name=$(basename "$fuzzer")
    corpus=$(mktemp -d)
    seeds="$root/tests/fuzz/corpus/$name"
    [ -d "$seeds" ] && cp -r "$seeds"/. "$corpus"/
    echo "fuzzing $name for ${seconds}s"
    "$fuzzer" -seed=1 -runs=200000 -max_total_time="$seconds" -print_final_stats=0 "$corpus" >"$corpus.log" 2>&1 || {
        tail -n 60 "$corpus.log"
        echo "$name: fuzzer found a failure" >&2
        exit 1
    }
    rm -rf "$corpus" "$corpus.log"
    count=$((count + 1))
done
echo "fuzzers: $count ran clean"
