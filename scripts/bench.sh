#!/usr/bin/env bash
# Builds and runs the benchmarks; each target is printed next to its floor or target,
# measured in the same run: the libraries (Google Benchmark), the converter (a
# thumbnail next to gdk-pixbuf-thumbnailer, 10,000 pictures next to a floor), then under Xvfb, read
# back from the X server, start-up next to a plain Qt window with the same chrome, and
# a directory of 100,000 pictures (start-up, key to picture with refresh, memory), and
# the folder overview of 10,000 (Enter to tiles, a held key, memory, decoding).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh bench
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKADROMIR_BENCH=ON >/dev/null
cmake --build build
build/bench/kadromir_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true "$@"
bench/converter/converter_bench.sh build/tools/convert/kadromir-convert \
    build/tools/samples/kadromir-samples build/bench/kadromir_batch_floor build/bench/kadromir_measure
tools=(build/tools/convert/kadromir-convert build/tools/samples/kadromir-samples)
bench/desktop/startup.sh build/src/app/kadromir build/bench/kadromir_minimal_window "${tools[@]}" \
    build/bench/kadromir_first_paint_probe
bench/desktop/big_directory.sh build/src/app/kadromir build/bench/kadromir_minimal_window \
    "${tools[@]}" build/bench/kadromir_first_paint_probe build/bench/kadromir_key_latency_probe
bench/desktop/overview.sh build/src/app/kadromir "${tools[@]}" build/bench/kadromir_overview_probe \
    build/bench/kadromir_overview_decode
