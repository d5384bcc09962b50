#!/usr/bin/env bash
# The Windows converter under wine, against the Linux converter on the same files:
# - every sample picture to PNG (and scaled), byte for byte the Linux bytes, also to
#   standard output (no text mode: a PNG holds \n bytes);
# - PNGs back into each format, the SCR's .pal included, one at a time and several with
#   -d on every core;
# - names outside any ANSI code page (Cyrillic, as DOS and Windows disks have them)
#   come through the command line whole, in and out;
# - an output that is there is replaced whole; one that is an input, under another
#   name too (a hard link), is refused and left as it was;
# - the exit codes of inputs that fail;
# all of it under two ANSI code pages: 1252 (a Western Windows) and 1251 (a Russian one).
# Usage: windows_converter_test.sh WINDOWS_CONVERTER LINUX_CONVERTER SAMPLES_TOOL OUTPUT_DIR
set -uo pipefail
windows="$(realpath "$1")"
linux="$(realpath "$2")"
samples="$(realpath "$3")"
source "$(dirname "$0")/xsession.sh"
mkdir -p "$4"
out="$(realpath "$4")"
scratch="$(mktemp -d)"
export WINEPREFIX="$scratch/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k >/dev/null 2>&1; rm -rf "$scratch"' EXIT
convert_windows() { LC_ALL="$windows_locale" wine kadromir-convert.exe "$@"; }
# A Western Windows (1252) and a Russian one (1251): wine takes the code page from the
# locale, which is made here for the test alone (the names stay UTF-8 on this side).
export LOCPATH="$scratch/locales"
mkdir "$LOCPATH"
for windows_locale in en_US.UTF-8 ru_RU.UTF-8; do
    localedef -i "${windows_locale%.*}" -f UTF-8 "$LOCPATH/$windows_locale" 2>>"$out/localedef.txt"
done
for windows_locale in en_US.UTF-8 ru_RU.UTF-8; do
    echo "--- $windows_locale"
    place="$scratch/$windows_locale"
    mkdir "$place" "$place/linux" "$place/windows"
    cp "$windows" "$place/kadromir-convert.exe"
    "$samples" "$place/pictures" >/dev/null
    # Relative names from the folder a user works in, as on Windows.
    cd "$place"
    convert_windows --version >"$out/version.txt" 2>"$out/wine.txt"
    check "it runs under wine ($(cat "$out/version.txt"))" grep -q '^kadromir-convert ' "$out/version.txt"

    for picture in rings.spr checker.spr waves.scr diagonal.scr bands.rmb; do
        name="${picture%.*}"
        "$linux" "pictures/$picture" -o "linux/$name.png"
        convert_windows "pictures/$picture" -o "windows/$name.png" 2>>"$out/wine.txt"
        check "$picture to PNG: the Linux bytes" cmp -s "linux/$name.png" "windows/$name.png"
        "$linux" -s 100 "pictures/$picture" -o "linux/$name-100.png"
        convert_windows -s 100 "pictures/$picture" -o "windows/$name-100.png" 2>>"$out/wine.txt"
        check "and scaled to 100" cmp -s "linux/$name-100.png" "windows/$name-100.png"
    done
    convert_windows pictures/rings.spr -o - >windows/piped.png 2>>"$out/wine.txt"
    check "to standard output, byte for byte" cmp -s linux/rings.png windows/piped.png

    for format in spr scr rmb; do
        "$linux" linux/waves.png -o "linux/back.$format"
        convert_windows linux/waves.png -o "windows/back.$format" 2>>"$out/wine.txt"
        check "PNG back to $format: the Linux bytes" cmp -s "linux/back.$format" "windows/back.$format"
    done
    check "the SCR's .pal beside it" cmp -s linux/back.pal windows/back.pal
    mkdir linux/all windows/all
    "$linux" --to rmb linux/{rings,checker,waves,diagonal,bands}.png -d linux/all
    convert_windows --to rmb linux/{rings,checker,waves,diagonal,bands}.png -d windows/all 2>>"$out/wine.txt"
    check "several with -d: the same files ($(ls windows/all | wc -l) of 5)" \
        test "$(ls linux/all | wc -l)" = 5 -a "$(ls windows/all | wc -l)" = 5
    check "byte for byte" diff -r linux/all windows/all

    # Names the ANSI code page cannot hold.
    mkdir cyrillic
    cp pictures/rings.spr "cyrillic/дисп24.spr"
    convert_windows "cyrillic/дисп24.spr" -o "cyrillic/Ёлка.png" 2>"$out/cyrillic.txt"
    check "a Cyrillic name in and out ($(cat "$out/cyrillic.txt"))" cmp -s linux/rings.png "cyrillic/Ёлка.png"
    convert_windows "cyrillic/дисп24.spr" -d cyrillic 2>>"$out/cyrillic.txt"
    check "and with -d, named after the input" cmp -s linux/rings.png "cyrillic/дисп24.png"

    # Outputs that are there.
    printf 'an old file, longer than nothing' >windows/old.png
    convert_windows pictures/rings.spr -o windows/old.png 2>>"$out/wine.txt"
    check "an output that is there is replaced whole" cmp -s linux/rings.png windows/old.png
    cp pictures/checker.spr windows/input.spr
    ln windows/input.spr windows/link.png
    convert_windows windows/input.spr -o windows/link.png 2>"$out/same.txt"
    check "an output that is the input under another name is refused (exit $?)" \
        grep -q "is the input" "$out/same.txt"
    check "and the input is as it was" cmp -s pictures/checker.spr windows/input.spr

    # Exit codes, as the Linux converter gives them.
    head -c 535 pictures/rings.spr >short.spr
    printf 'not a picture' >picture.txt
    while read -r input code; do
        convert_windows "$input" -o failed.spr 2>/dev/null
        got=$?
        check "$input: exit $code (got $got)" test "$got" = "$code"
    done <<EOF
missing.png 3
short.spr 2
picture.txt 3
EOF
    # The next code page in a wine server of its own: the old one ends first, or the
    # next program may reach it while it goes and be dropped.
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
done
finish
