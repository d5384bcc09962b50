#!/usr/bin/env bash
# The Windows form: installs what is missing, cross-builds the viewer, the converter
# and their tests with mingw-w64 into build-windows/ (or DIR), leaves the portable zip
# and the installer in DIR/package/, and runs the Windows tests under wine (the unit
# tests, the viewer in a virtual X server, the installer). libspng comes from
# Debian's source package of the version the Linux build uses, fetched through an apt
# list of this script's own.
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
      -DCMAKE_BUILD_TYPE=Release -DKADROMIR_WERROR=ON -DKADROMIR_TESTS=ON \
      -DKADROMIR_SPNG_SOURCE="$source_dir" >/dev/null
cmake --build "$out" -j "$(nproc)"

# The packages: a portable zip and a per-user installer.
project_version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$out/CMakeCache.txt")"
package="$out/package"
stage="$package/kadromir-$project_version"
rm -rf "$package"
mkdir -p "$stage"
cp "$out/src/app/kadromir.exe" "$out/tools/convert/kadromir-convert.exe" "$stage/"
sed 's/$/\r/' packaging/windows/README.txt >"$stage/README.txt"
zip_name="kadromir-$project_version-windows-x86_64.zip"
(cd "$stage" && cmake -E tar cf "$package/$zip_name" --format=zip kadromir.exe kadromir-convert.exe README.txt)
cp data/windows/kadromir.ico "$package/"
makensis -V2 -DVERSION="$project_version" -DBINARIES="$stage" -DICON="$package/kadromir.ico" \
         -DOUTPUT="$package/kadromir-$project_version-setup.exe" packaging/windows/kadromir.nsi
echo "packages: $package/$zip_name, $package/kadromir-$project_version-setup.exe"

# The tests, one at a time: each has its own wine prefix and X server.
ctest --test-dir "$out" --output-on-failure
