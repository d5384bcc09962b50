#!/usr/bin/env bash
# The installer under wine: a silent per-user install puts the programs in place, the
# Start menu entry, the picture types (a name, the icon, the open command; .scr only
# under "Open with", as screen savers have that type too) and the uninstaller's entry;
# the open command read from the registry opens a picture in the viewer; the viewer
# writes its settings beside itself; a silent uninstall leaves no file and no key.
# (Wine 8 does not merge HKCU\Software\Classes into the classes root, so the open
# command is read from the registry and run, not followed by the shell.)
# Usage: installer_test.sh SETUP_EXE SAMPLES_TOOL OUTPUT_DIR
set -uo pipefail
[ -f "$1" ] || { echo "FAILED: no installer at $1 (scripts/windows.sh makes it)"; exit 1; }
setup="$(realpath "$1")"
samples="$(realpath "$2")"
mkdir -p "$3"
out="$(realpath "$3")"
source "$(dirname "$0")/../e2e/xsession.sh"
scratch="$(mktemp -d)"
export WINEPREFIX="$scratch/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k >/dev/null 2>&1; stop_x_session; rm -rf "$scratch"' EXIT
start_x_session 1280x1024 || exit 1
# A Russian Windows (1251).
export LOCPATH="$scratch/locales" LC_ALL=ru_RU.UTF-8
mkdir "$LOCPATH"
localedef -i ru_RU -f UTF-8 "$LOCPATH/ru_RU.UTF-8" 2>>"$out/localedef.txt"

# Prints a value's data from the registry, nothing when it is not there. Read from
# regedit's export, which is UTF-16 whatever the code page (reg's output is not).
query() { # KEY [VALUE] (KEY from HKCU)
    local key="HKEY_CURRENT_USER${1#HKCU}" name='@=' file="$scratch/query.reg"
    [ $# -gt 1 ] && name="\"$2\"="
    rm -f "$file"
    wine regedit /E "$(winepath -w "$file")" "$key" >/dev/null 2>&1
    [ -f "$file" ] || return 0
    iconv -f UTF-16 -t UTF-8 "$file" | tr -d '\r' |
        awk -v section="[$key]" -v name="$name" '
            $0 == section { inside = 1; next }
            /^\[/ { inside = 0 }
            inside && index($0, name) == 1 { print substr($0, length(name) + 1) }' |
        sed 's/^"//; s/"$//; s/\\"/"/g; s/\\\\/\\/g'
}
key_exists() { wine reg query "$1" >/dev/null 2>&1; }
classes='HKCU\Software\Classes'
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kadromir'

wine "$setup" /S >>"$out/wine.txt" 2>&1
check "the silent install ends with status 0" test "$?" -eq 0
install_dir="$(dirname "$(find "$WINEPREFIX/drive_c/users" -path '*/AppData/Local/Programs/*/kadromir.exe' | head -n 1)")"
check "the programs in the user's own programs folder, Кадромир" \
    test "$(basename "$install_dir")" = Кадромир -a -f "$install_dir/kadromir.exe" -a -f "$install_dir/kadromir-convert.exe" -a -f "$install_dir/uninstall.exe"
start_menu="$(find "$WINEPREFIX/drive_c/users" -type d -path '*/AppData/Roaming/Microsoft/Windows/Start Menu/Programs' | head -n 1)"
check "a Start menu entry" test -f "$start_menu/Кадромир.lnk"
for type in .spr .rmb .scr; do
    check "$type: a name" test -n "$(query "$classes\\Kadromir$type")"
    check "$type: the viewer's icon" test "$(query "$classes\\Kadromir$type\\DefaultIcon")" = "$(winepath -w "$install_dir")\\kadromir.exe,0"
    check "$type: under \"Open with\"" key_exists "$classes\\$type\\OpenWithProgids"
done
check ".spr and .rmb open in the viewer" \
    test "$(query "$classes\\.spr")$(query "$classes\\.rmb")" = "Kadromir.sprKadromir.rmb"
check ".scr is not taken from the screen savers" test -z "$(query "$classes\\.scr")"
check "the uninstaller with the installed programs" test "$(query "$uninstall_key" DisplayName)" = "Кадромир"

# The registered open command opens a picture.
mkdir "$scratch/pictures"
wine "$samples" "$(winepath -w "$scratch/pictures")" >/dev/null 2>>"$out/wine.txt"
command="$(query "$classes\\Kadromir.spr\\shell\\open\\command")"
echo "open command: $command"
program="$(sed -n 's/^"\([^"]*\)".*/\1/p' <<<"$command")"
check "the open command names the installed viewer and the file" \
    test "$command" = "\"$(winepath -w "$install_dir")\\kadromir.exe\" \"%1\""
wine "$(winepath -u "$program")" "$(winepath -w "$scratch/pictures/rings.spr")" >>"$out/wine.txt" 2>&1 &
pid=$!
window="$(wait_for_window 'Кадромир : 4/5  rings.spr')"
check "it opens the picture" test -n "$window"
import -window root "$out/installed.png"
[ -n "$window" ] && wmctrl -i -c "$window"
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
check "the viewer's settings beside it, in the folder the user may write" test -f "$install_dir/Кадромир.кфг"

uninstaller="$install_dir/uninstall.exe"
wine "$uninstaller" /S >>"$out/wine.txt" 2>&1
# The uninstaller runs from a copy of itself and returns at once: wait for its work.
wait_until 30 test ! -e "$install_dir"
check "a silent uninstall removes the folder, settings included" test ! -e "$install_dir"
check "and the Start menu entry" test ! -e "$start_menu/Кадромир.lnk"
for key in "$classes\\Kadromir.spr" "$classes\\Kadromir.rmb" "$classes\\Kadromir.scr" "$classes\\.spr" \
           "$classes\\.rmb" "$classes\\.scr" "$classes\\Applications\\kadromir.exe" "$uninstall_key"; do
    check "no key left: $key" bash -c "! wine reg query '$key' >/dev/null 2>&1"
done
finish
