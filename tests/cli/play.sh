#!/usr/bin/env bash
# sondrel-cli play end to end, each step a program start: "--track 01" is
# track 1, --output wins over SONDREL_AUDIO_OUTPUT, and SIGTERM stops the
# playback leaving a WAV file whose header matches what it holds.
set -euo pipefail
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SONDREL_DRIVES=$work/drives
head -c $((10 * 176400)) /dev/urandom >"$work/a.bin"
printf 'FILE "a.bin" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n' >"$work/a.cue"
"$cli" disc load D --image "$work/a.cue" >/dev/null

SONDREL_AUDIO_OUTPUT=null "$cli" play D --track 01 --output "file:$work/p.wav" >"$work/out" &
pid=$!
for _ in $(seq 300); do
    size=$(stat -c %s "$work/p.wav" 2>/dev/null || echo 0)
    [ "$size" -gt 44 ] && break
    sleep 0.1
done
kill -TERM "$pid"
wait "$pid"
grep -q '^D: track 01 played$' "$work/out"
size=$(stat -c %s "$work/p.wav")
riff=$(od -An -tu4 -j4 -N4 "$work/p.wav" | tr -d ' ')
data=$(od -An -tu4 -j40 -N4 "$work/p.wav" | tr -d ' ')
[ "$size" -gt 44 ] || { echo "nothing was played" >&2; exit 1; }
[ "$size" -lt $((44 + 4 * 352800)) ] || { echo "the playback was not stopped" >&2; exit 1; }
[ "$riff" -eq $((size - 8)) ] || { echo "RIFF size $riff in a file of $size bytes" >&2; exit 1; }
[ "$data" -eq $((size - 44)) ] || { echo "data size $data in a file of $size bytes" >&2; exit 1; }
