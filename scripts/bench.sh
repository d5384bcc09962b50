#!/usr/bin/env bash
# Builds and runs the benchmarks; each target is printed as a ratio to its floor.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh run
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target kadromir_bench
build/bench/kadromir_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true "$@"
