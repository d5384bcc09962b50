#!/usr/bin/env bash
# Sets up, checks the formatting, builds and runs every test: the whole project, then
# the whole project once more under AddressSanitizer and UBSan (leaks included).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh test
jobs="$(nproc)"
status=0

# The code keeps the checked-in .clang-format.
if ! git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror; then
  echo "FAILED: code not formatted as .clang-format says (clang-format -i fixes it)"
  status=1
fi

# Qt and the system stay behind the faces.
./scripts/check_includes.sh || status=1

# The Windows form (the converter, for now), cross-built and tested under wine below.
windows_converter="$PWD/build-windows/tools/convert/kadromir-convert.exe"
./scripts/windows.sh build-windows || status=1

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKADROMIR_WERROR=ON -DKADROMIR_TESTS=ON \
      -DKADROMIR_BENCH=ON -DKADROMIR_WINDOWS_CONVERTER="$windows_converter" >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs" || status=1

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKADROMIR_SANITIZE=ON \
      -DKADROMIR_TESTS=ON -DKADROMIR_BENCH=OFF -DKADROMIR_PLAIN_ONLY=OFF -DKADROMIR_WERROR=ON >/dev/null
cmake --build build-asan -j "$jobs"
# The viewer runs as an ordinary user in the end-to-end tests: the suppressions go
# where that user can read them.
suppressions="$(mktemp)"
trap 'rm -f "$suppressions"' EXIT
cp tests/sanitizer/lsan.supp "$suppressions"
chmod 644 "$suppressions"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
LSAN_OPTIONS="suppressions=$suppressions:print_suppressions=0" \
UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs" || status=1
exit "$status"
