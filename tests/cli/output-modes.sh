#!/usr/bin/env bash
# sondrel-cli's live output through the real program and the emulated drive:
#   standard output a pipe: no "\r", one plain status line per 10 seconds and
#     one at the end over a 12-second take, not one a second;
#   standard output a terminal (a pty from script(1)): the line redrawn in place;
#   --json from record, save, erase and play: every line a JSON object (valid
#     UTF-8 also for a file name that is not), the status with its fields,
#     the last one with the result and exit status;
#   --quiet: the take's final lines alone; --quiet with --json, or on a
#     command without a status, refused with status 2.
set -euo pipefail
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SONDREL_DRIVES=$work/drives SONDREL_REGISTRY=$work/registry.ini
fail() {
    echo "$*" >&2
    exit 1
}

"$cli" record --to file --path "$work/log.wav" --input tone --seconds 12 >"$work/log.out"
! grep -q $'\r' "$work/log.out" || fail "a carriage return in a log"
lines=$(grep -c '^Time: ' "$work/log.out")
# Lines at 10 s and at the end; a third only if the machine stalled for 8 s.
[ "$lines" -ge 2 ] && [ "$lines" -le 3 ] || fail "$lines status lines: $(cat "$work/log.out")"
tail -2 "$work/log.out" | head -1 | grep -q '^Time: .*  stopped  peak .* dBFS  clips 0$' ||
    fail "no final line"
tail -1 "$work/log.out" | grep -qx 'clipped samples: 0' || fail "no clip count"

script -qec "'$cli' record --to file --path '$work/tty.wav' --input tone --seconds 3" \
    /dev/null >"$work/tty.out"
# Each second's line begins with a carriage return: on the previous one's place.
[ "$(tr '\r' '\n' <"$work/tty.out" | grep -c '^Time: ')" -ge 3 ] || fail "not redrawn: $(od -c "$work/tty.out")"

# check_json FILE PYTHON: every line of FILE is a JSON object; PYTHON is true
# of the list `o` of them.
check_json() {
    python3 -c 'import json, sys; o = [json.loads(l) for l in open(sys.argv[1], encoding="utf-8")]; assert all(isinstance(x, dict) for x in o) and ('"$2"'), o' "$1" ||
        fail "$(cat "$1")"
}
"$cli" record --json --to cd --drive D --close-disc --input tone --seconds 3 >"$work/record.json"
check_json "$work/record.json" 'len(o) >= 3 and all(set(x) >= {"time", "length", "disc_use", "state"} for x in o)
    and o[-2]["state"] == "recording" and o[-1]["state"] == "stopped" and o[-1]["exit_status"] == 0
    and o[-1]["time"] == "00:00:06" and 0 <= o[-1]["disc_use"] <= 100'
# A folder name that is not UTF-8 still gives valid JSON.
mkdir "$work/"$'\xff'
"$cli" save D --folder "$work/"$'\xff' --format wav --json >"$work/save.json"
check_json "$work/save.json" 'o[-2]["track"] == "1" and o[-2]["file"].endswith("\ufffd/Track1.wav")
    and len(o[-2]["crc32"]) == 8 and o[-1]["saved"] == 1 and o[-1]["exit_status"] == 0'
"$cli" play D --output null --json >"$work/play.json"
check_json "$work/play.json" 'o[0]["state"] == "playing" and o[-1]["state"] == "played"'
"$cli" drive create rw --speed max --time-scale 0.05 >/dev/null
"$cli" disc load E --blank cd-rw >/dev/null
"$cli" erase E --yes --json >"$work/erase.json"
check_json "$work/erase.json" 'o[-1] == {"state": "erased", "exit_status": 0}'

"$cli" record --to file --path "$work/quiet.wav" --input tone --seconds 2 --quiet >"$work/quiet.out"
grep -qx 'Time: .*  stopped  peak .*' "$work/quiet.out" && [ "$(wc -l <"$work/quiet.out")" -eq 2 ] ||
    fail "quiet: $(cat "$work/quiet.out")"
for refused in "toc D --json" "drives --quiet" "record --quiet --json --to cd --drive D"; do
    status=0
    # shellcheck disable=SC2086
    "$cli" $refused 2>/dev/null || status=$?
    [ "$status" -eq 2 ] || fail "$refused: status $status"
done
echo "log: $lines lines over a 12 s take; JSON from record, save, play, erase"
