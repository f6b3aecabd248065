#!/usr/bin/env bash
# Builds Sondrel and starts it on its embedded default.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/tools/build.sh" "$root/build" -DSONDREL_BUILD_TESTS=OFF -DSONDREL_BUILD_BENCH=OFF
# With a display, the program with its window.
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$root/build/bin/Sondrel" "$@"
fi
cli="$root/build/bin/sondrel-cli"
# Without a display: a three-second take from the virtual tone input onto a
# blank CD-R in a fresh emulated writer of its own, then the disc's tracks.
export SONDREL_DRIVES="$root/build/start-drives"
rm -rf "$SONDREL_DRIVES"
"$cli" drives
"$cli" record --to cd --drive D --input tone --seconds 3 "$@"
"$cli" toc D
