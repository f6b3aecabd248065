#!/usr/bin/env bash
# Builds Sondrel and starts it on its embedded default.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/tools/build.sh" "$root/build" -DSONDREL_BUILD_TESTS=OFF -DSONDREL_BUILD_BENCH=OFF
exec "$root/build/bin/sondrel-cli" demo "$@"
