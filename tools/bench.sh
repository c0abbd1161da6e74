#!/usr/bin/env bash
# Builds the benchmarks in Release, in build-bench/, and prints one table: the core (settings
# file, review, exchange file) with Google Benchmark, then the program's window against a bare
# Qt window of the same size on a private Xvfb server (start-up, peak memory, idle cost).
# Takes about three minutes after the build, most of it the two-minute idle measurement.
#   tools/bench.sh [--idle SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
tools/deps.sh test

build=build-bench
# One build at a time on this machine: builds share a lock.
flock /tmp/pesterly-build.lock cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DPESTERLY_BENCHMARKS=ON -DBUILD_TESTING=OFF >/dev/null
flock /tmp/pesterly-build.lock cmake --build "$build" -j2 \
    --target pesterly core_bench sample_settings bare_window

if pgrep -x ninja >/dev/null || pgrep -x make >/dev/null; then
    echo "warning: a build is running on this machine; the figures below will be noisy" >&2
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
echo "Running the core benchmarks..."
if ! "$build/bench/core_bench" --benchmark_min_time=0.2 --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true \
    --benchmark_out="$scratch/core.json" --benchmark_out_format=json >"$scratch/core.txt" 2>&1; then
    cat "$scratch/core.txt" >&2
    exit 1
fi
echo "Measuring the windows (about 140 s)..."
/usr/bin/python3 bench/window_bench.py --build "$build" --core-json "$scratch/core.json" "$@"
