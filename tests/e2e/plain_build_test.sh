#!/usr/bin/env bash
# A packager's plain build: `cmake -S . -B DIR && cmake --build DIR` in a fresh
# directory, with the defaults as they are, sees only what the run set of
# scripts/setup.sh installs: pkg-config finds the .pc files of those packages alone,
# and the test and benchmark libraries are hidden from CMake. It must configure and
# build the viewer and the converter.
# Usage: plain_build_test.sh SOURCE_DIR OUTPUT_DIR
set -uo pipefail
source "$(dirname "$0")/xsession.sh"
source_dir="$1"
out="$2"
mkdir -p "$out"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
# The .pc files of the run set's packages and of everything they depend on.
mkdir "$scratch/pkgconfig"
mapfile -t run_set < <("$source_dir/scripts/setup.sh" run --list)
apt-cache depends --recurse --installed --no-recommends --no-suggests --no-conflicts \
    --no-breaks --no-replaces --no-enhances "${run_set[@]}" 2>/dev/null |
    grep -v '^ ' | sed 's/:.*//' | sort -u >"$out/run-set-closure.txt"
xargs -a "$out/run-set-closure.txt" dpkg -L 2>/dev/null | grep '/pkgconfig/.*\.pc$' |
    xargs -r -I{} ln -sf {} "$scratch/pkgconfig/"
check "the run set's .pc files are there ($(ls "$scratch/pkgconfig" | tr '\n' ' '))" \
    test -e "$scratch/pkgconfig/xcb.pc" -a -e "$scratch/pkgconfig/spng.pc"
hidden=(-DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON
        -DCMAKE_DISABLE_FIND_PACKAGE_Qt6Test=ON)
PKG_CONFIG_LIBDIR="$scratch/pkgconfig" cmake -S "$source_dir" -B "$scratch/build" "${hidden[@]}" \
    >"$out/configure.txt" 2>&1
status=$?
check "a plain configure succeeds (see configure.txt)" test "$status" -eq 0
PKG_CONFIG_LIBDIR="$scratch/pkgconfig" cmake --build "$scratch/build" -j "$(nproc)" \
    >"$out/build.txt" 2>&1
status=$?
check "and a plain build (see build.txt)" test "$status" -eq 0
check "without the GdkPixbuf loaders, whose headers are not in the run set" \
    test ! -e "$scratch/build/plugins/gdk-pixbuf"
check "which makes the viewer and the converter" \
    test -x "$scratch/build/src/app/kadromir" -a -x "$scratch/build/tools/convert/kadromir-convert"
check "and no test or benchmark" test ! -e "$scratch/build/tests" -a ! -e "$scratch/build/bench"
check "without a stray include of the root" bash -c "! grep -rq -- ' -I/\.\. ' '$scratch/build/build.ninja' '$scratch/build/src' 2>/dev/null"
finish
