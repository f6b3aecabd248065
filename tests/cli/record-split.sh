#!/usr/bin/env bash
# Takes split on silence, end to end, from the marked input with silent gaps
# (5 s of numbered frames, then 1.5 s of silence, over and over), split after
# 1 s of silence, for 22 s of sound:
#   onto a blank CD-R in an emulated writer: four tracks, saved back as WAV;
#   into take.wav: take.wav, take-02.wav, take-03.wav and take-04.wav.
# Put together, the tracks are the take's sound frame by frame (numbered
# frames in order, silence exactly where the input's gaps lie; a CD's last
# track may end in the silence that fills its last sectors), and every track
# but the last ends inside a gap.
set -euo pipefail
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SONDREL_DRIVES=$work/drives SONDREL_REGISTRY=$work/registry.ini
take=(--input marked:5,1.5 --split-on-silence=-50,1,4 --seconds 22)
"$cli" drive create w --speed max >/dev/null
"$cli" disc load D --blank cd-r >/dev/null
"$cli" record --to cd --drive D "${take[@]}" >"$work/cd.out"
grep -q 'Track 4' "$work/cd.out" || { echo "the status line shows no track 4" >&2; exit 1; }
mkdir "$work/cd" "$work/wav"
# Each saved track holds exactly the sectors the drive gives for it: the last
# track of the open disc too, which ends before the next take's gap.
"$cli" disc info D >"$work/info"
"$cli" save D --folder "$work/cd" --format wav >/dev/null
"$cli" record --to file --path "$work/wav/take.wav" "${take[@]}" >/dev/null

python3 - "$work" <<'PY'
import glob, re, struct, sys
SOUND, GAP, TAKE = 5 * 44100, 66150, 22 * 44100
work = sys.argv[1]
lengths = {int(n): int(l) * 588 for n, l in
           re.findall(r"track (\d+): session \d+, start \d+, length (\d+)", open(f"{work}/info").read())}
def frames(path):
    data = open(path, "rb").read()
    at = data.index(b"data")
    size = struct.unpack("<I", data[at + 4:at + 8])[0]
    audio = data[at + 8:at + 8 + size]
    return list(struct.unpack(f"<{len(audio) // 4}I", audio))
def number(path):
    found = re.findall(r"(\d+)\.wav$", path)
    return int(found[0]) if found else 1
def check(name, paths, cd):
    tracks = [frames(p) for p in sorted(paths, key=number)]
    assert len(tracks) == 4, f"{name}: {len(tracks)} tracks"
    assert not cd or [len(t) for t in tracks] == [lengths[n] for n in range(1, 5)], f"{name}: lengths {[len(t) for t in tracks]} against {lengths}"
    sound = [f for track in tracks for f in track]
    first = next(i for i, f in enumerate(sound) if f)
    start = sound[first] - first  # the frame the take began with
    assert start < 2 * 44100, f"{name}: the take began {start} frames into the input"
    expected = [n if n % (SOUND + GAP) < SOUND else 0 for n in range(start, start + TAKE)]
    assert sound[:TAKE] == expected, f"{name}: the tracks are not the captured sound"
    assert not any(sound[TAKE:]) and (cd or len(sound) == TAKE), f"{name}: more than the take"
    end = 0
    for track in tracks[:-1]:
        end += len(track)
        assert (start + end - 1) % (SOUND + GAP) >= SOUND, f"{name}: a track ends at {end}"
        assert not cd or len(track) % 588 == 0
    print(f"{name}: 4 tracks of {[len(t) for t in tracks]} frames from frame {start}")
check("CD", glob.glob(f"{work}/cd/*.wav"), True)
check("WAV", glob.glob(f"{work}/wav/*.wav"), False)
PY
