#!/usr/bin/env bash
# Entries Windows has and Linux has not, under wine, through the real viewer: files named
# for devices (CON, NUL, COM1, aux.spr: they would open the device, so the folder's list
# leaves them out), a file another program holds locked, a FIFO and an empty file, a
# 100 GiB sparse file, a link that loops; and an unreachable network folder as the
# recent directory. Each is listed or refused as the Linux form treats its hostile
# entries: every step answers at once, nothing hangs, the viewer goes on.
# Usage: hostile_test.sh VIEWER SAMPLES_TOOL WINDOW_PROBE OUTPUT_DIR
set -uo pipefail
viewer="$(realpath "$1")"
samples="$(realpath "$2")"
probe="$(realpath "$3")"
mkdir -p "$4"
out="$(realpath "$4")"
source "$(dirname "$0")/../e2e/xsession.sh"
scratch="$(mktemp -d)"
export WINEPREFIX="$scratch/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'exec {lock}>&- 2>/dev/null; wineserver -k >/dev/null 2>&1; stop_x_session; rm -rf "$scratch"' EXIT
start_x_session 1280x1024 || exit 1

app="$scratch/app"
pictures="$scratch/pictures"
mkdir -p "$app" "$pictures"
cp "$viewer" "$app/kadromir.exe"
wine "$samples" "$(winepath -w "$scratch/samples")" >/dev/null 2>>"$out/wine.txt"
cp "$scratch/samples/rings.spr" "$pictures/rings.spr"
for device in CON.spr nul.spr aux.SPR COM1.spr LPT9.rmb conout\$.scr; do
    cp "$scratch/samples/rings.spr" "$pictures/$device"
done
cp "$scratch/samples/checker.spr" "$pictures/locked.spr"
mkfifo "$pictures/fifo.spr"
: >"$pictures/empty.spr"
truncate -s 100G "$pictures/sparse.spr"
ln -s loop.spr "$pictures/loop.spr"

# A program holds locked.spr open for no one to share while the viewer runs.
exec {lock}> >(wine "$probe" --lock "$(winepath -w "$pictures/locked.spr")" >"$scratch/locked.txt" 2>&1)
wait_until 20 grep -q locked "$scratch/locked.txt"
check "another program holds locked.spr" grep -q locked "$scratch/locked.txt"

# (Without the lock's pipe: the holder lets go when its input ends.)
(cd "$app" && exec wine kadromir.exe "$(winepath -w "$pictures/rings.spr")") {lock}>&- >>"$out/wine.txt" 2>&1 &
pid=$!
# The list: empty, locked, rings, sparse (device names, the FIFO and the loop left out).
window="$(wait_for_window 'Кадромир : 3/4  rings.spr')"
check "the folder lists its files, not the devices, the FIFO or the loop" test -n "$window"
[ -n "$window" ] || finish
xdotool windowactivate --sync "$window"
step() { # KEY TITLE
    xdotool key "$1"
    wait_for_title "$2" 3
}
check "a sparse 100 GiB file is refused at once" step Right 'Кадромир : 4/4  sparse.spr - Неподходящий файл!'
check "an empty file is refused" step Right 'Кадромир : 1/4  empty.spr - Неподходящий файл!'
check "a locked file is refused, not waited for" step Right 'Кадромир : 2/4  locked.spr - Неподходящий файл!'
check "and the viewer goes on" step Right 'Кадромир : 3/4  rings.spr'
check "backwards the same" step Left 'Кадромир : 2/4  locked.spr - Неподходящий файл!'
import -window root "$out/hostile.png"
check "and on to the next" step Right 'Кадромир : 3/4  rings.spr'
# The other program lets the file go (its input ends): the step back shows it.
exec {lock}>&-
wait_until 10 bash -c '! pgrep -f "window_probe.exe --lock" >/dev/null'
check "once let go, the file shows" step Left 'Кадромир : 2/4  locked.spr'
wmctrl -i -c "$window"
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
wait "$pid"
check "a close ends the program with status 0" test "$?" -eq 0

# An unreachable network folder as the recent directory: the viewer starts and is
# there at once; the folder's scan ends with nothing.
printf '[Настройки]\r\nФайлы из недавней директории=1\r\nНедавняя директория=\\\\unreachable-host.invalid\\share\\pictures\\\r\n' |
    iconv -f UTF-8 -t WINDOWS-1251 >"$app/Кадромир.кфг"
start="$(date +%s%N)"
(cd "$app" && exec wine kadromir.exe) >>"$out/wine.txt" 2>&1 &
pid=$!
window="$(wait_for_window 'Кадромир.*')"
check "with an unreachable recent folder the window comes ($(( ($(date +%s%N) - start) / 1000000 )) ms)" test -n "$window"
check "and answers" wait_until 10 bash -c "xdotool key --window $window c; wine '$probe' \"\$(xdotool getwindowname $window)\" | grep -q client"
[ -n "$window" ] && wmctrl -i -c "$window"
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
wait "$pid"
check "and closes with status 0" test "$?" -eq 0
finish
