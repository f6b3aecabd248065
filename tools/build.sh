#!/usr/bin/env bash
# Installs what is missing, then configures and builds Sondrel.
#   tools/build.sh [BUILD_DIR] [extra cmake arguments...]
# BUILD_DIR defaults to build/. The program folder is BUILD_DIR/bin.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/tools/install-deps.sh"

build_dir=${1:-$root/build}
shift || true
generator=()
if command -v ninja >/dev/null 2>&1 && [ ! -f "$build_dir/Makefile" ]; then
    generator=(-G Ninja)
fi
cmake -S "$root" -B "$build_dir" "${generator[@]}" "$@" >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"
