#!/usr/bin/env bash
# sondrel-cli hotkey set from several processes at once: the three values of
# the hotkey are written and read together, so no reader ever sees the key of
# one writer with the modifier of another.
set -euo pipefail
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SONDREL_REGISTRY=$work/registry.ini
"$cli" hotkey set F1 >/dev/null

repeat() { # output file, then the command's arguments
    local out=$1
    shift
    for _ in $(seq 80); do "$cli" hotkey "$@" >>"$out"; done
}
repeat "$work/a" set F1 &
repeat "$work/b" set A --modifier left-ctrl &
repeat "$work/c" show &
wait

if grep -v -x -e 'hotkey on: F1' -e 'hotkey on: Left Ctrl + A' "$work/a" "$work/b" "$work/c"; then
    echo "the lines above mix the two writers' values" >&2
    exit 1
fi
[ "$(cat "$work/a" "$work/b" "$work/c" | wc -l)" -eq 240 ]
