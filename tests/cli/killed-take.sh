#!/usr/bin/env bash
# Takes killed hard (SIGKILL), each followed by what the next start does:
#   a CD take: `disc info` closes the track it left open and the tray it left
#   locked opens; the next take is a track of its own;
#   a WAV take: `repair` sets its header's sizes from the file's length.
set -euo pipefail
cli=$1
work=$(mktemp -d)
export SONDREL_REGISTRY=$work/registry.ini
trap 'rm -rf "$work"' EXIT
export SONDREL_DRIVES=$work/drives
bin=$SONDREL_DRIVES/writer/disc.bin

kill_when_longer() { # kill_when_longer FILE BYTES PID
    for _ in $(seq 300); do
        [ "$(stat -c %s "$1" 2>/dev/null || echo 0)" -gt "$2" ] && break
        sleep 0.1
    done
    kill -KILL "$3"
    wait "$3" || true
}

"$cli" drives >/dev/null # the first start creates the writer
"$cli" record --to cd --drive D --input tone >/dev/null 2>&1 &
kill_when_longer "$bin" $((64 * 2352)) $!
"$cli" disc info D | tee "$work/info"
grep -q '^track 1: left open by a take that was cut off; closed now$' "$work/info"
grep -q '^tracks: 1$' "$work/info"
"$cli" disc eject D # the lock of the killed take is gone
"$cli" disc load D
"$cli" record --to cd --drive D --input tone --seconds 1 >/dev/null
"$cli" toc D | tee "$work/toc"
grep -q '^D: 2 audio tracks$' "$work/toc"

take=$work/killed.wav
"$cli" record --to file --path "$take" --input tone >/dev/null 2>&1 &
kill_when_longer "$take" $((80 + 3 * 37632)) $!
grep -qF "RunningTake=\"$take\"" "$SONDREL_REGISTRY" # for the window's next start
"$cli" repair "$take"
! grep -q RunningTake "$SONDREL_REGISTRY"
size=$(stat -c %s "$take")
[ "$(od -An -tu4 -j4 -N4 "$take" | tr -d ' ')" -eq $((size - 8)) ]
[ "$(od -An -tu4 -j76 -N4 "$take" | tr -d ' ')" -eq $((size - 80)) ]
sox "$take" -n 2>"$work/sox.err"
[ ! -s "$work/sox.err" ] || { cat "$work/sox.err" >&2; exit 1; }
if "$cli" repair "$work/info" 2>/dev/null; then
    echo "repair took a file that is no WAV take" >&2
    exit 1
fi
echo "killed takes: the CD track closed, the tray unlocked, the WAV header repaired"
