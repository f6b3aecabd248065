#!/usr/bin/env bash
# Builds Sondrel and starts it on its embedded default.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/tools/build.sh" "$root/build" -DSONDREL_BUILD_TESTS=OFF -DSONDREL_BUILD_BENCH=OFF
cli="$root/build/bin/sondrel-cli"
# Until the window lands: the foundation at work, then the drives Sondrel would
# record onto (a first start creates an emulated writer with a blank CD-R).
"$cli" demo "$@"
echo
echo "drives:"
"$cli" drives
