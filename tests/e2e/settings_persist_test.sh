#!/usr/bin/env bash
# Settings persist across runs of the real viewer: with "Сохранять координаты главного
# окна" set, a window moved and resized by the user is back at that place and size at
# the next start.
# Usage: settings_persist_test.sh VIEWER OUTPUT_DIR
set -uo pipefail
source "$(dirname "$0")/xsession.sh"
private_viewer "$1" "$2"
start_x_session 1280x1024 || exit 1

printf '[Настройки]\nСохранять координаты главного окна=1\n' >"$config"
start_viewer 'Кадромир'
wait_for_settled "$window" # a user moves the window only once it has settled
xdotool windowmove --sync "$window" 200 150
wait_for_settled "$window"
xdotool windowsize --sync "$window" 420 520
wait_for_settled "$window"
read -r left top width height <<<"$(outer_geometry "$window")"
close_viewer
check "x holds the left edge $left" grep -qx "x=$left" "$config"
check "y holds the top edge $top" grep -qx "y=$top" "$config"
check "Ширина holds the width $width" grep -qx "Ширина=$width" "$config"
check "Высота holds the height less 29" grep -qx "Высота=$((height - 29))" "$config"
cp "$config" "$out/Кадромир.кфг"

start_viewer 'Кадромир'
wait_for_settled "$window"
read -r left2 top2 width2 height2 <<<"$(outer_geometry "$window")"
import -window root "$out/second-start.png"
check "the second start puts the window back at $left,$top (got $left2,$top2)" test "$left2 $top2" = "$left $top"
check "with the width $width (got $width2)" test "$width2" = "$width"
check "and the height $height (got $height2)" test "$height2" = "$height"
close_viewer
finish
