#!/usr/bin/env bash
# Fuzzes the exchange file reader, the settings file reader and the calendar import with
# libFuzzer for a bounded time each.
#   tools/fuzz.sh            30 seconds each
#   tools/fuzz.sh 300        five minutes each
# Builds with clang in build-fuzz/ (the core instrumented, AddressSanitizer and
# UndefinedBehaviorSanitizer on), starting from the seed files in tests/data/; new inputs go to
# build-fuzz/tests/fuzz/exchange-corpus/ (settings-corpus/, calendar-corpus/), a crashing input
# to build-fuzz/tests/fuzz/crash-* (settings-crash-*, calendar-crash-*). Exits non-zero when
# the fuzzer finds a crash or a broken round trip.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
lock=/tmp/pesterly-build.lock

flock "$lock" cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DPESTERLY_FUZZ=ON -DPESTERLY_FUZZ_SECONDS="$seconds" >/dev/null
flock "$lock" cmake --build build-fuzz -j2 --target exchange_fuzz settings_fuzz calendar_fuzz

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd build-fuzz
ctest --output-on-failure -R '^(exchange|settings|calendar)_fuzz$' --timeout $((seconds + 120))
