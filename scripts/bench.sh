#!/usr/bin/env bash
# Builds and runs the benchmarks; each target is printed as a ratio to a floor
# measured in the same run. Then start-up to first paint under Xvfb, next to a
# minimal Qt window.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh test
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build
build/bench/kadromir_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true "$@"
bench/startup/startup.sh build/src/app/kadromir build/bench/kadromir_minimal_window \
    build/tools/convert/kadromir-convert build/tools/samples/kadromir-samples build/bench/kadromir_first_paint_probe
