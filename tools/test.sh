#!/usr/bin/env bash
# Builds Pesterly and runs every test.
#   tools/test.sh              the normal build, in build/
#   tools/test.sh --sanitize   with AddressSanitizer and UndefinedBehaviorSanitizer, in build-asan/
# The normal run ends with 30 seconds of fuzzing the exchange file reader (tools/fuzz.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh test

build=build
options=(-DCMAKE_BUILD_TYPE=RelWithDebInfo)
if [ "${1:-}" = --sanitize ]; then
    build=build-asan
    options=(-DCMAKE_BUILD_TYPE=Debug -DPESTERLY_SANITIZE=ON)
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    # Qt and fontconfig keep caches alive until exit; the program's own leaks still show.
    export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
fi
cmake -S . -B "$build" -G Ninja "${options[@]}" >/dev/null
cmake --build "$build" -j2
(cd "$build" && ctest --output-on-failure -j2 --timeout 300)

if [ "$build" = build ]; then
    # The exchange file reader under libFuzzer, for a bounded time.
    tools/fuzz.sh 30
fi
