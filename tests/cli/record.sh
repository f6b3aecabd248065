#!/usr/bin/env bash
# sondrel-cli record end to end, each step a program start:
#   a take onto a blank disc in an emulated writer, then its track list;
#   --seconds 2 of the marked input: exactly 88,200 frames, numbered 0 on;
#   a writer busy for the whole take: non-zero exit, the message on stderr;
#   SIGHUP (the terminal closed) during a WAV take: the take is finished;
#   a refused take (bad file type): non-zero exit, the message on stderr;
#   a WAV take killed with SIGKILL: sox reads every whole buffer that reached
#   the file, though the header still holds its placeholder sizes.
set -euo pipefail
cli=$1
work=$(mktemp -d)
export SONDREL_REGISTRY=$work/registry.ini
trap 'rm -rf "$work"' EXIT
export SONDREL_DRIVES=$work/drives

# background_take FILE BUFFERS: a WAV take of the tone into FILE in the
# background (its process in $pid), waited for until FILE holds BUFFERS buffers.
background_take() {
    "$cli" record --to file --path "$1" --input tone >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 100); do
        size=$(stat -c %s "$1" 2>/dev/null || echo 0)
        [ "$size" -gt $((80 + $2 * 37632)) ] && break
        sleep 0.1
    done
}

"$cli" record --to cd --drive D --input tone --seconds 2 >"$work/take.out"
grep -q stopped "$work/take.out"
"$cli" toc D | tee "$work/toc.out"
grep -q '^D: 1 audio track$' "$work/toc.out"

"$cli" record --to file --path "$work/two.wav" --input marked --seconds 2 >/dev/null
[ "$(soxi -s "$work/two.wav")" -eq 88200 ] || { echo "--seconds 2 is not 88,200 frames" >&2; exit 1; }
# Capture runs before Record, so the take begins at whatever frame came next.
first=$(sox "$work/two.wav" -t raw - trim 0s 1s | od -An -tu4)
last=$(sox "$work/two.wav" -t raw - trim 88199s | od -An -tu4)
[ "$last" -eq $((first + 88199)) ] || { echo "frames $first to $last" >&2; exit 1; }

"$cli" drive create zbusy --speed max >/dev/null
sed -i 's/^long_write_attempts=.*/long_write_attempts=1000000000/' "$work/drives/zbusy/drive.ini"
"$cli" disc load E --blank cd-r >/dev/null
if "$cli" record --to cd --drive E --input tone --seconds 1 >/dev/null 2>"$work/busy.err"; then
    echo "a take onto a drive busy all the time ended with status 0" >&2
    exit 1
fi
grep -q 'could not keep up' "$work/busy.err"

background_take "$work/hung-up.wav" 3
kill -HUP "$pid"
wait "$pid"
size=$(stat -c %s "$work/hung-up.wav")
[ "$(soxi -s "$work/hung-up.wav")" -eq $(((size - 80) / 4)) ] || { echo "header not patched" >&2; exit 1; }

if "$cli" record --to file --path "$work/take.mp3x" --input tone --seconds 1 2>"$work/err"; then
    echo "a take with a bad file type was not refused" >&2
    exit 1
fi
grep -q 'invalidate file type' "$work/err"
[ ! -e "$work/take.mp3x" ]

background_take "$work/killed.wav" 5
kill -KILL "$pid"
wait "$pid" || true
size=$(stat -c %s "$work/killed.wav")
pcm=$((size - 80))
[ $((pcm % 37632)) -eq 0 ] || { echo "a partial buffer in the file" >&2; exit 1; }
soxi "$work/killed.wav" >/dev/null
read_back=$(sox "$work/killed.wav" -t raw - 2>/dev/null | wc -c)
[ "$read_back" -eq "$pcm" ] || { echo "sox read $read_back of $pcm bytes" >&2; exit 1; }
echo "killed take: $pcm bytes of sound, all read back by sox"
