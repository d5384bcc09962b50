#!/usr/bin/env bash
# Thumbnails as Thunar gets them: tumbler, the desktop's thumbnail service, on a private
# session bus with a fresh home, finds the install's thumbnailer, file types and loaders
# and is asked for thumbnails as a file manager asks. An SCR's thumbnail has its .pal's
# colours, SPR and RMB theirs; a 100 GiB file is answered at once without a thumbnail,
# and so are random bytes named .rmb.
# Usage: tumbler_test.sh BUILD_DIR SAMPLES_TOOL OUTPUT_DIR
set -uo pipefail
build="$1"
source "$(dirname "$0")/xsession.sh"
out="$3"
mkdir -p "$out"
scratch="$(mktemp -d)"
trap 'kill "${tumbler:-}" 2>/dev/null; rm -rf "$scratch"' EXIT
prefix="$scratch/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
update-mime-database "$prefix/share/mime" >/dev/null 2>&1
pictures="$scratch/pictures"
"$2" "$pictures" >/dev/null
truncate -s 100G "$pictures/huge.rmb"
head -c 40000 /dev/urandom >"$pictures/noise.rmb"
printf '\0' | dd of="$pictures/noise.rmb" bs=1 seek=16 conv=notrunc status=none

query="$(pkg-config --variable=gdk_pixbuf_query_loaders gdk-pixbuf-2.0)"
system_loaders="$(pkg-config --variable=gdk_pixbuf_moduledir gdk-pixbuf-2.0)"
"$query" "$system_loaders"/*.so $(find "$prefix" -name 'libpixbufloader-kadromir-*.so') \
    >"$scratch/loaders.cache" 2>/dev/null
mkdir -p "$scratch/home" "$scratch/cache"
export HOME="$scratch/home" XDG_CACHE_HOME="$scratch/cache" XDG_DATA_HOME="$scratch/home/data"
export XDG_DATA_DIRS="$prefix/share:/usr/share" PATH="$prefix/bin:$PATH"
export GDK_PIXBUF_MODULE_FILE="$scratch/loaders.cache"

# Everything else runs on the private bus.
if [ -z "${KADROMIR_ON_PRIVATE_BUS:-}" ]; then
    KADROMIR_ON_PRIVATE_BUS=1 exec dbus-run-session -- "$0" "$@"
fi
# Started here before anything asks for it, so that the bus starts no second one; its
# log says when it is ready and when it is done with each request.
G_MESSAGES_DEBUG=all /usr/lib/x86_64-linux-gnu/tumbler-1/tumblerd >"$out/tumblerd.txt" 2>&1 &
tumbler=$!
service=org.freedesktop.thumbnails.Thumbnailer1
object=/org/freedesktop/thumbnails/Thumbnailer1
wait_until 60 grep -q 'Ready to handle requests' "$out/tumblerd.txt" ||
    check "tumblerd starts" false

thumbnail_of() { # PATH -> where a file manager finds the normal-size thumbnail
    printf '%s/thumbnails/normal/%s.png' "$XDG_CACHE_HOME" \
        "$(printf 'file://%s' "$1" | md5sum | cut -d' ' -f1)"
}
# Queues one file and waits for tumbler to finish with it; prints the seconds taken.
ask() { # PATH MIME_TYPE
    local started handle
    started="$(date +%s.%N)"
    handle="$(gdbus call --session --dest "$service" --object-path "$object" \
        --method "$service.Queue" "['file://$1']" "['$2']" normal default 0 |
        sed -n 's/^(uint32 \([0-9]*\),)$/\1/p')"
    wait_until 60 grep -q "Finishing job $handle\$" "$out/tumblerd.txt"
    echo "$(date +%s.%N) - $started" | bc
}

for pair in waves.scr:scr diagonal.scr:scr rings.spr:spr bands.rmb:rmb; do
    picture="${pair%%:*}"
    ask "$pictures/$picture" "image/x-kadromir-${pair##*:}" >/dev/null
    kadromir-convert -s 128 "$pictures/$picture" -o "$out/expected.png"
    check "tumbler's thumbnail of $picture is the converter's" \
        test "$(compare -metric AE "$(thumbnail_of "$pictures/$picture")" "$out/expected.png" null: 2>&1)" = 0
done
cp "$(thumbnail_of "$pictures/waves.scr")" "$out/waves-thumbnail.png"
cp "$pictures/waves.scr" "$scratch/alone.scr"
kadromir-convert -s 128 "$scratch/alone.scr" -o "$out/without-pal.png"
check "and has the .pal's colours, not the default palette" \
    test "$(compare -metric AE "$out/waves-thumbnail.png" "$out/without-pal.png" null: 2>&1)" != 0

seconds="$(ask "$pictures/huge.rmb" image/x-kadromir-rmb)"
check "a 100 GiB .rmb is answered in ${seconds} s, at most 5" test "$(echo "$seconds <= 5" | bc)" = 1
check "without a thumbnail" test ! -e "$(thumbnail_of "$pictures/huge.rmb")"
peak="$(sed -n 's/^VmHWM:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$tumbler/status")"
check "tumblerd's peak memory ${peak} kB, at most 100 MB" test "${peak:-999999}" -le 102400
ask "$pictures/noise.rmb" image/x-kadromir-rmb >/dev/null
check "random bytes named .rmb get no thumbnail" test ! -e "$(thumbnail_of "$pictures/noise.rmb")"
finish
