#!/usr/bin/env bash
# Builds the fuzzers with clang (libFuzzer, AddressSanitizer, UBSan) and runs each for
# the given number of seconds (default 60), two at a time, from the committed seed
# corpora (fuzz/corpus, made by our own encoders). New inputs collect in build-fuzz.
# Usage: fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
shift || true
targets=("$@")
if ((${#targets[@]} == 0)); then
  targets=(spr scr rmb load_picture png convert image_plugin pixbuf_spr pixbuf_rmb settings_text names)
fi
./scripts/setup.sh fuzz
cmake -S . -B build-fuzz -G Ninja -DKADROMIR_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz

seeds_of() { # TARGET
  case "$1" in
    settings_text | names | png) echo "fuzz/corpus/$1" ;;
    *) echo "fuzz/corpus/pictures" ;;
  esac
}

run_one() { # TARGET
  local corpus="build-fuzz/corpus-$1"
  mkdir -p "$corpus"
  cp -n "$(seeds_of "$1")"/* "$corpus"/
  QT_QPA_PLATFORM=offscreen "build-fuzz/fuzz/fuzz_$1" -max_total_time="$seconds" -max_len=70000 \
      -print_final_stats=1 -artifact_prefix="build-fuzz/$1-" "$corpus" >"build-fuzz/fuzz_$1.log" 2>&1
  local status=$?
  echo "== fuzz_$1 for ${seconds}s: exit $status"
  grep -E '^(stat::number_of_executed_units|stat::new_units_added|SUMMARY|==[0-9]+==ERROR)' \
      "build-fuzz/fuzz_$1.log" || true
  return "$status"
}

status=0
for ((i = 0; i < ${#targets[@]}; i += 2)); do
  pids=()
  for target in "${targets[@]:i:2}"; do
    run_one "$target" &
    pids+=($!)
  done
  for pid in "${pids[@]}"; do wait "$pid" || status=1; done
done
exit "$status"
