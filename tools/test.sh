#!/usr/bin/env bash
# Builds Sondrel with warnings as errors and runs every test.
#   tools/test.sh            the normal build (build-test/)
#   tools/test.sh asan       AddressSanitizer + UndefinedBehaviorSanitizer (build-asan/)
#   tools/test.sh tsan       ThreadSanitizer, engine tests (build-tsan/)
#   tools/test.sh fuzz       the parser fuzzers under libFuzzer, briefly (build-fuzz/)
#   tools/test.sh tidy       clang-tidy over the sources
#   tools/test.sh includes   the dependency rules of the includes (tools/include-rules.txt)
#   tools/test.sh all        format and include checks, then all of the above: what CI runs
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
kind=${1:-normal}
jobs=$(nproc)
# Widget tests draw offscreen unless a test brings its own X server.
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

run_ctest() {
    local dir=$1
    shift
    ctest --test-dir "$dir" --no-tests=error --output-on-failure --timeout 600 --parallel "$jobs" "$@"
}

case "$kind" in
normal)
    "$root/tools/build.sh" "$root/build-test" -DSONDREL_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
    run_ctest "$root/build-test"
    ;;
asan)
    "$root/tools/build.sh" "$root/build-asan" -DSONDREL_WERROR=ON -DCMAKE_BUILD_TYPE=Debug \
        -DSONDREL_BUILD_BENCH=OFF "-DSONDREL_SANITIZE=address;undefined"
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
        LSAN_OPTIONS=suppressions=$root/tests/support/lsan.supp:print_suppressions=0 \
        run_ctest "$root/build-asan"
    ;;
tsan)
    # Only the engine's test programs are built and run here.
    "$root/tools/install-deps.sh"
    cmake -S "$root" -B "$root/build-tsan" -G Ninja -DSONDREL_WERROR=ON \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSONDREL_BUILD_BENCH=OFF -DSONDREL_SANITIZE=thread >/dev/null
    cmake --build "$root/build-tsan" --parallel "$jobs" --target sondrel_engine_tests
    TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 run_ctest "$root/build-tsan" -L engine
    ;;
fuzz)
    CC=clang CXX=clang++ "$root/tools/build.sh" "$root/build-fuzz" -DSONDREL_FUZZ=ON \
        -DSONDREL_BUILD_TESTS=OFF -DSONDREL_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
    "$root/tools/run-fuzzers.sh" "$root/build-fuzz/fuzz" "${SONDREL_FUZZ_SECONDS:-20}"
    ;;
tidy)
    "$root/tools/install-deps.sh"
    cmake -S "$root" -B "$root/build-test" -G Ninja -DSONDREL_WERROR=ON >/dev/null
    "$root/tools/tidy.sh" "$root/build-test"
    ;;
includes)
    "$root/tools/check-includes.sh"
    ;;
all)
    "$root/tools/check-format.sh"
    "$root/tools/check-includes.sh"
    "$0" tidy
    "$0" fuzz
    "$0" tsan
    "$0" asan
    "$0" normal
    ;;
*)
    echo "usage: $0 [normal|asan|tsan|fuzz|tidy|includes|all]" >&2
    exit 2
    ;;
esac
