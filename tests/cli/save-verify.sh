#!/usr/bin/env bash
# sondrel-cli save --verify from a disc whose second reading of some sectors
# differs (the emulated drive's "unstable" blocks, in track 2): the track is
# named on stderr and marked in the printed lines and the log, its file is kept
# as first read, the other track is verified, and the exit status is 1.
set -euo pipefail
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SONDREL_DRIVES=$work/drives
mkdir -p "$work/out"
head -c $((4 * 75 * 2352)) /dev/urandom >"$work/a.bin"
printf 'FILE "a.bin" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n'\
'  TRACK 02 AUDIO\n    INDEX 01 00:02:00\n' >"$work/a.cue"
"$cli" disc load D --image "$work/a.cue" >/dev/null
sed -i 's/^unstable=$/unstable=200-201/' "$SONDREL_DRIVES"/*/drive.ini

status=0
"$cli" save D --folder "$work/out" --format wav --verify >"$work/out.txt" 2>"$work/err" || status=$?
cat "$work/out.txt" "$work/err"
[ "$status" -eq 1 ] || { echo "exit status $status for readings that differ" >&2; exit 1; }
grep -q "^Track 1  \"$work/out/Track1.wav\"  CRC32 [0-9a-f]*  .*  verified$" "$work/out.txt"
grep -q "^Track 2  \"$work/out/Track2.wav\"  CRC32 [0-9a-f]*  .*  READINGS DIFFER$" "$work/out.txt"
grep -q '^D: 2 of 2 tracks saved$' "$work/out.txt"
grep -qF "Track 2: a second reading differs from the first; \"$work/out/Track2.wav\" may hold read errors." "$work/err"
grep -q 'READINGS DIFFER$' "$work/out/sondrel-save.log"
# The file is kept, as the first reading gave it: the image's bytes.
cmp <(tail -c +45 "$work/out/Track2.wav") <(tail -c +$((150 * 2352 + 1)) "$work/a.bin")
cmp <(tail -c +45 "$work/out/Track1.wav") <(head -c $((150 * 2352)) "$work/a.bin")
