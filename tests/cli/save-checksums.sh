#!/usr/bin/env bash
# sondrel-cli save --verify end to end: every track is read twice, and the
# CRC32 and AccurateRip v1/v2 checksums printed and logged beside the files
# are those an independent computation (Python's zlib and the published
# AccurateRip sums, first and last track of the disc leaving out five sectors
# at the disc's ends) gives for the saved WAV files.
set -euo pipefail
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SONDREL_DRIVES=$work/drives
mkdir -p "$work/out"
head -c $((3 * 441 * 2352)) /dev/urandom >"$work/a.bin"
printf 'FILE "a.bin" BINARY\n'\
'  TRACK 01 AUDIO\n    TITLE "One"\n    INDEX 01 00:00:00\n'\
'  TRACK 02 AUDIO\n    TITLE "Two"\n    INDEX 01 00:05:66\n'\
'  TRACK 03 AUDIO\n    TITLE "Three"\n    INDEX 01 00:11:57\n' >"$work/a.cue"
"$cli" disc load D --image "$work/a.cue" >/dev/null
"$cli" save D --folder "$work/out" --format wav --verify >"$work/printed"
cat "$work/printed"
[ "$(grep -c '  verified$' "$work/printed")" -eq 3 ]
grep '^Track' "$work/printed" >"$work/expected-log"
diff "$work/expected-log" "$work/out/sondrel-save.log"

python3 - "$work/out" "$work/out/sondrel-save.log" <<'PY'
import struct, sys, zlib
folder, log = sys.argv[1], sys.argv[2]
names = ["One", "Two", "Three"]
for number, name in enumerate(names, 1):
    audio = open(f"{folder}/{name}.wav", "rb").read()[44:]
    samples = struct.unpack(f"<{len(audio) // 4}I", audio)
    first, last = number == 1, number == len(names)
    low = 2940 if first else 1
    high = len(samples) - 2940 if last else len(samples)
    v1 = v2 = 0
    for position, sample in enumerate(samples, 1):
        if low <= position <= high:
            product = sample * position
            v1 = (v1 + product) & 0xFFFFFFFF
            v2 = (v2 + (product & 0xFFFFFFFF) + (product >> 32)) & 0xFFFFFFFF
    want = (f'Track {number}  "{folder}/{name}.wav"  CRC32 {zlib.crc32(audio):08x}  '
            f"AccurateRip v1 {v1:08x} v2 {v2:08x}")
    lines = [line.removesuffix("  verified") for line in open(log).read().splitlines()]
    if lines[number - 1] != want:
        sys.exit(f"logged:   {lines[number - 1]}\nexpected: {want}")
PY
