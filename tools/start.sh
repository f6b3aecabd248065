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
# Without a display: the foundation at work, then the drives Sondrel would
# record onto (a first start creates an emulated writer with a blank CD-R).
"$cli" demo "$@"
echo
echo "drives:"
"$cli" drives
