#!/usr/bin/env bash
# sondrel-cli record end to end, each step a program start:
#   a take onto a blank disc in an emulated writer, then its track list;
#   a refused take (bad file type): non-zero exit, the message on stderr;
#   a WAV take killed with SIGKILL: sox reads every whole buffer that reached
#   the file, though the header still holds its placeholder sizes.
set -euo pipefail
cli=$1
work=$(mktemp -d)
export SONDREL_REGISTRY=$work/registry.ini
trap 'rm -rf "$work"' EXIT
export SONDREL_DRIVES=$work/drives

"$cli" record --to cd --drive D --input tone --seconds 2 >"$work/take.out"
grep -q stopped "$work/take.out"
"$cli" toc D | tee "$work/toc.out"
grep -q '^D: 1 audio track$' "$work/toc.out"

if "$cli" record --to file --path "$work/take.mp3x" --input tone --seconds 1 2>"$work/err"; then
    echo "a take with a bad file type was not refused" >&2
    exit 1
fi
grep -q 'invalidate file type' "$work/err"
[ ! -e "$work/take.mp3x" ]

"$cli" record --to file --path "$work/killed.wav" --input tone >/dev/null 2>&1 &
pid=$!
for _ in $(seq 100); do
    size=$(stat -c %s "$work/killed.wav" 2>/dev/null || echo 0)
    [ "$size" -gt $((80 + 5 * 37632)) ] && break
    sleep 0.1
done
kill -KILL "$pid"
wait "$pid" || true
size=$(stat -c %s "$work/killed.wav")
pcm=$((size - 80))
[ $((pcm % 37632)) -eq 0 ] || { echo "a partial buffer in the file" >&2; exit 1; }
soxi "$work/killed.wav" >/dev/null
read_back=$(sox "$work/killed.wav" -t raw - 2>/dev/null | wc -c)
[ "$read_back" -eq "$pcm" ] || { echo "sox read $read_back of $pcm bytes" >&2; exit 1; }
echo "killed take: $pcm bytes of sound, all read back by sox"
