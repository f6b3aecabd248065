#!/usr/bin/env bash
# sondrel-cli record: the level meter and takes that start and stop by
# themselves, each step a program start.
#   A file input with 47 samples at full scale (and samples one step below it):
#   takes to WAV, MP3 and an emulated CD-R report exactly 47 clipped samples,
#   and the status line shows the peaks.
#   --start-on-sound: a take of an input silent for 3 s begins within one
#   capture buffer before its first loud frame and holds every frame from it.
#   --at a time 3 s ahead: the take of the marked input begins within one
#   capture buffer of that moment; --for 2s holds 2 s of sound.
set -euo pipefail
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SONDREL_DRIVES=$work/drives SONDREL_REGISTRY=$work/registry.ini
buffer=9408 # frames of one capture buffer

python3 - "$work" <<'EOF'
import struct, sys, wave
def write(name, frames):
    with wave.open(f"{sys.argv[1]}/{name}", "wb") as w:
        w.setnchannels(2); w.setsampwidth(2); w.setframerate(44100)
        w.writeframes(b"".join(struct.pack("<hh", *f) for f in frames))
quiet = [(0, 0)] * 88200
write("clips.wav", quiet + [(32767, 9)] * 37 + [(-32768, -32768)] * 5 + [(32766, -32767)] * 50 + quiet * 2)
write("onset.wav", quiet + quiet[:44100] + [(8192, 4660)] + [(8192, 8192)] * 132299)
EOF

for target in "file --path $work/take.wav" "file --path $work/take.mp3" "cd --drive D"; do
    # shellcheck disable=SC2086 # the target is several words
    "$cli" record --to $target --input "file:$work/clips.wav" --pre-record 10 --seconds 2 \
        >"$work/clips.out"
    grep -q '^clipped samples: 47$' "$work/clips.out" || { cat "$work/clips.out" >&2; exit 1; }
    grep -Eq 'peak (-?[0-9]+\.[0-9]|-inf) (-?[0-9]+\.[0-9]|-inf) dBFS  clips [0-9]+' "$work/clips.out"
done

"$cli" record --to file --path "$work/onset-take.wav" --input "file:$work/onset.wav" \
    --start-on-sound -30 --seconds 1 >"$work/onset.out"
grep -q 'waiting for sound above -30.0 dBFS' "$work/onset.out"
python3 - "$work/onset-take.wav" "$buffer" <<'EOF'
import struct, sys, wave
with wave.open(sys.argv[1]) as w:
    frames = list(struct.iter_unpack("<hh", w.readframes(w.getnframes())))
first = next(i for i, f in enumerate(frames) if f != (0, 0))
assert len(frames) == 44100, f"{len(frames)} frames"
assert 0 <= first <= int(sys.argv[2]), f"the sound starts {first} frames into the take"
assert frames[first] == (8192, 4660) and set(frames[first + 1:]) == {(8192, 8192)}, "sound lost"
EOF

start=$(date +%s.%N)
at=$(( ${start%.*} + 3 ))
"$cli" record --to file --path "$work/at.wav" --input marked --at "$(date -d "@$at" +%H:%M:%S)" \
    --for 2s >"$work/at.out"
[ "$(soxi -s "$work/at.wav")" -eq 88200 ] || { echo "--for 2s is not 88,200 frames" >&2; exit 1; }
first=$(sox "$work/at.wav" -t raw - trim 0s 1s | od -An -tu4)
# Capture starts after $start (and, the machine being loaded, within 1.5 s of
# it): the frame captured at the moment is at most this far from the first.
python3 -c "
late = $first / 44100 - ($at - $start)
assert -1.5 - $buffer / 44100 <= late <= 0.1, f'the take begins {late:.3f} s after the moment'"

for bad in "--for 1h30" "--for 0" "--at 24:00" "--at 7" "--start-on-sound 3"; do
    # shellcheck disable=SC2086 # the option and its value
    if "$cli" record --to file --path "$work/bad.wav" --input tone $bad 2>/dev/null; then
        echo "record $bad was not refused" >&2
        exit 1
    fi
done
