#!/usr/bin/env bash
# Sets up, builds the viewer alone (in build-run/, apart from the test build) and starts
# it, optionally on a picture; a relative picture path is taken from where this is run.
# A later run goes straight to the viewer while nothing it is built from has changed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-run"
viewer="$build/src/app/kadromir"
stamp="$build/built"
if [ -x "$viewer" ] && [ -f "$stamp" ] &&
   [ -z "$(find "$root/src" "$root/tools" "$root/CMakeLists.txt" "$root/scripts/setup.sh" \
             -newer "$stamp" -print -quit)" ]; then
  exec "$viewer" "$@"
fi
"$root/scripts/setup.sh" run
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKADROMIR_TESTS=OFF \
      -DKADROMIR_BENCH=OFF >/dev/null
cmake --build "$build" --target kadromir
touch "$stamp"
exec "$viewer" "$@"
