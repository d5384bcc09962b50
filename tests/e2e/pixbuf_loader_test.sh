#!/usr/bin/env bash
# The GdkPixbuf loader as GTK programs use it, found through a loaders' cache of the
# test's own: each format read by name and as a stream gives the converter's pixels
# (by name, an SCR takes its .pal; as a stream, the default palette), a damaged file
# gives an error, and gdk-pixbuf's own thumbnailer makes a preview of each format.
# Usage: pixbuf_loader_test.sh LOADER PROBE CONVERTER SAMPLES_TOOL MIME_XML OUTPUT_DIR
set -uo pipefail
loader="$1"
probe="$2"
converter="$3"
source "$(dirname "$0")/xsession.sh"
out="$6"
mkdir -p "$out"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
pictures="$scratch/pictures"
"$4" "$pictures" >/dev/null
query="$(pkg-config --variable=gdk_pixbuf_query_loaders gdk-pixbuf-2.0)"
system_loaders="$(pkg-config --variable=gdk_pixbuf_moduledir gdk-pixbuf-2.0)"
"$query" "$system_loaders"/*.so "$loader" >"$scratch/loaders.cache" 2>/dev/null
export GDK_PIXBUF_MODULE_FILE="$scratch/loaders.cache"
check "the cache lists the loader" grep -q '"kadromir"' "$scratch/loaders.cache"
# The file types, for gdk-pixbuf's guess by name.
mkdir -p "$scratch/data/mime/packages"
cp "$5" "$scratch/data/mime/packages/kadromir.xml"
update-mime-database "$scratch/data/mime" >/dev/null 2>&1
export XDG_DATA_HOME="$scratch/data" XDG_DATA_DIRS=/usr/share

same_pixels() { # PPM PNG
    [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]
}
for picture in rings.spr checker.spr waves.scr diagonal.scr bands.rmb; do
    "$converter" "$pictures/$picture" -o "$out/expected.png"
    border="$(convert "$out/expected.png" -format '%[Border]' info:)"
    "$probe" file "$pictures/$picture" >"$out/read.ppm" 2>"$out/read.txt"
    check "$picture by name: the converter's pixels" same_pixels "$out/read.ppm" "$out/expected.png"
    check "and its border code $border" grep -qx "Border=$border" "$out/read.txt"
done
for picture in rings.spr diagonal.scr bands.rmb; do
    "$converter" "$pictures/$picture" -o "$out/expected.png"
    "$probe" stream "$pictures/$picture" >"$out/read.ppm" 2>/dev/null
    check "$picture as a stream: the converter's pixels" same_pixels "$out/read.ppm" "$out/expected.png"
done
# waves.scr as a stream has no side file: the default palette, as a misnamed copy gives.
cp "$pictures/waves.scr" "$scratch/waves-alone.scr"
"$converter" "$scratch/waves-alone.scr" -o "$out/expected.png"
"$probe" stream "$pictures/waves.scr" >"$out/read.ppm" 2>/dev/null
check "waves.scr as a stream: the default palette" same_pixels "$out/read.ppm" "$out/expected.png"

head -c 100 "$pictures/bands.rmb" >"$scratch/short.rmb"
check "a damaged file is an error" bash -c "! '$probe' file '$scratch/short.rmb' >/dev/null 2>&1"
check "and as a stream too" bash -c "! '$probe' stream '$scratch/short.rmb' >/dev/null 2>&1"

for picture in rings.spr waves.scr bands.rmb; do
    rm -f "$out/thumbnail.png"
    gdk-pixbuf-thumbnailer -s 128 "$pictures/$picture" "$out/thumbnail.png" 2>"$out/thumbnailer.txt"
    check "gdk-pixbuf-thumbnailer previews $picture at 128 ($(cat "$out/thumbnailer.txt"))" \
        test "$(identify -format %wx%h "$out/thumbnail.png" 2>/dev/null)" = 128x128
done
finish
