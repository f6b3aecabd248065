#!/usr/bin/env bash
# sondrel-cli record onto a volume that fills up during the take: a WAV and an
# MP3 take of 20 seconds on a 256 KiB tmpfs. Each take must end by itself long
# before the 20 seconds, with message 15 on stderr and a non-zero exit status,
# and leave a file whose header matches what reached the disk.
# Mounting needs root (skipped otherwise, exit 77).
set -euo pipefail
cli=$1
work=$(mktemp -d)
export SONDREL_REGISTRY=$work/registry.ini
volume=$work/volume
mkdir "$volume"
if ! mount -t tmpfs -o size=256k sondrel-full "$volume" 2>/dev/null; then
    rmdir "$volume" "$work"
    echo "full-volume.sh: cannot mount a tmpfs (needs root); skipping" >&2
    exit 77
fi
trap 'umount "$volume"; rm -rf "$work"' EXIT

take() { # take FILE: records it, checks the ending, prints the file's size
    local started=$SECONDS status=0
    "$cli" record --to file --path "$volume/$1" --input tone --seconds 20 >"$work/out" \
        2>"$work/err" || status=$?
    [ "$status" -ne 0 ] || { echo "$1: exit status 0 on a full volume" >&2; exit 1; }
    grep -q 'Cannot write the recording' "$work/err" || { cat "$work/err" >&2; exit 1; }
    [ $((SECONDS - started)) -lt 12 ] || { echo "$1: the take ran on" >&2; exit 1; }
}

take full.wav
size=$(stat -c %s "$volume/full.wav")
pcm=$((size - 80))
header=$(od -An -tu4 -j4 -N4 "$volume/full.wav" | tr -d ' ')
data=$(od -An -tu4 -j76 -N4 "$volume/full.wav" | tr -d ' ')
[ "$header" -eq $((size - 8)) ] && [ "$data" -eq "$pcm" ] && [ $((pcm % 4)) -eq 0 ] ||
    { echo "WAV header $header/$data for a file of $size bytes" >&2; exit 1; }
[ "$pcm" -gt 100000 ] || { echo "only $pcm bytes reached the disk" >&2; exit 1; }
read_back=$(sox "$volume/full.wav" -t raw - 2>"$work/sox.err" | wc -c)
[ "$read_back" -eq "$pcm" ] && [ ! -s "$work/sox.err" ] ||
    { echo "sox read $read_back of $pcm bytes" >&2; cat "$work/sox.err" >&2; exit 1; }
echo "WAV take on a full volume: $pcm bytes kept, header correct"

# About 64 KiB left: nearly three seconds of MP3.
rm "$volume/full.wav"
head -c $((192 * 1024)) /dev/zero >"$volume/filler"
take full.mp3
size=$(stat -c %s "$volume/full.mp3")
[ "$size" -gt 24000 ] || { echo "the MP3 take kept $size bytes" >&2; exit 1; }
echo "MP3 take on a full volume: $size bytes kept"
