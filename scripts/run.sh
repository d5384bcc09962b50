#!/usr/bin/env bash
# Sets up, builds, and converts a picture (default: a generated sample) to PNG with
# the viewer's own load path; prints where the PNG went.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh run
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build
mkdir -p build/samples
build/tools/samples/kadromir-samples build/samples
picture="${1:-build/samples/rings.spr}"
build/tools/convert/kadromir-convert "$picture" -o build/picture.png
echo "Converted $picture to build/picture.png"
