#!/usr/bin/env bash
# Standard Linux disc programs drive emulated writers through `sondrel-cli
# drive serve` and the device preload library, unchanged:
#   cdrskin -atip, -audio -tao of a WAV, -toc, blank=fast on a CD-RW;
#   wodim -prcap, -toc, -tao -audio;
#   cd-paranoia ripping a take that sondrel-cli recorded;
# and every disc they write or read agrees with what Sondrel reads and writes,
# byte for byte. Each program runs under a time limit.
#   interop.sh SONDREL_CLI PRELOAD_LIBRARY
set -euo pipefail
cli=$1
preload=$2
for tool in cdrskin wodim cd-paranoia sox; do
    command -v "$tool" >/dev/null || { echo "$tool is not installed"; exit 1; }
done
# A short folder: the server's socket path must fit a socket address.
work=$(mktemp -d /tmp/sondrel-interop.XXXXXX)
servers=()
cleanup() {
    for pid in "${servers[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait || true
    [ -n "${KEEP:-}" ] || rm -rf "$work"
}
trap cleanup EXIT
export SONDREL_DRIVES=$work/drives
node=/dev/sr99

fail() { echo "FAILED: $*" >&2; exit 1; }

# serve LETTER: serves the drive until the script ends.
serve() {
    "$cli" drive serve "$1" --node $node --socket "$work/$1.sock" >"$work/serve-$1.out" 2>&1 &
    servers+=($!)
    for _ in $(seq 100); do [ -S "$work/$1.sock" ] && return 0; sleep 0.1; done
    cat "$work/serve-$1.out"
    fail "drive $1 is not served"
}

# on LETTER PROGRAM ARGS...: runs a disc program on the served drive.
on() {
    local letter=$1
    shift
    LD_PRELOAD=$preload SONDREL_DEVICE_NODE=$node SONDREL_DEVICE_SOCKET=$work/$letter.sock \
        timeout 120 "$@"
}

# The sound of a WAV file as raw samples.
pcm() { sox "$1" -t raw - 2>/dev/null; }

# same_toc LETTER TOC_OUTPUT: the tracks' starts and the lead-out of a burner's
# "-toc" equal what sondrel-cli toc lists. The lead-out follows the last
# track's last sector and its 2 run-out blocks, on a closed disc and on one
# left open alike.
same_toc() {
    local theirs ours
    theirs=$(grep -E '^track: *[0-9]+ lba: ' "$2" | awk '{print $2 ":" $4}')
    theirs="$theirs lout:$(grep -E '^track:lout lba: ' "$2" | awk '{print $3}')"
    ours=$("$cli" toc "$1" | awk 'NR > 1 {print $1 ":" $(NF-1); end = $NF + 1 + 2} END {print "lout:" end}')
    [ "$(echo $theirs)" = "$(echo $ours)" ] || fail "toc of $1: theirs $theirs, ours $ours"
}

sox -n -r 44100 -c 2 -b 16 "$work/take.wav" synth 5 sine 440 sine 661 vol 0.5
"$cli" drive create burn --speed max >/dev/null
"$cli" drive create rw --speed max --time-scale 0.02 >/dev/null
"$cli" drive create take --speed max >/dev/null
"$cli" disc load D --blank cd-r >/dev/null
"$cli" disc load E --blank cd-rw >/dev/null
"$cli" disc load F --blank cd-r >/dev/null

# cdrskin on a blank CD-R: ATIP, a track-at-once take, its TOC, its sound.
serve D
on D cdrskin dev=$node -atip >"$work/atip.out" 2>&1 || { cat "$work/atip.out"; fail "cdrskin -atip"; }
grep -q 'ATIP start of lead in:  -11634 (97:26/66)' "$work/atip.out" || fail "cdrskin -atip: $(cat "$work/atip.out")"
on D cdrskin -v dev=$node -audio -tao "$work/take.wav" >"$work/cdrskin-write.out" 2>&1 ||
    { cat "$work/cdrskin-write.out"; fail "cdrskin -audio -tao"; }
on D cdrskin dev=$node -toc >"$work/cdrskin-toc.out" 2>&1 || { cat "$work/cdrskin-toc.out"; fail "cdrskin -toc"; }
same_toc D "$work/cdrskin-toc.out"
on D wodim dev=$node -toc >"$work/wodim-toc.out" 2>&1 || { cat "$work/wodim-toc.out"; fail "wodim -toc"; }
same_toc D "$work/wodim-toc.out"
mkdir "$work/saved-d"
"$cli" save D --folder "$work/saved-d" --format wav >/dev/null
cmp <(pcm "$work/take.wav") <(pcm "$work/saved-d/"*.wav) || fail "the track cdrskin wrote differs from its WAV"
echo "cdrskin: ATIP read, take written, TOC as sondrel-cli lists it, sound byte for byte"

# wodim on a blank CD-RW: capabilities, a take, its TOC and sound; then
# cdrskin blanks the disc.
serve E
on E wodim dev=$node -prcap >"$work/prcap.out" 2>&1 || { cat "$work/prcap.out"; fail "wodim -prcap"; }
grep -q 'Does write CD-RW media' "$work/prcap.out" || fail "wodim -prcap: $(cat "$work/prcap.out")"
on E wodim dev=$node -tao -audio "$work/take.wav" >"$work/wodim-write.out" 2>&1 ||
    { cat "$work/wodim-write.out"; fail "wodim -tao -audio"; }
on E wodim dev=$node -toc >"$work/wodim-toc-e.out" 2>&1 || { cat "$work/wodim-toc-e.out"; fail "wodim -toc"; }
same_toc E "$work/wodim-toc-e.out"
mkdir "$work/saved-e"
"$cli" save E --folder "$work/saved-e" --format wav >/dev/null
cmp <(pcm "$work/take.wav") <(pcm "$work/saved-e/"*.wav) || fail "the track wodim wrote differs from its WAV"
on E cdrskin dev=$node blank=fast >"$work/blank.out" 2>&1 || { cat "$work/blank.out"; fail "cdrskin blank=fast"; }
"$cli" disc info E | grep -q '^disc: blank$' || fail "cdrskin blank=fast left $("$cli" disc info E)"
echo "wodim: capabilities read, take written, TOC as sondrel-cli lists it; cdrskin blanked the CD-RW"

# cd-paranoia rips a take that sondrel-cli recorded from a WAV file input,
# with the session left open; wodim lists its track as sondrel-cli does. The
# input plays in a loop from before Record, so the take is a stretch of the
# looped file wherever Record fell; four seconds need no padding to a
# track's shortest length.
"$cli" record --to cd --drive F --input "file:$work/take.wav" --seconds 4 >/dev/null
serve F
on F wodim dev=$node -toc >"$work/wodim-toc-f.out" 2>&1 || { cat "$work/wodim-toc-f.out"; fail "wodim -toc"; }
same_toc F "$work/wodim-toc-f.out"
on F cdrskin dev=$node -toc >"$work/cdrskin-toc-f.out" 2>&1 || { cat "$work/cdrskin-toc-f.out"; fail "cdrskin -toc"; }
same_toc F "$work/cdrskin-toc-f.out"
(cd "$work" && on F cd-paranoia -d $node -w 1 ripped.wav >"$work/rip.out" 2>&1) ||
    { cat "$work/rip.out"; fail "cd-paranoia"; }
blocks=$("$cli" disc info F | sed -n 's/^track 1: .*length \([0-9]*\)$/\1/p')
bytes=$(pcm "$work/ripped.wav" | wc -c)
# The track as the table of contents gives it: the take and its run-out.
[ "$bytes" -eq $(((blocks + 2) * 2352)) ] || fail "cd-paranoia ripped $bytes bytes of a $blocks-sector track"
pcm "$work/ripped.wav" >"$work/ripped.raw"
pcm "$work/take.wav" >"$work/take.raw"
python3 - "$work/ripped.raw" "$work/take.raw" <<'CHECK' || fail "cd-paranoia's rip differs from the sound recorded"
import sys
rip = open(sys.argv[1], "rb").read()
looped = open(sys.argv[2], "rb").read() * 3
sound = 4 * 176400  # the take's four seconds; the last 16-sector write and the run-out are silence
start = looped.find(rip[:4096])
whole = start >= 0 and start % 4 == 0 and looped[start:start + sound] == rip[:sound]
sys.exit(0 if whole and not any(rip[sound:]) else 1)
CHECK
echo "cd-paranoia: the take ripped byte for byte ($bytes bytes); wodim lists it as sondrel-cli does"
