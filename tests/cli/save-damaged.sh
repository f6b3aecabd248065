#!/usr/bin/env bash
# sondrel-cli save from a damaged disc, each step a program start: a title that
# points outside the folder and holds a terminal command stays inside it and is
# listed escaped, and sectors that stay unreadable
# are named on stderr with their track and count, with a non-zero exit.
set -euo pipefail
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SONDREL_DRIVES=$work/drives
mkdir -p "$work/disc/out"
head -c $((2 * 352800)) /dev/zero | tr '\0' 'z' >"$work/disc/a.bin"
printf 'FILE "a.bin" BINARY\n  TRACK 01 AUDIO\n    TITLE "../../Up\033[2J"\n    INDEX 01 00:00:00\n'\
'  TRACK 02 AUDIO\n    INDEX 01 00:02:00\n' >"$work/disc/a.cue"
"$cli" disc load D --image "$work/disc/a.cue" >/dev/null
sed -i 's/^unreadable=$/unreadable=160-164/' "$SONDREL_DRIVES"/*/drive.ini
"$cli" toc D >"$work/toc"
grep -qF ' 1  ../../Up\x1b[2J ' "$work/toc"

if "$cli" save D --folder "$work/disc/out" --format wav >"$work/out" 2>"$work/err"; then
    echo "a save with unreadable sectors ended with status 0" >&2
    exit 1
fi
cat "$work/out" "$work/err"
grep -q '^D: 2 of 2 tracks saved, 5 sectors unreadable$' "$work/out"
grep -q "^Track 2: 5 of 150 sectors could not be read and are silence in \"$work/disc/out/Track2.wav\".$" "$work/err"
[ -f "$work/disc/out/_.._Up[2J.wav" ]
[ "$(find "$work" -name '*Up*.wav' | wc -l)" -eq 1 ]
