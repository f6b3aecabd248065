#!/usr/bin/env bash
# One emulated writer, two programs: while a take is written onto its disc,
# a second sondrel-cli can neither erase the disc, record onto it nor change
# it, and says why; once the take has stopped (or its process is killed) the
# drive is free again.
set -euo pipefail
cli=$1
work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null; rm -rf "$work"' EXIT
export SONDREL_DRIVES=$work/drives
in_use='Another program is writing or erasing with this drive'

"$cli" drive create rw --speed max >/dev/null
"$cli" disc load D --blank cd-rw >/dev/null

# Waits until the take in the background holds the drive.
take_started() {
    for _ in $(seq 200); do
        "$cli" disc info D >"$work/info" 2>&1 || true
        grep -q 'busy' "$work/info" && return 0
        sleep 0.1
    done
    echo "the take never held the drive" >&2
    exit 1
}
# A second program's step must fail, saying the drive is in use.
refused() {
    if "$@" >"$work/out" 2>&1; then
        echo "not refused while a take was written: $*" >&2
        exit 1
    fi
}

"$cli" record --to cd --drive D --input tone --seconds 60 >/dev/null 2>&1 &
pid=$!
take_started
refused "$cli" erase D --yes
grep -q "$in_use" "$work/out"
refused "$cli" record --to cd --drive D --input tone --seconds 1
grep -q "$in_use" "$work/out"
refused "$cli" disc load D --blank cd-r
grep -q 'another program' "$work/out"
for _ in $(seq 200); do # some sound on the disc before the take is stopped
    [ "$(stat -c %s "$SONDREL_DRIVES/rw/disc.bin")" -gt 0 ] && break
    sleep 0.1
done
kill -TERM "$pid"
wait "$pid"
pid=
tracks=$("$cli" toc D)
echo "$tracks" | grep -q '^D: 1 audio track$'

# A take killed outright lets the drive go with its process.
"$cli" record --to cd --drive D --input tone --seconds 60 >/dev/null 2>&1 &
pid=$!
take_started
kill -KILL "$pid"
wait "$pid" || true
pid=
"$cli" disc load D >/dev/null 2>&1 || true
"$cli" erase D --yes | grep -q 'disc erased'
echo "second program refused while the take ran; the drive was free after it"
