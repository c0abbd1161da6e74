#!/usr/bin/env bash
# Builds Pesterly and runs every test.
#   tools/test.sh              the normal build, in build/
#   tools/test.sh --sanitize   with AddressSanitizer and UndefinedBehaviorSanitizer, in build-asan/
#   tools/test.sh --release    an optimised Release build, in build-release/ (without the
#                              end-to-end tests, which the normal build runs on the same code)
# Warnings are errors here; a plain CMake build only warns.
# The normal run ends with 30 seconds of fuzzing the exchange file reader (tools/fuzz.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

build=build
# Made for /usr, so that the package test (tests/e2e/package_test.py) can pack this build.
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr)
skip=()
usage() {
    echo "usage: tools/test.sh [--sanitize | --release]" >&2
    exit 2
}
[ $# -le 1 ] || usage
case "${1:-}" in
    "") ;;
    --sanitize)
        build=build-asan
        options=(-DCMAKE_BUILD_TYPE=Debug -DPESTERLY_SANITIZE=ON)
        export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
        export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
        # Qt and fontconfig keep caches alive until exit; the program's own leaks still show.
        export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
        ;;
    --release)
        build=build-release
        options=(-DCMAKE_BUILD_TYPE=Release)
        skip=(-E '^e2e_')
        ;;
    *) usage ;;
esac
tools/deps.sh test
# The benchmarks are compiled with every build, so that they cannot quietly stop building;
# running them is tools/bench.sh's job.
cmake -S . -B "$build" -G Ninja "${options[@]}" -DPESTERLY_WERROR=ON -DPESTERLY_BENCHMARKS=ON \
    >/dev/null
cmake --build "$build" -j2
(cd "$build" && ctest --output-on-failure -j2 --timeout 300 "${skip[@]}")

if [ "$build" = build ]; then
    # The exchange file reader under libFuzzer, for a bounded time.
    tools/fuzz.sh 30
fi
