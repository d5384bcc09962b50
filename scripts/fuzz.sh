#!/usr/bin/env bash
# Builds the decoder fuzzers with clang (libFuzzer, AddressSanitizer, UBSan) and runs
# each for the given number of seconds (default 60), seeded with the sample pictures.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
./scripts/setup.sh fuzz
cmake -S . -B build-fuzz -G Ninja -DKADROMIR_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz
mkdir -p build-fuzz/samples
build-fuzz/tools/samples/kadromir-samples build-fuzz/samples
for format in spr scr rmb; do
  corpus="build-fuzz/corpus-$format"
  mkdir -p "$corpus"
  cp build-fuzz/samples/*."$format" "$corpus"/
  echo "== fuzz_$format for ${seconds}s"
  "build-fuzz/fuzz/fuzz_$format" -max_total_time="$seconds" -max_len=70000 \
      -print_final_stats=1 "$corpus" 2>&1 | tail -n 12
done
