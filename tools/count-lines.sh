#!/usr/bin/env bash
# Counts the non-blank lines of C++ files: the tests (under tests/) against the
# production code (everything else outside tests/ and bench/), and their ratio.
#   tools/count-lines.sh [REPOSITORY]      defaults to this checkout
set -euo pipefail
root=${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
cd "$root"

count() {
    # git ls-files: what is committed or staged, never build folders.
    git ls-files -z --cached --others --exclude-standard -- "$@" |
        grep -zE '\.(cpp|cc|cxx|h|hpp|hh|inl)$' |
        xargs -0 -r cat | grep -c '[^[:space:]]' || true
}
tests=$(count tests)
production=$(count . ':!tests' ':!bench')
echo "tests:      $tests"
echo "production: $production"
awk -v t="$tests" -v p="$production" 'BEGIN { printf "ratio:      %.3f\n", t / p }'
