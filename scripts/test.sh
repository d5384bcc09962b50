#!/usr/bin/env bash
# Sets up, builds and runs every test: the whole project, then the plain C++
# libraries and their tests once more under AddressSanitizer and UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh test
jobs="$(nproc)"

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$jobs"
status=0
ctest --test-dir build --output-on-failure -j "$jobs" || status=1

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKADROMIR_PLAIN_ONLY=ON \
      -DKADROMIR_SANITIZE=ON >/dev/null
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs" || status=1
exit "$status"
