#!/usr/bin/env bash
# The file types as the desktop guesses them, before the install (the system's types
# alone) and after it (ours added): our pictures are ours by name, a misnamed SCR by its
# mark; no other file changes type: a Windows screensaver named .scr stays an
# executable, a TGA that carries RMB's mark stays a TGA, and so does each of a few
# thousand of the system's own icons, pictures, documents and binaries.
# Usage: file_types_test.sh MIME_XML SAMPLES_TOOL OUTPUT_DIR
set -uo pipefail
source "$(dirname "$0")/xsession.sh"
out="$3"
mkdir -p "$out"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/data/mime/packages" "$scratch/files"
cp "$1" "$scratch/data/mime/packages/kadromir.xml"
update-mime-database "$scratch/data/mime" >/dev/null 2>&1
guess() { # DATA_HOME < PATHS
    XDG_DATA_HOME="$1" XDG_DATA_DIRS=/usr/share /usr/bin/python3 "$(dirname "$0")/content_types.py"
}

files="$scratch/files"
"$2" "$files" >/dev/null
cp "$files/waves.scr" "$files/scr-inside.bin"
cp "$files/bands.rmb" "$files/rmb-inside.dat"
{ printf 'MZ\x90\0\x03\0\0\0\x04\0\0\0\xff\xff\0\0'; head -c 4000 /dev/zero; } >"$files/saver.scr"
{
    printf '\0\0\x0a\0\0\0\0\0\0\0\0\0\x10\0\x01\0\x20\0\x0f'
    for _ in $(seq 16); do printf '\0\0\xff\xff'; done
} >"$files/red.tga"
cp "$files/red.tga" "$files/red-tga.bin"
ls -d "$files"/* | guess "$scratch/data" >"$out/ours.txt"
ls -d "$files"/* | guess "$scratch/none" >"$out/before-ours.txt"
type_of() { sed -n "s|^\([^ ]*\) $files/$1\$|\1|p" "$out/$2.txt"; }
for pair in rings.spr:image/x-kadromir-spr checker.spr:image/x-kadromir-spr \
            waves.scr:image/x-kadromir-scr diagonal.scr:image/x-kadromir-scr \
            scr-inside.bin:image/x-kadromir-scr bands.rmb:image/x-kadromir-rmb; do
    name="${pair%%:*}"
    check "$name is ${pair#*:} (got $(type_of "$name" ours))" test "$(type_of "$name" ours)" = "${pair#*:}"
done
for name in saver.scr red.tga red-tga.bin rmb-inside.dat; do
    check "$name keeps its type $(type_of "$name" before-ours) (got $(type_of "$name" ours))" \
        test "$(type_of "$name" ours)" = "$(type_of "$name" before-ours)"
done
check "the screensaver is an executable" test "$(type_of saver.scr ours)" = application/x-ms-dos-executable
check "the TGA is a TGA, named so or not" \
    test "$(type_of red.tga ours)" = image/x-tga -a "$(type_of red-tga.bin ours)" = image/x-tga

# The system's own files, the same list both times.
for folder in /usr/share/icons /usr/share/pixmaps /usr/share/doc /usr/share/man /usr/bin \
              /usr/lib/x86_64-linux-gnu /usr/share/mime /usr/share/applications /usr/share/fonts; do
    find "$folder" -type f 2>/dev/null | sort | head -n 600
done >"$scratch/system-files"
guess "$scratch/none" <"$scratch/system-files" >"$out/system-before.txt"
guess "$scratch/data" <"$scratch/system-files" >"$out/system-after.txt"
diff "$out/system-before.txt" "$out/system-after.txt" >"$out/system-changed.txt"
check "$(wc -l <"$out/system-before.txt") system files guessed, of $(cut -d' ' -f1 "$out/system-before.txt" | sort -u | wc -l) types" \
    test "$(wc -l <"$out/system-before.txt")" -ge 1000
check "none changes type ($(grep -c '^>' "$out/system-changed.txt") did)" test ! -s "$out/system-changed.txt"
finish
