#!/usr/bin/env bash
# The GdkPixbuf loaders as GTK programs use them, found through a loaders' cache of the
# test's own that also holds the system's loaders:
# - each format read by name gives the converter's pixels (an SCR with its .pal);
# - SPR and RMB fed as streams for their MIME types give the same, an SCR stream is
#   declined (it cannot reach its .pal);
# - a stream is cut off soon after what its format can use, a file of random bytes
#   opened as RMB is no RMB, a damaged file is a damaged image;
# - every other format the system reads still reads as before, a TGA that carries
#   RMB's mark among them.
# Usage: pixbuf_loader_test.sh LOADERS_DIR PROBE CONVERTER SAMPLES_TOOL MIME_XML OUTPUT_DIR
set -uo pipefail
loaders="$1"
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
"$query" "$system_loaders"/*.so >"$scratch/system.cache" 2>/dev/null
"$query" "$system_loaders"/*.so "$loaders"/libpixbufloader-kadromir-{spr,scr,rmb}.so >"$scratch/loaders.cache" 2>/dev/null
export GDK_PIXBUF_MODULE_FILE="$scratch/loaders.cache"
for format in spr scr rmb; do
    check "the cache lists the $format loader" grep -q "\"kadromir-$format\"" "$scratch/loaders.cache"
done
check "each declares its licence" test "$(grep -c '"kadromir-.*" .* "Proprietary"' "$scratch/loaders.cache")" = 3
# The file types, for gdk-pixbuf's guess by name and content.
mkdir -p "$scratch/data/mime/packages"
cp "$5" "$scratch/data/mime/packages/kadromir.xml"
update-mime-database "$scratch/data/mime" >/dev/null 2>&1
export XDG_DATA_HOME="$scratch/data" XDG_DATA_DIRS=/usr/share

same_pixels() { # PPM PNG
    [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]
}
error_code() { # the code of the probe's error, from its stderr
    sed -n 's/^error code=\([0-9-]*\).*/\1/p' "$1"
}
readonly CORRUPT_IMAGE=0 UNKNOWN_TYPE=3 UNSUPPORTED_OPERATION=4

for picture in rings.spr checker.spr waves.scr diagonal.scr bands.rmb; do
    "$converter" "$pictures/$picture" -o "$out/expected.png"
    border="$(convert "$out/expected.png" -format '%[Border]' info:)"
    "$probe" file "$pictures/$picture" >"$out/read.ppm" 2>"$out/read.txt"
    check "$picture by name: the converter's pixels" same_pixels "$out/read.ppm" "$out/expected.png"
    check "and its border code $border" grep -qx "Border=$border" "$out/read.txt"
done
for pair in rings.spr:spr checker.spr:spr bands.rmb:rmb; do
    picture="${pair%%:*}"
    "$converter" "$pictures/$picture" -o "$out/expected.png"
    "$probe" stream "image/x-kadromir-${pair##*:}" "$pictures/$picture" >"$out/read.ppm" 2>/dev/null
    check "$picture as a stream: the converter's pixels" same_pixels "$out/read.ppm" "$out/expected.png"
done
for type in image/x-kadromir-scr -; do
    "$probe" stream "$type" "$pictures/waves.scr" >/dev/null 2>"$out/read.txt"
    check "an SCR stream opened as '$type' is declined ($(cat "$out/read.txt"))" \
        test "$(error_code "$out/read.txt")" = "$UNSUPPORTED_OPERATION"
done

# What a host is told of a file that is no picture of the type it opened, and of one
# that is a picture of it but damaged: by name, and as a stream (SCR streams are
# declined, so SCR by name only).
head -c 40000 /dev/urandom >"$scratch/noise.rmb"
printf '\0' | dd of="$scratch/noise.rmb" bs=1 seek=16 conv=notrunc status=none
head -c 100 "$pictures/bands.rmb" >"$scratch/short.rmb"
head -c 100 "$pictures/rings.spr" >"$scratch/short.spr"
cp "$pictures/waves.scr" "$scratch/nolead.scr"
printf '\0' | dd of="$scratch/nolead.scr" bs=1 count=1 conv=notrunc status=none
while read -r name type code message; do
    "$probe" file "$scratch/$name" >/dev/null 2>"$out/read.txt"
    check "$name by name: error $code ($(cat "$out/read.txt"))" \
        test "$(error_code "$out/read.txt")" = "$code"
    check "$name: the message is a plain sentence" grep -q ": $message\$" "$out/read.txt"
    [ "$type" = - ] && continue
    "$probe" stream "$type" "$scratch/$name" >/dev/null 2>"$out/read.txt"
    check "$name as a stream for $type: error $code ($(cat "$out/read.txt"))" \
        test "$(error_code "$out/read.txt")" = "$code"
done <<EOF
noise.rmb image/x-kadromir-rmb $UNKNOWN_TYPE The file is not an RMB picture: its mark is missing\.
short.rmb image/x-kadromir-rmb $CORRUPT_IMAGE The RMB picture is cut short\.
short.spr image/x-kadromir-spr $CORRUPT_IMAGE The file is too short or too long for an SPR picture\.
nolead.scr - $UNKNOWN_TYPE The file is not an SCR picture\.
EOF

# 100 GiB of nothing under each name: refused soon after what the format can use,
# however it is read. The limits: SPR 64 MiB, RMB 32,787 bytes.
for pair in spr:67108864 rmb:32787 scr:65600; do
    format="${pair%%:*}"
    truncate -s 100G "$scratch/huge.$format"
    "$probe" stream "image/x-kadromir-$format" "$scratch/huge.$format" >/dev/null 2>"$out/read.txt"
    fed="$(sed -n 's/.* fed=\([0-9]*\):.*/\1/p' "$out/read.txt")"
    check "a 100 GiB .$format stream is refused after ${fed:-?} bytes, at most its limit + 1 MiB" \
        test -n "$fed" -a "${fed:-0}" -le $((${pair##*:} + 1048576))
    check "and by name, in bounded time" timeout 30 bash -c "! '$probe' file '$scratch/huge.$format' >/dev/null 2>&1"
    rm -f "$scratch/huge.$format"
done

# Other formats: what gdk-pixbuf makes of each file before the install (the system's
# loaders and file types alone) and after it (ours beside them), by name, by content and
# as a stream.
# A 32-bit RLE TGA of 16 red pixels in one raw packet: its bytes 16..18 are 20 00 0F,
# RMB's mark.
mkdir -p "$scratch/others"
{
    printf '\0\0\x0a\0\0\0\0\0\0\0\0\0\x10\0\x01\0\x20\0\x0f'
    for _ in $(seq 16); do printf '\0\0\xff\xff'; done
} >"$scratch/others/red.tga"
for format in png jpg gif bmp ico tiff xpm xbm ppm pgm tga; do
    convert -size 48x32 gradient:red-blue "$scratch/others/gradient.$format" 2>/dev/null
done
cp "$scratch/others/red.tga" "$scratch/others/red-tga.bin"
for file in "$scratch"/others/*; do
    name="$(basename "$file")"
    for cache in system loaders; do
        data="$scratch/data"
        if [ "$cache" = system ]; then data="$scratch/no-data"; fi
        for mode in info file stream; do
            arguments=("$mode" "$file")
            if [ "$mode" = stream ]; then arguments=(stream - "$file"); fi
            GDK_PIXBUF_MODULE_FILE="$scratch/$cache.cache" XDG_DATA_HOME="$data" \
                "$probe" "${arguments[@]}" >"$scratch/$cache.$mode" 2>&1
        done
    done
    check "$name is read as before ($(cat "$scratch/system.info"))" \
        cmp -s "$scratch/system.info" "$scratch/loaders.info"
    check "with the same pixels" cmp -s "$scratch/system.file" "$scratch/loaders.file"
    check "and as a stream" cmp -s "$scratch/system.stream" "$scratch/loaders.stream"
done
GDK_PIXBUF_MODULE_FILE="$scratch/loaders.cache" "$probe" info "$scratch/others/red.tga" >"$scratch/tga.info"
check "the TGA with RMB's mark is a TGA ($(cat "$scratch/tga.info"))" grep -qx tga "$scratch/tga.info"

for picture in rings.spr bands.rmb; do
    rm -f "$out/thumbnail.png"
    gdk-pixbuf-thumbnailer -s 128 "$pictures/$picture" "$out/thumbnail.png" 2>"$out/thumbnailer.txt"
    check "gdk-pixbuf-thumbnailer previews $picture at 128 ($(cat "$out/thumbnailer.txt"))" \
        test "$(identify -format %wx%h "$out/thumbnail.png" 2>/dev/null)" = 128x128
done
finish
