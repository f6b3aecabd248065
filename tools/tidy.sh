#!/usr/bin/env bash
# Runs clang-tidy (.clang-tidy) over the project's own sources, tests excluded,
# with the compile commands of a configured build folder.
#   tools/tidy.sh [BUILD_DIR]        default: build-test/
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${1:-$root/build-test}
cd "$root"
mapfile -t files < <(git ls-files '*.cpp' | grep -vE '^(tests|bench)/')
[ ${#files[@]} -gt 0 ] || exit 0
run-clang-tidy -quiet -p "$build_dir" -j "$(nproc)" "${files[@]/#/$root/}" >"$build_dir/tidy.log" 2>&1 || {
    grep -E 'error:|warning:' -A3 "$build_dir/tidy.log" | head -80
    echo "clang-tidy found problems (full log: $build_dir/tidy.log)" >&2
    exit 1
}
echo "clang-tidy: ${#files[@]} files clean"
