#!/usr/bin/env bash
# The emulated disc is as durable as a burned one: a take's cache flush and
# track close put the image on storage (fdatasync) and the disc state that
# closes the track is synced, with its folder, before it replaces the old one.
# Watched with strace; skipped (77) where tracing is not allowed.
set -euo pipefail
cli=$1
if ! command -v strace >/dev/null || ! strace -f -o /dev/null true 2>/dev/null; then
    echo "strace cannot trace here: skipped"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export SONDREL_DRIVES=$work/drives
"$cli" drive create w --speed max >/dev/null
"$cli" disc load D --blank cd-r >/dev/null
# LeakSanitizer cannot run under ptrace: a sanitizer build skips only its leak check here.
ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
    strace -f -y -e trace=fsync,fdatasync,rename -o "$work/trace" \
    "$cli" record --to cd --drive D --input tone --seconds 2 >/dev/null
drive="$SONDREL_DRIVES/w"
image_sync=$(grep -n "fdatasync([0-9]*<$drive/disc.bin>) = 0" "$work/trace" | tail -1 | cut -d: -f1)
state_sync=$(grep -n "fsync([0-9]*<$drive/disc.state.tmp>) = 0" "$work/trace" | tail -1 | cut -d: -f1)
folder_sync=$(grep -n "fsync([0-9]*<$drive>) = 0" "$work/trace" | tail -1 | cut -d: -f1)
last_rename=$(grep -n "rename(\"$drive/disc.state.tmp\"" "$work/trace" | tail -1 | cut -d: -f1)
for what in image_sync state_sync folder_sync last_rename; do
    [ -n "${!what}" ] || { echo "no $what in the trace" >&2; exit 1; }
done
[ "$image_sync" -lt "$last_rename" ] || { echo "the image was synced after the last state" >&2; exit 1; }
[ "$folder_sync" -gt "$last_rename" ] || { echo "the folder was not synced after the rename" >&2; exit 1; }
echo "image, state and folder reached storage"
