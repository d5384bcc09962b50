#!/usr/bin/env bash
# Builds the Windows form with mingw-w64 into build-windows/ (or DIR): for now the
# converter, kadromir-convert.exe. libspng comes from Debian's source package of the
# version the Linux build uses, fetched through an apt list of this script's own.
# Usage: windows.sh [DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh windows
out="${1:-build-windows}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
version="$(dpkg-query -W -f='${Version}' libspng-dev)"
source_dir="$out/spng-source"
if [ ! -f "$source_dir/spng/spng.c" ]; then
    apt_dir="$out/apt"
    mkdir -p "$apt_dir/lists/partial" "$apt_dir/fetch"
    . /etc/os-release
    echo "deb-src http://deb.debian.org/debian $VERSION_CODENAME main" >"$apt_dir/sources.list"
    options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=/dev/null"
             -o "Dir::State::Lists=$apt_dir/lists" -o "APT::Sandbox::User=root")
    apt-get "${options[@]}" update -qq
    (cd "$apt_dir/fetch" && apt-get "${options[@]}" source --download-only -qq "libspng=$version")
    rm -rf "$source_dir" && mkdir -p "$source_dir"
    tar -xzf "$apt_dir"/fetch/libspng_*.orig.tar.gz -C "$source_dir" --strip-components=1
fi
cmake -S . -B "$out" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DKADROMIR_WERROR=ON -DKADROMIR_SPNG_SOURCE="$source_dir" >/dev/null
cmake --build "$out" -j "$(nproc)"
