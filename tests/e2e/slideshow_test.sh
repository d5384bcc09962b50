#!/usr/bin/env bash
# The real viewer with the slide show set in its configuration file (interval 1) on a
# directory of three pictures: the title moves on by itself; Space and Backspace step
# between ticks; "О программе" opens the About box titled with the caption, and it
# closes again.
# Usage: slideshow_test.sh VIEWER SAMPLES_TOOL OUTPUT_DIR
set -uo pipefail
source "$(dirname "$0")/xsession.sh"
private_viewer "$1" "$3"
three_pictures "$2"
printf '[Настройки]\nПоказ слайдов=1\nИнтервал слайдов=1\n' >"$config"
start_x_session 1280x1024 || exit 1

position() { xdotool getwindowname "$window" | sed -n 's/^Кадромир : \([0-9]*\)\/3 .*/\1/p'; }
# Waits for the next slide; prints the position it shows.
next_slide() { wait_for_change position; }

start_viewer 'Кадромир : 1/3  bands.rmb' "$work/pictures/bands.rmb"

first="$(next_slide)"
second="$(next_slide)"
check "the slide show moves on by itself (1 -> $first -> $second)" test "$first $second" = "2 3"
third="$(next_slide)"
check "and wraps to the first ($third)" test "$third" = "1"

shown="$(next_slide)"
xdotool key space
at_position() { [ "$(position)" = "$1" ]; }
wait_until 1 at_position "$((shown % 3 + 1))"
check "Space steps forward between ticks ($shown -> $(position))" test "$(position)" = "$((shown % 3 + 1))"
shown="$(next_slide)"
xdotool key BackSpace
wait_until 1 at_position "$(((shown + 1) % 3 + 1))"
check "Backspace steps back ($shown -> $(position))" test "$(position)" = "$(((shown + 1) % 3 + 1))"

# "О программе" is the third entry of the menu bar.
read -r x y _ _ <<<"$(client_geometry "$window")"
caption="$(xdotool getwindowname "$window")"
xdotool mousemove $((x + 170)) $((y + 10)) click 1
for _ in $(seq 40); do
    [ "$(xdotool search --name "^${caption}\$" 2>/dev/null | wc -l)" -ge 2 ] && break
    sleep 0.05
done
about="$(xdotool search --name "^${caption}\$" 2>/dev/null | grep -v "^${window}\$" | head -n 1)"
check "the About box opens, titled with the caption \"$caption\"" test -n "$about"
shown_about() { xwininfo -id "$about" 2>/dev/null | grep -q IsViewable; }
wait_until 5 shown_about
wait_for_settled "$about"
import -window root "$out/about.png"
xdotool key --window "$about" Return 2>/dev/null || xdotool key Return
gone_about() { ! shown_about; }
check "and closes with OK" wait_until 5 gone_about

close_viewer
finish
