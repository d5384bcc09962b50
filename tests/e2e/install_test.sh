#!/usr/bin/env bash
# The viewer as installed: the install rules into a scratch prefix give a valid desktop
# entry, file types known by name and by content, a thumbnailer whose command writes
# the asked size with the converter's pixels, valid metadata; the Debian package built
# from the same rules unpacks to a viewer that runs with its icon, and, installed where
# the user may not write, keeps a setting changed in its dialog across a restart.
# Usage: install_test.sh BUILD_DIR SAMPLES_TOOL OUTPUT_DIR
set -uo pipefail
build="$1"
source "$(dirname "$0")/xsession.sh"
out="$3"
mkdir -p "$out"
scratch="$(mktemp -d)"
chmod 755 "$scratch"
trap 'stop_x_session; rm -rf "$scratch"' EXIT
prefix="$scratch/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
mkdir "$scratch/pictures"
"$2" "$scratch/pictures" >/dev/null
pictures="$scratch/pictures"

check "the desktop entry is valid" desktop-file-validate "$prefix/share/applications/kadromir.desktop"
check "the metadata is valid" appstreamcli validate --no-net "$prefix/share/metainfo/kadromir.metainfo.xml"
check "the file types' XML is well-formed" xmllint --noout "$prefix/share/mime/packages/kadromir.xml"

# The file types, in a data folder of the test's own.
mkdir -p "$scratch/data/mime/packages"
cp "$prefix/share/mime/packages/kadromir.xml" "$scratch/data/mime/packages/"
update-mime-database "$scratch/data/mime" >/dev/null 2>&1
cp "$pictures/waves.scr" "$pictures/scr-inside.bin"
cp "$pictures/bands.rmb" "$pictures/rmb-inside.dat"
cp "$pictures/rings.spr" "$pictures/RINGS.SPR"
type_of() { XDG_DATA_HOME="$scratch/data" XDG_DATA_DIRS=/usr/share xdg-mime query filetype "$1" 2>/dev/null; }
for pair in rings.spr:spr RINGS.SPR:spr checker.spr:spr waves.scr:scr diagonal.scr:scr \
            bands.rmb:rmb scr-inside.bin:scr; do
    name="${pair%%:*}"
    check "$name is image/x-kadromir-${pair##*:} (got $(type_of "$pictures/$name"))" \
        test "$(type_of "$pictures/$name")" = "image/x-kadromir-${pair##*:}"
done
# RMB's mark is too weak to claim a file by content (some TGA files carry it).
check "a misnamed RMB is not taken for one (got $(type_of "$pictures/rmb-inside.dat"))" \
    test "$(type_of "$pictures/rmb-inside.dat")" != image/x-kadromir-rmb

# The thumbnailer's own command line, its fields filled in as a file manager does.
command="$(sed -n 's/^Exec=//p' "$prefix/share/thumbnailers/kadromir.thumbnailer")"
for picture in rings.spr waves.scr bands.rmb; do
    for size in 128 100; do
        thumbnail="$out/${picture%.*}-$size.png"
        line="${command//%s/$size}"
        line="${line//%i/$pictures/$picture}"
        line="${line//%o/$thumbnail}"
        rm -f "$thumbnail"
        PATH="$prefix/bin:$PATH" bash -c "$line"
        "$prefix/bin/kadromir-convert" "$pictures/$picture" -o "$out/full.png"
        convert "$out/full.png" -filter point -resize "${size}x${size}" "$out/expected.png"
        check "the thumbnail of $picture at $size is ${size}x${size}" \
            test "$(identify -format %wx%h "$thumbnail" 2>/dev/null)" = "${size}x${size}"
        check "with the converter's pixels, each the one at its centre" \
            test "$(compare -metric AE "$thumbnail" "$out/expected.png" null: 2>&1)" = 0
    done
done

# The package, unpacked into a root of the test's own; its files belong to the
# superuser, so the program's folder is one the viewer's user may not write.
(cd "$build" && cpack -G DEB >/dev/null) || check "cpack builds the package" false
package="$(ls "$build"/kadromir_*.deb | head -n 1)"
lintian --fail-on error,warning --info "$package" >"$out/lintian.txt" 2>&1
status=$?
check "lintian finds no error and no warning ($(grep -c '^[EW]:' "$out/lintian.txt") found)" \
    test "$status" -eq 0
check "the binaries keep a link to their debug symbols, kept beside the package" \
    test -s "$build/debug/usr/bin/kadromir.debug" -a -s "$build/debug/usr/bin/kadromir-convert.debug"
check "the package depends on Qt's window-system plugins and Russian texts" \
    bash -c "dpkg-deb -f '$package' Depends | grep -q 'qt6-qpa-plugins' &&
             dpkg-deb -f '$package' Depends | grep -q 'qt6-translations-l10n'"
root="$scratch/root"
dpkg-deb -x "$package" "$root"
chmod -R a-w "$root/usr/bin"
check "the package holds the viewer, the converter, the entry and the icon" \
    test -x "$root/usr/bin/kadromir" -a -x "$root/usr/bin/kadromir-convert" \
         -a -f "$root/usr/share/applications/kadromir.desktop" \
         -a -f "$root/usr/share/icons/hicolor/256x256/apps/kadromir.png"

start_x_session 1280x1024 || exit 1
home="$scratch/home"
mkdir "$home"
chmod 777 "$home" "$pictures"
as_user=()
if [ "$(id -u)" -eq 0 ]; then as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups); fi
installed() { # [ARGUMENT...]
    "${as_user[@]}" env HOME="$home" XDG_CONFIG_HOME= "$root/usr/bin/kadromir" "$@" >>"$out/viewer.log" 2>&1 &
    pid=$!
}
installed "$pictures/waves.scr"
window="$(wait_for_window 'Кадромир : 6/6  waves.scr')"
check "the installed viewer shows waves.scr" test -n "$window"
[ -n "$window" ] || finish
check "its window has the icon, 16 to 64 pixels" bash -c "xprop -id $window _NET_WM_ICON | grep -q 'Icon (16 x 16)' && xprop -id $window _NET_WM_ICON | grep -q 'Icon (64 x 64)'"
xdotool windowactivate --sync "$window"
wait_for_settled "$window"
import -window root "$out/installed.png"

# "Настройки" in the menu bar, then the dialog's first box ("Сохранять координаты и
# размер окна…") and "Применить", at their places in the dialog.
xdotool mousemove --window "$window" 80 10 click 1
dialog=""
for _ in $(seq 100); do
    dialog="$(xdotool search --name '^Настройки$' 2>/dev/null | head -n 1)"
    [ -n "$dialog" ] && break
    sleep 0.1
done
check "the settings dialog opens" test -n "$dialog"
config="$home/.config/kadromir/Кадромир.кфг"
xdotool mousemove --window "$dialog" 24 24 click 1
xdotool mousemove --window "$dialog" 360 282 click 1
saved() { grep -qx 'Сохранять координаты главного окна=1' "$config" 2>/dev/null; }
check "Применить writes the setting into the home folder's file" wait_until 5 saved
xdotool key --window "$dialog" Escape
wmctrl -i -c "$window"
wait "$pid"
check "nothing is written beside the installed program" test ! -e "$root/usr/bin/Кадромир.кфг"

# A restart reads it: the window's place is stored at the next close.
installed "$pictures/waves.scr"
window="$(wait_for_window 'Кадромир : 6/6  waves.scr')"
wait_for_settled "$window"
wmctrl -i -c "$window"
wait "$pid"
check "after a restart the setting holds: the close stores the window's place" \
    grep -q '^x=' "$config"
cp "$config" "$out/" 2>/dev/null
finish
