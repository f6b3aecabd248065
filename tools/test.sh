#!/usr/bin/env bash
# Builds Sondrel with warnings as errors and runs every test.
#   tools/test.sh            the normal build (build-test/)
#   tools/test.sh asan       AddressSanitizer + UndefinedBehaviorSanitizer (build-asan/)
#   tools/test.sh tsan       ThreadSanitizer, engine tests (build-tsan/)
#   tools/test.sh fuzz       the parser fuzzers under libFuzzer, briefly (build-fuzz/)
#   tools/test.sh tidy       clang-tidy over the sources
#   tools/test.sh includes   the dependency rules of the includes (tools/include-rules.txt)
#   tools/test.sh coverage   a Debug build with gcov (build-coverage/), every test but the
#                            QEMU one, then the line coverage of the production code
#   tools/test.sh package    the Debian package of the normal build: lintian, installed,
#                            used from /usr (a CD take, the window under Xvfb), purged
#   tools/test.sh all        format and include checks, then all of the above but coverage:
#                            what CI runs
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
coverage)
    # The QEMU test runs the program inside a virtual machine, whose counters
    # never reach this build folder, so it is left out here.
    "$root/tools/build.sh" "$root/build-coverage" -DCMAKE_BUILD_TYPE=Debug -DSONDREL_BUILD_BENCH=OFF \
        -DCMAKE_C_FLAGS=--coverage -DCMAKE_CXX_FLAGS=--coverage \
        -DCMAKE_EXE_LINKER_FLAGS=--coverage -DCMAKE_SHARED_LINKER_FLAGS=--coverage
    find "$root/build-coverage" -name '*.gcda' -delete
    run_ctest "$root/build-coverage" -LE vm
    # Production code only: the tests, the benchmarks and generated files are not counted.
    gcovr --root "$root" --object-directory "$root/build-coverage" -j "$jobs" \
        --exclude "$root/tests/" --exclude "$root/bench/" --exclude "$root/build-.*/" \
        --gcov-ignore-parse-errors --print-summary --txt "$root/build-coverage/coverage.txt" |
        tail -n 3
    ;;
includes)
    "$root/tools/check-includes.sh"
    ;;
package)
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    deb=$("$root/tools/package.sh" "$root/build-test")
    lintian --fail-on error "$deb"
    $sudo apt-get install -y -qq --no-install-recommends "$deb" >/dev/null
    files=$(mktemp)
    dpkg -L sondrel >"$files"
    status=0
    { desktop-file-validate /usr/share/applications/sondrel.desktop &&
        appstreamcli validate --no-net /usr/share/metainfo/sondrel.metainfo.xml &&
        "$root/tests/install/installed-program.sh" /usr; } || status=$?
    $sudo dpkg --purge sondrel >/dev/null
    [ "$status" -eq 0 ] || exit "$status"
    left=$(while read -r path; do [ ! -e "$path" ] || [ -d "$path" ] || echo "$path"; done <"$files")
    rm -f "$files"
    [ -z "$left" ] && [ ! -e /usr/share/sondrel ] && [ ! -e /usr/lib/sondrel ] ||
        { echo "left after the purge: $left" >&2; exit 1; }
    echo "package: built, installed, used and purged"
    ;;
all)
    "$root/tools/check-format.sh"
    "$root/tools/check-includes.sh"
    "$0" tidy
    "$0" fuzz
    "$0" tsan
    "$0" asan
    "$0" normal
    "$0" package
    ;;
*)
    echo "usage: $0 [normal|asan|tsan|fuzz|tidy|includes|coverage|package|all]" >&2
    exit 2
    ;;
esac
