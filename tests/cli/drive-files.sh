#!/usr/bin/env bash
# sondrel-cli with damaged drive folders, each step a program start: a folder
# or a FIFO where a state file belongs, a FIFO as a CUE sheet, and a state that
# does not fit its image are refused with a message naming the file; the
# command never hangs or aborts, and the drive is left out of the list.
set -euo pipefail
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SONDREL_DRIVES=$work/drives
limit="timeout 20"

"$cli" drive create good >/dev/null
"$cli" drive create bad >/dev/null
state=$SONDREL_DRIVES/bad/disc.state
expect_refused() { # what the state is now
    $limit "$cli" drives >"$work/out" 2>"$work/err" || [ $? -lt 124 ]
    [ "$(grep -c '^[D-Z]: ' "$work/out")" -eq 1 ] || { echo "$1: not one drive listed" >&2; exit 1; }
    grep -q "$state" "$work/err" || { echo "$1: no message names $state" >&2; exit 1; }
}

rm -f "$state" && mkdir "$state"
expect_refused "a folder"
rmdir "$state" && mkfifo "$state"
expect_refused "a FIFO"
rm "$state"
printf 'medium=cd-r\ntray_open=0\ntrack=1 1 0 310500 0\n' >"$state"
expect_refused "a phantom track"
rm "$state"

mkfifo "$work/sheet.cue"
if $limit "$cli" disc load D --image "$work/sheet.cue" 2>"$work/err"; then
    echo "a FIFO was loaded as a CUE sheet" >&2
    exit 1
fi
grep -q "$work/sheet.cue: is not a regular file" "$work/err"

# Letters stay with their drives: "keep" was E when it was made and stays E
# when the folder before it breaks and a new folder sorts before both; it can
# also be named.
rm -rf "$SONDREL_DRIVES"
"$cli" drive create bad >/dev/null
"$cli" drive create keep >/dev/null
"$cli" disc load keep --blank cd-rw >/dev/null
rm "$state" && mkdir "$state"
"$cli" drive create aaa >/dev/null
"$cli" drives 2>/dev/null >"$work/out"
grep -q '^E: .* - CD-RW$' "$work/out"
grep -q '^F: .* - no disc$' "$work/out"
"$cli" disc info E | grep -q 'CD-RW'
