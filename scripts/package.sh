#!/usr/bin/env bash
# Sets up, builds the viewer and the converter and makes the Debian package from the
# install rules; prints its path. Install it with: sudo apt install ./PATH
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-package"
"$root/scripts/setup.sh" package
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKADROMIR_TESTS=OFF \
      -DKADROMIR_BENCH=OFF >/dev/null
cmake --build "$build"
(cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/kadromir_*.deb
