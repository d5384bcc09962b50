#!/usr/bin/env bash
# Entries a real directory may hold that are no pictures: pipes named like pictures,
# a pipe as the .pal side file, huge sparse files, links to devices, broken links and
# loops, a folder named like a picture, a pipe or a huge file as the settings file,
# and an empty recent directory. Stepped onto, slid over and given on the command
# line, each ends at once with its decided outcome; the viewer's memory stays that of
# a plain directory. The converter gives its documented exit code on each.
# Usage: hostile_entries_test.sh VIEWER CONVERTER SAMPLES_TOOL OUTPUT_DIR
set -uo pipefail
converter="$2"
source "$(dirname "$0")/xsession.sh"
private_viewer "$1" "$4"
"$3" "$work/all" >/dev/null
plain="$work/plain"
pics="$work/pictures"
mkdir "$plain" "$pics"
for dir in "$plain" "$pics"; do
    cp "$work/all/checker.spr" "$dir/a.spr"
    cp "$work/all/diagonal.scr" "$dir/x.scr"
done
truncate -s 2G "$pics/big.spr"
truncate -s 100G "$pics/huge.spr"
mkfifo "$pics/b.spr" "$pics/b.scr" "$pics/b.rmb" "$pics/x.pal"
ln -s /dev/zero "$pics/z.spr"
ln -s /dev/urandom "$pics/u.rmb"
ln -s nowhere "$pics/d.rmb"
ln -s loop.rmb "$pics/loop.rmb"
mkdir "$pics/sub.spr"
start_x_session 1280x1024 || exit 1

peak_kb() { sed -n 's/^VmHWM:[[:space:]]*\([0-9]*\) kB/\1/p' "/proc/$pid/status"; }
unsuitable=' - Неподходящий файл!'

# The same steps in a plain directory give the normal memory figure.
start_viewer 'Кадромир : 1/2  a.spr' "$plain/a.spr"
for title in '2/2  x.scr' '1/2  a.spr'; do
    xdotool key Right
    wait_for_title "Кадромир : $title"
done
normal="$(peak_kb)"
close_viewer

# Stepped onto: only the regular files are listed, and each step ends at once.
start_viewer 'Кадромир : 1/4  a.spr' "$pics/a.spr"
for title in "2/4  big.spr$unsuitable" "3/4  huge.spr$unsuitable" '4/4  x.scr' '1/4  a.spr'; do
    xdotool key Right
    check "Right steps to \"$title\"" wait_for_title "Кадромир : $title"
done
xdotool key Left
check "Left wraps to x.scr, its pipe of a .pal passed over" wait_for_title 'Кадромир : 4/4  x.scr'
hostile="$(peak_kb)"
check "peak memory ${hostile} kB stays within the plain directory's ${normal} kB + 16 MB" \
    test "$hostile" -le $((normal + 16384))
echo "figures: peak memory plain ${normal} kB, hostile ${hostile} kB"
close_viewer

# Slid over: the show passes every entry and comes round again.
printf '[Настройки]\nПоказ слайдов=1\nИнтервал слайдов=1\n' >"$config"
start_viewer 'Кадромир : 1/4  a.spr' "$pics/a.spr"
for title in "2/4  big.spr$unsuitable" "3/4  huge.spr$unsuitable" '4/4  x.scr' '1/4  a.spr'; do
    check "the slide show reaches \"$title\"" wait_for_title "Кадромир : $title" 4
done
close_viewer
rm -f "$config"

# Given on the command line: what is no regular file passes on to the start options
# (none here), a regular file that is no picture is named with its message.
for entry in b.spr b.scr b.rmb z.spr u.rmb d.rmb loop.rmb sub.spr; do
    start_viewer 'Кадромир' "$pics/$entry"
    close_viewer
done
start_viewer "Кадромир : 3/4  huge.spr$unsuitable" "$pics/huge.spr"
close_viewer

# The settings file a pipe, then a file of 1 GiB: the window comes, neither is
# read or written.
rm -f "$config"
mkfifo "$config"
start_viewer 'Кадромир : 1/4  a.spr' "$pics/a.spr"
close_viewer
check "the pipe named like the settings file is still a pipe" test -p "$config"
rm -f "$config"
truncate -s 1G "$config"
start_viewer 'Кадромир : 1/4  a.spr' "$pics/a.spr"
large="$(peak_kb)"
check "with a 1 GiB settings file peak memory ${large} kB stays within ${normal} kB + 16 MB" \
    test "$large" -le $((normal + 16384))
close_viewer
check "the 1 GiB settings file is left as it was" test "$(stat -c %s "$config")" = 1073741824
check "and says why on stderr" grep -q 'not a settings file of ours' "$out/viewer.log"
rm -f "$config"

# An empty recent directory is a missing one: nothing is listed from the working
# directory (the pictures' here), nothing relative is stored.
printf '[Настройки]\nФайлы из недавней директории=1\nНедавняя директория=\n' >"$config"
cd "$pics" || exit 1
start_viewer 'Кадромир - Отсутствует директория!'
cd - >/dev/null || exit 1
xdotool key Right
sleep 0.3 # nothing is to happen; give it the time a step would take
check "Right does nothing without a list" wait_for_title 'Кадромир - Отсутствует директория!' 1
close_viewer
check "the recent directory stays empty" grep -qx 'Недавняя директория=' "$config"

# The converter: a documented exit code at once for each.
for entry in b.spr b.scr b.rmb z.spr u.rmb d.rmb huge.spr big.spr; do
    timeout 10 "$converter" "$pics/$entry" -o "$out/converted.png" 2>>"$out/converter.log"
    check "kadromir-convert $entry exits 2 (rejected)" test "$?" -eq 2
done
finish
