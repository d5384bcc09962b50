#!/usr/bin/env bash
# Sets up, builds and starts the viewer, optionally on a picture.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh run
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build
exec build/src/app/kadromir "$@"
